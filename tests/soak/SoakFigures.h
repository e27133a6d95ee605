#pragma once

// What every soak prints and counts: its number of rounds, the process's
// descriptors and threads before and after, and tallies by name.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace orvane::soak {

// The number of rounds a soak runs: the variable's value when set (the short
// CTest runs set it), else the full figure.
inline std::size_t roundsFrom(const char* variable, std::size_t full) {
    const char* text = std::getenv(variable);
    if (text == nullptr || *text == '\0') {
        return full;
    }
    return static_cast<std::size_t>(std::strtoull(text, nullptr, 10));
}

inline double numberFrom(const char* variable, double fallback) {
    const char* text = std::getenv(variable);
    return text == nullptr || *text == '\0' ? fallback : std::strtod(text, nullptr);
}

// Open descriptors and running threads of this process: a soak takes them
// before and after, and anything it leaked shows as a difference.
struct ProcessResources {
    std::size_t descriptors = 0;
    std::size_t threads = 0;

    static ProcessResources now() {
        auto count = [](const char* folder) {
            std::size_t entries = 0;
            for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
                ++entries;
            }
            return entries;
        };
        return {count("/proc/self/fd"), count("/proc/self/task")};
    }
};

// The sanitizers' runtimes start a helper thread of their own along with the
// program's first thread; one made and joined first puts it into the
// baseline.
inline ProcessResources baselineResources() {
    std::thread([] {}).join();
    return ProcessResources::now();
}

// Threads end a moment after they are joined in the eyes of /proc; a soak
// gives them that moment before it counts.
inline ProcessResources settledResources(const ProcessResources& expected) {
    ProcessResources now = ProcessResources::now();
    for (int wait = 0;
         wait < 50 && (now.threads > expected.threads || now.descriptors > expected.descriptors);
         ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        now = ProcessResources::now();
    }
    return now;
}

// Counted occurrences by name, printed as a table.
class Tally {
  public:
    void add(const std::string& name, std::size_t count = 1) {
        std::lock_guard lock(mutex);
        counts[name] += count;
    }
    std::size_t of(const std::string& name) const {
        std::lock_guard lock(mutex);
        const auto found = counts.find(name);
        return found == counts.end() ? 0 : found->second;
    }
    std::size_t total() const {
        std::lock_guard lock(mutex);
        std::size_t sum = 0;
        for (const auto& [name, count] : counts) {
            sum += count;
        }
        return sum;
    }
    void print(const std::string& title) const {
        std::lock_guard lock(mutex);
        std::printf("%s\n", title.c_str());
        for (const auto& [name, count] : counts) {
            std::printf("  %-44s %8zu\n", name.c_str(), count);
        }
        std::fflush(stdout);
    }

  private:
    mutable std::mutex mutex;
    std::map<std::string, std::size_t> counts;
};

}  // namespace orvane::soak

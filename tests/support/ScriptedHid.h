#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/HidBus.h"

namespace orvane::test {

// A HID device that plays a script: each step expects one call (a set with
// exact bytes, or a get of a given length) and answers with a scripted error
// and reply. A call that the script does not expect fails the test.
class ScriptedHidDevice final : public HidDevice {
  public:
    struct Step {
        enum class Kind { Set, Get, Input } kind;
        std::vector<std::uint8_t> bytes;  // Set: expected request; Get/Input: the reply
        HidError error = HidError::None;
        std::size_t getLength = 0;  // Get: the buffer length the caller must use
    };

    // Expects a set of exactly these bytes, answered with `error`.
    ScriptedHidDevice& expectSet(std::vector<std::uint8_t> request, HidError error = HidError::None,
                                 int times = 1) {
        for (int i = 0; i < times; ++i) {
            steps.push_back({Step::Kind::Set, request, error, 0});
        }
        return *this;
    }
    // Expects a get into a buffer of `length` bytes; the reply is copied
    // over its start (only on success).
    ScriptedHidDevice& expectGet(std::size_t length, std::vector<std::uint8_t> reply,
                                 HidError error = HidError::None, int times = 1) {
        for (int i = 0; i < times; ++i) {
            steps.push_back({Step::Kind::Get, reply, error, length});
        }
        return *this;
    }
    ScriptedHidDevice& queueInput(std::vector<std::uint8_t> report) {
        inputs.push_back(std::move(report));
        return *this;
    }

    bool finished() const { return steps.empty(); }
    std::size_t remainingSteps() const { return steps.size(); }

    HidError sendFeatureReport(std::span<const std::uint8_t> report) override {
        const std::vector<std::uint8_t> sent(report.begin(), report.end());
        sets.push_back(sent);
        if (steps.empty() || steps.front().kind != Step::Kind::Set) {
            ADD_FAILURE() << "unexpected set of " << sent.size() << " bytes";
            return HidError::GeneralFailure;
        }
        Step step = steps.front();
        steps.pop_front();
        EXPECT_EQ(sent, step.bytes) << "set #" << sets.size();
        return step.error;
    }

    HidError getFeatureReport(std::span<std::uint8_t> report) override {
        ++gets;
        if (steps.empty() || steps.front().kind != Step::Kind::Get) {
            ADD_FAILURE() << "unexpected get of " << report.size() << " bytes";
            return HidError::GeneralFailure;
        }
        Step step = steps.front();
        steps.pop_front();
        EXPECT_EQ(report.size(), step.getLength) << "get #" << gets;
        if (step.error == HidError::None) {
            std::copy_n(step.bytes.begin(), std::min(step.bytes.size(), report.size()),
                        report.begin());
        }
        return step.error;
    }

    HidError readInputReport(std::span<std::uint8_t> report, std::chrono::milliseconds,
                             std::size_t& length) override {
        length = 0;
        if (inputs.empty()) {
            return HidError::None;
        }
        const std::vector<std::uint8_t> next = inputs.front();
        inputs.pop_front();
        length = std::min(next.size(), report.size());
        std::copy_n(next.begin(), length, report.begin());
        return HidError::None;
    }

    // Scripted reads never wait, so there is nothing to wake.
    void cancelInputRead() override {}

    std::vector<std::vector<std::uint8_t>> sets;
    int gets = 0;

  private:
    std::deque<Step> steps;
    std::deque<std::vector<std::uint8_t>> inputs;
};

// A bus listing scripted interfaces. The bus keeps every scripted device, so
// a test can inspect it after the code under test closed its handle; each
// open() hands out a handle that forwards to it, and records the path.
class ScriptedHidBus final : public HidBus {
  public:
    ScriptedHidDevice& add(const HidDeviceInfo& info) {
        infos.push_back(info);
        auto& device = devices[info.path];
        device = std::make_shared<ScriptedHidDevice>();
        return *device;
    }

    // Lists an interface that open() refuses with `error` (a node this user
    // may not open, say).
    void addRefusing(const HidDeviceInfo& info, HidError error) {
        infos.push_back(info);
        refused[info.path] = error;
    }

    std::vector<HidDeviceInfo> enumerate() override { return infos; }

    std::unique_ptr<HidDevice> open(const std::string& path, HidError& error) override {
        opened.push_back(path);
        if (auto refusal = refused.find(path); refusal != refused.end()) {
            error = refusal->second;
            return nullptr;
        }
        auto found = devices.find(path);
        if (found == devices.end()) {
            error = HidError::DeviceNotConnected;
            return nullptr;
        }
        error = HidError::None;
        return std::make_unique<Handle>(found->second);
    }

    std::vector<HidDeviceInfo> infos;
    std::vector<std::string> opened;
    std::map<std::string, HidError> refused;

  private:
    class Handle final : public HidDevice {
      public:
        explicit Handle(std::shared_ptr<ScriptedHidDevice> device) : device(std::move(device)) {}
        HidError sendFeatureReport(std::span<const std::uint8_t> report) override {
            return device->sendFeatureReport(report);
        }
        HidError getFeatureReport(std::span<std::uint8_t> report) override {
            return device->getFeatureReport(report);
        }
        HidError readInputReport(std::span<std::uint8_t> report, std::chrono::milliseconds timeout,
                                 std::size_t& length) override {
            return device->readInputReport(report, timeout, length);
        }
        void cancelInputRead() override { device->cancelInputRead(); }

      private:
        std::shared_ptr<ScriptedHidDevice> device;
    };

    std::map<std::string, std::shared_ptr<ScriptedHidDevice>> devices;
};

// A 64-byte command report: the given leading bytes, then zeros.
inline std::vector<std::uint8_t> report64(std::initializer_list<std::uint8_t> leading) {
    std::vector<std::uint8_t> report(leading);
    report.resize(64, 0);
    return report;
}

}  // namespace orvane::test

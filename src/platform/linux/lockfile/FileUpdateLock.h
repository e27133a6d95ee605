#pragma once

#include <filesystem>
#include <string>

#include "platform/UpdateLock.h"

namespace orvane {

// The update claim as a POSIX record lock on a file in the user's runtime
// folder. The holder keeps a write lock on the file open; askers only test
// for it (F_GETLK) and never lock, so a question cannot make the update
// program's own attempt fail. The kernel drops the lock with the holder's
// process, however that ends.
class FileUpdateLock final : public UpdateLock {
  public:
    explicit FileUpdateLock(std::filesystem::path file);
    ~FileUpdateLock() override;
    FileUpdateLock(const FileUpdateLock&) = delete;
    FileUpdateLock& operator=(const FileUpdateLock&) = delete;

    // $XDG_RUNTIME_DIR/orvane-firmware-update.lock, or one per user in the
    // temporary folder when there is no runtime folder.
    static std::filesystem::path defaultFile();

    bool acquire(std::string& error) override;
    void release() override;
    bool heldElsewhere() const override;

    const std::filesystem::path& file() const { return path; }

  private:
    std::filesystem::path path;
    int descriptor = -1;
};

}  // namespace orvane

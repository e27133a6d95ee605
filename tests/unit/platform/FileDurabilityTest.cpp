#include "platform/FileDurability.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace orvane {
namespace {

// The atomic writer trusts this answer to tell the user "saved": a file and
// a folder that are there reach the disk; a path that is not there is a
// failure, never quietly taken for done.
TEST(FileDurability, SyncsFilesAndFoldersAndFailsForWhatIsNotThere) {
    test::TempDir dir;
    test::writeBytes(dir / "Default1.profile", {1, 2, 3});
    EXPECT_TRUE(syncToDisk(dir / "Default1.profile"));
    EXPECT_TRUE(syncToDisk(dir.path()));
    EXPECT_FALSE(syncToDisk(dir / "gone.profile"));
}

}  // namespace
}  // namespace orvane

#include "profile/ProfileFile.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(ProfileFile, NewRecordNamedProfile1Writes348Bytes) {
    MouseProfile profile;
    profile.name = u"Profile1";
    DataStream stream = DataStream::forWriting();
    writeProfile(profile, stream);
    EXPECT_EQ(stream.length(), 348U);
}

}  // namespace
}  // namespace orvane

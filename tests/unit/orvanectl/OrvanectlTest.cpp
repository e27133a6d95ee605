#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "JsonExport.h"
#include "macros/MacroFile.h"
#include "support/TempDir.h"

namespace orvanectl {
namespace {

namespace fs = std::filesystem;
using orvane::test::readBytes;
using orvane::test::TempDir;
using orvane::test::writeBytes;

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result runCommand(std::vector<std::string> words) {
    words.insert(words.begin(), "orvanectl");
    std::vector<const char*> argv;
    for (const std::string& word : words) {
        argv.push_back(word.c_str());
    }
    std::ostringstream out;
    std::ostringstream err;
    const int status = run(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

TEST(Orvanectl, NewProfileIsADefaultRecordThatShowPrintsInFull) {
    TempDir dir;
    const std::string file = (dir / "sub" / "work.profile").string();
    ASSERT_EQ(runCommand({"profile", "new", "--name", "W\xC3\xB6rk", file}).status, 0);
    EXPECT_EQ(readBytes(file).size(), 348U - 16 + 8);

    const Result shown = runCommand({"profile", "show", file});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const auto json = nlohmann::json::parse(shown.out);
    EXPECT_EQ(json["name"], "W\xC3\xB6rk");
    EXPECT_EQ(json["zoneColor1"], 0xFFFF00);
    EXPECT_EQ(json["dpiLevels"][4]["x"], 19000);
    EXPECT_EQ(json["buttons"][7]["function"], 3);
    EXPECT_EQ(json["buttonMacros"].size(), 9U);
    EXPECT_EQ(json.size(), 32U);  // every persisted field
}

TEST(Orvanectl, NewNeverOverwritesWithoutForce) {
    TempDir dir;
    const fs::path file = dir / "keep.profile";
    writeBytes(file, {1, 2, 3});
    const Result refused = runCommand({"profile", "new", file.string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("--force"), std::string::npos);
    EXPECT_EQ(readBytes(file), (std::vector<std::uint8_t>{1, 2, 3}));

    EXPECT_EQ(runCommand({"profile", "new", "--force", file.string()}).status, 0);
    EXPECT_EQ(readBytes(file).size(), 348U);
}

TEST(Orvanectl, NamesLongerThanTheDeviceKeepsAreRefused) {
    TempDir dir;
    const Result result = runCommand(
        {"profile", "new", "--name", "0123456789abcdef", (dir / "long.profile").string()});
    EXPECT_EQ(result.status, 2);
    EXPECT_FALSE(fs::exists(dir / "long.profile"));
}

TEST(Orvanectl, ImageIsSixteenBytesALineWithTheOffsetAndTheSlot) {
    TempDir dir;
    const std::string file = (dir / "p.profile").string();
    ASSERT_EQ(runCommand({"profile", "new", file}).status, 0);
    const Result result = runCommand({"profile", "image", file, "--slot", "3"});
    ASSERT_EQ(result.status, 0) << result.err;

    std::istringstream lines(result.out);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);) {
        all.push_back(line);
    }
    ASSERT_EQ(all.size(), 128U);
    EXPECT_EQ(all[0].substr(0, 24), "0000: 03 50 72 6f 66 69 ");  // slot 3, "Profi"
    EXPECT_EQ(all[1].substr(0, 21), "0010: 00 00 08 00 00 ");     // byte 17: size 2048
    EXPECT_EQ(all[127].substr(0, 6), "07f0: ");
    EXPECT_EQ(all[127].size(), 6U + 16 * 3 - 1);

    EXPECT_EQ(runCommand({"profile", "image", file, "--slot", "5"}).status, 2);
}

TEST(Orvanectl, UnreadableOrDamagedFilesAreExplainedWithStatus1) {
    TempDir dir;
    const Result missing = runCommand({"profile", "show", (dir / "none.profile").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no such file"), std::string::npos);

    const Result folder = runCommand({"macro", "show", dir.path().string()});
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("folder"), std::string::npos);

    const fs::path file = dir / "cut.profile";
    ASSERT_EQ(runCommand({"profile", "new", file.string()}).status, 0);
    auto bytes = readBytes(file);
    bytes.resize(200);
    writeBytes(file, bytes);
    for (const char* command : {"show", "image"}) {
        const Result damaged = runCommand({"profile", command, file.string()});
        EXPECT_EQ(damaged.status, 1);
        EXPECT_NE(damaged.err.find("damaged"), std::string::npos);
        EXPECT_TRUE(damaged.out.empty());
    }

    writeBytes(dir / "short.macro", {5, 0, 0, 0, 'M', 0});
    EXPECT_EQ(runCommand({"macro", "show", (dir / "short.macro").string()}).status, 1);
}

TEST(Orvanectl, MacroShowPrintsEveryStoredField) {
    TempDir dir;
    // name "Ab", id 20, layout (1,2,3,4), one step: key 65 released after 300 ms.
    std::vector<std::uint8_t> bytes = {2, 0, 0, 0, 'A', 0, 'b', 0, 20, 0, 0, 0, 1, 0, 0, 0,
                                       2, 0, 0, 0, 3,   0, 0,   0, 4,  0, 0, 0, 1, 0, 0, 0};
    const std::vector<std::uint8_t> step = {1, 65, 0, 1, 0x2C, 1,    0,    0,    4,    0,  0,
                                            0, 5,  0, 0, 0,    0xFE, 0xFF, 0xFF, 0xFF, 23, 0,
                                            0, 0,  1, 0, 0,    0,    7,    0,    0,    0};
    bytes.insert(bytes.end(), step.begin(), step.end());
    writeBytes(dir / "Ab.macro", bytes);

    const Result result = runCommand({"macro", "show", (dir / "Ab.macro").string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["name"], "Ab");
    EXPECT_EQ(json["id"], 20);
    EXPECT_EQ(json["layoutRect"]["bottom"], 4);
    ASSERT_EQ(json["events"].size(), 1U);
    const auto& event = json["events"][0];
    EXPECT_EQ(event["code"], 65);
    EXPECT_EQ(event["state"], 1);
    EXPECT_EQ(event["delay"], 300);
    EXPECT_EQ(event["rowRect"]["right"], -2);
    EXPECT_EQ(event["selected"], 1);
    EXPECT_EQ(event["id"], 7);
}

orvane::CMacro macroWithSteps(std::u16string name, std::size_t steps) {
    orvane::CMacro macro;
    macro.name = std::move(name);
    macro.id = -3;
    macro.layoutRect = {1, -2, 300, 400};
    for (std::size_t i = 0; i < steps; ++i) {
        orvane::CEventItem event;
        event.type = static_cast<std::uint8_t>(16 + i % 3);
        event.code = static_cast<std::uint16_t>(0xFFFF - i);
        event.state = static_cast<std::uint8_t>(i % 2);
        event.delay = 0xFFFFFFFFU - static_cast<std::uint32_t>(i);
        event.rowRect = {0, static_cast<std::int32_t>(20 * i), -1, 2147483647};
        event.selected = i % 2 == 0 ? 0 : -7;
        event.id = static_cast<std::uint32_t>(i + 1);
        macro.events.push_back(event);
    }
    return macro;
}

TEST(Orvanectl, MacroShowWritesStepByStepTheTextOfTheWholeTree) {
    const std::vector<orvane::CMacro> macros = {
        macroWithSteps(u"", 0),
        macroWithSteps(u"One", 1),
        macroWithSteps(u"Quote \" back\\slash [] {}\n\u00e9\u4e2d", 3),
        macroWithSteps(u"Many", 500),
    };
    for (const orvane::CMacro& macro : macros) {
        std::ostringstream streamed;
        writeMacroJson(macro, streamed);
        EXPECT_EQ(streamed.str(), macroToJson(macro).dump(2)) << macro.events.size() << " steps";
    }

    TempDir dir;
    orvane::DataStream file = orvane::DataStream::forWriting();
    orvane::writeMacro(macros[2], file);
    writeBytes(dir / "three.macro", file.bytes());
    const Result shown = runCommand({"macro", "show", (dir / "three.macro").string()});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out, macroToJson(macros[2]).dump(2) + "\n");
}

TEST(Orvanectl, UnknownCommandsAreUsageErrors) {
    EXPECT_EQ(runCommand({}).status, 2);
    EXPECT_EQ(runCommand({"profile", "frobnicate"}).status, 2);
    EXPECT_EQ(runCommand({"profile", "show"}).status, 2);
}

}  // namespace
}  // namespace orvanectl

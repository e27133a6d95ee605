#include "macros/MacroCollection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "macros/MacroFile.h"
#include "profile/FileIO.h"
#include "profile/TextCodec.h"
#include "support/TempDir.h"
#include "unit/macros/RecordingEditorView.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::writeBytes;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;
using Bytes = std::vector<std::uint8_t>;

std::set<std::string> entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::vector<std::u16string> namesOf(const MacroCollection& collection) {
    std::vector<std::u16string> names;
    for (const auto& macro : collection.macros()) {
        names.push_back(macro->name);
    }
    return names;
}

class MacroFiles : public ::testing::Test {
  protected:
    MacroFiles() : collection(&view) { collection.macroFolder = folder; }

    CMacro& addKeyMacro(std::u16string name, int steps = 2) {
        CMacro& macro = collection.addMacro(nextId++, std::move(name));
        for (int i = 0; i < steps; ++i) {
            macro.addEvent(kKeyEvent, static_cast<std::uint16_t>('A' + i), kPressed,
                           static_cast<std::uint32_t>(10 * i), kAppendEvent);
        }
        return macro;
    }

    MacroCollection loaded(MacroLoadReport* report = nullptr) {
        MacroCollection result;
        result.macroFolder = folder;
        const MacroLoadReport r = result.loadMacroFiles();
        if (report != nullptr) {
            *report = r;
        }
        return result;
    }

    test::TempDir temp;
    fs::path folder = temp / "data" / "Macros";
    test::RecordingEditorView view;
    MacroCollection collection;
    std::int32_t nextId = 16;
};

TEST_F(MacroFiles, RoundTripKeepsNamesAsTypedWhileFileNamesStayInsideTheFolder) {
    for (std::u16string name : {u"Macro", u"Gr\u00fc\u00dfe \u65e5\u672c", u"../evil", u"a/b\\c",
                                u".hidden", u"", u"x\xD800"}) {
        addKeyMacro(name);
    }
    addKeyMacro(std::u16string(u"nul\0tab\t", 8), 0);

    ASSERT_TRUE(collection.saveMacroFiles());

    EXPECT_THAT(entries(temp.path()), ElementsAre("data"));
    EXPECT_THAT(entries(temp / "data"), ElementsAre("Macros"));
    EXPECT_THAT(entries(folder),
                UnorderedElementsAre("Macro.macro", "Gr\u00fc\u00dfe \u65e5\u672c.macro",
                                     "___evil.macro", "a_b_c.macro", "_hidden.macro", "_.macro",
                                     "x\uFFFD.macro", "nul_tab_.macro", "macroList.dat"));
    const MacroCollection copy = loaded();
    ASSERT_EQ(namesOf(copy), namesOf(collection));
    for (std::size_t i = 0; i < copy.macros().size(); ++i) {
        EXPECT_EQ(copy.macros()[i]->id, collection.macros()[i]->id);
        EXPECT_EQ(copy.macros()[i]->layoutRect, view.client);
        EXPECT_EQ(copy.macros()[i]->events, collection.macros()[i]->events);
    }
}

TEST_F(MacroFiles, NamesDifferingOnlyInLetterCaseGetOnesAppended) {
    addKeyMacro(u"Macro");
    addKeyMacro(u"macro");
    addKeyMacro(u"MACRO");
    const std::u16string longName(300, u'\u00e9');
    addKeyMacro(longName);
    addKeyMacro(longName);

    ASSERT_TRUE(collection.saveMacroFiles());

    EXPECT_EQ(entries(folder).size(), 6U);
    EXPECT_TRUE(fs::exists(folder / "macro1.macro") && fs::exists(folder / "MACRO11.macro"));
    const std::vector<std::u16string> expected = {u"Macro", u"macro1", u"MACRO11", longName,
                                                  longName + u"1"};
    EXPECT_EQ(namesOf(collection), expected);
    EXPECT_THAT(view.requests, Contains("repaint"));
    EXPECT_EQ(namesOf(loaded()), expected);
}

TEST_F(MacroFiles, SaveLeavesOnlyTheCurrentFilesAndNeverFollowsLinks) {
    const fs::path outside = temp / "outside";
    fs::create_directories(outside);
    writeBytes(outside / "keep.txt", {1});
    fs::create_directories(folder / "sub" / "deeper");
    writeBytes(folder / "sub" / "deeper" / "old.macro", {2});
    writeBytes(folder / "Renamed.macro", {3});
    fs::create_symlink(outside / "keep.txt", folder / "link.macro");
    fs::create_symlink(outside, folder / "folderlink");
    fs::create_directories(folder / "Macro.macro");  // where our file belongs

    addKeyMacro(u"Macro");
    ASSERT_TRUE(collection.saveMacroFiles());
    EXPECT_THAT(entries(folder), UnorderedElementsAre("Macro.macro", "macroList.dat"));
    EXPECT_EQ(readBytes(outside / "keep.txt"), Bytes{1});

    collection.removeMacro(16);
    ASSERT_TRUE(collection.saveMacroFiles());
    EXPECT_THAT(entries(folder), ElementsAre("macroList.dat"));
    EXPECT_EQ(readBytes(folder / "macroList.dat"), (Bytes{0, 0, 0, 0}));
}

TEST_F(MacroFiles, SaveNeverDeletesBeforeTheNewSetIsWritten) {
    addKeyMacro(u"Old");
    ASSERT_TRUE(collection.saveMacroFiles());
    writeBytes(folder / "stale.txt", {1});
    const Bytes oldList = readBytes(folder / "macroList.dat");

    // A macro too large for its file fails to write, as on a full disk.
    collection.removeMacro(16);
    addKeyMacro(u"Huge", 0).events.resize(kMaxFileSize / kMacroStepBytes + 1);
    EXPECT_FALSE(collection.saveMacroFiles());

    EXPECT_THAT(entries(folder), UnorderedElementsAre("Old.macro", "stale.txt", "macroList.dat"));
    EXPECT_EQ(readBytes(folder / "macroList.dat"), oldList);
}

TEST_F(MacroFiles, SaveWhereTheFolderCannotBeReportsFailure) {
    writeBytes(temp / "data", {9});
    addKeyMacro(u"Macro");
    EXPECT_FALSE(collection.saveMacroFiles());
    EXPECT_EQ(readBytes(temp / "data"), Bytes{9});
}

TEST_F(MacroFiles, LoadSkipsListedFilesThatAreMissingDamagedOrElsewhere) {
    for (std::u16string name : {u"A", u"B", u"C", u"D"}) {
        addKeyMacro(name);
    }
    ASSERT_TRUE(collection.saveMacroFiles());
    fs::remove(folder / "B.macro");
    Bytes cut = readBytes(folder / "C.macro");
    cut.pop_back();
    writeBytes(folder / "C.macro", cut);
    const Bytes valid = readBytes(folder / "D.macro");
    writeBytes(temp / "outside.macro", valid);
    fs::create_directories(folder / "sub");
    writeBytes(folder / "sub" / "inner.macro", valid);
    fs::create_symlink(temp / "outside.macro", folder / "link.macro");

    auto text = [](const fs::path& path) { return fromUtf8(path.string()); };
    DataStream list = DataStream::forWriting();
    writeMacroList({text(folder / "A.macro"), text(folder / "B.macro"), text(folder / "C.macro"),
                    text(temp / "outside.macro"), text(folder / ".." / "outside.macro"), u"D.macro",
                    text(folder / "sub" / "inner.macro"), text(folder / "link.macro"),
                    text(folder / "D.macro")},
                   list);
    ASSERT_TRUE(writeWholeFile(folder / "macroList.dat", list));

    MacroLoadReport report;
    EXPECT_THAT(namesOf(loaded(&report)), ElementsAre(u"A", u"D"));
    EXPECT_EQ(report.skipped, 7U);
    EXPECT_FALSE(report.listDamaged);
}

TEST_F(MacroFiles, LoadWithoutAListKeepsTheCollectionButClearsTheShownMacro) {
    collection.currentMacro = &addKeyMacro(u"Shown");
    view.requests.clear();
    EXPECT_EQ(collection.loadMacroFiles().loaded, 0U);
    EXPECT_THAT(namesOf(collection), ElementsAre(u"Shown"));
    EXPECT_TRUE(collection.currentMacro->events.empty());
    EXPECT_THAT(view.requests, ElementsAre("repaint"));
}

TEST(MacroCollection, RemovingTheShownMacroClearsTheCurrentMacro) {
    MacroCollection collection;
    collection.addMacro(16, u"kept");
    collection.currentMacro = &collection.addMacro(17, u"shown");
    collection.removeMacro(17);
    EXPECT_EQ(collection.currentMacro, nullptr);
    EXPECT_THAT(namesOf(collection), ElementsAre(u"kept"));
}

TEST(MacroCollection, CopyForAButtonIsDeepAndKeepsEveryStep) {
    MacroCollection collection;
    EXPECT_FALSE(collection.copyMacroForButton(16).has_value());
    CMacro& macro = collection.addMacro(16, u"Long");
    for (std::uint32_t i = 0; i < 300; ++i) {
        macro.addEvent(kMouseButtonEvent, kLeftButtonCode, static_cast<std::uint8_t>(i % 2), i,
                       kAppendEvent);
    }
    const std::optional<ButtonMacro> copy = collection.copyMacroForButton(16);
    macro.events.clear();
    ASSERT_TRUE(copy.has_value());
    EXPECT_EQ(copy->name, u"Long");
    EXPECT_EQ(copy->id, 16U);
    ASSERT_EQ(copy->events.size(), 300U);
    EXPECT_EQ(copy->events[299], (CMacroEvent{kMouseButtonEvent, kLeftButtonCode, 1, 299}));
}

}  // namespace
}  // namespace orvane

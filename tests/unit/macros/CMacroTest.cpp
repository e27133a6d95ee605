#include "macros/CMacro.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "unit/macros/RecordingEditorView.h"

namespace orvane {
namespace {

using ::testing::ElementsAre;
using Strings = std::vector<std::string>;

// Steps with codes 'A', 'B', ... as the recorder appends them, with step
// `selected` selected (none for -1); the editor's requests so far forgotten.
CMacro keyMacro(test::RecordingEditorView& view, int steps, int selected) {
    CMacro macro;
    macro.layoutRect = view.client;
    macro.editor = &view;
    for (int i = 0; i < steps; ++i) {
        macro.addEvent(kKeyEvent, static_cast<std::uint16_t>('A' + i), kPressed, 0, kAppendEvent);
    }
    for (int i = 0; i < steps; ++i) {
        macro.events[static_cast<std::size_t>(i)].selected = i == selected ? 1 : 0;
    }
    view.requests.clear();
    return macro;
}

// The codes in list order, the selected one in brackets; every row checked
// to sit where its list position puts it.
std::string steps(const CMacro& macro) {
    std::string text;
    for (std::size_t i = 0; i < macro.events.size(); ++i) {
        const CEventItem& event = macro.events[i];
        const auto top = static_cast<std::int32_t>(18 * i + 5);
        EXPECT_EQ(event.rowRect, (MacroRect{4, top, 197, top + 18})) << "row " << i;
        const char code = static_cast<char>(event.code);
        text += event.selected != 0 ? std::string{'[', code, ']'} : std::string{code};
    }
    return text;
}

struct EditCase {
    const char* name;
    int steps;
    int selected;
    int mode;  // -1: delete the selected step instead of adding 'Z'
    const char* after;
    Strings requests;
};

class EventEditing : public ::testing::TestWithParam<EditCase> {};

TEST_P(EventEditing, PlacesAndSelectsStepsAndAsksForTheRightScroll) {
    const EditCase& c = GetParam();
    test::RecordingEditorView view;
    CMacro macro = keyMacro(view, c.steps, c.selected);
    if (c.mode < 0) {
        macro.deleteSelectedEvent();
    } else {
        macro.addEvent(kMouseButtonEvent, 'Z', kReleased, 0, c.mode);
        EXPECT_EQ(macro.events.size(), static_cast<std::size_t>(c.steps + 1));
    }
    EXPECT_EQ(steps(macro), c.after);
    EXPECT_EQ(view.requests, c.requests);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EventEditing,
    ::testing::Values(
        EditCase{"AppendIgnoresTheSelection", 3, 0, kAppendEvent, "ABC[Z]", {"row 3"}},
        EditCase{
            "InsertWithoutSelectionGoesFirst", 3, -1, kInsertAfterSelected, "[Z]ABC", {"row 0"}},
        EditCase{"InsertAfterTheLastAppends", 3, 2, kInsertAfterSelected, "ABC[Z]", {"row 3"}},
        EditCase{"InsertAfterTheFirstIsSecond", 3, 0, kInsertAfterSelected, "A[Z]BC", {"row 1"}},
        EditCase{"InsertIntoAnEmptyMacro", 0, -1, kInsertAfterSelected, "[Z]", {"row 0"}},
        EditCase{"DeletingTheLastSelectsTheFirst", 3, 2, -1, "[A]B", {"row 0"}},
        EditCase{"DeletingTheMiddleSelectsItsSuccessor", 3, 1, -1, "A[C]", {}},
        EditCase{"DeletingTheOnlyStepLeavesNone", 1, 0, -1, "", {}},
        EditCase{"DeletingWithoutSelectionDoesNothing", 3, -1, -1, "ABC", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CMacro, NewStepIdIsOneAboveTheLargestComparedUnsigned) {
    test::RecordingEditorView view;
    CMacro macro = keyMacro(view, 2, -1);
    macro.events[0].id = 0x80000000U;
    macro.addEvent(kKeyEvent, 'Z', kPressed, 0, kAppendEvent);
    EXPECT_EQ(macro.events.back().id, 0x80000001U);
}

TEST(CMacro, RowsPastTheLayoutBottomAskTheEditorToScrollToTheEnd) {
    test::RecordingEditorView view;
    view.client.bottom = 60;  // three rows fit: they end at 23, 41 and 59
    CMacro macro = keyMacro(view, 3, -1);
    macro.addEvent(kKeyEvent, 'Z', kPressed, 0, kAppendEvent);
    EXPECT_THAT(view.requests, ElementsAre("end 3", "row 3"));
}

TEST(CMacro, RowArithmeticOnRectanglesAtTheIntegerLimitsWraps) {
    CMacro macro;  // as a damaged file may leave it, and without an editor
    macro.layoutRect = {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN};
    macro.addEvent(kKeyEvent, 'A', kPressed, 0, kAppendEvent);
    macro.addEvent(kKeyEvent, 'B', kPressed, 0, kAppendEvent);
    EXPECT_EQ(macro.events[0].rowRect.right, INT32_MAX - 1);
    macro.events[1].rowRect.top = INT32_MIN;
    macro.events[0].selected = 1;
    macro.deleteSelectedEvent();
    EXPECT_EQ(macro.events[0].rowRect.top, INT32_MAX - 17);
}

TEST(CMacro, HoldMacroHasStepsAndNoRelease) {
    test::RecordingEditorView view;
    EXPECT_FALSE(isHoldMacro(nullptr));
    CMacro macro = keyMacro(view, 0, -1);
    EXPECT_FALSE(isHoldMacro(&macro));
    macro = keyMacro(view, 3, -1);
    EXPECT_TRUE(isHoldMacro(&macro));
    macro.addEvent(kKeyEvent, 'A', kReleased, 0, kAppendEvent);
    EXPECT_FALSE(isHoldMacro(&macro));
}

TEST(CMacro, EventLabelDependsOnCodeAndStateOnly) {
    EXPECT_EQ(eventLabel(kBackButtonCode, kPressed), "Back button Down");  // also for a key
    EXPECT_EQ(eventLabel(kForwardButtonCode, kReleased), "Forward button Up");
    EXPECT_EQ(eventLabel(kWheelUpCode, kReleased), "Scroll wheel Up");
    EXPECT_EQ(eventLabel(kLeftButtonCode, 2), "");
    EXPECT_EQ(eventLabel('A', kPressed), "");
}

}  // namespace
}  // namespace orvane

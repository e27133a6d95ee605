// The Color Settings page driven through its real controls: buttons and boxes
// clicked, colours typed, the picker moved with its keys, records loaded and
// stored, the preview's animations stepped tick by tick.
#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <optional>

#include "controls/CKivButton.h"
#include "controls/CKivCheckBox.h"
#include "controls/CKivEdit.h"
#include "controls/CKivSliderCtrl3D.h"
#include "controls/CKivStatic.h"
#include "controls/HxColorSelectorWnd.h"
#include "pages/lighting/CColorSettingsDlg.h"
#include "pages/lighting/CKivMouseStatic.h"
#include "pages/lighting/ColorEntryText.h"
#include "skins/SkinCache.h"
#include "skins/SkinLayout.h"

namespace orvane {
namespace {

using Page = CColorSettingsDlg;
namespace lp = layout::lightingpage;

enum Effect { kSolid, kBlinking, kPulsating, kBreathing };

class ColorSettingsPage : public testing::Test {
  protected:
    void SetUp() override {
        loadSkinSheetsFrom(QStringLiteral(ORVANE_TEST_SKIN_FOLDER));
        page = std::make_unique<Page>(services, nullptr);
        page->setPointerMover([this](QPoint global) { pointerMovedTo = global; });
        page->move(0, 0);
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    }

    void click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }

    // Replaces a field's text by typing, as a user does after selecting it.
    void type(CKivEdit* field, const QString& text) {
        QLineEdit* line = field->lineEdit();
        line->setFocus(Qt::MouseFocusReason);
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Backspace);
        QTest::keyClicks(line, text);
    }

    void typeRgb(int red, int green, int blue) {
        type(page->channelEdit(0), QString::number(red));
        type(page->channelEdit(1), QString::number(green));
        type(page->channelEdit(2), QString::number(blue));
    }

    MouseProfile stored() {
        MouseProfile record;
        page->storeToProfile(record);
        return record;
    }

    QImage previewPicture() { return page->grab(QRect(page->preview()->geometry())).toImage(); }

    PageServices services;
    std::unique_ptr<Page> page;
    std::optional<QPoint> pointerMovedTo;
};

TEST_F(ColorSettingsPage, SelectModeWithTheWheelBoxAndBreathingStores0x21And4) {
    click(page->selectButton());
    click(page->scrollWheelBox());
    click(page->effectButton(kBreathing));
    const MouseProfile record = stored();
    EXPECT_EQ(record.lightingZoneFlags, 0x21u);
    EXPECT_EQ(record.lightingEffect, 4u);
}

TEST_F(ColorSettingsPage, ColorShiftWithBlinkingStoresAndLoadsBack) {
    click(page->colorShiftButton());
    click(page->effectButton(kBlinking));
    const MouseProfile record = stored();
    EXPECT_EQ(record.lightingZoneFlags, 0x19u);
    EXPECT_EQ(record.lightingEffect, 0x12u);

    click(page->solidColorButton());
    page->loadFromProfile(record);
    EXPECT_EQ(page->zoneMode(), Page::ZoneMode::ColorShift);
    EXPECT_TRUE(page->colorShiftButton()->isLatched());
    EXPECT_TRUE(page->effectButton(kBlinking)->isLatched());
    EXPECT_TRUE(page->preview()->isColorShiftRunning());
}

TEST_F(ColorSettingsPage, HexTextInSolidColorModeGivesBothZonesInRecordLayout) {
    click(page->solidColorButton());
    type(page->hexEdit(), QStringLiteral("FF8000"));
    EXPECT_EQ(page->channelEdit(0)->text(), QStringLiteral("255"));
    EXPECT_EQ(page->channelEdit(1)->text(), QStringLiteral("128"));
    EXPECT_EQ(page->channelEdit(2)->text(), QStringLiteral("0"));
    const MouseProfile record = stored();
    EXPECT_EQ(record.zoneColor1, 0x0080FFu);
    EXPECT_EQ(record.zoneColor4, 0x0080FFu);
    EXPECT_EQ(record.pickerColor, 0x0080FFu);
}

TEST_F(ColorSettingsPage, ThreeHundredInTheRedFieldBecomes255) {
    type(page->channelEdit(0), QStringLiteral("300"));
    EXPECT_EQ(page->channelEdit(0)->text(), QStringLiteral("255"));
    EXPECT_TRUE(page->hexEdit()->text().startsWith(QStringLiteral("FF")));
    EXPECT_EQ(page->channelEdit(0)->lineEdit()->cursorPosition(), 3);
}

TEST_F(ColorSettingsPage, DecimalFieldsTakeNoSign) {
    type(page->channelEdit(1), QStringLiteral("-7"));
    EXPECT_EQ(page->channelEdit(1)->text(), QStringLiteral("7"));
    EXPECT_EQ(page->hexEdit()->text(), QStringLiteral("FF0700"));
}

TEST_F(ColorSettingsPage, ShortHexTextCountsMissingPairsAsZero) {
    type(page->hexEdit(), QStringLiteral("FF8"));
    EXPECT_EQ(page->channelEdit(1)->text(), QStringLiteral("8"));
    EXPECT_EQ(page->channelEdit(2)->text(), QStringLiteral("0"));
    // Moving on to a decimal field writes the colour back as six digits.
    page->channelEdit(0)->lineEdit()->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(page->hexEdit()->text(), QStringLiteral("FF0800"));
}

TEST_F(ColorSettingsPage, BrightnessOneDrawsTheMousePictureAlone) {
    MouseProfile record;
    record.lightingZoneFlags = 0x0F;
    record.lightingEffect = 1;
    record.pickerColor = 0x0000FF;
    record.lightingBrightness = 5;
    page->loadFromProfile(record);
    const QImage bright = previewPicture();
    record.lightingBrightness = 1;
    page->loadFromProfile(record);
    const QImage dark = previewPicture();
    click(page->selectButton());  // neither zone lit
    const QImage unlit = previewPicture();
    EXPECT_NE(bright, unlit);
    EXPECT_EQ(dark, unlit);
    EXPECT_EQ(stored().lightingBrightness, 1u);
}

TEST_F(ColorSettingsPage, SelectModeTypesIntoTheCheckedTargetZoneOnly) {
    MouseProfile record;
    record.lightingZoneFlags = 0x0F;
    record.zoneColor1 = 0x111111;
    record.zoneColor4 = 0x222222;
    record.pickerColor = 0x111111;
    page->loadFromProfile(record);
    click(page->selectButton());
    EXPECT_TRUE(page->scrollWheelBox()->isVisible());
    EXPECT_EQ(page->zoneLabel(0)->currentPicture(), 0);

    // No target yet: neither zone takes the colour.
    typeRgb(10, 20, 30);
    EXPECT_EQ(stored().zoneColor1, 0x111111u);
    EXPECT_EQ(stored().zoneColor4, 0x111111u);

    // "4" without "LogoType" checked: still nothing.
    click(page->logoTargetButton());
    ASSERT_TRUE(pointerMovedTo.has_value());
    EXPECT_EQ(*pointerMovedTo,
              page->mapToGlobal(QPoint(lp::kGreenEdit.x, lp::kGreenEdit.y - Page::kPointerLift)));
    typeRgb(40, 50, 60);
    EXPECT_EQ(stored().zoneColor4, 0x111111u);

    click(page->logoTypeBox());
    typeRgb(70, 80, 90);
    EXPECT_EQ(stored().zoneColor4, makeColorRef(70, 80, 90));
    EXPECT_EQ(stored().zoneColor1, 0x111111u);
    EXPECT_EQ(stored().lightingZoneFlags, 0x28u);

    click(page->solidColorButton());
    EXPECT_FALSE(page->scrollWheelBox()->isVisible());
    EXPECT_FALSE(page->logoTargetButton()->isVisible());
    EXPECT_EQ(page->zoneLabel(0)->currentPicture(), 1);
    EXPECT_EQ(page->zoneLabel(1)->currentPicture(), 1);
}

// ----- records in and out -----

struct LoadCase {
    const char* name;
    std::uint32_t flags;
    std::uint32_t effect;
    std::uint32_t brightness;
    // What a store right after the load writes.
    std::uint32_t storedFlags;
    std::uint32_t storedEffect;
    std::uint32_t storedBrightness;
    Page::ZoneMode mode;
    int effectButton;  // -1: none latched
};

class LoadAndStore : public ColorSettingsPage, public testing::WithParamInterface<LoadCase> {};

TEST_P(LoadAndStore, GivesBackTheLightingFieldsTheControlsCanHold) {
    const LoadCase& row = GetParam();
    MouseProfile record;
    record.lightingZoneFlags = row.flags;
    record.lightingEffect = row.effect;
    record.lightingBrightness = row.brightness;
    record.zoneColor1 = 0x123456;
    record.zoneColor4 = 0x0A0B0C;
    record.zoneColor2 = 0x010203;
    // In solid-colour mode the picked colour lights both zones.
    record.pickerColor = row.mode == Page::ZoneMode::SolidColor ? 0x123456 : 0x00C0FF;
    if (row.mode == Page::ZoneMode::SolidColor) {
        record.zoneColor4 = 0x123456;
    }
    page->loadFromProfile(record);
    EXPECT_EQ(page->zoneMode(), row.mode);
    EXPECT_EQ(page->effectIndex(), row.effectButton);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(page->effectButton(i)->isLatched(), i == row.effectButton) << i;
    }
    // The preview lights what the record lights, and holds still without an
    // effect.
    const bool bothLit =
        row.mode == Page::ZoneMode::SolidColor || row.mode == Page::ZoneMode::ColorShift;
    EXPECT_EQ(page->preview()->isWheelLit(), bothLit || (row.storedFlags & 0x21) == 0x21);
    EXPECT_EQ(page->preview()->isLogoLit(), bothLit || (row.storedFlags & 0x28) == 0x28);
    EXPECT_EQ(page->preview()->isEffectTimerActive(), row.effectButton > 0);

    MouseProfile back = record;
    page->storeToProfile(back);
    EXPECT_EQ(back.lightingZoneFlags, row.storedFlags);
    EXPECT_EQ(back.lightingEffect, row.storedEffect);
    EXPECT_EQ(back.lightingBrightness, row.storedBrightness);
    EXPECT_EQ(back.zoneColor1, record.zoneColor1);
    EXPECT_EQ(back.zoneColor4, record.zoneColor4);
    EXPECT_EQ(back.zoneColor2, record.zoneColor2);
    EXPECT_EQ(back.pickerColor, record.pickerColor);
}

INSTANTIATE_TEST_SUITE_P(
    Records, LoadAndStore,
    testing::Values(
        LoadCase{"SelectWheelBreathing", 0x21, 4, 3, 0x21, 4, 3, Page::ZoneMode::Select, 3},
        LoadCase{"SelectLogoPulsating", 0x28, 3, 2, 0x28, 3, 2, Page::ZoneMode::Select, 2},
        LoadCase{"SelectBothSolid", 0x29, 1, 5, 0x29, 1, 5, Page::ZoneMode::Select, 0},
        LoadCase{"ShiftBlinking", 0x19, 0x12, 4, 0x19, 0x12, 4, Page::ZoneMode::ColorShift, 1},
        LoadCase{"ShiftWithoutEffect", 0x19, 0x10, 5, 0x19, 0x10, 5, Page::ZoneMode::ColorShift,
                 -1},
        LoadCase{"SolidBreathing", 0x0F, 4, 1, 0x0F, 4, 1, Page::ZoneMode::SolidColor, 3},
        LoadCase{"EffectThreeIsPulsating", 0x0F, 3, 5, 0x0F, 3, 5, Page::ZoneMode::SolidColor, 2},
        LoadCase{"NoModeNoEffect", 0, 0, 5, 0, 0, 5, Page::ZoneMode::None, -1},
        LoadCase{"SelectWithoutZonesShowsNoMode", 0x20, 2, 5, 0, 2, 5, Page::ZoneMode::None, 1},
        LoadCase{"BrightnessZeroBecomesOne", 0x0F, 1, 0, 0x0F, 1, 1, Page::ZoneMode::SolidColor, 0},
        LoadCase{"BrightnessNineBecomesFive", 0x0F, 1, 9, 0x0F, 1, 5, Page::ZoneMode::SolidColor,
                 0},
        LoadCase{"AllModeBitsMeanSolidColor", 0x3F, 2, 5, 0x0F, 2, 5, Page::ZoneMode::SolidColor,
                 1}),
    [](const testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST_F(ColorSettingsPage, NoColourDriftsOnItsWayThroughThePicker) {
    // A colour the picker's hue steps cannot hold exactly.
    std::optional<ColorRef> drifting;
    for (int red = 0; red < 256 && !drifting; red += 3) {
        for (int green = 0; green < 256 && !drifting; green += 7) {
            const ColorRef colour = makeColorRef(red, green, 77);
            if (colorFromHsvComponents(hsvComponentsFromColor(colour)) != colour) {
                drifting = colour;
            }
        }
    }
    ASSERT_TRUE(drifting.has_value());

    click(page->solidColorButton());
    typeRgb(redOf(*drifting), greenOf(*drifting), blueOf(*drifting));
    EXPECT_EQ(page->hexEdit()->text(), hexText(*drifting));
    MouseProfile record = stored();
    EXPECT_EQ(record.zoneColor1, *drifting);
    EXPECT_EQ(record.pickerColor, *drifting);

    // Loading it shows it unchanged in the fields, and it comes back.
    page->loadFromProfile(record);
    EXPECT_EQ(page->channelEdit(1)->text(), QString::number(greenOf(*drifting)));
    EXPECT_EQ(stored().pickerColor, *drifting);
}

TEST_F(ColorSettingsPage, APickReachesTheFieldsAndThePreview) {
    click(page->solidColorButton());
    HxColorSelectorWnd* selector = page->colorSelector();
    selector->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(selector, Qt::Key_Home);  // top-left: white
    EXPECT_EQ(page->hexEdit()->text(), QStringLiteral("FFFFFF"));
    EXPECT_EQ(page->channelEdit(2)->text(), QStringLiteral("255"));
    EXPECT_EQ(stored().zoneColor4, 0xFFFFFFu);
    QTest::keyClick(selector, Qt::Key_End);  // bottom-left: black
    EXPECT_EQ(page->hexEdit()->text(), QStringLiteral("000000"));
    EXPECT_EQ(stored().zoneColor1, 0u);
    EXPECT_EQ(stored().pickerColor, 0u);
}

TEST_F(ColorSettingsPage, EnterStoresIntoTheCurrentRecord) {
    MouseProfile current;
    page->setCurrentRecord([&current]() -> MouseProfile& { return current; });
    click(page->selectButton());
    click(page->logoTypeBox());
    type(page->channelEdit(0), QStringLiteral("12"));
    QTest::keyClick(page->channelEdit(0)->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(current.lightingZoneFlags, 0x28u);
    EXPECT_EQ(current.pickerColor & 0xFF, 12u);
}

TEST_F(ColorSettingsPage, BackgroundClickLeavesTheFocusInTheBlueField) {
    page->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
    type(page->hexEdit(), QStringLiteral("0A0B0"));
    QTest::mouseClick(page.get(), Qt::LeftButton, {}, QPoint(600, 450));
    EXPECT_EQ(QApplication::focusWidget(), page->channelEdit(2)->lineEdit());
    // The decimal fields now lead: the hex text is written back whole.
    EXPECT_EQ(page->hexEdit()->text(), QStringLiteral("0A0B00"));
}

TEST_F(ColorSettingsPage, TabReachesTheFieldsAndButtonsByTheirNames) {
    page->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
    page->effectButton(kSolid)->setFocus(Qt::TabFocusReason);
    QStringList reached;
    for (int i = 0; i < 20; ++i) {
        if (QWidget* focused = QApplication::focusWidget()) {
            reached << focused->accessibleName();
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (const char* name : {"Solid", "Blinking", "Pulsating", "Breathing", "Solid Color",
                             "Color Shift", "Select", "Red", "Green", "Blue", "Hex colour"}) {
        EXPECT_TRUE(reached.contains(QLatin1String(name))) << name;
    }
    // The space bar presses the focused button.
    page->selectButton()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(page->selectButton(), Qt::Key_Space);
    EXPECT_EQ(page->zoneMode(), Page::ZoneMode::Select);
}

// ----- the preview's animations -----

struct EffectCase {
    const char* name;
    int effectButton;
    int brightness;
    std::vector<int> alphas;  // after each tick, from the first of the page
};

class EffectTicks : public ColorSettingsPage, public testing::WithParamInterface<EffectCase> {};

TEST_P(EffectTicks, GiveTheZonesTheirAlphaTickByTick) {
    const EffectCase& row = GetParam();
    click(page->solidColorButton());
    page->brightnessSlider()->setValue(row.brightness);
    click(page->effectButton(row.effectButton));
    CKivMouseStatic& preview = *page->preview();
    std::vector<int> alphas;
    for (std::size_t i = 0; i < row.alphas.size(); ++i) {
        preview.effectTick();
        EXPECT_EQ(qAlpha(preview.logoColor()), qAlpha(preview.wheelColor()));
        alphas.push_back(qAlpha(preview.wheelColor()));
    }
    EXPECT_EQ(alphas, row.alphas);
}

INSTANTIATE_TEST_SUITE_P(
    Effects, EffectTicks,
    testing::Values(
        // The counter starts at the alpha, 255, which is odd.
        EffectCase{"BlinkingFull", kBlinking, 5, {255, 0, 255, 0, 255}},
        // 130 is even: the first tick is dark.
        EffectCase{"BlinkingHalf", kBlinking, 3, {0, 130, 0, 130}},
        // Counter 256..270: dark where it is 0 or 3 modulo 15.
        EffectCase{
            "PulsatingFull",
            kPulsating,
            5,
            {255, 255, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 0, 255, 255, 0}},
        EffectCase{"BreathingHalf", kBreathing, 3, {130, 125, 120, 115, 110, 105, 100, 95, 90, 85,
                                                    80,  75,  70,  65,  60,  55,  50,  45, 40, 35,
                                                    30,  25,  20,  15,  10,  5,   0,   5,  10}},
        EffectCase{"BreathingDarkest", kBreathing, 1, {0, 0, 0}},
        EffectCase{"SolidTakesTheAlphaAtOnce", kSolid, 4, {190, 190}}),
    [](const testing::TestParamInfo<EffectCase>& info) { return std::string(info.param.name); });

TEST_F(ColorSettingsPage, ColorShiftWalksTheChannelsAndKeepsTheColoursToStore) {
    MouseProfile record;
    record.lightingZoneFlags = 0x0F;
    record.zoneColor1 = 0x010203;
    record.zoneColor4 = 0x010203;
    record.pickerColor = 0x010203;
    page->loadFromProfile(record);
    click(page->colorShiftButton());
    CKivMouseStatic& preview = *page->preview();
    struct Rgb {
        int r, g, b;
        bool operator==(const Rgb&) const = default;
    };
    std::vector<Rgb> steps;
    for (int i = 0; i < 18; ++i) {
        preview.colorShiftTick();
        EXPECT_EQ(preview.logoColor(), preview.wheelColor());
        steps.push_back({qRed(preview.wheelColor()), qGreen(preview.wheelColor()),
                         qBlue(preview.wheelColor())});
    }
    const std::vector<Rgb> firstTen = {
        {240, 135, 5},  {225, 145, 10}, {210, 155, 15}, {195, 165, 20}, {180, 175, 25},
        {165, 185, 30}, {150, 195, 35}, {135, 205, 40}, {120, 215, 45}, {105, 225, 50}};
    EXPECT_EQ(std::vector<Rgb>(steps.begin(), steps.begin() + 10), firstTen);
    // Green turns at 255 after step 13, red at 0 after step 17.
    EXPECT_EQ(steps[12].g, 255);
    EXPECT_EQ(steps[13].g, 245);
    EXPECT_EQ(steps[16].r, 0);
    EXPECT_EQ(steps[17].r, 15);

    // What is stored is the colour the zones had before the shift; pressing
    // "Color Shift" again does not take an animation frame as that colour.
    click(page->colorShiftButton());
    EXPECT_EQ(stored().zoneColor1, 0x010203u);
    click(page->solidColorButton());
    EXPECT_EQ(qRed(preview.wheelColor()), 3);
    EXPECT_EQ(qBlue(preview.wheelColor()), 1);
}

// ----- cost while nobody looks -----

int registeredTimers(QObject& root) {
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    int count = static_cast<int>(dispatcher->registeredTimers(&root).size());
    for (QObject* child : root.findChildren<QObject*>()) {
        count += static_cast<int>(dispatcher->registeredTimers(child).size());
    }
    return count;
}

class TimerEventCounter : public QObject {
  public:
    explicit TimerEventCounter(QObject& root) : page(root) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~TimerEventCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    int count = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Timer &&
            (watched == &page || page.findChildren<QObject*>().contains(watched))) {
            ++count;
        }
        return false;
    }

  private:
    QObject& page;
};

TEST_F(ColorSettingsPage, CausesNoTimerEventsWhileHiddenOrStill) {
    // Nothing animates: no timer at all.
    click(page->solidColorButton());
    click(page->effectButton(kSolid));
    EXPECT_EQ(registeredTimers(*page), 0);

    click(page->colorShiftButton());
    click(page->effectButton(kBreathing));
    EXPECT_TRUE(page->preview()->isEffectTimerActive());
    EXPECT_TRUE(page->preview()->isColorShiftTimerActive());

    page->hide();
    EXPECT_EQ(registeredTimers(*page), 0);
    {
        TimerEventCounter counter(*page);
        QTest::qWait(350);
        EXPECT_EQ(counter.count, 0);
    }
    // A choice made while hidden starts nothing either.
    page->controlClicked(Page::kEffectButtonId + kPulsating);
    EXPECT_EQ(registeredTimers(*page), 0);

    page->show();
    EXPECT_TRUE(page->preview()->isEffectTimerActive());
    EXPECT_TRUE(page->preview()->isColorShiftTimerActive());
    // Shown again, the preview animates; a slow first paint (sanitizer
    // builds) may hold the first tick back, so wait for it rather than a
    // fixed time.
    TimerEventCounter counter(*page);
    EXPECT_TRUE(QTest::qWaitFor([&counter] { return counter.count > 0; }, 5000));
}

}  // namespace
}  // namespace orvane

// The Sensor Performance page driven through its real controls: fields typed
// into, thumbs dragged, the "DPI Steps" menu picked with the pointer, and the
// surface analysis run through its pop-ups against the simulated mouse.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "controls/CKivButton.h"
#include "controls/CKivCheckBox.h"
#include "controls/CKivComboButton.h"
#include "controls/CKivMenu.h"
#include "controls/CKivProgressCtrl.h"
#include "controls/CKivSliderCtrl3D.h"
#include "controls/CKivStatic.h"
#include "controls/CPopDlg.h"
#include "controls/CQOREdit.h"
#include "device/DeviceLink.h"
#include "emulator/VirtualHidBus.h"
#include "pages/sensor/CSensorDlg.h"
#include "platform/FakeClock.h"
#include "platform/HidBus.h"
#include "skins/SkinCache.h"
#include "skins/SkinFaces.h"
#include "skins/SkinFolder.h"
#include "skins/SkinLayout.h"

namespace orvane {
namespace {

using Page = CSensorDlg;
namespace sp = layout::sensorpage;
namespace popup = layout::popup;
using Request = std::vector<std::uint8_t>;

constexpr int kPatienceMs = 5000;

// What the user does in the analysis pop-ups.
enum class Answer { Ok, Cancel, CloseResult };

class SensorPage : public testing::Test {
  protected:
    void SetUp() override {
        loadSkinSheetsFrom(QStringLiteral(ORVANE_TEST_SKIN_FOLDER));
        services.link = &link;
        services.clock = &clock;
        page = std::make_unique<Page>(services, nullptr);
        page->setPopupRunner([this](CPopDlg& question) { return answer(question); });
        page->dpiStepsSelector()->setClock([this] { return clockMs += 1000; });
        page->move(0, 0);
        page->show();
        page->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
    }

    // Plays the user's part in the three pop-ups, as fast as the countdown
    // allows; notes what the mouse had been sent when the result appeared.
    int answer(CPopDlg& question) {
        opened.push_back(question.variant());
        question.setCountdownTiming(std::chrono::milliseconds(1), std::chrono::milliseconds(1));
        question.setMessageBox([this](QWidget*, const QString& text) { messages.push_back(text); });
        question.setChildRunner([this](CPopDlg& child) {
            opened.push_back(child.variant());
            if (child.variant() == popup::kSurfaceAnalysisRun) {
                return child.exec();
            }
            requestsAtResult = requests();
            child.show();
            QTest::mouseClick(
                popupAnswer == Answer::CloseResult ? child.closeButton() : child.okButton(),
                Qt::LeftButton);
            return child.result();
        });
        question.show();
        QTest::mouseClick(
            popupAnswer == Answer::Cancel ? question.cancelButton() : question.okButton(),
            Qt::LeftButton);
        questionStayedOpen = question.isVisible();
        if (questionStayedOpen) {
            QTest::mouseClick(question.closeButton(), Qt::LeftButton);
        }
        return question.result();
    }

    std::vector<Request> requests() {
        return bus.withMouse([](emulator::VirtualMouse& mouse) { return mouse.recentRequests(); });
    }

    void setQuality(std::uint8_t value) {
        bus.withMouse([value](emulator::VirtualMouse& mouse) { mouse.setSurfaceQuality(value); });
    }

    QLineEdit& editor(int level) const { return *page->levelField(level)->lineEdit(); }

    // Clicks into the field of `level` and types `text` over what it held.
    void type(int level, const QString& text) {
        QLineEdit& field = editor(level);
        QTest::mouseClick(&field, Qt::LeftButton);
        ASSERT_TRUE(field.hasFocus());
        field.selectAll();
        QTest::keyClicks(&field, text);
    }

    // Waits for the page's own look at the focused field.
    static bool eventually(const std::function<bool()>& done) {
        return QTest::qWaitFor(done, kPatienceMs);
    }

    void pickCount(int levels) {
        CKivComboButton& steps = *page->dpiStepsSelector();
        QTest::mouseClick(&steps, Qt::LeftButton);
        CKivMenu& menu = *steps.menu();
        ASSERT_TRUE(menu.isVisible());
        for (const MenuItem& item : menu.items()) {
            if (item.id == levels) {
                QTest::mouseMove(&menu, item.rect.center() + QPoint(1, 1));
                QTest::mouseMove(&menu, item.rect.center());
                QTest::mouseClick(&menu, Qt::LeftButton, {}, item.rect.center());
            }
        }
        QCoreApplication::processEvents();
        ASSERT_FALSE(menu.isVisible());
    }

    MouseProfile stored() {
        MouseProfile record;
        page->storeToProfile(record);
        return record;
    }

    static std::vector<std::uint16_t> resolutions(const MouseProfile& record) {
        std::vector<std::uint16_t> values;
        for (const DpiLevel& level : record.dpiLevels) {
            values.push_back(level.x);
        }
        return values;
    }

    FakeClock clock;
    emulator::VirtualHidBus bus{clock};
    DeviceLink link{bus, clock};
    PageServices services;
    std::unique_ptr<Page> page;
    qint64 clockMs = 0;

    Answer popupAnswer = Answer::Ok;
    std::vector<int> opened;
    std::vector<QString> messages;
    std::vector<Request> requestsAtResult;
    bool questionStayedOpen = false;
};

bool starts(const Request& request, std::initializer_list<std::uint8_t> head) {
    return request.size() >= head.size() && std::equal(head.begin(), head.end(), request.begin());
}

bool sent(const std::vector<Request>& requests, std::initializer_list<std::uint8_t> head) {
    return std::any_of(requests.begin(), requests.end(),
                       [&](const Request& request) { return starts(request, head); });
}

// ----- layout and the fresh page -----

struct Placed {
    const char* name;
    std::function<QWidget*(const Page&)> control;
    layout::Rect rect;
};

class SensorPageLayout : public SensorPage, public testing::WithParamInterface<Placed> {};

TEST_P(SensorPageLayout, ControlSitsAtItsRectangle) {
    EXPECT_EQ(GetParam().control(*page)->geometry(), toQRect(GetParam().rect));
}

std::vector<Placed> placedControls() {
    std::vector<Placed> rows = {
        {"DpiSteps", [](const Page& p) { return p.dpiStepsSelector(); }, sp::kDpiStepsSelector},
        {"ResolutionSlider", [](const Page& p) { return p.resolutionSlider(); },
         sp::kResolutionSlider},
        {"PointSpeed", [](const Page& p) { return p.pointSpeedSlider(); }, sp::kPointSpeedSlider},
        {"Lod", [](const Page& p) { return p.lodToggle(); }, sp::kLodToggle},
        {"AngleSnap", [](const Page& p) { return p.angleSnapToggle(); }, sp::kAngleSnapToggle},
        {"RippleControl", [](const Page& p) { return p.rippleControlToggle(); },
         sp::kRippleControlToggle},
        {"QualityBar", [](const Page& p) { return p.qualityBar(); }, sp::kQualityBar},
        {"SurfacePicture", [](const Page& p) { return p.surfacePicture(); }, sp::kSurfacePicture},
        {"AnalyzeSurface", [](const Page& p) { return p.analyzeSurfaceButton(); },
         sp::kAnalyzeSurfaceButton},
    };
    static const char* const buttonNames[] = {"Dpi1", "Dpi2", "Dpi3", "Dpi4", "Dpi5"};
    static const char* const fieldNames[] = {"Field1", "Field2", "Field3", "Field4", "Field5"};
    for (int level = 1; level <= 5; ++level) {
        rows.push_back({buttonNames[level - 1],
                        [level](const Page& p) { return p.levelButton(level); },
                        sp::kLevelButtons[level - 1]});
        rows.push_back({fieldNames[level - 1],
                        [level](const Page& p) { return p.levelField(level); },
                        sp::kLevelFields[level - 1]});
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Controls, SensorPageLayout, testing::ValuesIn(placedControls()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SensorPage, StartsAsAFreshPageBeforeARecordIsShown) {
    const CKivSliderCtrl3D& slider = *page->resolutionSlider();
    EXPECT_EQ(slider.minimum(), 50);
    EXPECT_EQ(slider.maximum(), 19000);
    EXPECT_EQ(slider.thumbCount(), 5);
    const int start[] = {400, 800, 1600, 3200, 19000};
    for (int level = 1; level <= 5; ++level) {
        EXPECT_EQ(slider.thumbValue(level), start[level - 1]) << level;
        EXPECT_FALSE(page->levelButton(level)->isEnabled()) << level;
    }
    EXPECT_FALSE(page->levelField(5)->isVisible());
    EXPECT_EQ(page->pointSpeedSlider()->value(), 6);
    EXPECT_EQ(page->qualityBar()->position(), 0);
    EXPECT_EQ(page->surfacePicture()->currentPicture(), 0);
    EXPECT_TRUE(page->analyzeSurfaceButton()->isEnabled());
    // The separate-axis box, the defined mode, "Test", "Save" and the three
    // axis labels are there but never shown.
    EXPECT_EQ(page->unusedControls().size(), 7);
    for (QWidget* control : page->unusedControls()) {
        EXPECT_TRUE(control->isHidden());
    }
}

// ----- values leaving a field -----

struct Typed {
    const char* name;
    const char* text;
    std::uint16_t stored;
};

class TypedResolution : public SensorPage, public testing::WithParamInterface<Typed> {};

TEST_P(TypedResolution, IsStoredRoundedToFiftyWithinTheRange) {
    page->loadFromProfile(MouseProfile{});
    type(2, QString::fromLatin1(GetParam().text));
    const MouseProfile record = stored();
    EXPECT_EQ(record.dpiLevels[1].x, GetParam().stored);
    EXPECT_EQ(page->levelField(2)->text(), QString::number(GetParam().stored));
    EXPECT_EQ(page->resolutionSlider()->thumbValue(2), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Rounding, TypedResolution,
    testing::Values(
        Typed{"UpFrom1234", "1234", 1250}, Typed{"DownFrom1224", "1224", 1200},
        Typed{"RemainderOf24Down", "74", 50}, Typed{"RemainderOf25Up", "75", 100},
        Typed{"ThirtyStillFocusedBecomesFifty", "30", 50}, Typed{"ZeroBecomesFifty", "0", 50},
        Typed{"TwentyFiveBecomesFifty", "25", 50}, Typed{"AboveTheRange", "20000", 19000},
        Typed{"JustAboveTheTop", "19024", 19000}, Typed{"RoundsUpToTheTop", "18975", 19000},
        Typed{"FarBeyondAnyLevel", "999999", 19000}, Typed{"EmptyKeepsTheThumb", "", 800}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SensorPage, TwentyThousandTypedShowsTheMaximumAtTheNextCheck) {
    page->loadFromProfile(MouseProfile{});
    type(3, QStringLiteral("20000"));
    EXPECT_TRUE(eventually([&] { return page->levelField(3)->text() == QLatin1String("19000"); }));
    EXPECT_EQ(page->resolutionSlider()->thumbValue(3), 19000);
}

TEST_F(SensorPage, ThirtyStaysWhileTypedAndIsStoredAsFifty) {
    page->loadFromProfile(MouseProfile{});
    type(1, QStringLiteral("1234"));
    ASSERT_TRUE(eventually([&] { return page->resolutionSlider()->thumbValue(1) == 1234; }));
    type(1, QStringLiteral("30"));
    // Several checks pass; the field and its thumb stay as they were.
    QTest::qWait(6 * Page::kFieldCheckMs);
    EXPECT_EQ(page->levelField(1)->text(), QStringLiteral("30"));
    EXPECT_EQ(page->resolutionSlider()->thumbValue(1), 1234);
    EXPECT_EQ(stored().dpiLevels[0].x, 50);
    EXPECT_EQ(page->levelField(1)->text(), QStringLiteral("50"));
}

TEST_F(SensorPage, DraggedThumbWritesItsField) {
    page->loadFromProfile(MouseProfile{});
    CKivSliderCtrl3D& slider = *page->resolutionSlider();
    const QPoint from = slider.thumbRect(3).center();
    const QPoint to = from + QPoint(120, 0);
    QTest::mousePress(&slider, Qt::LeftButton, {}, from);
    QTest::mouseMove(&slider, to);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, to);
    const int value = slider.thumbValue(3);
    EXPECT_GT(value, 1600);
    EXPECT_EQ(value % 50, 0);
    EXPECT_EQ(page->levelField(3)->text(), QString::number(value));
    EXPECT_EQ(stored().dpiLevels[2].x, value);
}

// ----- keyboard -----

TEST_F(SensorPage, TabGoesRoundTheFieldsInUse) {
    MouseProfile record;
    record.dpiLevelCount = 3;
    page->loadFromProfile(record);
    QTest::mouseClick(&editor(1), Qt::LeftButton);
    std::vector<int> visited;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        for (int level = 1; level <= 5; ++level) {
            if (editor(level).hasFocus()) {
                visited.push_back(level);
            }
        }
    }
    EXPECT_EQ(visited, (std::vector<int>{2, 3, 1, 2}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_TRUE(editor(1).hasFocus());
}

TEST_F(SensorPage, EnterTakesTheTypedValueAtOnce) {
    page->loadFromProfile(MouseProfile{});
    type(4, QStringLiteral("1234"));
    QTest::keyClick(&editor(4), Qt::Key_Return);
    EXPECT_EQ(page->levelField(4)->text(), QStringLiteral("1250"));
    EXPECT_EQ(page->resolutionSlider()->thumbValue(4), 1250);
}

TEST_F(SensorPage, WheelStepsAFieldAndItsThumbByFifty) {
    page->loadFromProfile(MouseProfile{});
    QLineEdit& field = editor(2);
    const QPoint centre = field.rect().center();
    QWheelEvent up(centre, field.mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&field, &up);
    QApplication::sendEvent(&field, &up);
    EXPECT_EQ(page->levelField(2)->text(), QStringLiteral("900"));
    EXPECT_EQ(page->resolutionSlider()->thumbValue(2), 900);
}

// ----- the field check's timer -----

TEST_F(SensorPage, FieldCheckRunsOnlyWhileShownAndAFieldHasTheFocus) {
    page->loadFromProfile(MouseProfile{});
    if (QWidget* focused = QApplication::focusWidget()) {
        focused->clearFocus();
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(page->fieldCheckRunning());
    QTest::mouseClick(&editor(2), Qt::LeftButton);
    EXPECT_TRUE(page->fieldCheckRunning());
    QTest::mouseClick(&editor(3), Qt::LeftButton);
    EXPECT_TRUE(page->fieldCheckRunning());
    page->hide();
    EXPECT_FALSE(page->fieldCheckRunning());
}

// ----- counts and levels -----

TEST_F(SensorPage, CountThreeLeavesFourAndFiveOutAndStoresThemAsZero) {
    page->loadFromProfile(MouseProfile{});
    pickCount(3);
    EXPECT_EQ(page->levelCount(), 3);
    EXPECT_EQ(page->dpiStepsSelector()->caption(), QStringLiteral("3"));
    EXPECT_EQ(page->resolutionSlider()->thumbCount(), 3);
    for (int level = 1; level <= 5; ++level) {
        EXPECT_EQ(page->levelButton(level)->isEnabled(), level <= 3) << level;
        EXPECT_EQ(page->levelField(level)->isEnabled(), level <= 3) << level;
    }
    const MouseProfile record = stored();
    EXPECT_EQ(record.dpiLevelCount, 3);
    EXPECT_EQ(resolutions(record), (std::vector<std::uint16_t>{400, 800, 1600, 0, 0}));
    // The values wait for the count to grow again.
    pickCount(5);
    EXPECT_EQ(resolutions(stored()), (std::vector<std::uint16_t>{400, 800, 1600, 3200, 19000}));
}

TEST_F(SensorPage, CountOneMarksLevelOne) {
    MouseProfile record;
    record.activeDpiLevel = 4;
    page->loadFromProfile(record);
    pickCount(1);
    EXPECT_EQ(page->markedLevel(), 1);
    EXPECT_EQ(stored().activeDpiLevel, 1);
}

struct Active {
    const char* name;
    int count;
    int active;
    int marked;
};

class ActiveLevel : public SensorPage, public testing::WithParamInterface<Active> {};

TEST_P(ActiveLevel, IsKeptWithinTheCount) {
    MouseProfile record;
    record.dpiLevelCount = static_cast<std::uint8_t>(GetParam().count);
    record.activeDpiLevel = static_cast<std::uint8_t>(GetParam().active);
    page->loadFromProfile(record);
    EXPECT_EQ(page->markedLevel(), GetParam().marked);
    for (int level = 1; level <= 5; ++level) {
        EXPECT_EQ(page->levelButton(level)->isLatched(), level == GetParam().marked) << level;
    }
    page->storeToProfile(record);
    EXPECT_EQ(record.activeDpiLevel, GetParam().marked);
}

INSTANTIATE_TEST_SUITE_P(Loading, ActiveLevel,
                         testing::Values(Active{"FiveOfFive", 5, 5, 5},
                                         Active{"FourOfThreeBecomesThree", 3, 4, 3},
                                         Active{"TwoOfOneBecomesOne", 1, 2, 1},
                                         Active{"OneOfFour", 4, 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SensorPage, UnmarkedLevelIsStoredAsTwo) {
    MouseProfile record;
    record.activeDpiLevel = 0;
    page->loadFromProfile(record);
    EXPECT_EQ(page->markedLevel(), 0);
    EXPECT_EQ(stored().activeDpiLevel, 2);
}

TEST_F(SensorPage, ClickedLevelButtonBecomesTheActiveLevel) {
    page->loadFromProfile(MouseProfile{});
    QTest::mouseClick(page->levelButton(4), Qt::LeftButton);
    EXPECT_EQ(page->markedLevel(), 4);
    EXPECT_EQ(stored().activeDpiLevel, 4);
}

TEST_F(SensorPage, LevelTheMouseReportsIsMarkedWhileThePageIsHidden) {
    page->loadFromProfile(MouseProfile{});
    page->hide();
    page->showActiveDpiLevel(3);
    EXPECT_TRUE(page->levelButton(3)->isLatched());
    EXPECT_FALSE(page->levelButton(2)->isLatched());
    page->show();
    EXPECT_EQ(stored().activeDpiLevel, 3);
}

TEST_F(SensorPage, LoadedLevelsShowOnThumbsAndFields) {
    MouseProfile record;
    record.dpiLevelCount = 4;
    const std::uint16_t values[] = {450, 1250, 3000, 0, 7000};
    for (std::size_t i = 0; i < 5; ++i) {
        record.dpiLevels[i].x = values[i];
    }
    page->loadFromProfile(record);
    // A level of 0 in use shows, and is stored as, the lowest resolution.
    const char* shown[] = {"450", "1250", "3000", "50"};
    for (int level = 1; level <= 4; ++level) {
        EXPECT_EQ(page->levelField(level)->text(), QLatin1String(shown[level - 1])) << level;
    }
    EXPECT_TRUE(page->levelField(5)->isVisible());
    EXPECT_TRUE(page->levelField(5)->isTextHidden());
    EXPECT_EQ(resolutions(stored()), (std::vector<std::uint16_t>{450, 1250, 3000, 50, 0}));
}

// ----- toggles and pointer speed -----

struct Toggle {
    const char* name;
    std::function<CKivCheckBox*(const Page&)> box;
    std::function<std::uint32_t(const MouseProfile&)> field;
    std::uint32_t whenOn;
    std::uint32_t whenOff;
};

class SensorToggle : public SensorPage, public testing::WithParamInterface<Toggle> {};

TEST_P(SensorToggle, StoresItsValueAndShowsItAgain) {
    page->loadFromProfile(MouseProfile{});
    CKivCheckBox& box = *GetParam().box(*page);
    const bool wasOn = box.isTicked();
    QTest::mouseClick(&box, Qt::LeftButton);
    ASSERT_NE(box.isTicked(), wasOn);
    const MouseProfile record = stored();
    EXPECT_EQ(GetParam().field(record), box.isTicked() ? GetParam().whenOn : GetParam().whenOff);

    page->loadFromProfile(MouseProfile{});
    EXPECT_EQ(box.isTicked(), wasOn);
    page->loadFromProfile(record);
    EXPECT_NE(box.isTicked(), wasOn);
}

INSTANTIATE_TEST_SUITE_P(
    Sensor, SensorToggle,
    testing::Values(Toggle{"LodOnStoresTwo", [](const Page& p) { return p.lodToggle(); },
                           [](const MouseProfile& r) { return r.liftOffDistance; }, 2, 1},
                    Toggle{"AngleSnapOnStoresZero",
                           [](const Page& p) { return p.angleSnapToggle(); },
                           [](const MouseProfile& r) { return r.angleSnapping; }, 0, 1},
                    Toggle{"RippleControlOnStoresZero",
                           [](const Page& p) { return p.rippleControlToggle(); },
                           [](const MouseProfile& r) { return r.rippleControl; }, 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SensorPage, PointSpeedGoesBothWays) {
    MouseProfile record;
    record.pointerSpeed = 9;
    page->loadFromProfile(record);
    EXPECT_EQ(page->pointSpeedSlider()->value(), 9);
    CKivSliderCtrl3D& slider = *page->pointSpeedSlider();
    const QPoint left(slider.thumbWidth() / 2, slider.height() / 2);
    QTest::mouseClick(&slider, Qt::LeftButton, {}, left);
    EXPECT_EQ(stored().pointerSpeed, 1);
}

// ----- surface analysis against the simulated mouse -----

struct Quality {
    const char* name;
    std::uint8_t value;
    int level;
};

class SurfaceQuality : public SensorPage, public testing::WithParamInterface<Quality> {};

TEST_P(SurfaceQuality, MeasuredValueShowsItsLevel) {
    page->loadFromProfile(MouseProfile{});
    setQuality(GetParam().value);
    QTest::mouseClick(page->analyzeSurfaceButton(), Qt::LeftButton);
    EXPECT_EQ(opened, (std::vector<int>{popup::kSurfaceAnalysisStart, popup::kSurfaceAnalysisRun,
                                        popup::kSurfaceAnalysisDone}));
    EXPECT_EQ(page->qualityBar()->position(), GetParam().level);
    EXPECT_EQ(page->surfacePicture()->currentPicture(), GetParam().level);
    EXPECT_EQ(stored().surfaceQualityLevel, GetParam().level);
}

INSTANTIATE_TEST_SUITE_P(Table, SurfaceQuality,
                         testing::Values(Quality{"Zero", 0, 0}, Quality{"One", 1, 0},
                                         Quality{"Two", 2, 1}, Quality{"Ten", 10, 1},
                                         Quality{"Eleven", 11, 2}, Quality{"Seventy", 70, 7},
                                         Quality{"SeventyOne", 71, 8}, Quality{"Ninety", 90, 8},
                                         Quality{"NinetyOne", 91, 9}, Quality{"NinetyFive", 95, 9},
                                         Quality{"NinetySix", 96, 10}, Quality{"Hundred", 100, 10},
                                         Quality{"HundredOne", 101, 0}, Quality{"Max", 255, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// The simulated mouse behind a gate: looking for the mouse waits until the
// user-interface thread has let it through, and notes where it ran. A
// pop-up that did its device work on that thread would wait in vain.
class GatedBus final : public HidBus {
  public:
    explicit GatedBus(HidBus& inner) : inner(inner) {}

    std::vector<HidDeviceInfo> enumerate() override {
        std::unique_lock hold(mutex);
        threads.push_back(std::this_thread::get_id());
        gaveUpWaiting = !gate.wait_for(hold, std::chrono::seconds(5), [this] { return passable; });
        hold.unlock();
        return inner.enumerate();
    }
    std::unique_ptr<HidDevice> open(const std::string& path, HidError& error) override {
        return inner.open(path, error);
    }
    void letThrough() {
        std::lock_guard hold(mutex);
        passable = true;
        gate.notify_all();
    }

    std::mutex mutex;
    std::condition_variable gate;
    std::vector<std::thread::id> threads;
    bool passable = false;
    bool gaveUpWaiting = false;

  private:
    HidBus& inner;
};

TEST_F(SensorPage, AnalysisTalksToTheMouseOffTheUserInterfaceThread) {
    GatedBus gated(bus);
    DeviceLink gatedLink(gated, clock);
    services.link = &gatedLink;
    Page other(services, nullptr);
    other.setPopupRunner([this](CPopDlg& question) { return answer(question); });
    setQuality(50);
    // Runs only if the user-interface thread keeps turning while the mouse
    // is being opened.
    QTimer::singleShot(0, [&gated] { gated.letThrough(); });
    other.analyzeSurface();
    EXPECT_FALSE(gated.gaveUpWaiting);
    ASSERT_FALSE(gated.threads.empty());
    for (const std::thread::id id : gated.threads) {
        EXPECT_NE(id, std::this_thread::get_id());
    }
    EXPECT_EQ(other.qualityBar()->position(), 5);
}

TEST_F(SensorPage, QualityIsReadOnlyAfterTheResultIsConfirmed) {
    setQuality(60);
    const std::size_t before = requests().size();
    page->analyzeSurface();
    ASSERT_TRUE(sent(requestsAtResult, {0xA1, 0x05, 0x01}));
    EXPECT_FALSE(sent(requestsAtResult, {0xA1, 0x05, 0x02}));
    const std::vector<Request> all = requests();
    ASSERT_GE(all.size(), before + 2);
    EXPECT_TRUE(starts(all[all.size() - 1], {0xA1, 0x05, 0x02}));
    EXPECT_TRUE(starts(all[all.size() - 2], {0xA1, 0x05, 0x01}));
    EXPECT_EQ(page->qualityBar()->position(), 6);
}

TEST_F(SensorPage, ClosedResultReadsNothingAndLeavesTheBarAtZero) {
    MouseProfile record;
    record.surfaceQualityLevel = 4;
    page->loadFromProfile(record);
    setQuality(100);
    popupAnswer = Answer::CloseResult;
    page->analyzeSurface();
    EXPECT_FALSE(sent(requests(), {0xA1, 0x05, 0x02}));
    EXPECT_EQ(page->qualityBar()->position(), 0);
    EXPECT_EQ(page->surfacePicture()->currentPicture(), 4);
}

TEST_F(SensorPage, CancelledQuestionLeavesThePictureAndStoresZero) {
    MouseProfile record;
    record.surfaceQualityLevel = 7;
    page->loadFromProfile(record);
    ASSERT_EQ(page->qualityBar()->position(), 7);
    popupAnswer = Answer::Cancel;
    page->analyzeSurface();
    EXPECT_EQ(opened, std::vector<int>{popup::kSurfaceAnalysisStart});
    EXPECT_FALSE(sent(requests(), {0xA1, 0x05}));
    EXPECT_EQ(page->qualityBar()->position(), 0);
    EXPECT_EQ(page->surfacePicture()->currentPicture(), 7);
    EXPECT_EQ(stored().surfaceQualityLevel, 0);
}

TEST_F(SensorPage, LevelSevenShowsThePictureSeventy) {
    MouseProfile record;
    record.surfaceQualityLevel = 7;
    page->loadFromProfile(record);
    const QImage expected = loadPicture(skinFolder() + QStringLiteral("70.bmp"));
    ASSERT_FALSE(expected.isNull());
    const CKivStatic& picture = *page->surfacePicture();
    ASSERT_EQ(picture.pictures().size(), 11);
    EXPECT_EQ(picture.pictures()[picture.currentPicture()].image(), expected);
}

TEST_F(SensorPage, WithoutAMouseTheQuestionSaysSoAndStaysOpen) {
    bus.withMouse([](emulator::VirtualMouse& mouse) { mouse.unplug(); });
    MouseProfile record;
    record.surfaceQualityLevel = 5;
    page->loadFromProfile(record);
    page->analyzeSurface();
    EXPECT_EQ(messages, std::vector<QString>{QStringLiteral("ORVANE Pro mouse not found !")});
    EXPECT_TRUE(questionStayedOpen);
    EXPECT_EQ(opened, std::vector<int>{popup::kSurfaceAnalysisStart});
    EXPECT_FALSE(link.connected());
    EXPECT_EQ(page->qualityBar()->position(), 0);
}

}  // namespace
}  // namespace orvane

#include <QEventLoop>
#include <QTimer>

#include "Gallery.h"
#include "Pictures.h"
#include "Stage.h"
#include "controls/CKivComboButton.h"
#include "controls/CKivMenu.h"
#include "controls/CKivStatic.h"
#include "controls/CPopDlg.h"
#include "device/DeviceLink.h"
#include "emulator/VirtualHidBus.h"
#include "pages/sensor/CSensorDlg.h"
#include "platform/FakeClock.h"

namespace orvane::gallery {

namespace {

namespace popup = layout::popup;

constexpr int kWaitMs = 5000;

template <typename Condition>
bool waitUntil(Condition done) {
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(kWaitMs);
    while (!done() && deadline.isActive()) {
        loop.processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

MouseProfile sampleRecord(int levels, int surfaceLevel) {
    MouseProfile record;
    record.dpiLevelCount = static_cast<std::uint8_t>(levels);
    const std::uint16_t resolutions[] = {450, 1250, 3000, 6400, 12000};
    for (std::size_t i = 0; i < 5; ++i) {
        record.dpiLevels[i].x = resolutions[i];
    }
    record.activeDpiLevel = 2;
    record.liftOffDistance = levels % 2 == 0 ? 2 : 1;
    record.angleSnapping = 1;
    record.rippleControl = 0;
    record.pointerSpeed = static_cast<std::uint8_t>(2 * levels);
    record.surfaceQualityLevel = static_cast<std::uint16_t>(surfaceLevel);
    return record;
}

// A page on its own, as the main window's page area shows it.
struct PageRig {
    PageRig() {
        services.link = &link;
        services.clock = &clock;
        page = std::make_unique<CSensorDlg>(services, nullptr);
        page->move(0, 0);
        page->show();
        settle();
    }

    FakeClock clock;
    emulator::VirtualHidBus bus{clock};
    DeviceLink link{bus, clock};
    PageServices services;
    std::unique_ptr<CSensorDlg> page;
};

void counts(Gallery& gallery) {
    for (int levels = 1; levels <= 5; ++levels) {
        PageRig rig;
        rig.page->loadFromProfile(sampleRecord(levels, 7));
        settle();
        gallery.save(QStringLiteral("windows/sensor-page-count-%1.png").arg(levels),
                     rig.page->grab().toImage(),
                     QStringLiteral("Sensor Performance page with %1 level(s), level 2 active, "
                                    "surface level 7")
                         .arg(levels));
    }
    PageRig rig;
    rig.page->loadFromProfile(sampleRecord(4, 7));
    CKivComboButton& steps = *rig.page->dpiStepsSelector();
    clickLeft(steps);
    settle();
    gallery.save(QStringLiteral("windows/sensor-page-dpi-steps-menu.png"),
                 composeOnScreen(*rig.page, {steps.menu()}),
                 QStringLiteral("Sensor Performance page, \"DPI Steps\" menu open"));
}

void bars(Gallery& gallery) {
    for (int level : {0, 5, 10}) {
        PageRig rig;
        rig.page->loadFromProfile(sampleRecord(5, level));
        settle();
        gallery.save(QStringLiteral("windows/sensor-page-surface-%1.png").arg(level),
                     rig.page->grab().toImage(),
                     QStringLiteral("Sensor Performance page, surface level %1").arg(level));
    }
}

// The analysis as a user runs it, each pop-up pictured over the page.
void analysis(Gallery& gallery) {
    PageRig rig;
    rig.page->loadFromProfile(sampleRecord(5, 3));
    rig.bus.withMouse([](emulator::VirtualMouse& mouse) { mouse.setSurfaceQuality(93); });
    rig.page->setPopupRunner([&](CPopDlg& question) {
        question.setCountdownTiming(std::chrono::milliseconds(40), std::chrono::milliseconds(40));
        question.setMessageBox([&gallery](QWidget*, const QString& text) {
            gallery.problem(QStringLiteral("the analysis said: %1").arg(text));
        });
        question.setChildRunner([&](CPopDlg& child) {
            child.show();
            settle();
            if (child.variant() == popup::kSurfaceAnalysisRun) {
                if (!waitUntil([&] { return child.timeField()->text() == QLatin1String("6"); })) {
                    gallery.problem(QStringLiteral("the countdown never reached 6"));
                }
                gallery.save(QStringLiteral("windows/sensor-analysis-179-countdown.png"),
                             composeOnScreen(*rig.page, {&child}),
                             QStringLiteral("Surface analysis running over the page"));
                return child.exec();
            }
            gallery.save(QStringLiteral("windows/sensor-analysis-185-result.png"),
                         composeOnScreen(*rig.page, {&child}),
                         QStringLiteral("Surface analysis done, over the page"));
            clickLeft(*child.okButton());
            return child.result();
        });
        question.show();
        settle();
        gallery.save(QStringLiteral("windows/sensor-analysis-175-question.png"),
                     composeOnScreen(*rig.page, {&question}),
                     QStringLiteral("Surface analysis question over the page"));
        clickLeft(*question.okButton());
        return question.result();
    });
    rig.page->analyzeSurface();
    settle();
    gallery.save(QStringLiteral("windows/sensor-analysis-after.png"), rig.page->grab().toImage(),
                 QStringLiteral("Sensor Performance page after an analysis that measured 93 "
                                "(level 9)"));
}

}  // namespace

void sensorPictures(Gallery& gallery) {
    counts(gallery);
    bars(gallery);
    analysis(gallery);
}

}  // namespace orvane::gallery

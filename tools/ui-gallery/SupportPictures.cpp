#include "Gallery.h"
#include "Pictures.h"
#include "Stage.h"
#include "controls/CPopDlg.h"
#include "device/DeviceLink.h"
#include "emulator/VirtualHidBus.h"
#include "pages/support/CSupportDlg.h"
#include "platform/AppPaths.h"
#include "platform/FakeClock.h"
#include "platform/FakeShell.h"
#include "platform/FakeUpdateLock.h"
#include "updater/CUpdaterDlg.h"
#include "updater/UpdateSession.h"

namespace orvane::gallery {

namespace {

// The Support page on its own, with a mouse at firmware 1.00 and no update
// folder (so the update counts as due).
struct SupportRig {
    SupportRig() {
        emulator::VirtualMouseOptions options;
        options.releaseNumber = 0x0100;
        options.firmwareVersion = 0x0100;
        bus = std::make_unique<emulator::VirtualHidBus>(
            std::make_shared<emulator::VirtualMouse>(options), clock);
        link = std::make_unique<DeviceLink>(*bus, clock);
        services.link = link.get();
        services.clock = &clock;
        services.shell = &shell;
        services.paths = &paths;
        page = std::make_unique<CSupportDlg>(services, nullptr);
        page->move(0, 0);
        page->show();
        settle();
    }

    FakeClock clock;
    std::unique_ptr<emulator::VirtualHidBus> bus;
    std::unique_ptr<DeviceLink> link;
    AppPaths paths;
    FakeShell shell;
    PageServices services;
    std::unique_ptr<CSupportDlg> page;
};

void supportPage(Gallery& gallery) {
    SupportRig rig;
    rig.page->setPopupRunner([&](CPopDlg& question) {
        question.show();
        settle();
        gallery.save(QStringLiteral("windows/support-offer-192.png"),
                     composeOnScreen(*rig.page, {&question}),
                     QStringLiteral("Firmware update offer over the Support page"));
        return CPopDlg::kResultOk;
    });
    rig.page->initSupportPage([] {});
    settle();
    gallery.save(QStringLiteral("windows/support-page-mouse.png"), rig.page->grab().toImage(),
                 QStringLiteral("Support page with a mouse at firmware 1.00"));
    if (rig.shell.started.size() != 1) {
        gallery.problem(QStringLiteral("the confirmed offer did not start the update program"));
    }

    SupportRig none;
    none.bus->withMouse([](emulator::VirtualMouse& mouse) { mouse.unplug(); });
    none.page->initSupportPage([] {});
    settle();
    gallery.save(QStringLiteral("windows/support-page-no-mouse.png"), none.page->grab().toImage(),
                 QStringLiteral("Support page without a mouse"));
}

void updater(Gallery& gallery) {
    using updater::CUpdaterDlg;
    FakeUpdateLock lock;
    updater::UpdateSession session(lock);
    const auto shoot = [&gallery](CUpdaterDlg& window, const QString& name,
                                  const QString& caption) {
        window.show();
        settle();
        gallery.save(QStringLiteral("windows/updater-%1.png").arg(name), window.grab().toImage(),
                     caption);
    };
    {
        CUpdaterDlg window(session, "firmware.bin");
        window.showStart(CUpdaterDlg::Start::UpdateDue, QStringLiteral("1.00"),
                         QStringLiteral("1.05"));
        shoot(window, QStringLiteral("start-due"), QStringLiteral("Update program started with 1"));
        window.showStart(CUpdaterDlg::Start::UpToDate, QStringLiteral("1.05"),
                         QStringLiteral("1.05"));
        shoot(window, QStringLiteral("start-up-to-date"),
              QStringLiteral("Update program started with 2"));
        window.showReport(1, 54);
        shoot(window, QStringLiteral("writing"), QStringLiteral("Update half-way"));
        window.showReport(96, 105);
        shoot(window, QStringLiteral("done"), QStringLiteral("Update finished"));
        window.showReport(84, 54);
        shoot(window, QStringLiteral("failed-block"), QStringLiteral("A block write failed"));
        window.showReport(81, 1);
        shoot(window, QStringLiteral("failed-switch"),
              QStringLiteral("The mouse refused its update mode"));
        window.startUpdate();  // no library here: refused before anything is sent
        shoot(window, QStringLiteral("refused"), QStringLiteral("Nothing could be sent"));
    }
}

}  // namespace

void supportPictures(Gallery& gallery) {
    supportPage(gallery);
    updater(gallery);
}

}  // namespace orvane::gallery

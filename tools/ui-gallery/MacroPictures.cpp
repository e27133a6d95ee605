#include <QLineEdit>
#include <chrono>

#include "Gallery.h"
#include "Pictures.h"
#include "Stage.h"
#include "controls/CKivButton.h"
#include "controls/CKivCheckBox.h"
#include "controls/CKivEdit.h"
#include "controls/CKivMenu.h"
#include "macros/MacroCollection.h"
#include "pages/macro/CKivListBox.h"
#include "pages/macro/CKivMacroCtrl.h"
#include "pages/macro/CMacroSettingsDlg.h"
#include "platform/FakeClock.h"
#include "platform/FakeKeyboardHook.h"

namespace orvane::gallery {

namespace {

using namespace std::chrono_literals;
using Editor = CKivMacroCtrl;

// The page on its own, as the main window's page area shows it, with keys
// from a fake hook and a record whose macro buttons the gauge counts.
struct PageRig {
    explicit PageRig(bool withHook = true) {
        services.keyboardHook = withHook ? &hook : nullptr;
        services.clock = &clock;
        page = std::make_unique<CMacroSettingsDlg>(services, nullptr);
        page->setRecordSource([this]() -> const MouseProfile& { return record; });
        page->move(0, 0);
        page->show();
        settle();
    }

    void name(const QString& text) {
        page->newMacro();
        QLineEdit* field = page->macroList()->nameEditor()->lineEdit();
        field->setText(text);
        page->macroList()->commitNewMacroName();
    }

    void type(int key, std::chrono::milliseconds after) {
        clock.advance(after);
        hook.press(key);
        clock.advance(90ms);
        hook.release(key);
    }

    void assign(int button, int id) {
        record.buttons[static_cast<std::size_t>(button)].function = 14;
        record.buttons[static_cast<std::size_t>(button)].parameter = static_cast<std::uint16_t>(id);
        page->recordChanged();
    }

    QImage picture(const std::vector<QWidget*>& popups = {}) {
        settle();
        return composeOnScreen(*page, popups);
    }

    FakeKeyboardHook hook;
    FakeClock clock;
    PageServices services;
    MouseProfile record;
    std::unique_ptr<CMacroSettingsDlg> page;
};

// "Reload burst": Shift and R typed with delays, a left click inserted.
void recordReloadBurst(PageRig& rig) {
    rig.name(QStringLiteral("Reload burst"));
    clickLeft(*rig.page->recordDelayBox());
    clickLeft(*rig.page->startRecordButton());
    rig.clock.advance(640ms);
    rig.hook.press(160);
    rig.type(82, 120ms);
    rig.clock.advance(60ms);
    rig.hook.release(160);
    rig.type(32, 250ms);
    clickLeft(*rig.page->stopRecordButton());
    Editor& editor = *rig.page->stepEditor();
    editor.menuItemPicked(Editor::kLeftButton + Editor::kClickOffset);
    editor.update();
}

void manyNames(Gallery& gallery) {
    PageRig rig;
    const char* names[] = {"Reload burst",
                           "Grenade",
                           "Build wall",
                           "Crouch jump",
                           "Sprint toggle",
                           "Heal",
                           "Ping enemy",
                           "Weapon swap",
                           "Macro",
                           "Macro(1)",
                           "A name far too long for the list to show whole",
                           "Quick scope",
                           "Emote",
                           "Drop loot",
                           "Vault"};
    for (const char* name : names) {
        rig.name(QString::fromUtf8(name));
    }
    gallery.save(QStringLiteral("windows/macro-page-many-names.png"), rig.picture(),
                 QStringLiteral("Macro Settings page, fifteen names: the list scrolls, the last "
                                "one selected; a long name is shortened"));
    rig.page->newMacro();
    rig.page->macroList()->nameEditor()->setText(QStringLiteral("New one"));
    gallery.save(QStringLiteral("windows/macro-page-naming.png"), rig.picture(),
                 QStringLiteral("Macro Settings page, a new name being typed below the last row"));
}

void recordedMacro(Gallery& gallery) {
    PageRig rig;
    recordReloadBurst(rig);
    rig.assign(3, 16);
    gallery.save(QStringLiteral("windows/macro-page-recorded.png"), rig.picture(),
                 QStringLiteral("Macro Settings page, a recorded macro with delays and an "
                                "inserted click, played by button 4"));

    Editor& editor = *rig.page->stepEditor();
    CKivMenu& menu = *editor.contextMenu();
    menu.popup(editor.mapToGlobal(QPoint(60, 60)));
    settle();
    const auto pointAt = [](CKivMenu& on, int id) {
        for (const MenuItem& item : on.items()) {
            if (item.id == id) {
                moveTo(on, item.rect.center());
            }
        }
        settle();
    };
    pointAt(menu, Editor::kInsertMouseEvent);
    CKivMenu& mouse = *menu.submenu(Editor::kInsertMouseEvent);
    pointAt(mouse, Editor::kForwardButton);
    gallery.save(QStringLiteral("windows/macro-page-context-menu.png"),
                 rig.picture({&menu, &mouse, mouse.submenu(Editor::kForwardButton)}),
                 QStringLiteral("Macro Settings page, the step editor's menu with \"Insert mouse "
                                "event\" and \"Forward button\" open"));
    menu.closeMenu();
    settle();

    editor.menuItemPicked(Editor::kEditDelay);
    editor.delayEditor()->setText(QStringLiteral("250"));
    gallery.save(QStringLiteral("windows/macro-page-delay-editor.png"), rig.picture(),
                 QStringLiteral("Macro Settings page, the delay of the selected step being "
                                "edited"));
    editor.commitDelayEdit();

    clickLeft(*rig.page->startRecordButton());
    rig.type(65, 400ms);
    gallery.save(QStringLiteral("windows/macro-page-recording.png"), rig.picture(),
                 QStringLiteral("Macro Settings page while recording: \"Stop Record\", the "
                                "boxes locked"));
    clickLeft(*rig.page->stopRecordButton());
}

void fullMemory(Gallery& gallery) {
    PageRig rig;
    recordReloadBurst(rig);
    rig.name(QStringLiteral("Long combo"));
    CMacro& combo = *rig.page->stepEditor()->currentMacro();
    for (int i = 0; i < 150; ++i) {
        combo.addEvent(kKeyEvent, static_cast<std::uint16_t>(65 + i % 26),
                       static_cast<std::uint8_t>(i % 2), 20, kAppendEvent);
    }
    rig.page->stepEditor()->stepsReplaced();
    rig.assign(3, 16);
    rig.assign(4, 17);
    rig.assign(5, 17);
    gallery.save(QStringLiteral("windows/macro-page-memory-full.png"), rig.picture(),
                 QStringLiteral("Macro Settings page, buttons 5 and 6 on a 150-step macro: the "
                                "memory is full and the gauge names the buttons"));
}

void withoutHook(Gallery& gallery) {
    PageRig rig(false);
    rig.name(QStringLiteral("Grenade"));
    gallery.save(QStringLiteral("windows/macro-page-without-hook.png"), rig.picture(),
                 QStringLiteral("Macro Settings page on a session without a keyboard hook"));
}

}  // namespace

void macroPictures(Gallery& gallery) {
    manyNames(gallery);
    recordedMacro(gallery);
    fullMemory(gallery);
    withoutHook(gallery);
}

}  // namespace orvane::gallery

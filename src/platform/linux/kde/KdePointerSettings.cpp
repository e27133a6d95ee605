#include "platform/linux/kde/KdePointerSettings.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>

#include <algorithm>
#include <utility>

#include "platform/linux/kde/KdeConfigFile.h"

namespace orvane {

namespace {

// Plasma's "settings changed" notice, for the mouse category.
constexpr int kSettingsChanged = 3;
constexpr int kMouseSettings = 0;

// Speed 1..20 onto libinput's -1..1, 10 onto 0 (the device's own speed).
// The halves are scaled apart so that both ends of the old scale reach both
// ends of the desktop's: the slowest setting crawls there as it did here.
double libinputSpeed(int speed) {
    const int s = std::clamp(speed, 1, 20);
    return s <= 10 ? (s - 10) / 9.0 : (s - 10) / 10.0;
}

void notifyPlasma() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    QDBusMessage notice = QDBusMessage::createSignal(QStringLiteral("/KGlobalSettings"),
                                                     QStringLiteral("org.kde.KGlobalSettings"),
                                                     QStringLiteral("notifyChange"));
    notice << kSettingsChanged << kMouseSettings;
    bus.send(notice);
}

}  // namespace

std::unique_ptr<KdePointerSettings> KdePointerSettings::create(
    const std::filesystem::path& configFolder, std::string& error) {
    if (!configFolder.is_absolute()) {
        error =
            "the configuration folder is unknown (neither XDG_CONFIG_HOME nor HOME is set): "
            "the KDE Plasma mouse settings cannot be written";
        return nullptr;
    }
    return std::make_unique<KdePointerSettings>(configFolder);
}

KdePointerSettings::KdePointerSettings(std::filesystem::path configFolder)
    : configFolder(std::move(configFolder)) {}

bool KdePointerSettings::setDoubleClickTime(int milliseconds) {
    return milliseconds > 0 &&
           write("kdeglobals", "KDE", "DoubleClickInterval", std::to_string(milliseconds));
}

bool KdePointerSettings::setPointerSpeed(int speed) {
    // Fifteen digits keep every step of the scale exact without showing the
    // noise of the last binary digits (-5/9 as -0.555555555555556).
    const QByteArray value = QByteArray::number(libinputSpeed(speed), 'g', 15);
    return write("kcminputrc", "Mouse", "XLbInptPointerAcceleration", value.toStdString());
}

bool KdePointerSettings::setWheelScrollLines(int lines) {
    return lines > 0 && write("kdeglobals", "KDE", "WheelScrollLines", std::to_string(lines));
}

// Plasma's only acceleration knob is the flat profile (none) or libinput's
// adaptive one, whose strength follows the pointer speed alone; the three
// levels all turn acceleration on and cannot be told apart here.
bool KdePointerSettings::setAcceleration(const std::array<int, 3>& values) {
    return write("kcminputrc", "Mouse", "XLbInptAccelProfileFlat",
                 values[2] > 0 ? "false" : "true");
}

bool KdePointerSettings::write(const char* file, const char* group, const char* key,
                               const std::string& value) {
    if (!editKdeConfigFile(configFolder / file, {group, {{key, value}}})) {
        return false;
    }
    notifyPlasma();
    return true;
}

}  // namespace orvane

// The C interface: each export hands its arguments to the matching function
// with the library's one instance. No exception may cross into a C caller,
// so every wrapper turns one into the device-error result.
#include "Orvane_pro_dll.h"
#include "devlib/Commands.h"
#include "devlib/Transport.h"

namespace {

using orvane::devlib::LibraryCore;

template <typename Result, typename Action>
Result guarded(Result failure, Action&& action) noexcept {
    try {
        return action(LibraryCore::instance());
    } catch (...) {
        return failure;
    }
}

template <typename Action>
std::uint8_t command(Action&& action) noexcept {
    return guarded<std::uint8_t>(orvane::devlib::kDeviceError, std::forward<Action>(action));
}

}  // namespace

namespace dl = orvane::devlib;

extern "C" {

ORVANE_API int Open_x2_device(void) {
    return guarded(0, [](LibraryCore& core) { return dl::openApplicationDevice(core); });
}

ORVANE_API int Open_x2bl_device(void) {
    return guarded(0, [](LibraryCore& core) { return dl::openBootLoaderDevice(core); });
}

ORVANE_API int Open_x2Compliant_device(void) {
    return guarded(0, [](LibraryCore& core) { return dl::openCompliantDevice(core); });
}

ORVANE_API uint8_t Close_x2_device(void) {
    return command([](LibraryCore& core) { return dl::closeCommandDevice(core); });
}

ORVANE_API uint8_t Close_x2bl_device(void) {
    return command([](LibraryCore& core) { return dl::closeCommandDevice(core); });
}

ORVANE_API uint8_t Get_device_status(int16_t* status) {
    return command([=](LibraryCore& core) { return dl::getDeviceStatus(core, status); });
}

ORVANE_API uint8_t Get_fw_version(uint16_t* version) {
    return command([=](LibraryCore& core) { return dl::getFirmwareVersion(core, version); });
}

ORVANE_API uint8_t Get_bl_version(uint16_t* version) {
    return command([=](LibraryCore& core) { return dl::getBootLoaderVersion(core, version); });
}

ORVANE_API uint8_t Get_dll_version(uint16_t* version) {
    // Needs no device, so it does not create the instance either.
    return dl::getLibraryVersion(version);
}

ORVANE_API uint8_t Set_polling_rate(int32_t profile, int32_t rate) {
    return command([=](LibraryCore& core) { return dl::setPollingRate(core, profile, rate); });
}

ORVANE_API uint8_t Set_button_response_time(int32_t profile, int32_t time) {
    return command([=](LibraryCore& core) { return dl::setResponseTime(core, profile, time); });
}

ORVANE_API uint8_t Set_lod(int32_t profile, int32_t lod) {
    return command([=](LibraryCore& core) { return dl::setLiftOff(core, profile, lod); });
}

ORVANE_API uint8_t Set_angle_snapping(int32_t profile, int32_t on) {
    return command([=](LibraryCore& core) { return dl::setAngleSnapping(core, profile, on); });
}

ORVANE_API uint8_t Set_dpi_settings(int32_t profile, DpiBlock dpi) {
    return command([=](LibraryCore& core) { return dl::setDpiSettings(core, profile, dpi); });
}

ORVANE_API uint8_t Reset_sensor_settings(int32_t profile, int32_t polling, int32_t responseTime,
                                         int32_t angleSnapping, int32_t liftOff, DpiBlock dpi) {
    return command([=](LibraryCore& core) {
        return dl::resetSensorSettings(core, profile, polling, responseTime, angleSnapping, liftOff,
                                       dpi);
    });
}

ORVANE_API uint8_t Update_lighting_settings(int32_t profile, int32_t mode, LightingBlock lighting,
                                            int32_t brightness, int32_t flag, int32_t option) {
    return command([=](LibraryCore& core) {
        return dl::updateLightingSettings(core, profile, mode, lighting, brightness, flag, option);
    });
}

ORVANE_API uint8_t Reset_profile_default(int32_t profile) {
    return command([=](LibraryCore& core) { return dl::resetProfileDefault(core, profile); });
}

ORVANE_API uint8_t Sync_profile(int32_t profile) {
    return command([=](LibraryCore& core) { return dl::syncProfile(core, profile); });
}

ORVANE_API uint8_t Get_current_profile_id(uint8_t* profile) {
    return command([=](LibraryCore& core) { return dl::getCurrentProfileId(core, profile); });
}

ORVANE_API uint8_t Set_current_profile_id(int32_t profile) {
    return command([=](LibraryCore& core) { return dl::setCurrentProfileId(core, profile); });
}

ORVANE_API uint8_t Add_profile(int32_t profile) {
    return command([=](LibraryCore& core) { return dl::addProfile(core, profile); });
}

ORVANE_API uint8_t Delete_profile(int32_t profile) {
    return command([=](LibraryCore& core) { return dl::deleteProfile(core, profile); });
}

ORVANE_API uint8_t Copy_profile_data(int32_t source, int32_t target) {
    return command([=](LibraryCore& core) { return dl::copyProfileData(core, source, target); });
}

ORVANE_API uint8_t Get_number_of_profiles_in_mouse(uint8_t* count) {
    return command([=](LibraryCore& core) { return dl::getNumberOfProfiles(core, count); });
}

ORVANE_API uint8_t Reset_factory_default(void) {
    return command([](LibraryCore& core) { return dl::resetFactoryDefault(core); });
}

ORVANE_API uint8_t Read_profile_data(int32_t profile, ProfileData* data, ProgramTexts* texts) {
    return command(
        [=](LibraryCore& core) { return dl::readProfileData(core, profile, data, texts); });
}

ORVANE_API uint8_t Set_button_settings(int32_t profile, const ButtonSetting* setting) {
    return command(
        [=](LibraryCore& core) { return dl::setButtonSettings(core, profile, setting); });
}

ORVANE_API uint8_t Set_button_run_program(const RunProgramRequest* request) {
    return command([=](LibraryCore& core) { return dl::setButtonRunProgram(core, request); });
}

ORVANE_API uint8_t Set_button_run_browser(const RunProgramRequest* request) {
    return command([=](LibraryCore& core) { return dl::setButtonRunBrowser(core, request); });
}

}  // extern "C"

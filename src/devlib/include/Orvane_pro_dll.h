/**
 * @file Orvane_pro_dll.h
 * @brief Device-control library of the ORVANE PRO mouse: a flat C interface.
 *
 * Every function returns a result byte unless its documentation says
 * otherwise: ORVANE_OK (1) success, ORVANE_BAD_ARGUMENT (2) an argument is out
 * of range and nothing was sent, ORVANE_DEVICE_ERROR (20) the mouse cannot be
 * opened, a transfer failed or the mouse refused the command (also: a null
 * callback or a null pointer where the function must write).
 *
 * Profile numbers are 1 to 5, button numbers 1 to 6. Command functions may be
 * called from any thread; they run one after another under the library's
 * lock and block for the mouse's pauses (tens of milliseconds each).
 *
 * The library finds the mouse through the HID backend that ORVANE_HID names:
 * "hidapi" (the default, the real mouse) or "emulator[:SOCKET]" (the
 * simulated mouse of orvane-emud).
 *
 * hidapi's own functions (hid_init ... hid_error) are exported as well, under
 * their own names and with hidapi's contracts.
 */
#ifndef ORVANE_PRO_DLL_H
#define ORVANE_PRO_DLL_H

#include <stddef.h>
#include <stdint.h>

/** Calling convention of the three callback registrations and the callbacks. */
#if defined(_WIN32) && !defined(_WIN64)
#define ORVANE_STDCALL __stdcall
#else
#define ORVANE_STDCALL
#endif

#if defined(_WIN32)
#define ORVANE_API __declspec(dllexport)
#else
#define ORVANE_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define ORVANE_STATIC_ASSERT(condition, message) static_assert(condition, message)
extern "C" {
#else
#define ORVANE_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

/** @name Result codes */
/**@{*/
#define ORVANE_OK 1
#define ORVANE_BAD_ARGUMENT 2
#define ORVANE_CAPTURE_STARTED 5
#define ORVANE_DEVICE_ERROR 20
#define ORVANE_CAPTURE_FAILED 255 /**< also the status Get_device_status writes without a mouse */
/**@}*/

/** @name Firmware-update progress statuses (see OrvaneProgressCallback) */
/**@{*/
#define ORVANE_FW_PROGRESS 1
#define ORVANE_FW_NO_IMAGE 80       /**< no image, or more than 100 blocks of 1024 bytes */
#define ORVANE_FW_SWITCH_REFUSED 81 /**< the mouse refused to enter its boot loader */
#define ORVANE_FW_NO_BOOT_LOADER 82 /**< the boot loader did not appear */
#define ORVANE_FW_INFO_REFUSED 83   /**< the boot loader refused the image information */
#define ORVANE_FW_BLOCK_FAILED 84   /**< writing a block failed */
#define ORVANE_FW_IMAGE_REJECTED 85 /**< the boot loader rejected the whole image */
#define ORVANE_FW_NO_MOUSE 86       /**< no mouse in either mode */
/** the mouse did not return in application mode within 30 s, or did not tell its version there */
#define ORVANE_FW_NOT_BACK 87
#define ORVANE_FW_DONE 96 /**< finished; the value is the new firmware version */
/**@}*/

/** Resolution settings: two setting bytes and ten 16-bit values, packed (22 bytes). */
#pragma pack(push, 1)
typedef struct DpiBlock {
    uint8_t first;
    uint8_t second;
    uint16_t values[10];
} DpiBlock;
#pragma pack(pop)

/** Lighting block, 24 bytes sent unchanged. */
typedef struct LightingBlock {
    uint8_t bytes[24];
} LightingBlock;

/** One macro step of a button. */
typedef struct ButtonEvent {
    uint8_t type;   /**< 16 mouse button, 17 wheel, 18 key */
    uint16_t code;  /**< a Windows virtual-key code for keys */
    uint8_t state;  /**< 0 pressed, 1 released */
    uint32_t delay; /**< milliseconds; the mouse keeps 24 bits */
} ButtonEvent;

/** The function of one button. */
typedef struct ButtonSetting {
    uint8_t button;    /**< 1 to 6 */
    int32_t type;      /**< 16 mouse button ... 25 system, 255 disabled */
    uint8_t sub;       /**< sub-code of the type */
    uint16_t value;    /**< key code (18), resolution (21/2), text length (25/1, 25/6) */
    uint8_t parameter; /**< macro parameter byte (19) */
    uint16_t count;    /**< number of entries in events (19), at most 140 */
    uint8_t readSub;   /**< filled by Read_profile_data for macro buttons */
    ButtonEvent events[140];
} ButtonSetting;

/** A profile as Read_profile_data decodes it. */
typedef struct ProfileData {
    int32_t profileByte;
    int32_t pollingRate; /**< Hz */
    int32_t responseTime;
    int32_t angleSnapping;
    int32_t liftOff;
    DpiBlock dpi;
    int32_t lightingMode;
    uint8_t lighting[24];
    int32_t brightness; /**< percent */
    int32_t lightingFlag;
    int32_t lightingOption;
    ButtonSetting buttons[6];
} ProfileData;

/** Texts of program and web-page buttons, one block per button. */
typedef struct ProgramTexts {
    uint8_t texts[6][1024];
    uint16_t lengths[6];
} ProgramTexts;

/** A button that makes the host start a program or open a web page. */
typedef struct RunProgramRequest {
    int32_t profile;     /**< 1 to 5 */
    int32_t button;      /**< 1 to 6 */
    const uint8_t* text; /**< the program path or web address, not terminated */
    uint16_t length;     /**< bytes in text, at most 1024 */
} RunProgramRequest;

ORVANE_STATIC_ASSERT(sizeof(DpiBlock) == 22, "DpiBlock is 22 packed bytes");
ORVANE_STATIC_ASSERT(offsetof(DpiBlock, values) == 2, "DpiBlock values follow two bytes");
ORVANE_STATIC_ASSERT(sizeof(LightingBlock) == 24, "LightingBlock is 24 bytes");
ORVANE_STATIC_ASSERT(sizeof(ButtonEvent) == 12, "ButtonEvent has natural alignment");
ORVANE_STATIC_ASSERT(offsetof(ButtonEvent, code) == 2, "ButtonEvent.code");
ORVANE_STATIC_ASSERT(offsetof(ButtonEvent, state) == 4, "ButtonEvent.state");
ORVANE_STATIC_ASSERT(offsetof(ButtonEvent, delay) == 8, "ButtonEvent.delay");
ORVANE_STATIC_ASSERT(offsetof(ButtonSetting, type) == 4, "ButtonSetting.type");
ORVANE_STATIC_ASSERT(offsetof(ButtonSetting, sub) == 8, "ButtonSetting.sub");
ORVANE_STATIC_ASSERT(offsetof(ButtonSetting, value) == 10, "ButtonSetting.value");
ORVANE_STATIC_ASSERT(offsetof(ButtonSetting, parameter) == 12, "ButtonSetting.parameter");
ORVANE_STATIC_ASSERT(offsetof(ButtonSetting, count) == 14, "ButtonSetting.count");
ORVANE_STATIC_ASSERT(offsetof(ButtonSetting, readSub) == 16, "ButtonSetting.readSub");
ORVANE_STATIC_ASSERT(offsetof(ButtonSetting, events) == 20, "ButtonSetting.events");
ORVANE_STATIC_ASSERT(sizeof(ButtonSetting) == 1700, "ButtonSetting size");
ORVANE_STATIC_ASSERT(offsetof(ProfileData, dpi) == 20, "ProfileData.dpi");
ORVANE_STATIC_ASSERT(offsetof(ProfileData, lightingMode) == 44, "ProfileData.lightingMode");
ORVANE_STATIC_ASSERT(offsetof(ProfileData, lighting) == 48, "ProfileData.lighting");
ORVANE_STATIC_ASSERT(offsetof(ProfileData, brightness) == 72, "ProfileData.brightness");
ORVANE_STATIC_ASSERT(offsetof(ProfileData, lightingOption) == 80, "ProfileData.lightingOption");
ORVANE_STATIC_ASSERT(offsetof(ProfileData, buttons) == 84, "ProfileData.buttons");
ORVANE_STATIC_ASSERT(sizeof(ProfileData) == 84 + 6 * 1700, "ProfileData size");
ORVANE_STATIC_ASSERT(offsetof(ProgramTexts, lengths) == 6144, "ProgramTexts.lengths");
ORVANE_STATIC_ASSERT(sizeof(ProgramTexts) == 6156, "ProgramTexts size");

/**
 * Event callback. Called on the library's capture thread, never on the
 * caller's; it must hand the event to its own thread. All three pointers are
 * valid only during the call.
 * @param kind  the event kind (1 to 5, 0x23 program button, 0x24 web-page button)
 * @param data  kinds 1-5: one byte, the event value; 0x23/0x24: the 1024-byte text block
 * @param value kinds 1-5: 1; 0x23/0x24: the text length
 */
typedef void(ORVANE_STDCALL* OrvaneCaptureCallback)(uint8_t* kind, uint8_t* data, int32_t* value);

/**
 * Device-change callback, called on the listener's thread with 1 (the mouse
 * arrived), 2 (it arrived in its boot loader) or 255 (it was removed; the
 * library then calls Close_device itself). The pointer is valid during the call.
 */
typedef void(ORVANE_STDCALL* OrvaneDeviceChangeCallback)(uint8_t* code);

/**
 * Firmware-update progress, called on the update's worker thread; both
 * pointers are valid during the call. See the ORVANE_FW_ statuses.
 */
typedef void(ORVANE_STDCALL* OrvaneProgressCallback)(uint8_t* status, int32_t* value);

/** @name Transport, status and versions */
/**@{*/
/** Opens the mouse in application mode. @return 1 when opened, else 0. */
ORVANE_API int Open_x2_device(void);
/** Opens the mouse in boot-loader mode into the same slot. @return 1 or 0. */
ORVANE_API int Open_x2bl_device(void);
/** Opens the mouse's second vendor interface (kept, not used). @return 1 or 0. */
ORVANE_API int Open_x2Compliant_device(void);
/** Closes the command handle. @return 1. */
ORVANE_API uint8_t Close_x2_device(void);
/** The same function as Close_x2_device. @return 1. */
ORVANE_API uint8_t Close_x2bl_device(void);
/** Writes 1 and returns 1 when the mouse is open or can be opened; else writes 255 and returns 20.
 */
ORVANE_API uint8_t Get_device_status(int16_t* status);
/** The firmware version (0x0102 reported as 102). @return 1, or 20 and *version unchanged. */
ORVANE_API uint8_t Get_fw_version(uint16_t* version);
/** The boot-loader version, as Get_fw_version. */
ORVANE_API uint8_t Get_bl_version(uint16_t* version);
/** Writes the library version, 10. @return 1. */
ORVANE_API uint8_t Get_dll_version(uint16_t* version);
/** Stops the capture (joining its thread), shuts hidapi down and closes the command handle.
 * @return 1. */
ORVANE_API uint8_t Close_device(void);
/**@}*/

/** @name Settings and profiles (profile 1 to 5) */
/**@{*/
/** Rate 125, 250, 500 or 1000 Hz; a bad rate is refused (2) only once the mouse is open. */
ORVANE_API uint8_t Set_polling_rate(int32_t profile, int32_t rate);
/** Response time: even, 2 to 12. */
ORVANE_API uint8_t Set_button_response_time(int32_t profile, int32_t time);
/** Lift-off distance 0 or 1. */
ORVANE_API uint8_t Set_lod(int32_t profile, int32_t lod);
/** Angle snapping 0 or 1. */
ORVANE_API uint8_t Set_angle_snapping(int32_t profile, int32_t on);
ORVANE_API uint8_t Set_dpi_settings(int32_t profile, DpiBlock dpi);
/** The four setting values are sent as their low bytes, unchecked. */
ORVANE_API uint8_t Reset_sensor_settings(int32_t profile, int32_t polling, int32_t responseTime,
                                         int32_t angleSnapping, int32_t liftOff, DpiBlock dpi);
/** Values are sent as their low bytes, unchecked. */
ORVANE_API uint8_t Update_lighting_settings(int32_t profile, int32_t mode, LightingBlock lighting,
                                            int32_t brightness, int32_t flag, int32_t option);
ORVANE_API uint8_t Reset_profile_default(int32_t profile);
/** Profile 1 to 6. */
ORVANE_API uint8_t Sync_profile(int32_t profile);
/** Writes the current profile number as the mouse reports it. */
ORVANE_API uint8_t Get_current_profile_id(uint8_t* profile);
ORVANE_API uint8_t Set_current_profile_id(int32_t profile);
ORVANE_API uint8_t Add_profile(int32_t profile);
ORVANE_API uint8_t Delete_profile(int32_t profile);
ORVANE_API uint8_t Copy_profile_data(int32_t source, int32_t target);
/** Writes the reported count; returns 1 only for 1 to 5. */
ORVANE_API uint8_t Get_number_of_profiles_in_mouse(uint8_t* count);
ORVANE_API uint8_t Reset_factory_default(void);
/** Reads and decodes a profile; texts may be null. */
ORVANE_API uint8_t Read_profile_data(int32_t profile, ProfileData* data, ProgramTexts* texts);
/**@}*/

/** @name Buttons */
/**@{*/
/**
 * Gives a button a function. @return 1; 2 (nothing sent) for a profile, button
 * or type outside the documented values, or a macro with more than 140 steps
 * or a step whose type is not 16, 17 or 18 or whose state is not 0 or 1;
 * 20 without a mouse or when it refuses the button or its data block.
 */
ORVANE_API uint8_t Set_button_settings(int32_t profile, const ButtonSetting* setting);
ORVANE_API uint8_t Set_button_run_program(const RunProgramRequest* request);
ORVANE_API uint8_t Set_button_run_browser(const RunProgramRequest* request);
/**@}*/

/** @name Event capture and device-change listener */
/**@{*/
/**
 * Starts capturing the mouse's input reports; a capture already running is
 * stopped first. @return 5 when capture runs, 255 when the capture device
 * cannot be opened (the callback stays registered), 20 for a null callback
 * or when the thread cannot start.
 */
ORVANE_API uint8_t ORVANE_STDCALL Capture_cb_data(OrvaneCaptureCallback callback);
/** Registers the device-change callback. @return 1, or 20 for null. */
ORVANE_API uint8_t ORVANE_STDCALL Device_change_message(OrvaneDeviceChangeCallback callback);
/** Starts the device-change listener. @return 1, or 20. */
ORVANE_API uint8_t Start_device_listener(void);
/**@}*/

/** @name Firmware update */
/**@{*/
/** Registers the progress callback. @return 1, or 20 for null. */
ORVANE_API uint8_t ORVANE_STDCALL Firmware_update_progress(OrvaneProgressCallback callback);
/**
 * Starts an update on a worker thread; the image is copied before the call
 * returns. The outcome arrives through the progress callback. @return 1.
 */
ORVANE_API uint8_t Update_firmware(int32_t size, const uint8_t* image);
/**@}*/

#ifdef __cplusplus
}
#endif

#endif /* ORVANE_PRO_DLL_H */

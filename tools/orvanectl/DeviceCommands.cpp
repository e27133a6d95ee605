// Commands that drive the mouse through the device-control library, as any
// program built on the library would.
#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Command.h"
#include "CommandLine.h"
#include "JsonExport.h"
#include "LibraryResults.h"
#include "Orvane_pro_dll.h"
#include "protocol/image/ButtonEncoding.h"

namespace orvanectl {

namespace {

// Runs one library call when the command line has been accepted.
template <typename Call>
void onChosen(CLI::App* command, Action& chosen, Call call) {
    command->callback([&chosen, call] { chosen = call; });
}

CLI::App* profileArgument(CLI::App* command, std::shared_ptr<int> profile) {
    command->add_option("PROFILE", *profile, "Profile number 1 to 5")->required();
    return command;
}

void addStatusAndVersion(CLI::App& parent, Action& chosen) {
    onChosen(parent.add_subcommand("status", "Tell whether the mouse is connected"), chosen,
             [](std::ostream& out, std::ostream& err) {
                 std::int16_t status = 0;
                 const std::uint8_t result = Get_device_status(&status);
                 if (result != ORVANE_OK) {
                     return reportLibraryResult(result, "status", err);
                 }
                 out << "connected\n";
                 return kExitOk;
             });
    onChosen(
        parent.add_subcommand("version", "Print the firmware, boot-loader and library versions"),
        chosen, [](std::ostream& out, std::ostream& err) {
            std::uint16_t library = 0;
            Get_dll_version(&library);
            out << "library: " << library << '\n';
            std::uint16_t firmware = 0;
            std::uint16_t bootLoader = 0;
            const std::uint8_t result = Get_fw_version(&firmware);
            if (result != ORVANE_OK) {
                return reportLibraryResult(result, "firmware version", err);
            }
            out << "firmware: " << firmware << '\n';
            if (Get_bl_version(&bootLoader) == ORVANE_OK) {
                out << "boot loader: " << bootLoader << '\n';
            }
            return kExitOk;
        });
}

void addProfileDeviceCommands(CLI::App& parent, Action& chosen) {
    CLI::App* profile = parent.get_subcommand("profile");
    onChosen(profile->add_subcommand("get", "Print the mouse's active profile (1 to 5)"), chosen,
             [](std::ostream& out, std::ostream& err) {
                 std::uint8_t current = 0;
                 const std::uint8_t result = Get_current_profile_id(&current);
                 if (result == ORVANE_OK) {
                     out << static_cast<unsigned>(current) << '\n';
                 }
                 return reportLibraryResult(result, "profile get", err);
             });
    auto number = std::make_shared<int>(0);
    onChosen(profileArgument(profile->add_subcommand("set-active", "Make a profile the active one"),
                             number),
             chosen, [number](std::ostream&, std::ostream& err) {
                 return reportLibraryResult(Set_current_profile_id(*number), "profile set-active",
                                            err);
             });
    onChosen(profileArgument(profile->add_subcommand("reset", "Reset a profile to its defaults"),
                             number),
             chosen, [number](std::ostream&, std::ostream& err) {
                 return reportLibraryResult(Reset_profile_default(*number), "profile reset", err);
             });
    auto target = std::make_shared<int>(0);
    CLI::App* copy = profile->add_subcommand("copy", "Copy one profile over another");
    copy->add_option("SOURCE", *number, "Profile number 1 to 5")->required();
    copy->add_option("TARGET", *target, "Profile number 1 to 5")->required();
    onChosen(copy, chosen, [number, target](std::ostream&, std::ostream& err) {
        return reportLibraryResult(Copy_profile_data(*number, *target), "profile copy", err);
    });
}

struct DpiOptions {
    int profile = 0;
    unsigned first = 5;
    unsigned second = 2;
    std::vector<unsigned> values;
};

void addSettingCommands(CLI::App& parent, Action& chosen) {
    auto dpi = std::make_shared<DpiOptions>();
    CLI::App* dpiSet = parent.add_subcommand("dpi", "Resolution settings")
                           ->add_subcommand("set", "Set a profile's resolution block");
    parent.get_subcommand("dpi")->require_subcommand(1);
    dpiSet->add_option("PROFILE", dpi->profile, "Profile number 1 to 5")->required();
    dpiSet->add_option("VALUES", dpi->values, "Up to ten resolution values")
        ->required()
        ->check(CLI::Range(0U, 65535U));
    dpiSet->add_option("--first", dpi->first, "First setting byte")
        ->check(CLI::Range(0U, 255U))
        ->capture_default_str();
    dpiSet->add_option("--second", dpi->second, "Second setting byte")
        ->check(CLI::Range(0U, 255U))
        ->capture_default_str();
    onChosen(dpiSet, chosen, [dpi](std::ostream&, std::ostream& err) {
        if (dpi->values.size() > 10) {
            err << "orvanectl: dpi set takes at most ten values\n";
            return kExitUsage;
        }
        DpiBlock block{};
        block.first = static_cast<std::uint8_t>(dpi->first);
        block.second = static_cast<std::uint8_t>(dpi->second);
        for (std::size_t i = 0; i < dpi->values.size(); ++i) {
            block.values[i] = static_cast<std::uint16_t>(dpi->values[i]);
        }
        return reportLibraryResult(Set_dpi_settings(dpi->profile, block), "dpi set", err);
    });

    auto profile = std::make_shared<int>(0);
    auto rate = std::make_shared<int>(0);
    CLI::App* polling = parent.add_subcommand("polling", "Report rate")
                            ->add_subcommand("set", "Set a profile's report rate");
    parent.get_subcommand("polling")->require_subcommand(1);
    polling->add_option("PROFILE", *profile, "Profile number 1 to 5")->required();
    polling->add_option("RATE", *rate, "125, 250, 500 or 1000 (Hz)")->required();
    onChosen(polling, chosen, [profile, rate](std::ostream&, std::ostream& err) {
        return reportLibraryResult(Set_polling_rate(*profile, *rate), "polling set", err);
    });
}

struct ButtonOptions {
    int profile = 0;
    unsigned button = 0;
    int type = 16;
    unsigned sub = 1;
    unsigned value = 0;
    unsigned parameter = 0;
    std::vector<std::string> events;  // type:code:state:delay
};

bool parseEvent(const std::string& text, ButtonEvent& event) {
    unsigned type = 0;
    unsigned code = 0;
    unsigned state = 0;
    unsigned long delay = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%u:%u:%u:%lu%c", &type, &code, &state, &delay, &tail) != 4 ||
        type > 255 || code > 65535 || state > 1 || delay > 0xFFFFFFFFUL) {
        return false;
    }
    event = {static_cast<std::uint8_t>(type), static_cast<std::uint16_t>(code),
             static_cast<std::uint8_t>(state), static_cast<std::uint32_t>(delay)};
    return true;
}

void addButtonCommand(CLI::App& parent, Action& chosen) {
    auto options = std::make_shared<ButtonOptions>();
    CLI::App* set = parent.add_subcommand("button", "Button functions")
                        ->add_subcommand("set", "Give a button of a profile a function");
    parent.get_subcommand("button")->require_subcommand(1);
    set->add_option("PROFILE", options->profile, "Profile number 1 to 5")->required();
    set->add_option("BUTTON", options->button, "Button number 1 to 6")
        ->required()
        ->check(CLI::Range(1U, 6U));
    set->add_option("--type", options->type,
                    "16 mouse button, 17 wheel, 18 key, 19 macro, 20 profile switch, 21 "
                    "resolution switch, 24 media, 25 system, 255 disabled")
        ->capture_default_str();
    set->add_option("--sub", options->sub, "Sub-code of the type")
        ->check(CLI::Range(0U, 255U))
        ->capture_default_str();
    set->add_option("--value", options->value, "Key code, resolution or text length")
        ->check(CLI::Range(0U, 65535U));
    set->add_option("--parameter", options->parameter, "Macro parameter byte")
        ->check(CLI::Range(0U, 255U));
    set->add_option("--event", options->events,
                    "A macro step TYPE:CODE:STATE:DELAY (16 mouse, 17 wheel, 18 key; state 0 "
                    "pressed, 1 released; delay in ms); repeat for each step");
    onChosen(set, chosen, [options](std::ostream&, std::ostream& err) {
        auto setting = std::make_unique<ButtonSetting>();
        *setting = ButtonSetting{};
        if (options->events.size() > std::size(setting->events)) {
            err << "orvanectl: a macro holds at most 140 steps\n";
            return kExitUsage;
        }
        setting->button = static_cast<std::uint8_t>(options->button);
        setting->type = options->type;
        setting->sub = static_cast<std::uint8_t>(options->sub);
        setting->value = static_cast<std::uint16_t>(options->value);
        setting->parameter = static_cast<std::uint8_t>(options->parameter);
        for (std::size_t i = 0; i < options->events.size(); ++i) {
            if (!parseEvent(options->events[i], setting->events[i])) {
                err << "orvanectl: \"" << options->events[i]
                    << "\" is not a step TYPE:CODE:STATE:DELAY\n";
                return kExitUsage;
            }
            // The mouse keeps 24 bits of each delay; a longer one would be
            // played as its remainder (16777216 ms as no wait at all).
            if (setting->events[i].delay > orvane::kLongestMacroDelayMs) {
                err << "orvanectl: step " << i + 1 << " waits " << setting->events[i].delay
                    << " ms; the mouse holds at most " << orvane::kLongestMacroDelayMs << " ms\n";
                return kExitUsage;
            }
        }
        setting->count = static_cast<std::uint16_t>(options->events.size());
        return reportLibraryResult(Set_button_settings(options->profile, setting.get()),
                                   "button set", err);
    });
}

struct LightingOptions {
    int profile = 0;
    int mode = 1;
    int brightness = 100;
    int flag = 1;
    int option = 1;
    std::vector<std::string> colours;  // RRGGBB
};

bool parseColour(const std::string& text, std::uint8_t* rgb) {
    unsigned value = 0;
    char tail = 0;
    if (text.size() != 6 || std::sscanf(text.c_str(), "%6x%c", &value, &tail) != 1) {
        return false;
    }
    rgb[0] = static_cast<std::uint8_t>(value >> 16);
    rgb[1] = static_cast<std::uint8_t>(value >> 8);
    rgb[2] = static_cast<std::uint8_t>(value);
    return true;
}

void addLightingCommand(CLI::App& parent, Action& chosen) {
    auto options = std::make_shared<LightingOptions>();
    CLI::App* set = parent.add_subcommand("lighting", "Lighting")
                        ->add_subcommand("set", "Set a profile's lighting");
    parent.get_subcommand("lighting")->require_subcommand(1);
    set->add_option("PROFILE", options->profile, "Profile number 1 to 5")->required();
    set->add_option("--mode", options->mode, "Lighting mode")->capture_default_str();
    set->add_option("--brightness", options->brightness, "0, 25, 50, 75 or 100 (percent)")
        ->capture_default_str();
    set->add_option("--flag", options->flag, "Lighting flag")->capture_default_str();
    set->add_option("--option", options->option, "Lighting option")->capture_default_str();
    set->add_option("--colour,--color", options->colours,
                    "RRGGBB, up to eight; the lighting block holds them in order");
    onChosen(set, chosen, [options](std::ostream&, std::ostream& err) {
        LightingBlock block{};
        if (options->colours.size() > sizeof block.bytes / 3) {
            err << "orvanectl: the lighting block holds at most eight colours\n";
            return kExitUsage;
        }
        for (std::size_t i = 0; i < options->colours.size(); ++i) {
            if (!parseColour(options->colours[i], block.bytes + 3 * i)) {
                err << "orvanectl: \"" << options->colours[i] << "\" is not a colour RRGGBB\n";
                return kExitUsage;
            }
        }
        return reportLibraryResult(
            Update_lighting_settings(options->profile, options->mode, block, options->brightness,
                                     options->flag, options->option),
            "lighting set", err);
    });
}

void addReadProfileCommand(CLI::App& parent, Action& chosen) {
    auto profile = std::make_shared<int>(0);
    CLI::App* read = parent.add_subcommand("read-profile", "Print a profile of the mouse as JSON");
    read->add_option("PROFILE", *profile, "Profile number 1 to 5")->required();
    onChosen(read, chosen, [profile](std::ostream& out, std::ostream& err) {
        // Large records: on the heap, not on the stack.
        auto data = std::make_unique<ProfileData>();
        auto texts = std::make_unique<ProgramTexts>();
        *data = ProfileData{};
        *texts = ProgramTexts{};
        const std::uint8_t result = Read_profile_data(*profile, data.get(), texts.get());
        if (result != ORVANE_OK) {
            return reportLibraryResult(result, "read-profile", err);
        }
        out << profileDataToJson(*data, *texts).dump(2) << '\n';
        return kExitOk;
    });
}

}  // namespace

void addDeviceCommands(CLI::App& parent, Action& chosen) {
    addStatusAndVersion(parent, chosen);
    addProfileDeviceCommands(parent, chosen);
    addSettingCommands(parent, chosen);
    addButtonCommand(parent, chosen);
    addLightingCommand(parent, chosen);
    addReadProfileCommand(parent, chosen);
    addEventCommands(parent, chosen);
}

}  // namespace orvanectl

#include "platform/linux/gnome/GnomePointerSettings.h"

#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace orvane {

namespace {

constexpr const char* kMouseSchema = "org.gnome.desktop.peripherals.mouse";

// Speed 1..20 onto libinput's -1..1, 10 onto 0 (the device's own speed).
// The halves are scaled apart so that both ends of the old scale reach both
// ends of the desktop's: the slowest setting crawls there as it did here.
double libinputSpeed(int speed) {
    const int s = std::clamp(speed, 1, 20);
    return s <= 10 ? (s - 10) / 9.0 : (s - 10) / 10.0;
}

}  // namespace

struct GnomePointerSettings::Schema {
    GSettingsSchema* schema = nullptr;
    GSettings* settings = nullptr;

    ~Schema() {
        if (settings != nullptr) {
            g_object_unref(settings);
        }
        if (schema != nullptr) {
            g_settings_schema_unref(schema);
        }
    }

    // Writes `value` (floating or not, consumed) when this schema has `key`
    // with its type and range and the key is not locked. Schemas of other
    // versions move keys about, and on a mismatch GSettings only complains
    // on the terminal where the caller needs an answer.
    bool write(const char* key, GVariant* value) {
        g_variant_ref_sink(value);
        bool written = false;
        if (g_settings_schema_has_key(schema, key)) {
            GSettingsSchemaKey* schemaKey = g_settings_schema_get_key(schema, key);
            written =
                g_variant_is_of_type(value, g_settings_schema_key_get_value_type(schemaKey)) &&
                g_settings_schema_key_range_check(schemaKey, value) &&
                g_settings_set_value(settings, key, value);
            g_settings_schema_key_unref(schemaKey);
        }
        g_variant_unref(value);
        if (written) {
            // The caller reports the setting as made once this returns.
            g_settings_sync();
        }
        return written;
    }
};

std::unique_ptr<GnomePointerSettings> GnomePointerSettings::create(std::string& error) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* found =
        source != nullptr ? g_settings_schema_source_lookup(source, kMouseSchema, TRUE) : nullptr;
    if (found == nullptr) {
        error = std::string("the GNOME mouse settings (") + kMouseSchema +
                ") are not installed: the desktop schemas are missing";
        return nullptr;
    }
    auto schema = std::make_unique<Schema>();
    schema->schema = found;
    // Without dconf GSettings falls back to keeping values in memory: every
    // write would succeed and reach no one.
    GSettingsBackend* backend = g_settings_backend_get_default();
    const bool lasting = std::strcmp(G_OBJECT_TYPE_NAME(backend), "GMemorySettingsBackend") != 0;
    g_object_unref(backend);
    if (!lasting) {
        error =
            "GSettings keeps nothing on this system (no dconf): the GNOME mouse settings "
            "cannot be changed";
        return nullptr;
    }
    schema->settings = g_settings_new_full(found, nullptr, nullptr);
    return std::unique_ptr<GnomePointerSettings>(new GnomePointerSettings(std::move(schema)));
}

GnomePointerSettings::GnomePointerSettings(std::unique_ptr<Schema> schema)
    : schema(std::move(schema)) {}

GnomePointerSettings::~GnomePointerSettings() = default;

bool GnomePointerSettings::setDoubleClickTime(int milliseconds) {
    return milliseconds > 0 && schema->write("double-click", g_variant_new_int32(milliseconds));
}

bool GnomePointerSettings::setPointerSpeed(int speed) {
    return schema->write("speed", g_variant_new_double(libinputSpeed(speed)));
}

bool GnomePointerSettings::setWheelScrollLines(int) {
    return false;
}

// The desktop's only acceleration knob is the profile: flat (none) or
// adaptive. Adaptive has no strength of its own apart from the pointer
// speed, which is a setting of its own, so the three levels all turn it on
// and cannot be told apart here. "default" is not used for on: it leaves
// the choice to each device.
bool GnomePointerSettings::setAcceleration(const std::array<int, 3>& values) {
    const char* profile = values[2] > 0 ? "adaptive" : "flat";
    return schema->write("accel-profile", g_variant_new_string(profile));
}

}  // namespace orvane

#pragma once

// The failure texts that the dialogs and the application shell share; the
// shell's own texts live beside it.
namespace orvane::texts {

inline constexpr const char* kMessageCaption = "VELTRAC";
inline constexpr const char* kMouseNotFound = "ORVANE Pro mouse not found !";
inline constexpr const char* kHookFailed = "set hook failed.";

}  // namespace orvane::texts

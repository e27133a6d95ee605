#pragma once

namespace orvane {

// The five pages in the order of the page buttons.
enum class PageKind { MouseSettings = 0, SensorPerformance, ColorSettings, MacroSettings, Support };
inline constexpr int kPageCount = 5;

}  // namespace orvane

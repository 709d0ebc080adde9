#pragma once
// Fixed facts of the main window that do not need a widget: its toolbar buttons, the entries
// of its settings lists, its caption, its minimum-size rule and the size of a legible drawing.

#include <array>
#include <string>
#include <string_view>

namespace halvane {

struct ToolbarButton {
  std::string_view key;
  std::string_view text;
};

inline constexpr std::array<ToolbarButton, 16> kToolbarButtons{{
    {"RecMode", "Storage Mode"},
    {"Storage", "Storage"},
    {"RTC", "Real Time Clock"},
    {"Comparator", "Comparator"},
    {"Trigger", "Trigger"},
    {"BackLight", "Back Light Auto Off"},
    {"Period", "Measurement Time"},
    {"AC", "Frequency Weight"},
    {"FS", "Time Weight"},
    {"Intv", "Interval"},
    {"Memory", "Flash Memory"},
    {"SD", "SD Card"},
    {"CtrButton", "Control Panel"},
    {"Erase", "Erase Data Logger"},
    {"Plot", "Plot From File"},
    {"History", "Level History"},
}};

inline constexpr std::array<std::string_view, 6> kTriggerEntries{
    "Off", "Trigger Level1", "Trigger Level2", "External", "Time", "Exit"};
inline constexpr std::array<std::string_view, 5> kBackLightEntries{"Off", "30 sec", "1 min",
                                                                   "3 min", "Exit"};
inline constexpr std::array<std::string_view, 3> kDeviceEntries{"Flash Memory", "SD Card", "Exit"};
inline constexpr std::array<std::string_view, 3> kRecModeEntries{"Manually", "Automatically",
                                                                 "Exit"};
inline constexpr std::array<std::string_view, 3> kNoItemEntries{"Item", "No.s", "Exit"};
inline constexpr std::array<std::string_view, 3> kChannelEntries{"Main Channel", "Sub Channel",
                                                                 "Exit"};
inline constexpr std::array<std::string_view, 3> kFreqEntries{"A", "C", "Z"};
inline constexpr std::array<std::string_view, 4> kTimeEntries{"F", "S", "t", "I"};
inline constexpr int kLevelEntryCount = 141;  // "0" to "140"

inline constexpr std::string_view kPanelCaption = "Panel   V8.01";
inline constexpr std::string_view kBuildNumber = "130809";

// Double-clicking the window shows the build number after the caption, or hides it again.
std::string ToggleVersionCaption(std::string_view caption);

struct WindowSize {
  int width = 0;
  int height = 0;
  friend bool operator==(WindowSize, WindowSize) = default;
};

// The drawing area at which the texts of every screen stay in their boxes and strips. In twips,
// like the fonts' point sizes, so that it grows with them on a screen of more dots per inch.
inline constexpr WindowSize kLegibleDrawingArea{18000, 11700};

// The main window never gets narrower than 13680 twips (it is then set to 13600) nor lower
// than 9465 twips. Sizes in twips, 1/1440 inch.
WindowSize ApplyMinimumSize(WindowSize twips);

}  // namespace halvane

#pragma once
// The cursor graph's eight track modes: what the mouse does on the graph in each.

#include <array>

class QCustomPlot;

namespace halvane {

struct TrackMode {
  const char* entry;        // the entry of the track mode list
  const char* description;  // the help text shown beside the list
  bool cursors = false;     // the mouse drags the cursors
  bool pan_x = false;       // dragging moves the x axis
  bool pan_y = false;
  bool zoom_x = false;  // a dragged rectangle zooms the x axis
  bool zoom_y = false;
};

inline constexpr std::array<TrackMode, 8> kTrackModes{{
    {"Normal", "Normal mode"},
    {"Cursor Coordinates", "Drag the cursor with your mouse to get X (Count) and Y (dB) position.",
     true},
    {"PanXY",
     "Click anywhere on the plot area and drag to pan the graph both horizontally and "
     "vertically.",
     false, true, true},
    {"PanX", "Click anywhere on the plot area and drag to pan the graph horizontally.", false,
     true},
    {"PanY", "Click anywhere on the plot area and drag to pan the graph vertically.", false, false,
     true},
    {"ZoomXY", "Select a region on the graph to zoom both horizontally and vertically.", false,
     false, false, true, true},
    {"ZoomX", "Select a region on the graph to zoom horizontally.", false, false, false, true},
    {"ZoomY", "Select a region on the graph to zoom vertically.", false, false, false, false, true},
}};

// Sets the graph's range dragging and rectangle zoom for the mode.
void ApplyTrackMode(QCustomPlot& plot, const TrackMode& mode);

}  // namespace halvane

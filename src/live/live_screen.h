#pragma once
// Builds what the main window's drawing area shows for one live reply, on a 560 x 120 canvas.

#include "live/live_reply.h"
#include "ui/canvas.h"

namespace halvane {

inline constexpr double kPanelWidthUnits = 560;
inline constexpr double kPanelHeightUnits = 120;

// Clears the canvas and draws the header bar, the screen of the display mode and the footer
// bar, or only "Non-Measurement Mode" for a display mode outside 0 to 7.
void DrawLiveScreen(Canvas& canvas, const LiveReading& reading);
// Clears the canvas and draws "No Connection".
void DrawNoConnection(Canvas& canvas);

// The pieces, for tests and for the bar graph window.
void DrawHeader(Canvas& canvas, const LiveReading& reading);
void DrawFooter(Canvas& canvas, const LiveReading& reading);
void DrawSlmScreen(Canvas& canvas, const LiveReading& reading);
void DrawOctaveBarScreen(Canvas& canvas, const LiveReading& reading);
void DrawOctaveTableScreen(Canvas& canvas, const LiveReading& reading);
// The frame of the octave bar graphs: grid, level scale, band labels and the weighting letters.
void ReInit(Canvas& canvas, double range_top, double range_bottom, std::string_view main_freq,
            std::string_view sub_freq);

}  // namespace halvane

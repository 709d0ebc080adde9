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

// How a frame of octave bars is drawn. The live screens and the bar graph window of a record
// draw the same grid, but their axes stand at different heights, their labels are in different
// fonts, and only the live screens head the level scale with "dB".
struct BarFrameStyle {
  double axis_y;
  Font label_font;
  Font weighting_font;
  bool db_label;
};

// The frame of octave bars: grid, level scale, axes, band labels and the weighting letters.
// A range whose top does not exceed its bottom gets no grid lines or level labels.
void DrawBarFrame(Canvas& canvas, double range_top, double range_bottom, std::string_view main_freq,
                  std::string_view sub_freq, const BarFrameStyle& style);
// The frame of the live octave bar screens.
void ReInit(Canvas& canvas, double range_top, double range_bottom, std::string_view main_freq,
            std::string_view sub_freq);

}  // namespace halvane

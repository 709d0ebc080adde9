#include <span>
#include <string>

#include "live/band_labels.h"
#include "live/level_text.h"
#include "live/live_screen.h"
#include "live/meter.h"
#include "live/screen_parts.h"

namespace halvane {
namespace {


// A level on its black box at x 360 with "dB" after it, one readout line at height y.
void DrawLevelReadout(Canvas& canvas, double y, std::string level_text) {
  DrawOnBlackBox(canvas, {358, y}, {393, y + 3}, {360, y}, PadLeft(std::move(level_text), 5),
                 kReadoutFont);
  canvas.Text({455, y}, "dB", kReadoutFont, kBlack);
}

struct ChannelReadout {
  double badge_y;
  double line_y;
  std::string_view badge;
  double badge_right;
  int badge_color;
  double all_pass_x;
  std::size_t all_pass_index;
};

constexpr ChannelReadout kMainReadout{96, 98, "MAIN", 94, 1, 272, 153};
constexpr ChannelReadout kSubReadout{110, 112, "SUB", 82, 4, 270, 159};

// The badge, item label and all-pass level of one channel under the bars.
void DrawChannelReadout(Canvas& canvas, const LiveReading& reading, const ChannelReadout& channel,
                        const std::string& item_label) {
  DrawBadge(canvas, {42, channel.badge_y}, {channel.badge_right, channel.badge_y + 6},
            ConsoleColor(channel.badge_color), {45, channel.badge_y}, channel.badge, kBadgeFont);
  canvas.Text({125, channel.badge_y}, item_label, kBadgeFont, kBlack);
  canvas.Text({channel.all_pass_x, channel.line_y}, "AP", kReadoutFont, kBlack);
  DrawLevelReadout(canvas, channel.line_y, reading.Level(channel.all_pass_index));
}

// The level of the band under the cursor, with the band's label when the table has one.
void DrawCursorReadout(Canvas& canvas, double y, std::string_view title,
                       std::span<const std::string_view> labels, int band, std::string level_text) {
  canvas.Text({125, y}, std::string(title), kReadoutFont, kBlack);
  if (band >= 0 && band < static_cast<int>(labels.size())) {
    canvas.Text({255, y}, std::string(labels[static_cast<std::size_t>(band)]) + "Hz", kReadoutFont,
                kBlack);
  }
  DrawLevelReadout(canvas, y, std::move(level_text));
}

void DrawBandCursor(Canvas& canvas, double x) {
  const Pen red_dotted{BgrColor(0x0000FF), LineStyle::Dotted, 1};
  canvas.Line({x, 18}, {x, 90}, red_dotted);
}

// The red line on the band under the cursor (byte 22) and the readouts of that band's level.
void DrawCursor(Canvas& canvas, const LiveReading& reading) {
  const int mode = reading.DisplayMode;
  const int cursor = reading.BandCursor;
  const int cursor_octave = (cursor + 1) / 3 - 1;
  if (mode == 1) {
    DrawBandCursor(canvas, 40.0 * cursor_octave + 55);
    DrawCursorReadout(canvas, 105, "1/1 OCT", OctaveBandLabels, cursor_octave, reading.Level(155));
    return;
  }
  if (mode != 2 && mode != 3) {
    return;
  }
  DrawBandCursor(canvas, 40.0 * (cursor / 3 + 1) + 10.0 * (cursor % 3) + 5);
  if (mode == 2) {
    DrawCursorReadout(canvas, 105, "1/3 OCT", ThirdOctaveBandLabels, cursor, reading.Level(155));
  } else {
    DrawCursorReadout(canvas, 103, "1/1 OCT", OctaveBandLabels, cursor_octave, reading.Level(155));
    DrawCursorReadout(canvas, 107, "1/3 OCT", ThirdOctaveBandLabels, cursor, reading.Level(157));
  }
}

}  // namespace

void DrawOctaveBarScreen(Canvas& canvas, const LiveReading& reading) {
  const double top = reading.RangeTop;
  const double bottom = reading.RangeBottom;
  const int mode = reading.DisplayMode;
  const bool octaves = mode == 1 || mode == 3;
  const bool thirds = mode == 2 || mode == 3;

  ReInit(canvas, top, bottom, reading.MainFreqWeighting, reading.SubFreqWeighting);
  DrawChannelReadout(canvas, reading, kMainReadout, reading.MainItemLabel);
  DrawChannelReadout(canvas, reading, kSubReadout, reading.SubItemLabel);
  DrawTitle(canvas, {0, 6}, ModeTitle(mode));

  // The band pairs hold the level above the range bottom.
  if (octaves) {
    const int color = mode == 3 ? 15 : 9;
    for (int band = 0; band < 11; ++band) {
      const double value = reading.LevelNumber(kOctaveBandsIndex + 2 * band) + bottom;
      DrawOctaveBar(canvas, value, top, bottom, color, band);
    }
  }
  if (thirds) {
    for (int band = 0; band < 33; ++band) {
      const double value = reading.LevelNumber(kThirdBandsIndex + 2 * band) + bottom;
      DrawThirdOctaveBar(canvas, value, top, bottom, band % 3 == 1 ? 11 : 10, band);
    }
  }

  DrawCursor(canvas, reading);

  // Over and under mean nothing against an empty range.
  const double main_all_pass = reading.LevelNumber(25);
  if (top > bottom) {
    if (main_all_pass > top) {
      canvas.Text({522, 15}, "Over", kSmallFont, kBlack);
    } else if (main_all_pass < bottom) {
      canvas.Text({522, 88}, "Under", kSmallFont, kBlack);
    }
  }
  DrawOctaveBar(canvas, main_all_pass, top, bottom, 9, 11);
  DrawOctaveBar(canvas, reading.LevelNumber(27), top, bottom, 4, 12);
}

}  // namespace halvane

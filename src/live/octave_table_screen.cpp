#include <array>
#include <string>

#include "live/band_labels.h"
#include "live/level_text.h"
#include "live/live_screen.h"
#include "live/screen_parts.h"

namespace halvane {
namespace {

constexpr int kRowsPerColumn = 11;
constexpr double kRowPitch = (120.0 - 30.0) / 13.0;

struct ChannelHeader {
  double y;
  std::string_view badge;
  double badge_right;
  int badge_color;
  std::size_t all_pass_index;
  double unit_y;
};

constexpr ChannelHeader kMainHeader{13, "MAIN", 110, 1, 153, 16};
constexpr ChannelHeader kSubHeader{110, "SUB", 100, 4, 159, 114};

// Badge, item label and all-pass level of one channel, above or below the table.
void DrawChannelHeader(Canvas& canvas, const LiveReading& reading, const ChannelHeader& header,
                       const std::string& item_label) {
  const double y = header.y;
  DrawBadge(canvas, {57, y}, {header.badge_right, y + 6}, ConsoleColor(header.badge_color), {60, y},
            header.badge, kBadgeFont);
  canvas.Text({140, y}, item_label, kBadgeFont, kBlack);
  // The level stands on its box like every other level: padded to 8 characters from x 280, its
  // digits would start left of the box, by more the wider the window.
  DrawOnBlackBox(canvas, {315, y}, {380, y + 6}, {316, y},
                 PadLeft(ShownLevel(reading, header.all_pass_index), 5), kBadgeFont);
  canvas.Text({500, header.unit_y}, "dB", kReadoutFont, kBlack);
}

// The bands at both ends of the range, which the meter does not measure, show "---.-".
bool IsUnmeasuredThird(int band) {
  return band < 3 || band >= 30;
}
bool IsUnmeasuredOctave(int band) {
  return band == 0 || band == 10;
}

// One band level of a table: yellow on a black box, or a black "---.-" for an unmeasured band.
void DrawTableLevel(Canvas& canvas, const LiveReading& reading, Point at, std::size_t high_index,
                    bool unmeasured) {
  if (unmeasured) {
    canvas.Text(at, std::string(kNoLevelText), kTableFont, kBlack);
    return;
  }
  DrawOnBlackBox(canvas, {at.x - 1, at.y - 1}, {at.x + 45, at.y + 5}, at,
                 PadLeft(reading.Level(high_index), 5), kTableFont);
}

std::string BandLabelWithHz(std::string_view label) {
  return PadLeft(std::string(label), 5) + "  Hz";
}

void DrawHeading(Canvas& canvas, double x, std::string_view text) {
  canvas.Text({x, 22}, std::string(text), kHeadingFont, kBlack);
}

void DrawHeadingBar(Canvas& canvas, double from_x, double to_x) {
  canvas.Box({from_x, 22}, {to_x, 24}, ConsoleColor(10));
}

void DrawOctaveTable(Canvas& canvas, const LiveReading& reading) {
  for (int band = 0; band < kRowsPerColumn; ++band) {
    const double y = 28 + band * kRowPitch;
    canvas.Text({200, y}, BandLabelWithHz(OctaveBandLabels[static_cast<std::size_t>(band)]),
                kTableFont, kBlack);
    DrawTableLevel(canvas, reading, {330, y}, kOctaveBandsIndex + 2 * band,
                   IsUnmeasuredOctave(band));
    canvas.Text({500, y}, "dB", kReadoutFont, kBlack);
  }
}

void DrawThirdOctaveTable(Canvas& canvas, const LiveReading& reading) {
  struct Column {
    double bar_from, bar_to, hz_x, db_x, label_x, level_x;
  };
  static constexpr std::array<Column, 3> kColumns{{{20, 150, 30, 140, 20, 100},
                                                   {190, 330, 220, 320, 200, 280},
                                                   {370, 510, 380, 500, 380, 460}}};
  for (std::size_t c = 0; c < kColumns.size(); ++c) {
    const Column& column = kColumns[c];
    DrawHeadingBar(canvas, column.bar_from, column.bar_to);
    DrawHeading(canvas, column.hz_x, "Hz");
    DrawHeading(canvas, column.db_x, "dB");
    for (int row = 0; row < kRowsPerColumn; ++row) {
      const int band = static_cast<int>(c) * kRowsPerColumn + row;
      const double y = 28 + row * kRowPitch;
      canvas.Text({column.label_x, y},
                  BandLabelWithHz(ThirdOctaveBandLabels[static_cast<std::size_t>(band)]),
                  kTableFont, kBlack);
      DrawTableLevel(canvas, reading, {column.level_x, y}, kThirdBandsIndex + 2 * band,
                     IsUnmeasuredThird(band));
    }
  }
}

// The 1/3 bands in three groups, each octave's level beside its centre band.
void DrawBothTables(Canvas& canvas, const LiveReading& reading) {
  struct Group {
    double bar_from, bar_to, hz_x, third_heading_x, octave_heading_x;
    double label_x, third_x, octave_x;
  };
  static constexpr std::array<Group, 3> kGroups{{{3, 180, 15, 62, 135, 3, 62, 120},
                                                 {200, 367, 220, 259, 332, 200, 259, 317},
                                                 {387, 560, 399, 451, 524, 397, 453, 514}}};
  for (std::size_t g = 0; g < kGroups.size(); ++g) {
    const Group& group = kGroups[g];
    DrawHeadingBar(canvas, group.bar_from, group.bar_to);
    DrawHeading(canvas, group.hz_x, "Hz");
    DrawHeading(canvas, group.third_heading_x, "1/3OCT(dB)");
    DrawHeading(canvas, group.octave_heading_x, "OCT(dB)");
    for (int row = 0; row < kRowsPerColumn; ++row) {
      const int band = static_cast<int>(g) * kRowsPerColumn + row;
      const double y = 30 + row * kRowPitch;
      canvas.Text({group.label_x, y},
                  PadLeft(std::string(ThirdOctaveBandLabels[static_cast<std::size_t>(band)]), 5),
                  kTableFont, kBlack);
      DrawTableLevel(canvas, reading, {group.third_x, y}, kThirdBandsIndex + 2 * band,
                     IsUnmeasuredThird(band));
      if (band % 3 == 1) {
        const int octave = band / 3;
        DrawTableLevel(canvas, reading, {group.octave_x, y}, kOctaveBandsIndex + 2 * octave,
                       IsUnmeasuredOctave(octave));
      }
    }
  }
}

}  // namespace

void DrawOctaveTableScreen(Canvas& canvas, const LiveReading& reading) {
  DrawChannelHeader(canvas, reading, kMainHeader, reading.MainItemLabel);
  DrawChannelHeader(canvas, reading, kSubHeader, reading.SubItemLabel);
  DrawTitle(canvas, {0, 6}, ModeTitle(reading.DisplayMode));
  switch (reading.DisplayMode) {
    case 4:
      DrawOctaveTable(canvas, reading);
      break;
    case 5:
      DrawThirdOctaveTable(canvas, reading);
      break;
    case 6:
    case 7:
      DrawBothTables(canvas, reading);
      break;
    default:
      break;
  }
}

}  // namespace halvane

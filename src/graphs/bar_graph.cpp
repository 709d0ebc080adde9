#include "graphs/bar_graph.h"

#include <algorithm>
#include <array>

#include "live/band_labels.h"
#include "live/live_screen.h"
#include "live/meter.h"
#include "records/record_mode.h"
#include "text/number_text.h"

namespace halvane {

namespace {

// The window's fixed-pitch face, so that the blank-padded columns line up.
constexpr Font kTextFont{8.25, false, true};
constexpr Font kBoldTextFont{8.25, true, true};
constexpr int kOctaveColour = 9;
constexpr int kMainBarColour = 9;
constexpr int kSubBarColour = 0;
constexpr int kCombinedOctaveColour = 15;
constexpr int kCentreThirdColour = 11;
constexpr int kThirdColour = 10;
constexpr Color kCursorColour{255, 0, 0};
// This window's own frame: axes at 90.6, no "dB" over the scale, every label in the window font.
constexpr BarFrameStyle kRecordFrame{90.6, kTextFont, kTextFont, false};

// Where a mode's groups of level fields start (fields counted from 1); 0 for a group it lacks.
struct BarLayout {
  std::size_t octave_first;
  std::size_t third_first;
  std::size_t sub_first;
};

constexpr std::size_t kMainFirst = 3;

std::optional<BarLayout> LayoutOf(std::string_view mode_text) {
  if (mode_text == "1/1 OCTAVE") {
    return BarLayout{13, 0, 24};
  }
  if (mode_text == "1/3 OCTAVE") {
    return BarLayout{0, 13, 46};
  }
  if (mode_text == "1/1 & 1/3 OCTAVE") {
    return BarLayout{13, 24, 57};
  }
  return std::nullopt;
}

// t preceded by blanks up to `width` characters; a longer text is kept whole.
std::string PadLeft(std::string_view text, std::size_t width) {
  return std::string(width > text.size() ? width - text.size() : 0, ' ') + std::string(text);
}

// A level text as the number its bar stands for; a text that is not a number draws no bar.
void DrawLevelBar(Canvas& canvas, const RecordFileInfo& info, std::string_view text, int colour,
                  int slot, bool third_octave) {
  const std::optional<double> value = ReadWholeNumber(text);
  if (!value) {
    return;
  }
  if (third_octave) {
    DrawThirdOctaveBar(canvas, *value, info.RecordRangeTop, info.RecordRangeBottom, colour, slot);
  } else {
    DrawOctaveBar(canvas, *value, info.RecordRangeTop, info.RecordRangeBottom, colour, slot);
  }
}

void DrawCursorLine(Canvas& canvas, double x) {
  canvas.Line({x, 18}, {x, 90}, Pen{kCursorColour, LineStyle::Dotted, 1});
}

std::string Readout(std::string_view mode, std::string_view band, std::string_view level) {
  return std::string(mode) + " " + PadLeft(band, 5) + " Hz " + std::string(level) + " dB";
}

// LP, Leq, LE, Lmax, Lmin, L05, L10, L50, L90, L95 of one channel, as the file writes them.
using ChannelItems = std::array<std::string, kChannelValues>;

// The ten statistics lines of one channel under its bold overall level.
void DrawStatistics(Canvas& canvas, double x, std::string_view channel, std::string_view freq,
                    std::string_view time, const ChannelItems& items) {
  const std::string prefix = "L" + std::string(freq);
  const std::string timed = prefix + std::string(time);
  canvas.Text({x, 105}, std::string(channel) + " " + timed + "    " + PadLeft(items[0], 6) + " dB",
              kBoldTextFont, kBlack);
  struct Row {
    double y;
    std::string label;
    std::size_t blanks;
  };
  const std::array<Row, 9> rows{{{115, prefix + "eq", 3},
                                 {120, prefix + "E", 4},
                                 {125, timed + "max", 1},
                                 {130, timed + "min", 1},
                                 {135, timed + "05", 2},
                                 {140, timed + "10", 2},
                                 {145, timed + "50", 2},
                                 {150, timed + "90", 2},
                                 {155, timed + "95", 2}}};
  for (std::size_t row = 0; row < rows.size(); ++row) {
    canvas.Text(
        {x, rows[row].y},
        rows[row].label + std::string(rows[row].blanks, ' ') + PadLeft(items[row + 1], 6) + " dB",
        kTextFont, kBlack);
  }
}

// The text of field `number` (from 1); a line that ends early reads as empty texts.
std::string_view Field(const std::vector<std::string>& fields, std::size_t number) {
  return number <= fields.size() ? std::string_view(fields[number - 1]) : std::string_view();
}

}  // namespace

std::optional<int> BandAt(double x, std::string_view mode_text) {
  const double from_first = x - 40;
  if (from_first < 0 || from_first >= 40.0 * kOctaveBands) {
    return std::nullopt;
  }
  const auto slot = static_cast<int>(from_first / 40);
  const double within = from_first - 40.0 * slot;
  if (within > 30) {
    return std::nullopt;  // the gap between two slots
  }
  if (mode_text.find("1/3") == std::string_view::npos) {
    return slot;
  }
  const int third = 3 * slot + std::min(2, static_cast<int>(within / 10));
  return third < static_cast<int>(kThirdOctaveBands) ? std::optional(third) : std::nullopt;
}

std::vector<BandLevel> BandLevelsOf(std::string_view mode_text,
                                    const std::vector<std::string>& fields) {
  std::vector<BandLevel> levels;
  const std::optional<BarLayout> layout = LayoutOf(mode_text);
  if (!layout) {
    return levels;
  }
  if (layout->octave_first != 0) {
    for (std::size_t k = 0; k < kOctaveBands; ++k) {
      levels.push_back(
          {OctaveBandLabels[k], "1/1 octave", Field(fields, layout->octave_first + k)});
    }
  }
  if (layout->third_first != 0) {
    for (std::size_t i = 0; i < kThirdOctaveBands; ++i) {
      levels.push_back(
          {ThirdOctaveBandLabels[i], "1/3 octave", Field(fields, layout->third_first + i)});
    }
  }
  return levels;
}

std::optional<std::vector<std::string>> ReadRecordFields(std::istream& in, std::int64_t record) {
  const std::int64_t wanted_line =
      static_cast<std::int64_t>(kFirstRecordLine) - 1 + std::max<std::int64_t>(record, 0);
  TextLineReader lines(in);
  std::string line;
  for (std::int64_t number = 1; number <= wanted_line; ++number) {
    if (!lines.Next(line)) {
      return std::nullopt;
    }
  }
  std::vector<std::string_view> views;
  SplitRecordFields(line, views);
  return std::vector<std::string>(views.begin(), views.end());
}

int MoveBandCursor(int band_cursor, int step, std::string_view mode_text) {
  const int last = mode_text.find("1/3") != std::string_view::npos
                       ? static_cast<int>(kThirdOctaveBands) - 1
                       : static_cast<int>(kOctaveBands) - 1;
  const int moved = band_cursor + step;
  if (moved < 0) {
    return last;
  }
  return moved > last ? 0 : moved;
}

void DrawBarGraph(Canvas& canvas, const RecordFileInfo& info,
                  const std::vector<std::string>* fields, int band_cursor) {
  canvas.Clear();
  canvas.Box({0, 0}, {kBarGraphWidthUnits, kBarGraphHeightUnits}, kWhite);
  DrawBarFrame(canvas, info.RecordRangeTop, info.RecordRangeBottom, info.RecordMainFreqWeighting,
               info.RecordSubFreqWeighting, kRecordFrame);
  if (fields == nullptr) {
    return;
  }
  const auto field = [fields](std::size_t number) { return Field(*fields, number); };
  // Only the band modes' fields are read: a record of any other mode shows no levels at all.
  ChannelItems main;
  ChannelItems sub;
  if (const std::optional<BarLayout> layout = LayoutOf(info.RecordMode)) {
    for (std::size_t item = 0; item < main.size(); ++item) {
      main[item] = field(kMainFirst + item);
    }
    const bool combined = layout->octave_first != 0 && layout->third_first != 0;
    std::array<std::string_view, kOctaveBands> octave_levels{};
    if (layout->octave_first != 0) {
      for (std::size_t k = 0; k < kOctaveBands; ++k) {
        octave_levels[k] = field(layout->octave_first + k);
        const int slot = static_cast<int>(k);
        DrawLevelBar(canvas, info, octave_levels[k],
                     combined ? kCombinedOctaveColour : kOctaveColour, slot, false);
        if (!combined && slot == band_cursor) {
          DrawCursorLine(canvas, 40.0 * slot + 55);
          canvas.Text({30, 10}, Readout(info.RecordMode, OctaveBandLabels[k], octave_levels[k]),
                      kBoldTextFont, kBlack);
        }
      }
    }
    if (layout->third_first != 0) {
      for (std::size_t i = 0; i < kThirdOctaveBands; ++i) {
        const std::string_view level = field(layout->third_first + i);
        const int band = static_cast<int>(i);
        DrawLevelBar(canvas, info, level, i % 3 == 1 ? kCentreThirdColour : kThirdColour, band,
                     true);
        if (band != band_cursor) {
          continue;
        }
        DrawCursorLine(
            canvas, 40.0 * static_cast<double>(1 + i / 3) + 10.0 * static_cast<double>(i % 3) + 5);
        if (combined) {
          canvas.Text({30, 10},
                      Readout("1/1 OCTAVE", OctaveBandLabels[i / 3], octave_levels[i / 3]),
                      kBoldTextFont, kBlack);
          canvas.Text({330, 10}, Readout("1/3 OCTAVE", ThirdOctaveBandLabels[i], level),
                      kBoldTextFont, kBlack);
        } else {
          canvas.Text({30, 10}, Readout(info.RecordMode, ThirdOctaveBandLabels[i], level),
                      kBoldTextFont, kBlack);
        }
      }
    }
    for (std::size_t item = 0; item < sub.size(); ++item) {
      sub[item] = field(layout->sub_first + item);
    }
    DrawLevelBar(canvas, info, sub[0], kSubBarColour, 12, false);
  }
  DrawLevelBar(canvas, info, main[0], kMainBarColour, 11, false);
  DrawStatistics(canvas, 30, "Main", info.RecordMainFreqWeighting, info.RecordMainTimeWeighting,
                 main);
  DrawStatistics(canvas, 330, "Sub", info.RecordSubFreqWeighting, info.RecordSubTimeWeighting, sub);
}

}  // namespace halvane

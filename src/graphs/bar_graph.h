#pragma once
// What the bar graph window draws of one record of a record file: the octave or third-octave
// spectrum, the two overall levels, the band cursor with its readout and the statistics of
// both channels, on a canvas of 560 x 160 units.

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/record_file_reader.h"
#include "ui/canvas.h"

namespace halvane {

inline constexpr double kBarGraphWidthUnits = 560;
inline constexpr double kBarGraphHeightUnits = 160;

// The fields of the line of `record`: line record + 16, so that record 0 or less reads the
// dash rule of line 16. Nullopt when the file ends before that line.
std::optional<std::vector<std::string>> ReadRecordFields(std::istream& in, std::int64_t record);

// The cursor moved by `step` bands; it wraps from the first band to the last and back. The last
// band is 32 for a mode text that contains "1/3", else 10.
int MoveBandCursor(int band_cursor, int step, std::string_view mode_text);

// Clears the canvas and draws the frame; with the record's fields also its bars, the cursor
// with its readout when the cursor marks a band of the mode, and the statistics.
void DrawBarGraph(Canvas& canvas, const RecordFileInfo& info,
                  const std::vector<std::string>* fields, int band_cursor);

// The band whose bar stands at `x` (chart units) in a mode text; the band cursor's numbering:
// an octave band, or a third-octave band for a mode text that contains "1/3". Nullopt off the
// bars.
std::optional<int> BandAt(double x, std::string_view mode_text);

// One band level of a record, as the file writes it.
struct BandLevel {
  std::string_view band;       // "31.5"
  std::string_view bandwidth;  // "1/1 octave" or "1/3 octave"
  std::string_view level;      // "  61.0"
};
// The band levels of a record's fields, octave bands first; none for a mode without bands.
// The views point into the fields and the band label tables.
std::vector<BandLevel> BandLevelsOf(std::string_view mode_text,
                                    const std::vector<std::string>& fields);

}  // namespace halvane

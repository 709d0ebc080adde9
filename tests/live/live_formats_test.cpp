// The lines of every live format for replies of every screen, written out whole: JSON lines,
// CSV with its header once, and influx line protocol.

#include "live/live_formats.h"

#include <gtest/gtest.h>

#include "tests/file_text.h"

namespace halvane {
namespace {

// A live reply of `mode` at range top 130 (bottom 40), main A and sub C, with level pairs set at
// their high bytes.
LiveSample Sample(int mode, const std::vector<std::pair<std::size_t, int>>& levels) {
  InputReportBuffer reply{};
  reply[4] = static_cast<std::uint8_t>(mode);
  reply[18] = 130;
  reply[19] = 0x10;
  for (const auto& [index, tenths] : levels) {
    reply[index] = static_cast<std::uint8_t>(tenths >> 8);
    reply[index + 1] = static_cast<std::uint8_t>(tenths & 0xFF);
  }
  return {.pc_time = "2026-01-02T03:04:05.678Z",
          .pc_time_ns = 1767323045678000000,
          .reading = DecodeLiveReply(reply)};
}

TEST(LiveFormatsTest, EachScreenCarriesItsOwnLevelsInEveryFormat) {
  constexpr int k1kOctave = 45 + 2 * 6, k1kThird = 67 + 2 * 19;
  // Levels of exactly 0 are what the meter shows as "---.-"; bar screens carry band levels above
  // the range bottom, tables the levels themselves; mode 8 measures nothing, and its clock's
  // month byte 0x1B is not BCD, which leaves meter_clock out.
  const std::vector<std::pair<std::size_t, int>> levels[] = {
      {{133, 0}, {25, 935}, {135, 612}, {k1kOctave, 500}},
      {{153, 700}, {159, 650}, {k1kOctave, 200}, {135, 612}},
      {{k1kThird, 155}},
      {{153, 700}},
      {{153, 700}, {k1kOctave, 200}},
      {{25, 0}, {k1kOctave, 200}},
      {{k1kThird, 0}},
      {{25, 0}, {k1kOctave, 200}, {k1kThird, 155}},
      {{153, 700}, {133, 700}, {k1kOctave, 200}, {6, 0x261B}}};
  std::string lines[3];
  const LiveFormat formats[] = {LiveFormat::JsonLines, LiveFormat::Csv, LiveFormat::Influx};
  for (int mode = 0; mode <= 8; ++mode) {
    for (std::size_t format = 0; format < 3; ++format) {
      lines[format] += LiveOutputLines(formats[format], Sample(mode, levels[mode]), mode == 0);
    }
  }
  test::ExpectDataFile("# JSON lines\n" + lines[0] + "# CSV\n" + lines[1] + "# Influx\n" + lines[2],
                       "live/formats.txt");
}

}  // namespace
}  // namespace halvane

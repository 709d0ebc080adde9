#include "live/live_formats.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <utility>

#include "tests/file_text.h"

namespace halvane {
namespace {

// A live reply of `mode` at range top 130 (bottom 40) with level pairs set at their high bytes.
LiveSample Sample(int mode, std::vector<std::pair<std::size_t, int>> levels) {
  InputReportBuffer reply{};
  reply[4] = static_cast<std::uint8_t>(mode);
  reply[18] = 130;
  reply[19] = 0x10;  // main A, sub C
  for (const auto& [index, tenths] : levels) {
    reply[index] = static_cast<std::uint8_t>(tenths >> 8);
    reply[index + 1] = static_cast<std::uint8_t>(tenths & 0xFF);
  }
  LiveSample sample;
  sample.pc_time = "2026-01-02T03:04:05.678Z";
  sample.pc_time_ns = 1767323045678000000;
  sample.reading = DecodeLiveReply(reply);
  return sample;
}

// A JSON line, even into an empty output: JSON lines have no header.
nlohmann::json JsonOf(const LiveSample& sample) {
  return nlohmann::json::parse(LiveOutputLines(LiveFormat::JsonLines, sample, true));
}

std::vector<std::string> CsvCells(const std::string& line) {
  std::vector<std::string> cells(1);
  for (const char c : line) {
    if (c == ',') {
      cells.emplace_back();
    } else {
      cells.back().push_back(c);
    }
  }
  return cells;
}

TEST(LiveFormatsTest, EachScreenCarriesItsOwnLevels) {
  constexpr int k1kOctave = 45 + 2 * 6, k1kThird = 67 + 2 * 19;
  struct Case {
    int mode;
    std::vector<std::pair<std::size_t, int>> levels;
    nlohmann::json main_level, sub_level, main_leq, octave_1k, third_1k;
  };
  const Case cases[] = {
      // The level meter: a level of exactly 0 is one the meter shows as "---.-".
      {0,
       {{133, 0}, {25, 935}, {135, 612}, {k1kOctave, 500}},
       nullptr,
       93.5,
       61.2,
       nullptr,
       nullptr},
      // Bar screens carry band levels above the range bottom.
      {1,
       {{153, 700}, {159, 650}, {k1kOctave, 200}, {135, 612}},
       70.0,
       65.0,
       nullptr,
       60.0,
       nullptr},
      {2, {{k1kThird, 155}}, nullptr, nullptr, nullptr, nullptr, 55.5},
      // Tables carry the levels themselves, and a band at 0 stays 0.
      {4, {{153, 700}, {k1kOctave, 200}}, 70.0, nullptr, nullptr, 20.0, nullptr},
      {6, {{k1kThird, 0}}, nullptr, nullptr, nullptr, 0.0, 0.0},
      // Not measuring: no levels at all.
      {8, {{153, 700}, {133, 700}, {k1kOctave, 200}}, nullptr, nullptr, nullptr, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    const nlohmann::json line = JsonOf(Sample(c.mode, c.levels));
    EXPECT_EQ(line["display_mode"], c.mode);
    EXPECT_EQ(line["main_level"], c.main_level) << c.mode;
    EXPECT_EQ(line["sub_level"], c.sub_level) << c.mode;
    EXPECT_EQ(line["main_leq"], c.main_leq) << c.mode;
    EXPECT_EQ(line["oct_1k"], c.octave_1k) << c.mode;
    EXPECT_EQ(line["third_1k"], c.third_1k) << c.mode;
    EXPECT_EQ(line["main_item"], "LAF");
    EXPECT_EQ(line["sub_item"], "LCF");
    EXPECT_EQ(line["range_bottom"], 40);
    EXPECT_EQ(line["time"], "2026-01-02T03:04:05.678Z");
  }
}

TEST(LiveFormatsTest, CsvColumnsStayTheSameInEveryMode) {
  const std::string header =
      test::TextLines(LiveOutputLines(LiveFormat::Csv, Sample(0, {}), true)).at(0);
  const std::vector<std::string> names = CsvCells(header);
  EXPECT_EQ(names.size(), 21u + 2 + 9 + 10 + 11 + 33);
  for (int mode = 0; mode <= 8; ++mode) {
    const LiveSample sample = Sample(mode, {{25, 0}, {45 + 2 * 6, 200}});
    const std::vector<std::string> lines =
        test::TextLines(LiveOutputLines(LiveFormat::Csv, sample, true));
    ASSERT_EQ(lines.size(), 2U) << mode;
    EXPECT_EQ(lines[0], header);
    EXPECT_EQ(test::TextLines(LiveOutputLines(LiveFormat::Csv, sample, false)),
              std::vector<std::string>{lines[1]});
    const std::vector<std::string> cells = CsvCells(lines[1]);
    ASSERT_EQ(cells.size(), names.size()) << mode;
    const auto cell = [&](std::string_view name) {
      return cells[std::find(names.begin(), names.end(), name) - names.begin()];
    };
    EXPECT_EQ(cell("sub_level"), "") << mode;  // 0, "---.-" on the meter
    EXPECT_EQ(cell("screen").empty(), false);
  }
}

TEST(LiveFormatsTest, InfluxLinesEscapeTagsAndLeaveOutAbsentValues) {
  const LiveSample sample = Sample(3, {{153, 700}});
  const std::string line = LiveOutputLines(LiveFormat::Influx, sample, true);
  EXPECT_EQ(line.rfind("halvane,screen=1/1\\ &\\ 1/3\\ OCT,main_freq_weighting=A,", 0), 0u) << line;
  EXPECT_NE(line.find(" display_mode=3i,"), std::string::npos);
  EXPECT_NE(line.find(",main_level=70,"), std::string::npos);
  EXPECT_NE(line.find(",meter_clock=\"2000-00-00T00:00:00\","), std::string::npos);
  EXPECT_EQ(line.find("sub_level"), std::string::npos);  // 0: shown as "---.-"
  EXPECT_EQ(line.find("main_leq"), std::string::npos);   // not carried on a bar screen
  EXPECT_TRUE(line.ends_with(" 1767323045678000000\n")) << line;
}

}  // namespace
}  // namespace halvane

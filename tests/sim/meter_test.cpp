#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <tuple>
#include <vector>

#include "link/reports.h"
#include "sim/simulated_meter.h"

namespace halvane {
namespace {

using namespace std::chrono_literals;
using ReplyBytes = std::vector<int>;
using Command = std::vector<std::uint8_t>;

constexpr std::array<std::uint8_t, kOutputReportSize> kLivePoll{0x00, 0x42};
constexpr std::uint8_t kSetting = 0x41;  // the command class of the settings
const InputReportBuffer kZeros{};        // the answer to a set command or a key

InputReportBuffer Poll(SimulatedMeter& meter) {
  meter.Receive(kLivePoll);
  return meter.TakeReply().value();
}

// Sends a command of this class and these bytes and takes its one reply.
InputReportBuffer Send(SimulatedMeter& meter, std::uint8_t command_class, Command bytes) {
  bytes.insert(bytes.begin(), {0x00, command_class});
  meter.Receive(bytes);
  const InputReportBuffer reply = meter.TakeReply().value();
  EXPECT_FALSE(meter.TakeReply().has_value()) << "a second reply to command " << int(bytes[2]);
  return reply;
}

ReplyBytes Slice(const InputReportBuffer& reply, std::size_t first, std::size_t count) {
  return {reply.begin() + first, reply.begin() + first + count};
}

// A level pair in tenths of a dB, high byte first.
int Tenths(const InputReportBuffer& reply, std::size_t high_index) {
  return reply[high_index] * 256 + reply[high_index + 1];
}
double Level(const InputReportBuffer& reply, std::size_t high_index) {
  return Tenths(reply, high_index) / 10.0;
}

// A meter on a wall clock moved by hand.
class SimTest : public ::testing::Test {
 protected:
  std::chrono::system_clock::time_point now =
      std::chrono::sys_days{2013y / 8 / 9} + 1h + 14min + 19s;
  SimulatedMeter::WallClock clock = [this] { return now; };
  SimulatedMeter meter{1, clock};
};

// Key bits: byte 2 low, byte 3 high.
constexpr std::uint16_t kFreq = 0x0001, kTime = 0x0002, kStore = 0x0008, kRight = 0x0040,
                        kLeft = 0x0080, kPause = 0x0100, kMode = 0x0200, kStartStop = 0x0800,
                        kOct = 0x1000, kMenu = 0x2000, kLevelDown = 0x4000;

// Byte `at` of the live reply after each press of `keys` in turn.
ReplyBytes AfterEach(SimulatedMeter& meter, const std::vector<std::uint16_t>& keys,
                     std::size_t at = 0) {
  ReplyBytes seen;
  for (const std::uint16_t key : keys) {
    EXPECT_EQ(Send(meter, 0x40, {std::uint8_t(key & 0xFF), std::uint8_t(key >> 8)}), kZeros);
    seen.push_back(Poll(meter)[at]);
  }
  return seen;
}

TEST_F(SimTest, KeysStepTheirSettingsRoundTheirCyclesAndStopAtTheirLimits) {
  EXPECT_EQ(AfterEach(meter, std::vector(4, kFreq), 19), (ReplyBytes{0x11, 0x12, 0x10, 0x11}));
  EXPECT_EQ(AfterEach(meter, std::vector(5, kTime), 20),
            (ReplyBytes{0x11, 0x12, 0x13, 0x10, 0x11}));
  EXPECT_EQ(AfterEach(meter, std::vector(8, kLevelDown), 18),
            (ReplyBytes{120, 110, 100, 90, 80, 70, 60, 60}));
  EXPECT_EQ(AfterEach(meter, std::vector(13, kRight), 22),
            (ReplyBytes{21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 32}));
  EXPECT_EQ(AfterEach(meter,
                      {kMode, kMode, kMode, kOct, kOct, kMode, kOct, kOct, kOct, kMode, kMode, kOct,
                       kOct, kMenu, kMode, kMenu},
                      4),
            (ReplyBytes{1, 4, 0, 1, 2, 5, 6, 4, 5, 0, 2, 3, 1, 8, 8, 1}));
  EXPECT_EQ(AfterEach(meter, std::vector(11, kLeft), 22),  // the 1/1 bars move by octaves
            (ReplyBytes{29, 26, 23, 20, 17, 14, 11, 8, 5, 2, 2}));
  const ReplyBytes status = Slice(Poll(meter), 1, 22);
  AfterEach(meter, {0x0004, 0x8000, 0x0003, 0x0101});  // ENTER, GRP, two keys at once: no key
  EXPECT_EQ(Slice(Poll(meter), 1, 22), status);
  EXPECT_EQ(AfterEach(meter, {kPause, kStartStop, kPause, kPause, kPause, kStartStop}, 2),
            (ReplyBytes{0x20, 0xA0, 0xE0, 0xA0, 0xE0, 0x20}));
}

TEST_F(SimTest, StartStopCountsRecordsAndTheMeasurementTimeRunsOnlyWhileRecordingUnpaused) {
  const auto records_and_time = [&] { return Slice(Poll(meter), 12, 5); };  // manual, auto, h m s
  AfterEach(meter, {kStore, kStartStop});  // STORE adds no manual record in automatic mode
  now += 1h + 12min + 35s;
  EXPECT_EQ(records_and_time(), (ReplyBytes{0, 1, 0x01, 0x12, 0x35}));
  for (int poll = 0; poll < 25; ++poll) {  // 25 polls 160 ms apart add 4 s
    now += 160ms;
    Poll(meter);
  }
  EXPECT_EQ(records_and_time(), (ReplyBytes{0, 1, 0x01, 0x12, 0x39}));
  for (const std::uint16_t pause_then_stop : {kPause, kStartStop}) {
    AfterEach(meter, {pause_then_stop});
    now += 1min;
    EXPECT_EQ(records_and_time(), (ReplyBytes{0, 1, 0x01, 0x12, 0x39}));
  }
  AfterEach(meter, {kStartStop});
  now += 7s;
  EXPECT_EQ(records_and_time(), (ReplyBytes{0, 2, 0, 0, 7}));
  Send(meter, kSetting, {0x08, 1});  // record manually
  AfterEach(meter, {kStartStop, kStartStop, kStore});
  EXPECT_EQ(records_and_time(), (ReplyBytes{2, 2, 0, 0, 0}));
}

// In turn on one meter, so that level trigger 2 keeps its own level; the erase spares the
// automatic records, and the live reply shows the SD card, manual recording and the time trigger.
TEST_F(SimTest, QueriesAnswerWhatWasSetOutOfRangeSetsAreIgnoredAndTheReplyShowsTheSettings) {
  // Each set after the first is out of range.
  for (const auto& [query, sets, answer] :
       std::vector<std::tuple<Command, std::vector<Command>, ReplyBytes>>{
           {{0x07, 0}, {{0x07, 2}, {0x07, 3}}, {2}},
           {{0x08, 0}, {{0x08, 1}, {0x08, 3}}, {1}},
           {{0x09, 0}, {{0x09, 4}, {0x09, 5}}, {4}},
           {{0x18, 0}, {{0x18, 3}, {0x18, 4}}, {3}},
           {{0x19, 0}, {{0x19, 4}, {0x19, 5}}, {4}},
           {{0x11}, {{0x12, 1, 5, 0}, {0x12, 24, 0, 0}, {0x12, 0, 0, 0}}, {1, 5, 0}},
           {{0x03}, {{0x04, 0, 2, 30}, {0x04, 0, 60, 0}, {0x04, 0, 0, 60}}, {0, 2, 30}},
           {{0x05}, {{0x06, 0, 0, 0}, {0x06, 23, 59, 60}}, {0, 0, 0}},
           {{0x13, 0}, {{0x13, 2}, {0x13, 3}}, {2}},
           {{0x14, 0}, {{0x14, 60, 16}, {0x14, 141, 16}, {0x14, 60, 34}}, {60, 16}},
           {{0x15, 0}, {{0x15, 2}, {0x15, 6}}, {2}},
           {{0x16, 0}, {{0x16, 95, 20}, {0x16, 141, 20}, {0x16, 95, 34}}, {95, 20}},
           {{0x15, 0}, {{0x15, 3}}, {3}},
           {{0x16, 0}, {}, {90, 33}},
           {{0x15, 0}, {{0x15, 5}}, {5}},
       }) {
    for (const Command& set : sets) {
      EXPECT_EQ(Send(meter, kSetting, set), kZeros) << "set commands answer zeros";
    }
    ReplyBytes padded = answer;
    padded.resize(kInputReportSize - 1);
    EXPECT_EQ(Slice(Send(meter, kSetting, query), 1, padded.size()), padded) << int(query[0]);
  }
  meter.State().auto_record_number = 7;
  meter.State().manual_record_number = 3;
  Send(meter, kSetting, {0x10, 1});
  const InputReportBuffer reply = Poll(meter);
  EXPECT_EQ(reply[1], 0x40);
  EXPECT_EQ(Slice(reply, 12, 2), (ReplyBytes{0, 7}));
  EXPECT_EQ(reply[17], 4);
}

TEST_F(SimTest, ComparatorOutputIsOnWhileEnabledAndTheBandLevelReachesTheThreshold) {
  meter.State().display_mode = 4;  // band levels as they are
  Send(meter, kSetting, {0x14, 1, 19});
  EXPECT_EQ(Poll(meter)[2] & 0x04, 0) << "disabled";
  Send(meter, kSetting, {0x13, 2});
  for (const std::uint8_t band : Command{19, 33}) {
    const std::size_t level_byte = band == 33 ? 153 : 67 + 2 * band;
    int on = 0;
    for (int poll = 0; poll < 100; ++poll) {  // a threshold at the last level: about half reach it
      const auto threshold = static_cast<std::uint8_t>(std::lround(Level(Poll(meter), level_byte)));
      Send(meter, kSetting, {0x14, threshold, band});
      const InputReportBuffer reply = Poll(meter);
      const bool reached = Tenths(reply, level_byte) >= 10 * threshold;
      EXPECT_EQ((reply[2] & 0x04) != 0, reached) << "band " << int(band) << " poll " << poll;
      on += reached ? 1 : 0;
    }
    EXPECT_GT(on, 20);
    EXPECT_LT(on, 80);
  }
}

TEST_F(SimTest, MeterKeepsTheReportsOnlyWhenAskedAndAnswersEachWithOneReply) {
  // Unasked, a meter polled for hours keeps nothing of the polls.
  meter.Receive(kLivePoll);
  EXPECT_TRUE(meter.ReceivedReports().empty());
  meter.TakeReply();
  meter.KeepReceivedReports();
  // A live poll, an unknown setting, one too short.
  const std::vector<Command> reports{{kLivePoll.begin(), kLivePoll.end()}, {0x00, 0x41, 0x17}, {0}};
  for (const Command& report : reports) {
    meter.Receive(report);
  }
  EXPECT_EQ(meter.ReceivedReports(), reports);
  EXPECT_EQ(meter.TakeReply().value()[18], 130);
  EXPECT_EQ(meter.TakeReply(), kZeros);
  EXPECT_EQ(meter.TakeReply(), kZeros);
  EXPECT_FALSE(meter.TakeReply().has_value());
}

TEST_F(SimTest, ClockRunsOnInPackedBcdFromTheTimeSetAndIgnoresTimesThatDoNotExist) {
  const auto live_clock = [&] { return Slice(Poll(meter), 6, 6); };
  const auto set_clock = [&](Command time) {
    time.insert(time.begin(), 0x02);
    EXPECT_EQ(Send(meter, kSetting, time), kZeros);
    return Slice(Send(meter, kSetting, {0x01}), 1, 6);
  };
  EXPECT_EQ(live_clock(), (ReplyBytes{0x13, 0x08, 0x09, 0x01, 0x14, 0x19}));
  now += 500ms;
  EXPECT_EQ(set_clock({0x23, 0x12, 0x31, 0x23, 0x59, 0x58}),
            (ReplyBytes{0x23, 0x12, 0x31, 0x23, 0x59, 0x58}));
  now += 2500ms;
  EXPECT_EQ(live_clock(), (ReplyBytes{0x24, 0x01, 0x01, 0x00, 0x00, 0x00}));
  for (const Command& impossible :  // no leap year, hour 24, a minute not in BCD
       {Command{0x23, 0x02, 0x29}, {0x23, 0x01, 0x01, 0x24}, {0x23, 0x01, 0x01, 0x12, 0x1A}}) {
    EXPECT_EQ(set_clock(impossible), (ReplyBytes{0x24, 0x01, 0x01, 0x00, 0x00, 0x00}));
  }
  now += 59 * 24h;  // 2024 is a leap year
  EXPECT_EQ(live_clock(), (ReplyBytes{0x24, 0x02, 0x29, 0x00, 0x00, 0x00}));
  now += 24h;
  EXPECT_EQ(live_clock(), (ReplyBytes{0x24, 0x03, 0x01, 0x00, 0x00, 0x00}));
}

constexpr std::size_t kOctaves = 45;  // 11 octave bands, then the 33 third-octave bands
constexpr std::size_t kThirds = 67;

// The energy sum in dB of `bands` level pairs from byte `first`.
double EnergySum(const InputReportBuffer& reply, std::size_t first, std::size_t bands) {
  double energy = 0.0;
  for (std::size_t band = 0; band < bands; ++band) {
    energy += std::pow(10.0, Level(reply, first + 2 * band) / 10.0);
  }
  return 10.0 * std::log10(energy);
}

// Over a run: a seed fixes the levels whatever the wall clock does, most polls move them, the
// main level stays plausible with the sub a few dB apart, the band levels add up to it, and the
// statistics stay ordered.
TEST_F(SimTest, LevelsRepeatForASeedMoveWanderPlausiblyAndKeepTheirStatisticsInOrder) {
  auto fast = now;
  SimulatedMeter twin(1, [&fast] { return fast; });
  SimulatedMeter other_seed(2, clock);
  meter.State().display_mode = twin.State().display_mode = 6;  // with the band levels as they are
  constexpr int kPolls = 2000;
  int moves = 0, inside = 0;
  double lowest = 200.0, highest = 0.0, sub_apart = 0.0;
  InputReportBuffer reply{};
  for (int poll = 1; poll <= kPolls; ++poll) {
    fast += 1h;
    const int previous = Tenths(reply, 153);
    reply = Poll(meter);
    const ReplyBytes levels =
        Slice(reply, 17, 144);  // all after the clock and the measurement time
    EXPECT_EQ(levels, Slice(Poll(twin), 17, 144)) << "poll " << poll;
    EXPECT_NE(levels, Slice(Poll(other_seed), 17, 144)) << "poll " << poll;
    const double lp = Level(reply, 153);
    moves += Tenths(reply, 153) != previous ? 1 : 0;
    inside += lp >= 44.0 && lp <= 91.0 ? 1 : 0;
    lowest = std::min(lowest, lp);
    highest = std::max(highest, lp);
    sub_apart += std::abs(Level(reply, 159) - lp) / kPolls;
    EXPECT_NEAR(EnergySum(reply, kThirds, 33), lp, 0.2);  // the bands add up to the main Lp
    EXPECT_NEAR(EnergySum(reply, kOctaves, 11), lp, 0.2);
    for (const std::size_t leq : {135u, 27u}) {  // main, sub: Leq LE Lmax Lmin L05 L10 L50 L90 L95
      const auto item = [&](std::size_t after_leq) { return Level(reply, leq + 2 * after_leq); };
      const std::array ascending{item(3), item(8), item(7), item(6), item(5), item(4), item(2)};
      EXPECT_TRUE(std::is_sorted(ascending.begin(), ascending.end())) << "poll " << poll;
      EXPECT_TRUE(item(3) <= item(0) && item(0) <= item(2)) << "poll " << poll;
      EXPECT_NEAR(item(1), item(0) + 10.0 * std::log10(poll * 0.16), 0.15);
    }
  }
  EXPECT_GE(moves, kPolls * 3 / 4);  // most polls move the level by a tenth or more
  EXPECT_GE(inside, kPolls * 99 / 100);
  EXPECT_GE(lowest, 44.0);
  EXPECT_GT(highest - lowest, 15.0);
  EXPECT_GT(sub_apart, 1.0);
  EXPECT_LT(sub_apart, 8.0);
  EXPECT_DOUBLE_EQ(Level(reply, 139), highest);
  EXPECT_DOUBLE_EQ(Level(reply, 141), lowest);
}

TEST(LiveReplyLayout, EachScreenFamilyCarriesItsOwnBandsItemsAndCursorReadouts) {
  // The range bottom; the cursor and its octave as the screens number it, -1 for none.
  for (const auto& [range_top, bottom, cursor, octave] :
       {std::tuple{130, 40, 20, 6}, {120, 30, 19, 5}, {110, 20, 1, -1}, {100, 20, 33, -1}}) {
    SCOPED_TRACE(range_top);
    std::array<InputReportBuffer, 3> replies{};  // SLM, 1/3 bars, both tables
    for (std::size_t family = 0; family < 3; ++family) {
      SimulatedMeter meter(5);
      const int mode = std::array{0, 2, 6}[family];
      meter.State() = {
          .display_mode = mode, .range_top = range_top, .item_code = 3, .band_cursor = cursor};
      for (int poll = 0; poll < 10; ++poll) {  // until the sub Leq and Lp part
        replies[family] = Poll(meter);
      }
    }
    const auto& [slm, bars, table] = replies;
    EXPECT_EQ(Tenths(slm, 45), Tenths(slm, 153));   // the level bar: main Lp
    EXPECT_EQ(Tenths(slm, 133), Tenths(slm, 139));  // main current value: main Lmax
    EXPECT_EQ(Tenths(slm, 25), Tenths(slm, 31));    // sub current value: sub Lmax
    EXPECT_TRUE(std::all_of(slm.begin() + 47, slm.begin() + 133, [](auto b) { return b == 0; }));
    int bars_above_bottom = 0;
    for (std::size_t index = kOctaves; index <= 131; index += 2) {
      EXPECT_EQ(Tenths(bars, index), std::max(0, Tenths(table, index) - 10 * bottom)) << index;
      bars_above_bottom += Tenths(bars, index) > 0 ? 1 : 0;
    }
    EXPECT_GT(bars_above_bottom, 20);
    // The bar screens put the all-pass levels where the other screens have sub values.
    EXPECT_EQ(Tenths(bars, 25), Tenths(bars, 153));
    EXPECT_EQ(Tenths(bars, 27), Tenths(bars, 159));
    EXPECT_NE(Tenths(table, 27), Tenths(table, 159));
    // Cursor readouts: octave and third, as they are; the 1/3 bars have the third only.
    EXPECT_EQ(Tenths(table, 155), octave < 0 ? 0 : Tenths(table, kOctaves + 2 * octave));
    EXPECT_EQ(Tenths(table, 157), cursor < 33 ? Tenths(table, kThirds + 2 * cursor) : 0);
    EXPECT_EQ(Slice(bars, 155, 4), (ReplyBytes{table[157], table[158], table[157], table[158]}));
  }
}

}  // namespace
}  // namespace halvane

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "sim/simulated_meter.h"
#include "sim_test_support.h"

namespace halvane {
namespace {

constexpr std::size_t kOctaveBands = 45;
constexpr std::size_t kThirdOctaveBands = 67;

double EnergySum(const InputReportBuffer& reply, std::size_t first, std::size_t bands) {
  double energy = 0.0;
  for (std::size_t band = 0; band < bands; ++band) {
    energy += std::pow(10.0, Level(reply, first + 2 * band) / 10.0);
  }
  return 10.0 * std::log10(energy);
}

TEST(LiveReplyStatus, DefaultStateIsReportedByteByByte) {
  SimulatedMeter meter;
  const InputReportBuffer reply = Poll(meter);
  // ID, flash + automatic, USB, -, mode, battery; then trigger, range top, weightings (sub C/S,
  // main A/F), item, cursor.
  EXPECT_EQ((std::vector<int>(reply.begin(), reply.begin() + 6)),
            (std::vector<int>{0, 0x80, 0x20, 0, 0, 4}));
  EXPECT_EQ((std::vector<int>(reply.begin() + 17, reply.begin() + 23)),
            (std::vector<int>{0, 130, 0x10, 0x10, 1, 20}));
}

TEST(LiveReplyStatus, EachFlagSetsItsOwnBit) {
  struct Flag {
    bool MeterState::*member;
    std::size_t byte;
    std::uint8_t bit;
  };
  for (const Flag& flag : {Flag{&MeterState::memory_full, 1, 0x08},
                           {&MeterState::auto_memory_full, 1, 0x10},
                           {&MeterState::record_manually, 1, 0x40},
                           {&MeterState::recording, 2, 0x80},
                           {&MeterState::paused, 2, 0x40},
                           {&MeterState::stopped, 2, 0x08}}) {
    SimulatedMeter meter;
    meter.State().storage_is_flash = false;
    meter.State().usb_active = false;
    meter.State().*flag.member = true;
    const InputReportBuffer reply = Poll(meter);
    EXPECT_EQ(reply[flag.byte], flag.bit) << "byte " << flag.byte;
    EXPECT_EQ(reply[flag.byte == 1 ? 2 : 1], 0);
  }
}

TEST(LiveReplyLayout, SoundLevelMeterScreenCarriesBarAndSelectedItems) {
  SimulatedMeter meter;
  meter.State().item_code = 3;  // Lmax
  Poll(meter);
  const InputReportBuffer reply = Poll(meter);
  EXPECT_EQ(Tenths(reply, 45), Tenths(reply, 153));   // bar = main Lp
  EXPECT_EQ(Tenths(reply, 133), Tenths(reply, 139));  // main current value = main Lmax
  EXPECT_EQ(Tenths(reply, 25), Tenths(reply, 31));    // sub current value = sub Lmax
  EXPECT_TRUE(std::all_of(reply.begin() + 47, reply.begin() + 133, [](auto b) { return b == 0; }));
}

TEST(LiveReplyLayout, BarScreensHoldBandsAboveRangeBottomTableScreensTheLevel) {
  for (const auto& [range_top, bottom] : {std::pair{130, 40}, {120, 30}, {110, 20}, {100, 20}}) {
    SimulatedMeter bars(5);
    SimulatedMeter table(5);
    bars.State().display_mode = 3;
    table.State().display_mode = 6;
    bars.State().range_top = table.State().range_top = range_top;
    InputReportBuffer bar_reply{};
    InputReportBuffer table_reply{};
    for (int poll = 0; poll < 10; ++poll) {  // until the sub Leq and Lp part
      bar_reply = Poll(bars);
      table_reply = Poll(table);
    }
    int bars_above_bottom = 0;
    for (std::size_t index = kOctaveBands; index <= 131; index += 2) {
      EXPECT_EQ(Tenths(bar_reply, index), std::max(0, Tenths(table_reply, index) - 10 * bottom))
          << "range top " << range_top << " byte " << index;
      bars_above_bottom += Tenths(bar_reply, index) > 0 ? 1 : 0;
    }
    EXPECT_GT(bars_above_bottom, 20);
    // The bar screens put the all-pass levels where the other screens have sub values.
    EXPECT_EQ(Tenths(bar_reply, 25), Tenths(bar_reply, 153));
    EXPECT_EQ(Tenths(bar_reply, 27), Tenths(bar_reply, 159));
    EXPECT_NE(Tenths(table_reply, 27), Tenths(table_reply, 159));
  }
}

TEST(LiveReplyLayout, BandEnergiesAddUpToTheMainAllPassLevel) {
  SimulatedMeter meter;
  meter.State().display_mode = 7;
  for (int poll = 0; poll < 20; ++poll) {
    const InputReportBuffer reply = Poll(meter);
    const double all_pass = Level(reply, 153);
    EXPECT_NEAR(EnergySum(reply, kThirdOctaveBands, 33), all_pass, 0.2);
    EXPECT_NEAR(EnergySum(reply, kOctaveBands, 11), all_pass, 0.2);
    EXPECT_NEAR(EnergySum(reply, kThirdOctaveBands + 2 * 18, 3), Level(reply, kOctaveBands + 12),
                0.2);
  }
}

TEST(LiveReplyLayout, CursorLevelsHoldTheCursorsOctaveAsTheScreensNumberItAndItsThird) {
  SimulatedMeter meter;
  meter.State().display_mode = 4;
  InputReportBuffer reply = Poll(meter);  // default cursor 20: octave (20 + 1) / 3 - 1 = 6, 1 kHz
  EXPECT_EQ(Tenths(reply, 155), Tenths(reply, kOctaveBands + 2 * 6));
  EXPECT_EQ(Tenths(reply, 157), Tenths(reply, kThirdOctaveBands + 2 * 20));
  meter.State().band_cursor = 19;
  reply = Poll(meter);
  EXPECT_EQ(Tenths(reply, 155), Tenths(reply, kOctaveBands + 2 * 5));
  meter.State().band_cursor = 1;  // below the first octave
  reply = Poll(meter);
  EXPECT_EQ(Tenths(reply, 155), 0);
  EXPECT_EQ(Tenths(reply, 157), Tenths(reply, kThirdOctaveBands + 2 * 1));

  meter.State().display_mode = 2;  // one readout only: the third-octave level, not shifted
  meter.State().band_cursor = 19;
  reply = Poll(meter);
  EXPECT_EQ(Tenths(reply, 155), Tenths(reply, 157));
  EXPECT_EQ(Tenths(reply, 157), Tenths(reply, kThirdOctaveBands + 2 * 19) + 400);

  meter.State().band_cursor = 33;
  reply = Poll(meter);
  EXPECT_EQ(Tenths(reply, 155) + Tenths(reply, 157), 0);
}

}  // namespace
}  // namespace halvane

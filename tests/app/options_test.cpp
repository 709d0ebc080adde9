#include "app/options.h"

#include <gtest/gtest.h>

namespace halvane {
namespace {

TEST(OptionsTest, NoOptionsLooksForTheInstrumentUnderTheDefaultIds) {
  const ParsedOptions parsed = ParseOptions({});
  ASSERT_TRUE(parsed.options);
  EXPECT_FALSE(parsed.options->simulate);
  EXPECT_EQ(parsed.options->device.vendor, MeterVendorId);
  EXPECT_EQ(parsed.options->device.product, MeterProductId);
  EXPECT_TRUE(parsed.options->trace_file.empty());
}

TEST(OptionsTest, EveryOptionIsTaken) {
  const ParsedOptions parsed = ParseOptions(
      {"--sim-sd", "a.set", "b.set", "--simulate", "--device", "1A2b:0x00ff", "--sim-sd", "c.set",
       "--trace", "t.txt", "--sim-flash", "f.bin", "--sim-pace", "25", "--version"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_TRUE(parsed.options->simulate);
  EXPECT_EQ(parsed.options->device.vendor, 0x1A2B);
  EXPECT_EQ(parsed.options->device.product, 0x00FF);
  EXPECT_EQ(parsed.options->trace_file, "t.txt");
  EXPECT_TRUE(parsed.options->show_version);
  EXPECT_EQ(parsed.options->sim_flash_file, "f.bin");
  EXPECT_EQ(parsed.options->sim_pace_ms, 25);
  EXPECT_EQ(parsed.options->sim_sd_files,
            (std::vector<std::filesystem::path>{"a.set", "b.set", "c.set"}));
}

TEST(OptionsTest, WrongCommandLinesAreRefusedWithAReason) {
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
           {"--device"},
           {"--device", "0483"},
           {"--device", "0483:"},
           {"--device", "12345:1"},
           {"--device", "-1:5"},
           {"--device", "xyz:1"},
           {"--trace"},
           {"--simulate", "--sim-flash"},
           {"--simulate", "--sim-sd", "--trace", "t.txt"},
           {"--sim-flash", "f.bin"},  // loads nothing without the simulated meter
           {"--sim-sd", "a.set"},
           {"--simulate", "--sim-pace", "-5"},
           {"--sim-pace", "20"},
           {"--frobnicate"},
       }) {
    const ParsedOptions parsed = ParseOptions(arguments);
    EXPECT_FALSE(parsed.options) << arguments.back();
    EXPECT_FALSE(parsed.error.empty());
  }
}

}  // namespace
}  // namespace halvane

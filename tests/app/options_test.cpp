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
  const ParsedOptions parsed =
      ParseOptions({"--simulate", "--device", "1A2b:0x00ff", "--trace", "t.txt", "--version"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_TRUE(parsed.options->simulate);
  EXPECT_EQ(parsed.options->device.vendor, 0x1A2B);
  EXPECT_EQ(parsed.options->device.product, 0x00FF);
  EXPECT_EQ(parsed.options->trace_file, "t.txt");
  EXPECT_TRUE(parsed.options->show_version);
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
           {"--frobnicate"},
       }) {
    const ParsedOptions parsed = ParseOptions(arguments);
    EXPECT_FALSE(parsed.options) << arguments.back();
    EXPECT_FALSE(parsed.error.empty());
  }
}

}  // namespace
}  // namespace halvane

// Runs a test program under the comma-decimal locale that LOCPATH and LC_ALL name (see
// tests/CMakeLists.txt), and fails it when the C library did not take that locale: a test that
// quietly ran in the "C" locale would prove nothing about numbers.

#include <gtest/gtest.h>

#include <clocale>

namespace {

class CommaDecimalLocale : public testing::Environment {
 public:
  void SetUp() override {
    // As QCoreApplication does on start-up; a program without one takes the locale here. The
    // checks are not fatal, so that the tests run and the program fails rather than skips them.
    EXPECT_NE(std::setlocale(LC_ALL, ""), nullptr)
        << "the locale LC_ALL names is not in LOCPATH; run the tests through ctest";
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
  }
};

const testing::Environment* const kCommaDecimalLocale =
    testing::AddGlobalTestEnvironment(new CommaDecimalLocale);

}  // namespace

// Fails a test program whose comma-decimal locale (LOCPATH and LC_ALL, tests/CMakeLists.txt) did
// not load: a test quietly run in the "C" locale would prove nothing about numbers.

#include <gtest/gtest.h>

#include <clocale>

namespace {

class CommaDecimalLocale : public testing::Environment {
 public:
  void SetUp() override {
    // As QCoreApplication does. Not fatal: the program then fails instead of skipping its tests.
    EXPECT_NE(std::setlocale(LC_ALL, ""), nullptr)
        << "the locale LC_ALL names is not in LOCPATH; run the tests through ctest";
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    // Numbers are what these programs test; the C library's messages stay English so that
    // tests can name them.
    std::setlocale(LC_MESSAGES, "C");
  }
};

const testing::Environment* const kCommaDecimalLocale =
    testing::AddGlobalTestEnvironment(new CommaDecimalLocale);

}  // namespace

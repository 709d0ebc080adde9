#include "control/typed_number.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace halvane {

namespace {

std::string WithoutBlanks(std::string_view text) {
  std::string kept;
  for (char c : text) {
    if (c != ' ' && c != '\t') {
      kept.push_back(c);
    }
  }
  return kept;
}

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The length of the longest prefix of `text` that forms a number: sign, digits, an optional
// fraction and an optional exponent.
std::size_t NumberLength(const std::string& text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    ++i;
  }
  const std::size_t digits_start = i;
  while (i < text.size() && IsDigit(text[i])) {
    ++i;
  }
  bool any_digit = i > digits_start;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fraction_start = ++i;
    while (i < text.size() && IsDigit(text[i])) {
      ++i;
    }
    any_digit = any_digit || i > fraction_start;
  }
  if (!any_digit) {
    return 0;
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      ++j;
    }
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) {
        ++j;
      }
      i = j;
    }
  }
  return i;
}

double ParsePrefix(const std::string& text, std::size_t length) {
  // Too large a number reads as infinity, which every range check then refuses or clamps.
  return std::strtod(text.substr(0, length).c_str(), nullptr);
}

// The last two characters of `text`, or all of it when it is shorter.
std::string LastTwoCharacters(std::string_view text) {
  return std::string(text.substr(text.size() > 2 ? text.size() - 2 : 0));
}

}  // namespace

double ReadNumber(std::string_view text) {
  return ReadNumberIfAny(text).value_or(0);
}

std::optional<double> ReadNumberIfAny(std::string_view text) {
  const std::string kept = WithoutBlanks(text);
  const std::size_t length = NumberLength(kept);
  if (length == 0) {
    return std::nullopt;
  }
  return ParsePrefix(kept, length);
}

std::optional<double> ReadWholeNumber(std::string_view text) {
  const std::string kept = WithoutBlanks(text);
  const std::size_t length = NumberLength(kept);
  if (length == 0 || length != kept.size()) {
    return std::nullopt;
  }
  return ParsePrefix(kept, length);
}

double RoundHalfEven(double value) {
  return std::nearbyint(value);
}

// Formatted into a buffer: joining "0" + std::to_string(value) trips GCC 12's -Wrestrict false
// positive on the inlined concatenation at -O3.
std::string TwoDigitDecimal(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "0%d", value);
  return LastTwoCharacters(text);
}

std::string TwoDigitHex(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "0%X", static_cast<unsigned>(value));
  return LastTwoCharacters(text);
}

}  // namespace halvane

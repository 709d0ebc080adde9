#include "text/number_text.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

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
  return c >= '0' && c <= '9';
}

// What a number too large or too small for a double stands for: infinity when its leading digit
// lies above the ones, which every range check then refuses or clamps; 0 otherwise. `number` is
// digits with an optional point and exponent, as std::from_chars took them.
double OutOfRangeValue(std::string_view number) {
  const std::size_t e = std::min(number.find_first_of("eE"), number.size());
  long exponent = 0;
  if (e < number.size()) {
    std::string_view digits = number.substr(e + 1);
    const bool negative = digits.starts_with('-');
    if (negative || digits.starts_with('+')) {
      digits.remove_prefix(1);
    }
    if (std::from_chars(digits.data(), digits.data() + digits.size(), exponent).ec != std::errc()) {
      exponent = std::numeric_limits<int>::max();
    }
    exponent = negative ? -exponent : exponent;
  }
  const std::string_view mantissa = number.substr(0, e);
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t leading = mantissa.find_first_of("123456789");
  if (leading == std::string_view::npos) {
    return 0;
  }
  const long magnitude = leading < point ? static_cast<long>(point - leading) - 1
                                         : -static_cast<long>(leading - point);
  return magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0;
}

struct NumberPrefix {
  double value = 0;
  std::size_t length = 0;  // the characters the number takes
};

// The number at the start of `text`: a sign, digits, an optional fraction and exponent.
std::optional<NumberPrefix> ReadPrefix(std::string_view text) {
  const bool negative = text.starts_with('-');
  const std::size_t sign = negative || text.starts_with('+') ? 1 : 0;
  const std::string_view body = text.substr(sign);
  // std::from_chars also reads "inf" and "nan"; a number starts with a digit or a point.
  if (body.empty() || !(IsDigit(body.front()) || body.front() == '.')) {
    return std::nullopt;
  }
  double value = 0;
  const auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (error == std::errc::invalid_argument) {
    return std::nullopt;
  }
  const auto length = static_cast<std::size_t>(end - body.data());
  if (error == std::errc::result_out_of_range) {
    value = OutOfRangeValue(body.substr(0, length));
  }
  return NumberPrefix{negative ? -value : value, sign + length};
}

// The last two characters of `text`, or all of it when it is shorter.
std::string LastTwoCharacters(std::string_view text) {
  return std::string(text.substr(text.size() > 2 ? text.size() - 2 : 0));
}

std::string ZeroThenDigits(int value, int base) {
  std::array<char, 16> text{'0'};
  const auto end = std::to_chars(text.data() + 1, text.data() + text.size(), value, base).ptr;
  std::string digits(text.data(), end);
  for (char& c : digits) {
    c = c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return LastTwoCharacters(digits);
}

}  // namespace

double ReadNumber(std::string_view text) {
  return ReadNumberIfAny(text).value_or(0);
}

std::optional<double> ReadNumberIfAny(std::string_view text) {
  const std::optional<NumberPrefix> number = ReadPrefix(WithoutBlanks(text));
  if (!number) {
    return std::nullopt;
  }
  return number->value;
}

std::optional<double> ReadWholeNumber(std::string_view text) {
  const std::string kept = WithoutBlanks(text);
  const std::optional<NumberPrefix> number = ReadPrefix(kept);
  if (!number || number->length != kept.size()) {
    return std::nullopt;
  }
  return number->value;
}

double RoundHalfEven(double value) {
  return std::nearbyint(value);
}

std::string FixedPointText(double value, int decimals) {
  std::array<char, 400> text{};  // the longest double written in full
  const auto end = std::to_chars(text.data(), text.data() + text.size(), value,
                                 std::chars_format::fixed, decimals)
                       .ptr;
  return std::string(text.data(), end);
}

std::string TwoDigitDecimal(int value) {
  return ZeroThenDigits(value, 10);
}

std::string TwoDigitHex(int value) {
  return ZeroThenDigits(value, 16);
}

bool IsTwoDecimalDigits(std::string_view text) {
  return text.size() == 2 && std::isdigit(static_cast<unsigned char>(text[0])) &&
         std::isdigit(static_cast<unsigned char>(text[1]));
}

}  // namespace halvane

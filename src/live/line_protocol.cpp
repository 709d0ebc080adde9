#include "live/line_protocol.h"

#include <array>
#include <charconv>
#include <cmath>

namespace halvane {

namespace {

// Backslashes before the characters that end a measurement, a tag or a field key.
void AppendEscaped(std::string& out, std::string_view text, std::string_view special) {
  for (const char c : text) {
    if (special.find(c) != std::string_view::npos) {
      out += '\\';
    }
    out += c;
  }
}

constexpr std::string_view kNameSpecials = ",= \\";

}  // namespace

LineProtocolLine::LineProtocolLine(std::string_view measurement) {
  AppendEscaped(head_, measurement, ", \\");
}

LineProtocolLine& LineProtocolLine::Tag(std::string_view key, std::string_view value) {
  if (!value.empty()) {
    head_ += ',';
    AppendEscaped(head_, key, kNameSpecials);
    head_ += '=';
    AppendEscaped(head_, value, kNameSpecials);
  }
  return *this;
}

LineProtocolLine& LineProtocolLine::Field(std::string_view key, double value) {
  if (!std::isfinite(value)) {
    return *this;
  }
  std::array<char, 400> text{};  // as long as the longest double in fixed form
  const auto result =
      std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  return AddField(key, std::string_view(text.data(), result.ptr));
}

LineProtocolLine& LineProtocolLine::Field(std::string_view key, std::int64_t value) {
  return AddField(key, std::to_string(value).append("i"));
}

LineProtocolLine& LineProtocolLine::Field(std::string_view key, bool value) {
  return AddField(key, value ? "true" : "false");
}

LineProtocolLine& LineProtocolLine::Field(std::string_view key, std::string_view text) {
  std::string quoted = "\"";
  AppendEscaped(quoted, text, "\"\\");
  quoted += '"';
  return AddField(key, quoted);
}

LineProtocolLine& LineProtocolLine::AddField(std::string_view key, std::string_view value_text) {
  if (!fields_.empty()) {
    fields_ += ',';
  }
  AppendEscaped(fields_, key, kNameSpecials);
  fields_ += '=';
  fields_ += value_text;
  return *this;
}

std::string LineProtocolLine::Text(std::int64_t timestamp_ns) const {
  if (fields_.empty()) {
    return {};
  }
  std::string line = head_;
  line += ' ';
  line += fields_;
  line += ' ';
  line += std::to_string(timestamp_ns);
  line += '\n';
  return line;
}

}  // namespace halvane

#include "records/kept_names.h"

#include <array>
#include <cstdio>

#include "records/sd_set.h"

namespace halvane {

namespace {

// `start` is a date and a time of day, "2025/01/14 09:30:00"; each becomes its digits.
std::string KeptName(const char* kind, std::size_t number, std::string_view start) {
  std::array<char, 32> prefix{};
  std::snprintf(prefix.data(), prefix.size(), "%s-%03zu-", kind, number);
  std::string name = prefix.data();
  for (const char c : start) {
    if (c >= '0' && c <= '9') {
      name += c;
    } else if (c == ' ') {
      name += '-';
    }
  }
  return name + ".txt";
}

}  // namespace

std::string KeptRecordName(std::size_t number, const LoggerRecord& record) {
  return KeptName("record", number, record.start_date + " " + record.start_time);
}

std::string KeptSetName(std::size_t number, std::string_view set_text, std::uint32_t set_length) {
  return KeptName("set", number, ParseSetHeader(set_text, set_length).lines.start_time);
}

}  // namespace halvane

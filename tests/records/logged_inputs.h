#pragma once
// Set texts and flash records laid out byte by byte in the tests, independently of the code
// that reads them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace halvane::test {

// A text of `length` blanks with pieces put at character positions (from 1).
class PositionedText {
 public:
  explicit PositionedText(std::size_t length) : text_(length, ' ') {}
  PositionedText& Put(std::size_t position, std::string_view piece) {
    text_.replace(position - 1, piece.size(), piece);
    return *this;
  }
  std::string& Text() { return text_; }

 private:
  std::string text_;
};

// An SD set header of length `header_length` with the fields the record file needs.
inline PositionedText SetHeader(std::size_t header_length, std::string_view mode_text,
                                std::string_view trigger_text, std::uint32_t set_length) {
  PositionedText header(header_length);
  const std::string length{static_cast<char>(set_length >> 24), static_cast<char>(set_length >> 16),
                           static_cast<char>(set_length >> 8), static_cast<char>(set_length)};
  header.Put(1, length)
      .Put(66, "2013/08/09")
      .Put(77, "10:20:30")
      .Put(107, "A")
      .Put(130, "F")
      .Put(152, "C")
      .Put(174, "S")
      .Put(217, " 40")
      .Put(224, "130")
      .Put(244, mode_text)
      .Put(267, "g")
      .Put(280, "00:00:01")
      .Put(307, "00:10:00")
      .Put(334, trigger_text)
      .Put(368, " 85.0 dB")
      .Put(394, "1kHz    ");
  return header;
}

// A flash record header of 39 bytes.
struct FlashHeader {
  std::uint32_t samples = 2;
  std::uint8_t flags = 0;
  std::uint8_t mode = 0;
  std::uint8_t range_top = 130;
  std::uint8_t trigger_mode = 0;
  std::uint8_t trigger_band = 6;
  std::uint8_t trigger_level = 85;
  std::array<std::uint8_t, 3> start_time{0x23, 0x59, 0x30};  // BCD
  std::array<std::uint8_t, 3> step{0, 1, 0};                 // plain h, m, s

  // Weightings A S (main) and Z I (sub), period 1:30:00, date 2013/08/09, trigger time
  // 12:00:05, bytes 28 and 32 as 0x77 and 0x88.
  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> bytes(39, 0);
    const auto put = [&bytes](std::size_t offset, std::initializer_list<int> values) {
      for (const int value : values) {
        bytes[offset++] = static_cast<std::uint8_t>(value);
      }
    };
    put(0, {0x00, 0x55, 0xAA, 0x00, static_cast<int>(samples >> 24),
            static_cast<int>(samples >> 16 & 0xFF), static_cast<int>(samples >> 8 & 0xFF),
            static_cast<int>(samples & 0xFF), flags, 0x00, 0x01, mode, range_top});
    put(14, {0x13,
             0x08,
             0x09,
             start_time[0],
             start_time[1],
             start_time[2],
             step[0],
             step[1],
             step[2],
             1,
             30,
             0,
             0x02,
             0x03,
             0x77,
             step[0],
             step[1],
             step[2],
             0x88,
             trigger_mode,
             trigger_band,
             trigger_level,
             12,
             0,
             5});
    return bytes;
  }
};

}  // namespace halvane::test

#pragma once
// Set texts and flash records laid out byte by byte in the tests, independently of the code
// that reads them.

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
  std::vector<std::uint8_t> start_time{0x23, 0x59, 0x30};  // BCD
  std::vector<std::uint8_t> step{0, 1, 0};                 // plain h, m, s

  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> bytes{0x00,
                                    0x55,
                                    0xAA,
                                    0x00,
                                    static_cast<std::uint8_t>(samples >> 24),
                                    static_cast<std::uint8_t>(samples >> 16),
                                    static_cast<std::uint8_t>(samples >> 8),
                                    static_cast<std::uint8_t>(samples),
                                    flags,
                                    0x00 /* A */,
                                    0x01 /* S */,
                                    mode,
                                    range_top,
                                    0,
                                    0x13,
                                    0x08,
                                    0x09};
    bytes.insert(bytes.end(), start_time.begin(), start_time.end());
    bytes.insert(bytes.end(), step.begin(), step.end());  // interval
    bytes.insert(bytes.end(), {1, 30, 0});                // period
    bytes.insert(bytes.end(), {0x02 /* Z */, 0x03 /* I */, 0x77});
    bytes.insert(bytes.end(), step.begin(), step.end());  // integration time
    bytes.insert(bytes.end(), {0x88, trigger_mode, trigger_band, trigger_level, 12, 0, 5});
    return bytes;
  }
};

}  // namespace halvane::test

#include "sim/uhid/report_descriptors.h"

#include "link/reports.h"

namespace halvane {

namespace {

constexpr std::uint8_t Low(std::size_t value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}
constexpr std::uint8_t High(std::size_t value) {
  return static_cast<std::uint8_t>(value >> 8);
}

}  // namespace

std::vector<std::uint8_t> MeterReportDescriptor(bool numbered_input) {
  constexpr std::size_t kOutputBytes = kOutputReportSize - 1;  // without the report ID
  constexpr std::size_t kInputBytes = kInputReportSize - 1;
  std::vector<std::uint8_t> descriptor{
      0x06,
      0x00,
      0xFF,  // usage page 0xFF00 (vendor-defined)
      0x09,
      0x01,  // usage 1
      0xA1,
      0x01,  // collection (application)
      0x15,
      0x00,
      0x26,
      0xFF,  // logical minimum 0, maximum 255
      0x00,
      0x75,
      0x08,  // 8 bits a field
      0x96,
      Low(kOutputBytes),
      High(kOutputBytes),
      0x09,
      0x01,
      0x91,
      0x02,  // the output report
  };
  if (numbered_input) {
    descriptor.push_back(0x85);  // report ID 1 from here on
    descriptor.push_back(0x01);
  }
  // Appended a byte at a time: GCC 12 at -O3 misreads an insert of a list here as overrunning.
  for (const std::uint8_t byte :
       {std::uint8_t{0x96}, Low(kInputBytes), High(kInputBytes), std::uint8_t{0x09},
        std::uint8_t{0x01}, std::uint8_t{0x81}, std::uint8_t{0x02},  // the input report
        std::uint8_t{0xC0}}) {                                       // end of the collection
    descriptor.push_back(byte);
  }
  return descriptor;
}

std::vector<std::uint8_t> KeyboardReportDescriptor() {
  return {
      0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,  // generic desktop page, keyboard, collection
      0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7,  // key codes of the modifiers
      0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02,  // 8 modifier bits
      0x95, 0x01, 0x75, 0x08, 0x81, 0x01,                          // a reserved byte
      0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x25, 0x65,              // six key codes
      0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00,              //
      0xC0,                                                        // end of the collection
  };
}

}  // namespace halvane

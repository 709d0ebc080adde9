#pragma once
// The report descriptors the devices on uhid give the kernel's HID core, which takes from them
// the report lengths, the numbering and the usage page that hidraw and hidapi report.

#include <cstdint>
#include <vector>

namespace halvane {

// The meter: one collection on a vendor-defined page, 16 bytes out and 160 in, all unnumbered;
// `numbered_input` puts the input report under report ID 1 (the output report keeps none).
std::vector<std::uint8_t> MeterReportDescriptor(bool numbered_input);

// A keyboard's collection (generic desktop page): modifier bits, a reserved byte, six key codes.
std::vector<std::uint8_t> KeyboardReportDescriptor();

}  // namespace halvane

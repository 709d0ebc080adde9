// Windows only: the report lengths of a HID collection from its capabilities.

#include <windows.h>

// The HID headers need windows.h first, and hidpi.h needs the USAGE type of hidusage.h.
#include <hidusage.h>
// After hidusage.h.
#include <hidpi.h>
#include <hidsdi.h>

#include <vector>

#include "link/device_report_layout.h"

namespace halvane {

namespace {

template <typename Caps, typename GetCaps>
bool AnyReportId(USHORT count, GetCaps get_caps, PHIDP_PREPARSED_DATA preparsed) {
  std::vector<Caps> caps(count);
  if (count == 0 || get_caps(HidP_Input, caps.data(), &count, preparsed) != HIDP_STATUS_SUCCESS) {
    return false;
  }
  for (USHORT i = 0; i < count; ++i) {
    if (caps[i].ReportID != 0) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::optional<ReportLayout> DeviceReportLayout(const std::string& path) {
  // No access is needed to ask for the capabilities.
  HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return std::nullopt;
  }
  std::optional<ReportLayout> layout;
  PHIDP_PREPARSED_DATA preparsed = nullptr;
  if (HidD_GetPreparsedData(handle, &preparsed)) {
    HIDP_CAPS caps{};
    if (HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS) {
      const bool numbered =
          AnyReportId<HIDP_VALUE_CAPS>(caps.NumberInputValueCaps, HidP_GetValueCaps, preparsed) ||
          AnyReportId<HIDP_BUTTON_CAPS>(caps.NumberInputButtonCaps, HidP_GetButtonCaps, preparsed);
      layout = ReportLayout{caps.InputReportByteLength, caps.OutputReportByteLength, numbered,
                            caps.UsagePage};
    }
    HidD_FreePreparsedData(preparsed);
  }
  CloseHandle(handle);
  return layout;
}

}  // namespace halvane

#include "control/meter_clock.h"

#include <array>

#include "control/meter_commands.h"
#include "text/number_text.h"

namespace halvane {

namespace {

std::string JoinFields(const std::array<std::string, 6>& fields) {
  return fields[0] + "/" + fields[1] + "/" + fields[2] + " " + fields[3] + ":" + fields[4] + ":" +
         fields[5];
}

}  // namespace

std::string MeterTimeCaption(const InputReportBuffer& answer) {
  return JoinFields({TwoDigitHex(answer[1]), TwoDigitHex(answer[2]), TwoDigitHex(answer[3]),
                     TwoDigitHex(answer[4]), TwoDigitHex(answer[5]), TwoDigitHex(answer[6])});
}

std::string PcTimeCaption(const ClockFields& time) {
  return JoinFields({TwoDigitDecimal(time.year % 100), TwoDigitDecimal(time.month),
                     TwoDigitDecimal(time.day), TwoDigitDecimal(time.hour),
                     TwoDigitDecimal(time.minute), TwoDigitDecimal(time.second)});
}

void FillReadClockCommand(OutputReportBuffer& report) {
  FillCommand(report, kSettingClass, {setting::kReadClock});
}

void FillSetClockCommand(OutputReportBuffer& report, const ClockFields& time) {
  FillCommand(report, kSettingClass,
              {setting::kSetClock, ToPackedBcd(time.year % 100), ToPackedBcd(time.month),
               ToPackedBcd(time.day), ToPackedBcd(time.hour), ToPackedBcd(time.minute),
               ToPackedBcd(time.second)});
}

}  // namespace halvane

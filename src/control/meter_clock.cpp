#include "control/meter_clock.h"

#include <array>

#include "control/meter_commands.h"
#include "text/number_text.h"

namespace halvane {

namespace {

// Year, month, day, hour, minute and second with a date separator, the separator between date
// and time, and ":" in the time.
std::string JoinFields(const std::array<std::string, 6>& fields, const std::string& date = "/",
                       const std::string& middle = " ") {
  return fields[0] + date + fields[1] + date + fields[2] + middle + fields[3] + ":" + fields[4] +
         ":" + fields[5];
}

// The answer's six packed BCD bytes, each as its two hexadecimal digits.
std::array<std::string, 6> AnswerFields(const InputReportBuffer& answer) {
  return {TwoDigitHex(answer[1]), TwoDigitHex(answer[2]), TwoDigitHex(answer[3]),
          TwoDigitHex(answer[4]), TwoDigitHex(answer[5]), TwoDigitHex(answer[6])};
}

}  // namespace

std::string MeterTimeCaption(const InputReportBuffer& answer) {
  return JoinFields(AnswerFields(answer));
}

std::string MeterTimeIso8601(const InputReportBuffer& answer) {
  std::array<std::string, 6> fields = AnswerFields(answer);
  fields[0].insert(0, "20");
  return JoinFields(fields, "-", "T");
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

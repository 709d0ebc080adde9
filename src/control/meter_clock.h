#pragma once
// The meter clock's commands and captions. Every clock field travels as one packed BCD byte:
// the two decimal digits of the value are the two hexadecimal digits of the byte.

#include <string>

#include "link/reports.h"

namespace halvane {

// The pause after setting the clock before the meter is asked anything: a clock read that
// follows sooner is not to be sent.
inline constexpr int kAfterClockSetMs = 2000;

struct ClockFields {
  int year = 0;  // only the last two digits count
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// "YY/MM/DD hh:mm:ss" from bytes 1 to 6 of the meter's answer to the clock read, each byte
// written as two hexadecimal digits.
std::string MeterTimeCaption(const InputReportBuffer& answer);

// The same as ISO 8601 in the meter's own time: "20YY-MM-DDThh:mm:ss".
std::string MeterTimeIso8601(const InputReportBuffer& answer);

// "YY/MM/DD hh:nn:ss" of a PC time, two decimal digits a field.
std::string PcTimeCaption(const ClockFields& time);

void FillReadClockCommand(OutputReportBuffer& report);
// 0x41 0x02 and the six fields, year first, each packed BCD.
void FillSetClockCommand(OutputReportBuffer& report, const ClockFields& time);

}  // namespace halvane

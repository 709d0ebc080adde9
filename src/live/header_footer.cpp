#include <string>

#include "live/live_screen.h"
#include "live/screen_parts.h"

namespace halvane {
namespace {

constexpr Pen kRulePen{kBlack, LineStyle::Solid, 1};

// A record number as four digits, "0042".
std::string FourDigits(int number) {
  std::string digits = std::to_string(number);
  if (digits.size() < 4) {
    digits.insert(0, 4 - digits.size(), '0');
  }
  return digits;
}

void DrawBattery(Canvas& canvas, int level) {
  canvas.Box({1, 117.5}, {14, 119.5}, kBlack);
  canvas.Box({14, 118}, {16, 119}, kBlack);
  if (level == 0) {
    canvas.Box({2, 118}, {4, 119}, ConsoleColor(12));
    return;
  }
  if (level < 1 || level > 4) {
    return;
  }
  for (int segment = 0; segment < level; ++segment) {
    const double x = 2 + 3.0 * segment;
    canvas.Box({x, 118}, {x + 2, 119}, ConsoleColor(14));
  }
}

void DrawFlag(Canvas& canvas, double box_left, double box_right, std::string_view text) {
  DrawBadge(canvas, {box_left, 117.5}, {box_right, 119.5}, ConsoleColor(12), {box_left + 1, 117.5},
            text, kSmallBoldFont);
}

}  // namespace

void DrawHeader(Canvas& canvas, const LiveReading& reading) {
  canvas.Line({0, 5}, {canvas.Width(), 5}, kRulePen);
  canvas.Line({0, 12}, {canvas.Width(), 12}, kRulePen);
  canvas.Box({0, 5}, {170, 12}, kBlack);
  canvas.Box({230, 5}, {300, 12}, kBlack);
  canvas.Box({410, 5}, {480, 12}, kBlack);

  if (const auto trigger = TriggerDisplayFor(reading.TriggerMode)) {
    canvas.Text({235, 6}, std::string(trigger->tag), kBadgeFont, kYellow);
  }
  canvas.Text({420, 6}, reading.StorageIsFlash ? "FL" : "sd", kBadgeFont, kYellow);
  canvas.Text({460, 6}, reading.RecordManually ? "M" : "A", kBadgeFont, kWhite);

  const auto& time = reading.MeasurementTime;
  canvas.Text({310, 7}, time[0] + ":" + time[1] + ":" + time[2], kReadoutFont, kBlack);
  const int record_number =
      reading.RecordManually ? reading.ManualRecordNumber : reading.AutoRecordNumber;
  canvas.Text({500, 7}, FourDigits(record_number), kReadoutFont, kBlack);
}

void DrawFooter(Canvas& canvas, const LiveReading& reading) {
  canvas.Line({0, 117}, {canvas.Width(), 117}, kRulePen);
  DrawBattery(canvas, reading.BatteryLevel);
  if (reading.MemoryFull) {
    DrawFlag(canvas, 24, 48, "MFull");
  }
  if (reading.AutoMemoryFull) {
    DrawFlag(canvas, 56, 82, "AFull");
  }
  if (reading.ComparatorOutput) {
    DrawFlag(canvas, 90, 106, "Cmp");
  }

  const auto& clock = reading.MeterClock;
  std::string date_time;
  date_time.reserve(17);
  date_time.append(clock[0]).append("/").append(clock[1]).append("/").append(clock[2]);
  date_time.append(" ").append(clock[3]).append(":").append(clock[4]).append(":").append(clock[5]);
  const double x = canvas.Width() - canvas.TextWidth("YY/MM/DD HH:NN:SS", kSmallFont);
  canvas.Text({x, 117.5}, std::move(date_time), kSmallFont, kBlack);
}

}  // namespace halvane

#pragma once
// The History window's table of the current day, made by the same statistics as
// halvane-cli monitor: each hour so far with the Leq, Lmax and L90 of both channels, Lday,
// Levening, Lnight and Lden so far, and the exceedances of the limit. Hours are split where a
// channel's quantity changed, as the monitor splits its periods.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "history/history_poll.h"
#include "monitor/meter_monitor.h"

namespace halvane {

inline constexpr std::array<const char*, 10> kDayTableColumns{
    "What", "From", "To", "Channel", "Quantity", "Leq", "Lmax", "L90", "SEL", "Covered"};
using DayTableRow = std::array<std::string, kDayTableColumns.size()>;

class DayTable {
 public:
  DayTable();

  // One poll, with its reading or without (the meter did not answer).
  void Record(PollTime time, const LiveReading* reading);
  // Exceedances of this level from now on; none without one.
  void SetLimit(std::optional<double> limit_db);

  // The rows as of the latest poll: hours, the parts of the day, then the events.
  std::vector<DayTableRow> Rows() const;
  // The header and the rows as comma-separated values, CR LF line ends.
  std::string CsvText() const;

 private:
  void Keep(const MonitorRecords& records);

  MeterMonitor monitor_;
  std::optional<WallMs> day_start_ms_;
  WallMs latest_ms_ = 0;             // the wall time of the latest poll
  std::vector<PeriodResult> hours_;  // today's, done
  std::vector<ExceedanceEvent> events_;
};

}  // namespace halvane

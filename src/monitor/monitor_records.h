#pragma once
// The monitor's results as lines: CSV and JSON lines for the files, line protocol for the
// time-series database and the MQTT broker. Times are local ISO 8601 with the UTC offset in the
// files; the line protocol stamps each point with the start of what it covers, so that the same
// result sent again is the same point.

#include <string>
#include <string_view>

#include "live/live_formats.h"
#include "monitor/meter_monitor.h"

namespace halvane {

enum class MonitorFileKind { kPeriods, kDays, kEvents, kGaps };
inline constexpr std::array<std::string_view, 4> kMonitorFileNames{"periods", "days", "events",
                                                                   "gaps"};

// What every file and stream of results says first: the definitions its values follow.
inline constexpr std::string_view kLevelDefinitions =
    "Leq: time-weighted energy mean of the Lp readings; L5 to L95: the level exceeded for N % "
    "of the time";

// "30s", "15m", "1h".
std::string PeriodName(WallMs period_ms);

// The named values of each kind of result, for `serial`.
std::vector<LiveField> PeriodFields(std::string_view serial, const PeriodResult& period);
std::vector<LiveField> DayFields(std::string_view serial, const DayResult& day);
std::vector<LiveField> EventFields(std::string_view serial, const ExceedanceEvent& event);
std::vector<LiveField> GapFields(std::string_view serial, const GapRecord& gap);

// The first lines of a results file of `format` (a comment line with the definitions and the
// header for CSV, a metadata object for JSON lines).
std::string MonitorFileHead(LiveFormat format, MonitorFileKind kind);
// One result as a line of `format` (CSV or JSON lines).
std::string MonitorLine(LiveFormat format, const std::vector<LiveField>& fields);

// The line protocol of the results, and of the live levels of a reading; kind is what the
// MQTT topic ends with.
struct FeedLines {
  std::string kind;  // "period", "day", "event", "gap", "live"
  std::string lines;
};
std::vector<FeedLines> FeedLinesOf(std::string_view site, std::string_view serial,
                                   const MonitorRecords& records,
                                   const std::vector<MonitorReading>& readings);

}  // namespace halvane

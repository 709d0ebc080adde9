#pragma once
// The unattended monitoring of one meter: its polls turned into period results, day levels,
// exceedance events and the ledger of the time without readings. Each reading stands for the
// time up to the next poll, at most kLongestStepMs; the rest of a longer wait is a gap.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "acoustics/day_levels.h"
#include "acoustics/exceedance_events.h"
#include "acoustics/period_results.h"
#include "monitor/monitor_reading.h"

namespace halvane {

struct GapRecord {
  WallMs start_ms = 0;
  WallMs end_ms = 0;
  std::string reason;
};

inline constexpr std::string_view kGapMeterAway = "the meter did not answer";
inline constexpr std::string_view kGapNoPoll = "no poll (the program was held up)";
inline constexpr std::string_view kGapNotRunning = "the program was not running";

struct MonitorRecords {
  std::vector<PeriodResult> periods;
  std::vector<DayResult> days;
  std::vector<ExceedanceEvent> events;
  std::vector<GapRecord> gaps;

  bool Empty() const { return periods.empty() && days.empty() && events.empty() && gaps.empty(); }
};

struct MonitorSettings {
  // The hour is always added: the hourly table of the day.
  std::vector<WallMs> periods_ms{15 * 60 * kSecondMs};
  std::optional<EventLimit> limit;
  DayParts day_parts;
};

// What the last run on the same state left behind.
struct PreviousRun {
  WallMs readings_until_ms = 0;  // where its readings ended, as far as it recorded
  bool closed = false;           // it ended cleanly and wrote its periods up to readings_until_ms
};

class MeterMonitor {
 public:
  static constexpr WallMs kLongestStepMs = 500;

  // After `previous`, the time up to the first reading is a gap; the periods continue where
  // its results ended: at its end when it closed, else at the start of the periods it had
  // open, whose readings are lost.
  MeterMonitor(const MonitorSettings& settings, std::optional<PreviousRun> previous);

  void Answered(const MonitorReading& reading, MonitorRecords& out);
  // A poll at `time_ms` that the meter did not answer.
  void Missed(WallMs time_ms, MonitorRecords& out);
  // Ends the run at `time_ms`: the open periods, the day so far and an event under way.
  void Close(WallMs time_ms, MonitorRecords& out);

  // Exceedances of `limit` from now on; none without one. A run under way ends.
  void SetLimit(std::optional<EventLimit> limit, MonitorRecords& out);
  // The periods of the main and sub channels as they stand at `now`, not yet over.
  std::vector<PeriodResult> OpenPeriods(WallMs now) const;

  // Where the readings so far end; nullopt before the first.
  std::optional<WallMs> CoveredUntil() const { return covered_until_; }
  // The day as it stands at `now`, with the hour under way.
  std::vector<DayResult> DaySoFar(WallMs now) const;

 private:
  struct Channel {
    std::vector<PeriodAccumulator> periods;  // by settings' period, then the hour
    std::optional<EventDetector> events;
  };
  Channel& ChannelNamed(const std::string& name);
  // The pending reading stands for the time up to `next_poll_ms`, at most kLongestStepMs.
  void Settle(WallMs next_poll_ms, MonitorRecords& out);
  void Feed(const std::string& name, WallMs from, WallMs to, const ChannelLevel& level,
            MonitorRecords& out);
  void AddGap(WallMs start, WallMs end, std::string_view reason, MonitorRecords& out);
  void AdvanceAll(WallMs now, MonitorRecords& out);
  // Moves `results` into `out`, and the hours into the day levels.
  void TakePeriods(const std::string& name, std::vector<PeriodResult>& results,
                   MonitorRecords& out);

  MonitorSettings settings_;
  std::optional<PreviousRun> previous_;
  std::map<std::string, Channel> channels_;
  DayLevels days_;
  std::optional<MonitorReading> pending_;
  std::optional<WallMs> covered_until_;  // the end of the last reading's time
  std::string_view gap_reason_ = kGapNoPoll;
};

}  // namespace halvane

#include "history/day_table.h"

#include <cmath>

#include "acoustics/level_statistics_text.h"

namespace halvane {

namespace {

constexpr std::array<const char*, 3> kDayPartNames{"Lday", "Levening", "Lnight"};

MonitorSettings HoursOnly() {
  MonitorSettings settings;
  settings.periods_ms = {kHourMs};
  return settings;
}

std::string ClockText(WallMs time) {
  return LocalIsoTime(time).substr(11, 8);
}

std::string PercentText(double fraction) {
  return std::to_string(std::lround(fraction * 100)) + " %";
}

std::string Cell(const std::optional<double>& level) {
  return level ? LevelText(level) : std::string();
}

DayTableRow HourRow(const PeriodResult& hour) {
  const double length = static_cast<double>(hour.end_ms - hour.start_ms);
  return {"hour",
          ClockText(hour.start_ms),
          ClockText(hour.end_ms),
          hour.channel,
          hour.quantity,
          Cell(hour.statistics.leq),
          Cell(hour.statistics.lmax),
          Cell(hour.statistics.Exceeded(90)),
          "",
          PercentText(length > 0 ? static_cast<double>(hour.covered_ms) / length : 0)};
}

}  // namespace

DayTable::DayTable() : monitor_(HoursOnly(), std::nullopt) {}

void DayTable::Keep(const MonitorRecords& records) {
  for (const PeriodResult& period : records.periods) {
    if (period.channel == kChannelNames[0] || period.channel == kChannelNames[1]) {
      hours_.push_back(period);
    }
  }
  events_.insert(events_.end(), records.events.begin(), records.events.end());
}

void DayTable::Record(PollTime time, const LiveReading* reading) {
  const WallMs day_start = LocalDayStart(time.wall_ms);
  if (day_start_ms_ != day_start) {
    day_start_ms_ = day_start;
    hours_.clear();
    events_.clear();
  }
  latest_ms_ = time.wall_ms;
  MonitorRecords records;
  if (reading != nullptr) {
    monitor_.Answered(MonitorReadingOf(LiveSampleAt(std::chrono::system_clock::time_point(
                                                        std::chrono::milliseconds(time.wall_ms)),
                                                    *reading)),
                      records);
  } else {
    monitor_.Missed(time.wall_ms, records);
  }
  Keep(records);
}

void DayTable::SetLimit(std::optional<double> limit_db) {
  MonitorRecords records;
  monitor_.SetLimit(limit_db ? std::optional(EventLimit{*limit_db, 0}) : std::nullopt, records);
  Keep(records);
}

std::vector<DayTableRow> DayTable::Rows() const {
  std::vector<DayTableRow> rows;
  for (const PeriodResult& hour : hours_) {
    rows.push_back(HourRow(hour));
  }
  for (const PeriodResult& hour : monitor_.OpenPeriods(latest_ms_)) {
    rows.push_back(HourRow(hour));
  }
  for (const DayResult& day : monitor_.DaySoFar(latest_ms_)) {
    for (std::size_t part = 0; part < day.parts.size(); ++part) {
      rows.push_back({kDayPartNames[part], "", "", day.channel, day.quantity,
                      Cell(day.parts[part].level), "", "", "",
                      PercentText(day.parts[part].Coverage())});
    }
    rows.push_back({"Lden", "", "", day.channel, day.quantity, Cell(day.lden), "", "", "", ""});
  }
  for (const ExceedanceEvent& event : events_) {
    rows.push_back({"event", ClockText(event.start_ms), ClockText(event.end_ms), event.channel,
                    event.quantity, Cell(event.leq), Cell(event.lmax), "", Cell(event.sel), ""});
  }
  return rows;
}

std::string DayTable::CsvText() const {
  std::string text;
  const auto add_row = [&text](const auto& cells) {
    for (std::size_t column = 0; column < cells.size(); ++column) {
      if (column > 0) {
        text += ',';
      }
      text += cells[column];
    }
    text += "\r\n";
  };
  add_row(kDayTableColumns);
  for (const DayTableRow& row : Rows()) {
    add_row(row);
  }
  return text;
}

}  // namespace halvane

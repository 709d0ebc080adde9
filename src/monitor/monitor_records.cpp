#include "monitor/monitor_records.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "live/line_protocol.h"

namespace halvane {

namespace {

constexpr std::array<std::string_view, 3> kDayPartNames{"lday", "levening", "lnight"};

// Results are given to 0.01 dB and fractions to 0.0001: the readings have 0.1 dB.
// (Divided, not multiplied by the step, so that the result is the double nearest the decimal.)
double Rounded(double value, double per_unit) {
  return std::round(value * per_unit) / per_unit;
}

LiveValue Level(const std::optional<double>& level) {
  return level ? LiveValue(Rounded(*level, 100)) : LiveValue();
}

double Seconds(WallMs ms) {
  return static_cast<double>(ms) / kSecondMs;
}

std::int64_t Nanoseconds(WallMs ms) {
  return ms * 1'000'000;
}

std::vector<LiveField> NamesOf(MonitorFileKind kind) {
  switch (kind) {
    case MonitorFileKind::kPeriods:
      return PeriodFields({}, {});
    case MonitorFileKind::kDays:
      return DayFields({}, {});
    case MonitorFileKind::kEvents:
      return EventFields({}, {});
    case MonitorFileKind::kGaps:
      break;
  }
  return GapFields({}, {});
}

// Adds the numbers of `fields` from `first_value` on to `line` as fields; texts and absent
// values are left out, since VictoriaMetrics drops texts.
void AddNumbers(LineProtocolLine& line, const std::vector<LiveField>& fields) {
  for (const LiveField& field : fields) {
    if (const double* number = std::get_if<double>(&field.value)) {
      line.Field(field.name, *number);
    } else if (const std::int64_t* count = std::get_if<std::int64_t>(&field.value)) {
      line.Field(field.name, *count);
    }
  }
}

}  // namespace

std::string PeriodName(WallMs period_ms) {
  const WallMs seconds = period_ms / kSecondMs;
  if (seconds % 3600 == 0) {
    return std::to_string(seconds / 3600) + "h";
  }
  return seconds % 60 == 0 ? std::to_string(seconds / 60) + "m" : std::to_string(seconds) + "s";
}

std::vector<LiveField> PeriodFields(std::string_view serial, const PeriodResult& period) {
  std::vector<LiveField> fields{
      {"serial", std::string(serial)},
      {"channel", period.channel},
      {"period_s", std::int64_t{period.period_ms / kSecondMs}},
      {"start", LocalIsoTime(period.start_ms)},
      {"end", LocalIsoTime(period.end_ms)},
      {"quantity", period.quantity},
      {"leq", Level(period.statistics.leq)},
      {"lmax", Level(period.statistics.lmax)},
      {"lmin", Level(period.statistics.lmin)},
  };
  for (std::size_t i = 0; i < kExceededPercents.size(); ++i) {
    std::string name = "l";
    name += std::to_string(kExceededPercents[i]);
    fields.push_back({name, Level(period.statistics.exceeded[i])});
  }
  fields.push_back({"samples", std::int64_t{period.samples}});
  fields.push_back({"covered_s", Seconds(period.covered_ms)});
  fields.push_back({"missing_s", Seconds(period.missing_ms)});
  fields.push_back({"note", period.note});
  return fields;
}

std::vector<LiveField> DayFields(std::string_view serial, const DayResult& day) {
  std::vector<LiveField> fields{
      {"serial", std::string(serial)},
      {"date", LocalDate(day.start_ms)},
      {"start", LocalIsoTime(day.start_ms)},
      {"end", LocalIsoTime(day.end_ms)},
      {"channel", day.channel},
      {"quantity", day.quantity},
  };
  for (std::size_t part = 0; part < day.parts.size(); ++part) {
    const std::string name(kDayPartNames[part]);
    fields.push_back({name, Level(day.parts[part].level)});
    fields.push_back({name + "_coverage", Rounded(day.parts[part].Coverage(), 10'000)});
  }
  fields.push_back({"lden", Level(day.lden)});
  fields.push_back({"note", day.note});
  return fields;
}

std::vector<LiveField> EventFields(std::string_view serial, const ExceedanceEvent& event) {
  return {{"serial", std::string(serial)},
          {"channel", event.channel},
          {"quantity", event.quantity},
          {"start", LocalIsoTime(event.start_ms)},
          {"end", LocalIsoTime(event.end_ms)},
          {"duration_s", Seconds(event.end_ms - event.start_ms)},
          {"leq", Level(event.leq)},
          {"lmax", Level(event.lmax)},
          {"sel", Level(event.sel)}};
}

std::vector<LiveField> GapFields(std::string_view serial, const GapRecord& gap) {
  return {{"serial", std::string(serial)},
          {"start", LocalIsoTime(gap.start_ms)},
          {"end", LocalIsoTime(gap.end_ms)},
          {"duration_s", Seconds(gap.end_ms - gap.start_ms)},
          {"reason", gap.reason}};
}

std::string MonitorFileHead(LiveFormat format, MonitorFileKind kind) {
  const std::string_view name = kMonitorFileNames[static_cast<std::size_t>(kind)];
  if (format == LiveFormat::Csv) {
    return "# Halvane " + std::string(name) + "; " + std::string(kLevelDefinitions) + "\n" +
           CsvHeaderLine(NamesOf(kind));
  }
  nlohmann::ordered_json head{
      {"type", "metadata"}, {"file", name}, {"definitions", kLevelDefinitions}};
  return head.dump() + "\n";
}

std::string MonitorLine(LiveFormat format, const std::vector<LiveField>& fields) {
  return format == LiveFormat::Csv ? CsvLine(fields) : JsonLine(fields);
}

std::vector<FeedLines> FeedLinesOf(std::string_view site, std::string_view serial,
                                   const MonitorRecords& records,
                                   const std::vector<MonitorReading>& readings) {
  const auto line = [&](std::string_view measurement, std::string_view channel) {
    LineProtocolLine result(measurement);
    result.Tag("site", site).Tag("serial", serial).Tag("channel", channel);
    return result;
  };
  FeedLines periods{"period", {}}, days{"day", {}}, events{"event", {}}, gaps{"gap", {}},
      live{"live", {}};
  for (const PeriodResult& period : records.periods) {
    // The period's length is a tag too: a minute and the hour that starts with it are two
    // points of one time.
    LineProtocolLine point = line("halvane_period", period.channel);
    point.Tag("period", PeriodName(period.period_ms));
    AddNumbers(point, PeriodFields(serial, period));
    periods.lines += point.Text(Nanoseconds(period.start_ms));
  }
  for (const DayResult& day : records.days) {
    LineProtocolLine point = line("halvane_day", day.channel);
    AddNumbers(point, DayFields(serial, day));
    days.lines += point.Text(Nanoseconds(day.start_ms));
  }
  for (const ExceedanceEvent& event : records.events) {
    LineProtocolLine point = line("halvane_event", event.channel);
    AddNumbers(point, EventFields(serial, event));
    events.lines += point.Text(Nanoseconds(event.start_ms));
  }
  for (const GapRecord& gap : records.gaps) {
    LineProtocolLine point = line("halvane_gap", "");
    AddNumbers(point, GapFields(serial, gap));
    gaps.lines += point.Text(Nanoseconds(gap.start_ms));
  }
  for (const MonitorReading& reading : readings) {
    for (std::size_t channel = 0; channel < kChannelNames.size(); ++channel) {
      if (const auto& lp = reading.channels[channel].lp_tenths) {
        live.lines += line("halvane_live", kChannelNames[channel])
                          .Field("lp", *lp / 10.0)
                          .Text(Nanoseconds(reading.time_ms));
      }
    }
  }
  std::vector<FeedLines> feeds;
  for (FeedLines* feed : {&periods, &days, &events, &gaps, &live}) {
    if (!feed->lines.empty()) {
      feeds.push_back(std::move(*feed));
    }
  }
  return feeds;
}

}  // namespace halvane

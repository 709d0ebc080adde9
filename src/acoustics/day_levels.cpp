#include "acoustics/day_levels.h"

namespace halvane {

DayLevels::DayLevels(DayParts parts) : parts_(parts) {}

DayPart DayLevels::PartOf(int hour) const {
  const auto within = [hour](int from, int to) {
    return from <= to ? hour >= from && hour < to : hour >= from || hour < to;
  };
  if (within(parts_.day_from, parts_.evening_from)) {
    return DayPart::kDay;
  }
  return within(parts_.evening_from, parts_.night_from) ? DayPart::kEvening : DayPart::kNight;
}

void DayLevels::Open(WallMs time) {
  day_start_ = LocalDayStart(time);
  day_end_ = LocalDayEnd(*day_start_);
  part_lengths_ms_ = {};
  for (WallMs hour = *day_start_; hour < day_end_; hour += kHourMs) {
    part_lengths_ms_[static_cast<std::size_t>(PartOf(LocalHour(hour)))] += kHourMs;
  }
  levels_.clear();
}

void DayLevels::Add(const PeriodResult& hour, std::vector<DayResult>& done) {
  Advance(hour.start_ms, done);
  if (!day_start_) {
    Open(hour.start_ms);
  }
  if (!hour.statistics.leq) {
    return;
  }
  Levels& levels = levels_[{hour.channel, hour.quantity}];
  const auto part = static_cast<std::size_t>(PartOf(LocalHour(hour.start_ms)));
  levels.hours[part].Add(*hour.statistics.leq, static_cast<double>(hour.covered_ms));
  levels.covered_ms[part] += hour.covered_ms;
}

std::vector<DayResult> DayLevels::SoFar(WallMs now) const {
  std::vector<DayResult> days;
  for (const auto& [key, levels] : levels_) {
    DayResult day;
    day.start_ms = *day_start_;
    day.end_ms = std::min(now, day_end_);
    day.channel = key.first;
    day.quantity = key.second;
    EnergyMean penalised;
    for (std::size_t part = 0; part < day.parts.size(); ++part) {
      day.parts[part] = {levels.hours[part].Leq(), levels.covered_ms[part], part_lengths_ms_[part]};
      penalised.Add(day.parts[part].level.value_or(0) + kDayPartPenaltiesDb[part],
                    static_cast<double>(part_lengths_ms_[part]));
      if (!day.parts[part].level && part_lengths_ms_[part] > 0) {
        day.note = "no readings in the " +
                   std::string(std::array{"day", "evening", "night"}[part]) + " part";
      }
    }
    if (day.note.empty()) {
      day.lden = penalised.Leq();
    }
    days.push_back(std::move(day));
  }
  return days;
}

void DayLevels::Advance(WallMs now, std::vector<DayResult>& done) {
  while (day_start_ && now >= day_end_) {
    std::vector<DayResult> days = SoFar(day_end_);
    done.insert(done.end(), days.begin(), days.end());
    Open(day_end_);
  }
}

void DayLevels::Close(WallMs now, std::vector<DayResult>& done) {
  if (day_start_) {
    std::vector<DayResult> days = SoFar(now);
    done.insert(done.end(), days.begin(), days.end());
  }
  day_start_.reset();
}

}  // namespace halvane

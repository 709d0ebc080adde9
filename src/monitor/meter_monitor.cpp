#include "monitor/meter_monitor.h"

#include <algorithm>

namespace halvane {

MeterMonitor::MeterMonitor(const MonitorSettings& settings, std::optional<PreviousRun> previous)
    : settings_(settings), previous_(previous), days_(settings.day_parts) {
  if (previous) {
    covered_until_ = previous->readings_until_ms;
    gap_reason_ = kGapNotRunning;
  }
}

MeterMonitor::Channel& MeterMonitor::ChannelNamed(const std::string& name) {
  const auto found = channels_.find(name);
  if (found != channels_.end()) {
    return found->second;
  }
  Channel& channel = channels_[name];
  const auto owed_from = [this](WallMs period_ms) -> std::optional<WallMs> {
    if (!previous_) {
      return std::nullopt;
    }
    const WallMs until = previous_->readings_until_ms;
    return previous_->closed ? until : PeriodStart(until, period_ms);
  };
  for (const WallMs period_ms : settings_.periods_ms) {
    if (period_ms != kHourMs) {
      channel.periods.emplace_back(name, period_ms, owed_from(period_ms));
    }
  }
  channel.periods.emplace_back(name, kHourMs, owed_from(kHourMs));
  const bool band = std::ranges::find(kChannelNames, name) == kChannelNames.end();
  if (settings_.limit && !band) {
    channel.events.emplace(name, *settings_.limit);
  }
  return channel;
}

void MeterMonitor::TakePeriods(const std::string& name, std::vector<PeriodResult>& results,
                               MonitorRecords& out) {
  const bool band = std::ranges::find(kChannelNames, name) == kChannelNames.end();
  for (PeriodResult& result : results) {
    // A band has results only while an octave screen shows it.
    if (band && !result.statistics.leq) {
      continue;
    }
    if (result.period_ms == kHourMs && !band) {
      days_.Add(result, out.days);
    }
    out.periods.push_back(std::move(result));
  }
  results.clear();
}

void MeterMonitor::Feed(const std::string& name, WallMs from, WallMs to, const ChannelLevel& level,
                        MonitorRecords& out) {
  Channel& channel = ChannelNamed(name);
  std::vector<PeriodResult> results;
  for (PeriodAccumulator& periods : channel.periods) {
    periods.Add(from, to, level, results);
  }
  TakePeriods(name, results, out);
  if (channel.events) {
    channel.events->Add(from, to, level, out.events);
  }
}

void MeterMonitor::Settle(WallMs next_poll_ms, MonitorRecords& out) {
  if (!pending_) {
    return;
  }
  const WallMs from = pending_->time_ms;
  const WallMs to = std::min(next_poll_ms, from + kLongestStepMs);
  if (to > from) {
    for (std::size_t channel = 0; channel < kChannelNames.size(); ++channel) {
      Feed(kChannelNames[channel], from, to, pending_->channels[channel], out);
    }
    for (const auto& [name, level] : pending_->bands) {
      Feed(name, from, to, level, out);
    }
  }
  covered_until_ = std::max(to, covered_until_.value_or(to));
  pending_.reset();
}

void MeterMonitor::AddGap(WallMs start, WallMs end, std::string_view reason, MonitorRecords& out) {
  out.gaps.push_back({start, end, std::string(reason)});
  for (auto& [name, channel] : channels_) {
    if (channel.events) {
      channel.events->Interrupt(out.events);
    }
  }
}

void MeterMonitor::AdvanceAll(WallMs now, MonitorRecords& out) {
  std::vector<PeriodResult> results;
  for (auto& [name, channel] : channels_) {
    for (PeriodAccumulator& periods : channel.periods) {
      periods.Advance(now, results);
    }
    TakePeriods(name, results, out);
  }
  days_.Advance(now, out.days);
}

void MeterMonitor::SetLimit(std::optional<EventLimit> limit, MonitorRecords& out) {
  settings_.limit = limit;
  for (const char* name : kChannelNames) {
    Channel& channel = ChannelNamed(name);
    if (channel.events) {
      channel.events->Interrupt(out.events);
    }
    channel.events.reset();
    if (limit) {
      channel.events.emplace(name, *limit);
    }
  }
}

std::vector<PeriodResult> MeterMonitor::OpenPeriods(WallMs now) const {
  std::vector<PeriodResult> open;
  for (const char* name : kChannelNames) {
    if (const auto channel = channels_.find(name); channel != channels_.end()) {
      for (const PeriodAccumulator& periods : channel->second.periods) {
        if (std::optional<PeriodResult> result = periods.SoFar(now)) {
          open.push_back(std::move(*result));
        }
      }
    }
  }
  return open;
}

std::vector<DayResult> MeterMonitor::DaySoFar(WallMs now) const {
  DayLevels day = days_;
  std::vector<DayResult> ignored;
  for (const PeriodResult& open : OpenPeriods(now)) {
    if (open.period_ms == kHourMs) {
      day.Add(open, ignored);
    }
  }
  return day.SoFar(now);
}

void MeterMonitor::Answered(const MonitorReading& reading, MonitorRecords& out) {
  Settle(reading.time_ms, out);
  if (covered_until_ && reading.time_ms > *covered_until_) {
    AddGap(*covered_until_, reading.time_ms, gap_reason_, out);
  }
  gap_reason_ = kGapNoPoll;
  AdvanceAll(reading.time_ms, out);
  pending_ = reading;
}

void MeterMonitor::Missed(WallMs time_ms, MonitorRecords& out) {
  Settle(time_ms, out);
  if (gap_reason_ == kGapNotRunning && covered_until_ && time_ms > *covered_until_) {
    // The program is back but the meter is not: the rest of the gap has another reason.
    AddGap(*covered_until_, time_ms, gap_reason_, out);
    covered_until_ = time_ms;
  }
  gap_reason_ = kGapMeterAway;
  AdvanceAll(time_ms, out);
}

void MeterMonitor::Close(WallMs time_ms, MonitorRecords& out) {
  Settle(time_ms, out);
  if (covered_until_ && time_ms > *covered_until_ && gap_reason_ == kGapMeterAway) {
    AddGap(*covered_until_, time_ms, gap_reason_, out);
  }
  std::vector<PeriodResult> results;
  for (auto& [name, channel] : channels_) {
    if (channel.events) {
      channel.events->Interrupt(out.events);
    }
    for (PeriodAccumulator& periods : channel.periods) {
      periods.Close(time_ms, results);
    }
    TakePeriods(name, results, out);
  }
  days_.Close(time_ms, out.days);
}

}  // namespace halvane

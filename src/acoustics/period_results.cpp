#include "acoustics/period_results.h"

#include <algorithm>

namespace halvane {

PeriodAccumulator::PeriodAccumulator(std::string channel, WallMs period_ms,
                                     std::optional<WallMs> owed_from_ms)
    : channel_(std::move(channel)), period_ms_(period_ms), owed_from_ms_(owed_from_ms) {}

PeriodResult PeriodAccumulator::ResultUpTo(WallMs end_ms) const {
  const Segment& segment = *open_;
  PeriodResult result;
  result.channel = channel_;
  result.period_ms = period_ms_;
  result.start_ms = segment.start_ms;
  result.end_ms = end_ms;
  result.quantity = segment.shows.quantity;
  result.statistics = segment.levels.Statistics();
  if (!result.statistics.leq) {
    result.note = segment.covered_ms == 0 ? "no readings" : segment.shows.why_none;
  }
  result.samples = segment.samples;
  result.covered_ms = segment.covered_ms;
  result.missing_ms = end_ms - segment.start_ms - segment.covered_ms;
  return result;
}

void PeriodAccumulator::Finish(WallMs end_ms, std::vector<PeriodResult>& done) {
  done.push_back(ResultUpTo(end_ms));
  open_.reset();
}

std::optional<PeriodResult> PeriodAccumulator::SoFar(WallMs now) const {
  if (!open_ || now < open_->start_ms) {
    return std::nullopt;
  }
  return ResultUpTo(std::min(now, period_end_));
}

void PeriodAccumulator::Advance(WallMs now, std::vector<PeriodResult>& done) {
  while (open_ && now >= period_end_) {
    Finish(period_end_, done);
    open_ = Segment{period_end_, {}, {}, 0, 0};
    period_end_ += period_ms_;
  }
}

void PeriodAccumulator::AddPart(WallMs from, WallMs to, const ChannelLevel& level,
                                bool counts_sample) {
  Segment& segment = *open_;
  if (segment.covered_ms == 0) {
    segment.shows = level;
  }
  if (level.lp_tenths) {
    segment.levels.Add(*level.lp_tenths, to - from);
  }
  segment.samples += counts_sample ? 1 : 0;
  segment.covered_ms += to - from;
}

void PeriodAccumulator::Add(WallMs from, WallMs to, const ChannelLevel& level,
                            std::vector<PeriodResult>& done) {
  Advance(from, done);
  if (!open_) {
    // The first reading: its period is counted from where the results are owed, or from its
    // start; the time before the reading is missing.
    constexpr WallMs kLongestResume = 24 * kHourMs;
    const WallMs start = owed_from_ms_ && from - *owed_from_ms_ <= kLongestResume
                             ? *owed_from_ms_
                             : PeriodStart(from, period_ms_);
    open_ = Segment{start, {}, {}, 0, 0};
    period_end_ = PeriodStart(start, period_ms_) + period_ms_;
    Advance(from, done);
  } else if (open_->covered_ms > 0 && !open_->shows.SameQuantity(level)) {
    const WallMs period_end = period_end_;
    Finish(from, done);
    open_ = Segment{from, {}, {}, 0, 0};
    period_end_ = period_end;
  }
  bool first_part = true;
  while (to > period_end_) {
    // The reading runs into the next period: each period gets its share of the time.
    AddPart(from, period_end_, level, first_part);
    from = period_end_;
    first_part = false;
    Advance(from, done);
  }
  AddPart(from, to, level, first_part);
}

void PeriodAccumulator::Close(WallMs now, std::vector<PeriodResult>& done) {
  Advance(now, done);
  if (open_ && now > open_->start_ms) {
    Finish(now, done);
  }
  open_.reset();
}

}  // namespace halvane

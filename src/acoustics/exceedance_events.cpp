#include "acoustics/exceedance_events.h"

#include <cmath>

namespace halvane {

EventDetector::EventDetector(std::string channel, EventLimit limit)
    : channel_(std::move(channel)), limit_(limit) {}

void EventDetector::Add(WallMs from, WallMs to, const ChannelLevel& level,
                        std::vector<ExceedanceEvent>& done) {
  const bool above = level.lp_tenths && Db(*level.lp_tenths) > limit_.level_db;
  if (run_ && (!above || run_->quantity != level.quantity)) {
    Interrupt(done);
  }
  if (!above) {
    return;
  }
  if (!run_) {
    run_ = Run{level.quantity, from, from, {}};
  }
  run_->levels.Add(*level.lp_tenths, to - from);
  run_->end_ms = to;
}

void EventDetector::Interrupt(std::vector<ExceedanceEvent>& done) {
  if (!run_) {
    return;
  }
  const WallMs duration_ms = run_->end_ms - run_->start_ms;
  if (duration_ms >= limit_.min_duration_ms) {
    const LevelStatistics statistics = run_->levels.Statistics();
    const double leq = *statistics.leq;
    done.push_back({channel_, run_->quantity, run_->start_ms, run_->end_ms, leq, *statistics.lmax,
                    leq + 10.0 * std::log10(static_cast<double>(duration_ms) / kSecondMs)});
  }
  run_.reset();
}

}  // namespace halvane

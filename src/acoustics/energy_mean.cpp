#include "acoustics/energy_mean.h"

#include <cmath>

namespace halvane {

namespace {

double PowerRatio(double db) {
  return std::pow(10.0, db / 10.0);
}

}  // namespace

void EnergyMean::Add(double level_db, double duration) {
  if (!(duration > 0)) {
    return;
  }
  if (duration_ == 0 || level_db > loudest_db_) {
    relative_sum_ = duration_ == 0 ? 0 : relative_sum_ * PowerRatio(loudest_db_ - level_db);
    loudest_db_ = level_db;
  }
  relative_sum_ += duration * PowerRatio(level_db - loudest_db_);
  duration_ += duration;
}

std::optional<double> EnergyMean::Leq() const {
  if (duration_ == 0) {
    return std::nullopt;
  }
  return loudest_db_ + 10.0 * std::log10(relative_sum_ / duration_);
}

}  // namespace halvane

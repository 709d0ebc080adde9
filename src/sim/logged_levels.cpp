#include "sim/logged_levels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include "sim/level_model.h"
#include "sim/level_statistics.h"

namespace halvane {

namespace {

constexpr int kSecondsPerSample = 20;
constexpr double kSubChannelOffsetDb = 2.5;  // C-weighted sub channel: a little above the A main
constexpr std::size_t kThirdOctaves = 33;
constexpr double kHighestTenths = 9999.0;  // 999.9 dB, the widest level a 5-character text holds

template <typename Levels>
void AppendTenths(const Levels& levels_db, std::vector<int>& tenths) {
  for (const double level : levels_db) {
    tenths.push_back(static_cast<int>(std::lround(std::clamp(level * 10.0, 0.0, kHighestTenths))));
  }
}

double EnergySumDb(auto first, auto last) {
  return 10.0 * std::log10(std::accumulate(first, last, 0.0, [](double sum, double level) {
           return sum + std::pow(10.0, level / 10.0);
         }));
}

}  // namespace

LoggedLevels::LoggedLevels(std::uint32_t seed)
    : noise_(seed), wandering_level_(noise_.Uniform(55.0, 75.0)) {}

const std::vector<int>& LoggedLevels::Next(LoggedMode mode) {
  wandering_level_ =
      std::clamp(wandering_level_ + noise_.Normal(1.5) + 0.05 * (kMiddleLevel - wandering_level_),
                 kLowestLevel, kHighestLevel);
  ChannelLevelStatistics main;
  ChannelLevelStatistics sub;
  for (int second = 0; second < kSecondsPerSample; ++second) {
    const double level = wandering_level_ + noise_.Normal(2.0);
    main.Add(level);
    sub.Add(level + kSubChannelOffsetDb + noise_.Normal(0.3));
  }
  const ChannelItems main_items = main.Items();

  // Broad ambient noise peaking around 250 Hz, scaled so that the bands sum to the Leq.
  std::array<double, kThirdOctaves> thirds{};
  for (std::size_t band = 0; band < kThirdOctaves; ++band) {
    thirds[band] = -0.8 * std::abs(static_cast<double>(band) - 13.0) + noise_.Normal(1.0);
  }
  const double scale_db = main_items[1] - EnergySumDb(thirds.begin(), thirds.end());
  std::array<double, kThirdOctaves / 3> octaves{};
  for (std::size_t band = 0; band < kThirdOctaves; ++band) {
    thirds[band] += scale_db;
  }
  for (std::size_t octave = 0; octave < octaves.size(); ++octave) {
    octaves[octave] = EnergySumDb(thirds.begin() + 3 * octave, thirds.begin() + 3 * octave + 3);
  }

  tenths_.clear();
  AppendTenths(main_items, tenths_);
  if (mode == LoggedMode::Octave || mode == LoggedMode::OctaveAndThirdOctave) {
    AppendTenths(octaves, tenths_);
  }
  if (mode == LoggedMode::ThirdOctave || mode == LoggedMode::OctaveAndThirdOctave) {
    AppendTenths(thirds, tenths_);
  }
  AppendTenths(sub.Items(), tenths_);
  return tenths_;
}

}  // namespace halvane

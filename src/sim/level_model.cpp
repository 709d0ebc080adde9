#include "sim/level_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <span>

#include "sim/frequency_weighting.h"

namespace halvane {

namespace {

constexpr double kBurstChance = 0.001;  // per poll: about one burst in four minutes

double Energy(double level_db) {
  return std::pow(10.0, level_db / 10.0);
}
double Level(double energy) {
  return 10.0 * std::log10(energy);
}

// Unweighted band shape in dB: broad ambient noise peaking around 250 Hz.
double BandShapeDb(std::size_t band) {
  return -0.8 * std::abs(static_cast<double>(band) - 13.0);
}

// Time constants of F, S, t and I in seconds; unknown codes act as F.
double TimeConstantSeconds(int time_weighting) {
  constexpr std::array<double, 4> kConstants{0.125, 1.0, 0.010, 0.035};
  return time_weighting >= 0 && time_weighting < 4 ? kConstants[std::size_t(time_weighting)]
                                                   : kConstants[0];
}

double EnergySum(std::span<const double> levels_db) {
  return std::accumulate(levels_db.begin(), levels_db.end(), 0.0,
                         [](double sum, double level) { return sum + Energy(level); });
}

}  // namespace

LevelModel::LevelModel(std::uint32_t seed)
    : noise_(seed), wandering_level_(noise_.Uniform(55.0, 75.0)) {}

const LiveLevels& LevelModel::Step(const MeterState& state) {
  const BandEnergies field = NextSoundField();
  levels_.third_octave = Hear(main_, field, state.main_freq_weighting, state.main_time_weighting);
  const auto sub_bands = Hear(sub_, field, state.sub_freq_weighting, state.sub_time_weighting);
  first_step_ = false;

  for (std::size_t octave = 0; octave < LiveLevels::kOctaveBands; ++octave) {
    levels_.octave[octave] =
        Level(EnergySum(std::span(levels_.third_octave).subspan(3 * octave, 3)));
  }
  main_.statistics.Add(Level(EnergySum(levels_.third_octave)));
  sub_.statistics.Add(Level(EnergySum(sub_bands)));
  levels_.main = main_.statistics.Items();
  levels_.sub = sub_.statistics.Items();
  return levels_;
}

LevelModel::BandEnergies LevelModel::NextSoundField() {
  wandering_level_ += noise_.Normal(0.8) + 0.01 * (kMiddleLevel - wandering_level_);
  wandering_level_ = std::clamp(wandering_level_, kLowestLevel, kHighestLevel);
  const double burst = noise_.Uniform() < kBurstChance ? noise_.Uniform(15.0, 30.0) : 0.0;

  std::array<double, LiveLevels::kThirdOctaveBands> band_db{};
  double a_weighted_energy = 0.0;
  for (std::size_t band = 0; band < band_db.size(); ++band) {
    band_db[band] = BandShapeDb(band) + noise_.Normal(1.5);
    a_weighted_energy += Energy(band_db[band] + FrequencyWeightingDb(0, band));
  }
  // Scale the spectrum so that its A-weighted sum is the wandering level.
  const double scale_db = wandering_level_ + burst - Level(a_weighted_energy);
  BandEnergies field{};
  std::transform(band_db.begin(), band_db.end(), field.begin(),
                 [scale_db](double level) { return Energy(level + scale_db); });
  return field;
}

std::array<double, LiveLevels::kThirdOctaveBands> LevelModel::Hear(Channel& channel,
                                                                   const BandEnergies& field,
                                                                   int freq_weighting,
                                                                   int time_weighting) {
  const double follow =
      1.0 - std::exp(-ChannelLevelStatistics::kPollSeconds / TimeConstantSeconds(time_weighting));
  std::array<double, LiveLevels::kThirdOctaveBands> weighted{};
  for (std::size_t band = 0; band < field.size(); ++band) {
    double& smoothed = channel.smoothed[band];
    smoothed = first_step_ ? field[band] : smoothed + follow * (field[band] - smoothed);
    weighted[band] = Level(smoothed) + FrequencyWeightingDb(freq_weighting, band);
  }
  return weighted;
}

}  // namespace halvane

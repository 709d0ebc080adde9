#include "sim/seeded_noise.h"

#include <cmath>
#include <numbers>

namespace halvane {

double SeededNoise::Uniform() {
  return (static_cast<double>(engine_()) + 0.5) / 4294967296.0;
}

double SeededNoise::Uniform(double low, double high) {
  return low + (high - low) * Uniform();
}

double SeededNoise::Normal(double standard_deviation) {
  // Box-Muller; both uniforms lie strictly inside (0, 1), so the logarithm is finite.
  const double radius = std::sqrt(-2.0 * std::log(Uniform()));
  return standard_deviation * radius * std::cos(2.0 * std::numbers::pi * Uniform());
}

std::uint8_t SeededNoise::Byte() {
  return static_cast<std::uint8_t>(engine_() >> 24);
}

}  // namespace halvane

#pragma once
// Random numbers drawn straight from std::mt19937, whose output sequence is fixed by the
// standard, so a seed gives the same levels with every standard library.

#include <cstdint>
#include <random>

namespace halvane {

class SeededNoise {
 public:
  explicit SeededNoise(std::uint32_t seed) : engine_(seed) {}

  double Uniform();  // in (0, 1)
  double Uniform(double low, double high);
  double Normal(double standard_deviation);  // mean 0
  std::uint8_t Byte();

 private:
  std::mt19937 engine_;
};

}  // namespace halvane

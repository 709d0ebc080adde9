#pragma once
// The levels of a local day (midnight to midnight, 23 or 25 hours when the clock changes) per
// channel and quantity, from its hourly Leq: Lday, Levening and Lnight as energy means of
// their hours weighted by the time each covers, and
//   Lden = 10 lg{(Td·10^(Ld/10) + Te·10^((Le+5)/10) + Tn·10^((Ln+10)/10)) / (Td + Te + Tn)}
// with T the length of each part that day: 12, 4 and 8 hours on an ordinary day with the
// default parts, which is the formula of ISO 1996-1. Each part says what fraction of its time
// had readings.

#include <array>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "acoustics/energy_mean.h"
#include "acoustics/local_calendar.h"
#include "acoustics/period_results.h"

namespace halvane {

// The local hours at which the day, evening and night parts begin.
struct DayParts {
  int day_from = 7;
  int evening_from = 19;
  int night_from = 23;
};

enum class DayPart { kDay = 0, kEvening = 1, kNight = 2 };
inline constexpr std::array<double, 3> kDayPartPenaltiesDb{0, 5, 10};

struct DayPartLevel {
  std::optional<double> level;
  WallMs covered_ms = 0;
  WallMs length_ms = 0;
  double Coverage() const {
    return length_ms > 0 ? static_cast<double>(covered_ms) / static_cast<double>(length_ms) : 0;
  }
};

struct DayResult {
  WallMs start_ms = 0;  // local midnight
  WallMs end_ms = 0;    // the next one, or the end of the run for a day not yet over
  std::string channel;
  std::string quantity;
  std::array<DayPartLevel, 3> parts;  // by DayPart
  std::optional<double> lden;
  std::string note;  // why Lden is empty
};

class DayLevels {
 public:
  explicit DayLevels(DayParts parts = {});

  // The part of the day that the local hour `hour` belongs to.
  DayPart PartOf(int hour) const;
  // An hourly result: its Leq counts for the part of the day its hour is in.
  void Add(const PeriodResult& hour, std::vector<DayResult>& done);
  // The day that ended by `now` is done.
  void Advance(WallMs now, std::vector<DayResult>& done);
  // The day as it stands at `now`, for a table of the day so far or the end of the run.
  std::vector<DayResult> SoFar(WallMs now) const;
  void Close(WallMs now, std::vector<DayResult>& done);

 private:
  struct Levels {
    std::array<EnergyMean, 3> hours;  // by DayPart: the hours' Leq, each for the time it covers
    std::array<WallMs, 3> covered_ms{};
  };
  void Open(WallMs time);

  DayParts parts_;
  std::optional<WallMs> day_start_;
  WallMs day_end_ = 0;
  std::array<WallMs, 3> part_lengths_ms_{};
  std::map<std::pair<std::string, std::string>, Levels> levels_;  // by channel and quantity
};

}  // namespace halvane

#pragma once
// What one reading gives a channel's statistics: its time-weighted sound level (Lp) when the
// meter shows one, and otherwise what it shows instead and why that cannot be counted.

#include <optional>
#include <string>

#include "acoustics/tenths_db.h"

namespace halvane {

struct ChannelLevel {
  // What the channel shows: "LAF", "LCS" for an Lp; "LAeq", "LAFmax" and the like otherwise;
  // empty when the meter is not measuring.
  std::string quantity;
  // The Lp in tenths of a dB; nullopt when the reading has none for this channel.
  std::optional<TenthsDb> lp_tenths;
  // Why there is no Lp, for the results; empty when there is one.
  std::string why_none;

  bool SameQuantity(const ChannelLevel& other) const {
    return quantity == other.quantity && why_none == other.why_none;
  }
};

}  // namespace halvane

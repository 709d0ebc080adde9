#pragma once
// What the link tells a trace about its searches for the meter, as plain data.

#include <cstddef>
#include <string>
#include <vector>

#include "link/hid_backend.h"
#include "link/meter_ids.h"

namespace halvane {

struct SearchCandidate {
  enum class Outcome {
    ForeignUsagePage,  // passed over: its usage page is not vendor-defined
    OpenFailed,        // passed over: it refused to open
    Opened,            // taken as the meter
  };
  HidDeviceInfo device;
  Outcome outcome = Outcome::Opened;
  OpenFailure open_error;   // OpenFailed: why
  bool tried_last = false;  // it did not answer when last opened, so the others went first
};

struct SearchRecord {
  MeterIds ids;
  std::size_t matched = 0;                  // devices with these IDs
  std::vector<SearchCandidate> candidates;  // in the order tried, up to the one opened
};

class LinkTrace {
 public:
  virtual ~LinkTrace() = default;
  virtual void Searched(const SearchRecord& search) = 0;
  // The device the last search opened failed its first read; later searches try it last.
  virtual void NoFirstAnswer(const HidDeviceInfo& device) = 0;
};

}  // namespace halvane

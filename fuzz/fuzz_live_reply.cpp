// Feeds arbitrary replies of any length through decoding and the building of every screen.

#include <cstddef>
#include <cstdint>
#include <span>

#include "live/live_reply.h"
#include "live/live_screen.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const halvane::LiveReading reading =
      halvane::DecodeLiveReply(std::span<const std::uint8_t>(data, size));
  halvane::Canvas canvas(halvane::kPanelWidthUnits, halvane::kPanelHeightUnits);
  halvane::DrawLiveScreen(canvas, reading);
  // The same reply under every display mode, so that each screen sees every byte pattern.
  halvane::LiveReading variant = reading;
  for (int mode = 0; mode <= 8; ++mode) {
    variant.DisplayMode = mode;
    halvane::DrawLiveScreen(canvas, variant);
  }
  return 0;
}

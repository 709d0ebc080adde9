#include "live/live_screen.h"

#include "live/screen_parts.h"

namespace halvane {

void DrawLiveScreen(Canvas& canvas, const LiveReading& reading) {
  canvas.Clear();
  const int mode = reading.DisplayMode;
  if (mode < 0 || mode > 7) {
    DrawMessage(canvas, "Non-Measurement Mode");
    return;
  }
  DrawHeader(canvas, reading);
  DrawFooter(canvas, reading);
  if (mode == 0) {
    DrawSlmScreen(canvas, reading);
  } else if (mode <= 3) {
    DrawOctaveBarScreen(canvas, reading);
  } else {
    DrawOctaveTableScreen(canvas, reading);
  }
}

void DrawNoConnection(Canvas& canvas) {
  DrawMessage(canvas, "No Connection");
}

}  // namespace halvane

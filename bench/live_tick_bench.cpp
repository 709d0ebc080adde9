// Figures for the 160 ms live cycle: the work of one tick per screen family, and the painting
// of its display list at the main window's size.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "live/live_reply.h"
#include "live/live_screen.h"
#include "sim/simulated_meter.h"
#include "ui/canvas_painter.h"

namespace {

constexpr int kWidth = 907;
constexpr int kHeight = 631;

// A reply of the simulated meter in this display mode.
halvane::InputReportBuffer ReplyFor(int display_mode) {
  halvane::SimulatedMeter meter;
  meter.State().display_mode = display_mode;
  const std::array<std::uint8_t, 2> poll{0x00, halvane::kLivePollCommand};
  for (int tick = 0; tick < 50; ++tick) {
    meter.Receive(poll);
  }
  halvane::InputReportBuffer reply{};
  while (auto next = meter.TakeReply()) {
    reply = *next;
  }
  return reply;
}

halvane::TextMeasure MeasureAtWindowSize(halvane::CanvasPainter& painter) {
  return [&painter](std::string_view text, const halvane::Font& font) {
    return painter.TextWidth(text, font, halvane::kPanelWidthUnits, kWidth);
  };
}

void BM_Tick(benchmark::State& state) {
  const halvane::InputReportBuffer reply = ReplyFor(static_cast<int>(state.range(0)));
  halvane::CanvasPainter painter;
  halvane::Canvas canvas(halvane::kPanelWidthUnits, halvane::kPanelHeightUnits,
                         MeasureAtWindowSize(painter));
  for (auto _ : state) {
    const halvane::LiveReading reading = halvane::DecodeLiveReply(reply);
    halvane::DrawLiveScreen(canvas, reading);
    benchmark::DoNotOptimize(canvas.Items().data());
  }
  state.counters["items"] = static_cast<double>(canvas.Items().size());
}

void BM_Paint(benchmark::State& state) {
  const halvane::InputReportBuffer reply = ReplyFor(static_cast<int>(state.range(0)));
  halvane::CanvasPainter painter;
  halvane::Canvas canvas(halvane::kPanelWidthUnits, halvane::kPanelHeightUnits,
                         MeasureAtWindowSize(painter));
  halvane::DrawLiveScreen(canvas, halvane::DecodeLiveReply(reply));
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter qpainter(&image);
    qpainter.fillRect(image.rect(), Qt::lightGray);
    painter.Paint(qpainter, canvas.Items(), canvas.Width(), canvas.Height(),
                  QRectF(0, 0, kWidth, kHeight));
  }
}

// Display modes: 0 sound level meter, 1 and 3 octave bars, 5 and 6 octave tables.
BENCHMARK(BM_Tick)->Arg(0)->Arg(1)->Arg(3)->Arg(5)->Arg(6)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paint)->Arg(0)->Arg(1)->Arg(3)->Arg(5)->Arg(6)->Unit(benchmark::kMicrosecond);

}  // namespace

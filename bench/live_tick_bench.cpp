// Figures for the 160 ms live cycle: the work of one tick per screen family, the painting of
// its display list at the main window's size, and the memory an hour of ticks leaves behind.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QImage>
#include <QPainter>
#include <chrono>
#include <fstream>

#include "link/usb.h"
#include "live/live_reply.h"
#include "live/live_screen.h"
#include "sim/simulated_backend.h"
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

// The process's resident memory in kB, as the kernel counts it now.
double ResidentKilobytes() {
  std::ifstream statm("/proc/self/statm");
  double size = 0;
  double resident = 0;
  statm >> size >> resident;
  return resident * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024;
}

// An hour of polls, 22 500 at 160 ms, through the link to the simulated meter with its clock
// run on 160 ms a poll, each decoded and drawn: the resident memory they add. A run of
// --simulate that kept anything of each poll would show here.
void BM_HourOfPolls(benchmark::State& state) {
  constexpr int kPollsAnHour = 3600 * 1000 / 160;
  for (auto _ : state) {
    std::chrono::system_clock::time_point now{};
    halvane::SimulatedMeter meter(1, [&now] { return now; });
    halvane::SimulatedBackend backend(meter);
    halvane::USB usb(backend);
    halvane::Canvas canvas(halvane::kPanelWidthUnits, halvane::kPanelHeightUnits);
    const double before = ResidentKilobytes();
    for (int poll = 0; poll < kPollsAnHour; ++poll) {
      now += std::chrono::milliseconds(160);
      usb.OutputReport()[0] = 0x00;
      usb.OutputReport()[1] = halvane::kLivePollCommand;
      usb.ExchangeReports();
      halvane::DrawLiveScreen(canvas, halvane::DecodeLiveReply(usb.InputReportCopy()));
    }
    state.counters["resident_kB_added"] = ResidentKilobytes() - before;
  }
}
BENCHMARK(BM_HourOfPolls)->Iterations(1)->Unit(benchmark::kMillisecond);

// Display modes: 0 sound level meter, 1 and 3 octave bars, 5 and 6 octave tables.
BENCHMARK(BM_Tick)->Arg(0)->Arg(1)->Arg(3)->Arg(5)->Arg(6)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paint)->Arg(0)->Arg(1)->Arg(3)->Arg(5)->Arg(6)->Unit(benchmark::kMicrosecond);

}  // namespace

// Figures for the cursor graph of 100 000 records: reading the item's column from the record
// file, loading it into the window, and one redraw while panning at 907 x 631.

#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <sstream>

#include "graphs/plot_window.h"
#include "tests/graphs/record_files.h"

namespace {

constexpr std::size_t kRecords = 100000;

// A level that wanders between 40 and 100 dB, with a gap now and then.
std::string WanderingLevel(std::size_t record, std::size_t column) {
  if (record % 997 == 0) {
    return "---.-";
  }
  const std::size_t tenths = (record * 7919 + column * 104729) % 600;
  return std::to_string(40 + tenths / 10) + "." + std::to_string(tenths % 10);
}

const std::string& RecordFileText() {
  static const std::string text =
      halvane::test::RecordFile(halvane::RecordMode::Octave, kRecords, kRecords, WanderingLevel);
  return text;
}

halvane::CursorGraphData GraphData() {
  halvane::CursorGraphData data;
  data.ItemName = "LP(Main)";
  std::istringstream in(RecordFileText());
  data.column = halvane::ReadItemColumn(in, 3, kRecords);
  data.RecordCount = kRecords;
  data.RecordRangeTop = 130;
  data.RecordRangeBottom = 40;
  return data;
}

class NoDialogs : public halvane::UserDialogs {
 public:
  void ShowCritical(const std::string&) override {}
  std::string AskText(const std::string&, const std::string&, const std::string&) override {
    return {};
  }
  std::filesystem::path AskOpenFile(const std::string&, const std::filesystem::path&) override {
    return {};
  }
  std::filesystem::path AskSaveFile(const std::string&, const std::string&) override { return {}; }
  bool SetUpPrinter(QPrinter&) override { return false; }
};

void BM_ReadItemColumn(benchmark::State& state) {
  for (auto _ : state) {
    std::istringstream in(RecordFileText());
    benchmark::DoNotOptimize(halvane::ReadItemColumn(in, 3, kRecords).values.data());
  }
}

// The window loaded with the item and drawn once, as choosing an item does.
void BM_LoadCursorGraph(benchmark::State& state) {
  const halvane::CursorGraphData data = GraphData();
  NoDialogs dialogs;
  for (auto _ : state) {
    halvane::Plot plot(data, dialogs);
    plot.CWGraph1().setFixedSize(907, 631);
    plot.CWGraph1().replot(QCustomPlot::rpImmediateRefresh);
  }
}

void BM_PanRedraw(benchmark::State& state) {
  NoDialogs dialogs;
  halvane::Plot plot(GraphData(), dialogs);
  plot.CWGraph1().setFixedSize(907, 631);
  plot.show();
  QCustomPlot& graph = plot.CWGraph1();
  // Argument 0: drawn as during a drag, which the graph draws without antialiasing.
  if (state.range(0) == 0) {
    graph.setNotAntialiasedElements(QCP::aeAll);
  }
  double shift = 0;
  for (auto _ : state) {
    shift = shift > 10000 ? 0 : shift + 97;
    graph.xAxis->setRange(1 + shift, kRecords - 20000 + shift);
    graph.replot(QCustomPlot::rpImmediateRefresh);
  }
}

BENCHMARK(BM_ReadItemColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCursorGraph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

// vexor-graphbench: times one paint of the chart window's biggest graph: 16 series (the four
// players who played the most games, each with frags, deaths, frags per hour and rocket frags),
// cumulative, over every game of the load. A paint builds the series from the document and
// draws them; the canvas here only counts the calls, so the figure is the program's own work,
// without the toolkit's drawing.
//
//   vexor-graphbench [--runs N] [-C DIR] [--style classic|modern] LOG|DATA.dat
//
// --style modern times the modern chart instead of the classic one (the default). Prints the
// median paint in milliseconds; the last line, "paint-seconds S", is for bench/run.sh.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchArguments.h"
#include "ops/DocumentOperations.h"
#include "platform/ScriptedPrompter.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"
#include "ui/ChartGeometry.h"
#include "ui/GraphBuilder.h"
#include "ui/GraphChoice.h"

namespace {

using namespace vexor;
using Clock = std::chrono::steady_clock;

// A canvas that draws nothing: fixed metrics, every call counted.
class CountingCanvas : public Canvas {
 public:
  void Rectangle(int, int, int, int, CanvasColour, CanvasColour) override { ++calls; }
  void Line(int, int, int, int, CanvasColour) override { ++calls; }
  void SetFont(const CanvasFont& font) override { m_font = font; }
  CanvasMetrics Metrics() const override {
    int height = m_font.height > 0 ? m_font.height : 16;
    return {height, height * 4 / 5, 7};
  }
  int TextWidth(std::string_view text) const override { return static_cast<int>(text.size()) * 7; }
  void Text(int, int, std::string_view, CanvasColour, TextAlign,
            std::optional<CanvasColour>) override {
    ++calls;
  }
  void SetOrigin(int, int) override {}
  void Polyline(const std::vector<CanvasPoint>&, CanvasColour) override { ++calls; }
  long calls = 0;

 private:
  CanvasFont m_font;
};

bool Load(const std::string& directory, const std::string& input, VexoriumDoc& doc) {
  ScriptedPrompter prompter;
  LogSelection selection;
  DocumentOperations operations(doc, selection, prompter, directory);
  operations.Startup();
  operations.SetReportEnabled(false);
  bool isData = input.size() > 4 && input.compare(input.size() - 4, 4, ".dat") == 0;
  if (isData) return operations.OpenDataFile(input);
  DocumentOperations::SelectLogs({input}, &selection);
  return operations.LoadLogs();
}

// The four players with the most games, in player-number order.
std::vector<int32_t> BusiestPlayers(const VexoriumDoc& doc) {
  std::vector<int32_t> players;
  for (int32_t p = 1; p <= doc.nameCount; ++p)
    players.push_back(p);
  auto games = [&](int32_t p) { return doc.players[static_cast<size_t>(p)].games.EntryCount(); };
  std::stable_sort(players.begin(), players.end(),
                   [&](int32_t a, int32_t b) { return games(a) > games(b); });
  players.resize(std::min<size_t>(players.size(), 4));
  std::sort(players.begin(), players.end());
  return players;
}

}  // namespace

int main(int argc, char** argv) {
  bench::BenchArguments arguments;
  arguments.runs = 9;
  ChartStyle style = ChartStyle::kClassic;
  bool known = true;
  for (int i = 1; i < argc && known; ++i) {
    if (std::string(argv[i]) == "--style" && i + 1 < argc &&
        ChartStyleFromName(argv[i + 1], &style)) {
      ++i;
    } else {
      known = ReadBenchArgument(argc, argv, &i, &arguments);
    }
  }
  if (!known || arguments.inputs.size() != 1 || arguments.runs <= 0 ||
      !arguments.clientVars.empty() || !arguments.serverVars.empty()) {
    return bench::BenchUsage("vexor-graphbench", "bad arguments",
                             "[--runs N] [-C DIR] [--style classic|modern] LOG|DATA.dat");
  }
  const std::string& directory = arguments.directory;
  const std::string& input = arguments.inputs[0];
  int runs = arguments.runs;
  VexoriumDoc doc;
  if (!Load(directory, input, doc)) {
    std::fprintf(stderr, "vexor-graphbench: %s could not be loaded\n", input.c_str());
    return 1;
  }
  std::vector<std::string> names;
  for (int32_t p : BusiestPlayers(doc))
    names.push_back(doc.players[static_cast<size_t>(p)].name);
  GraphChoice choice;
  std::string error;
  if (!ChoiceFromNames(doc, names, {"frags", "deaths", "fph", "rocket"}, &choice, &error)) {
    std::fprintf(stderr, "vexor-graphbench: %s\n", error.c_str());
    return 1;
  }
  choice.cumulative = true;
  std::vector<double> times;
  long calls = 0;
  for (int run = 0; run < runs; ++run) {
    CountingCanvas canvas;
    Clock::time_point start = Clock::now();
    DrawGraph(canvas, kChartWindowSide, kChartWindowSide, BuildGraph(doc, choice), style);
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    calls = canvas.calls;
  }
  std::sort(times.begin(), times.end());
  double median = times[(times.size() - 1) / 2];
  std::printf("%d series over %d games: %ld drawing calls a paint; median of %d paints %.2f ms\n",
              choice.SeriesCount(), doc.gameCount, calls, runs, median);
  std::printf("paint-seconds %.4f\n", median / 1000);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

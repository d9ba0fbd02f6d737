#include "ui/GraphBuilder.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "stats/VexoriumDoc.h"
#include "ui/ChartGeometry.h"
#include "ui/ModernChart.h"

namespace vexor {
namespace {

// A player's games in order, 1 to the last: absent games read as zeros. The series is sparse
// and sorted, so a walk in game order costs one step per game.
class GameWalk {
 public:
  explicit GameWalk(const GameSeries& series) : m_series(series) {}

  const PlayerGame& At(int32_t g) {
    while (m_entry < m_series.EntryCount() && m_series.GameAt(m_entry) < g)
      ++m_entry;
    if (m_entry < m_series.EntryCount() && m_series.GameAt(m_entry) == g) {
      return m_series.ValueAt(m_entry);
    }
    return kNone;
  }

 private:
  static inline const PlayerGame kNone{};
  const GameSeries& m_series;
  size_t m_entry = 0;
};

// The hourly rate of the games so far: count / (seconds x 1/3600) in single precision, 0 while
// either sum is 0.
float RunningRate(int64_t seconds, int64_t count) {
  if (seconds == 0 || count == 0) return 0;
  return static_cast<float>(count) / (static_cast<float>(seconds) * 0.00027777778f);
}

// The statistic's value after game g: the game's own, or the running one.
class ValueRun {
 public:
  ValueRun(const GraphStatistic& statistic, bool cumulative)
      : m_statistic(statistic), m_cumulative(cumulative) {}

  float Next(const PlayerGame& game) {
    if (m_statistic.PerHour()) {
      if (!m_cumulative) return m_value = m_statistic.GameRate(game);
      m_seconds += game.seconds;
      m_count += m_statistic.Count(game);
      return m_value = RunningRate(m_seconds, m_count);
    }
    float count = static_cast<float>(m_statistic.Count(game));
    return m_value = m_cumulative ? m_value + count : count;
  }

 private:
  const GraphStatistic& m_statistic;
  bool m_cumulative;
  float m_value = 0;
  int64_t m_seconds = 0;
  int64_t m_count = 0;
};

int32_t LastGame(const VexoriumDoc& doc) {
  return std::clamp(doc.gameCount, 0, static_cast<int32_t>(doc.games.size()) - 1);
}

// The largest value the statistic takes for the player over every game, hidden ones included.
// Games without an entry add nothing, so only the entries are visited.
float LargestValue(const PlayerRecord& player, const GraphStatistic& statistic, bool cumulative,
                   int32_t lastGame) {
  if (cumulative && !statistic.PerHour()) return static_cast<float>(statistic.Total(player));
  float largest = 0;
  ValueRun run(statistic, cumulative);
  const GameSeries& games = player.games;
  for (size_t e = 0; e < games.EntryCount(); ++e) {
    int32_t g = games.GameAt(e);
    if (g >= 1 && g <= lastGame) largest = std::max(largest, run.Next(games.ValueAt(e)));
  }
  return largest;
}

int32_t GamesPlayed(const PlayerRecord& player, int32_t lastGame) {
  int32_t played = 0;
  const GameSeries& games = player.games;
  for (size_t e = 0; e < games.EntryCount(); ++e) {
    int32_t g = games.GameAt(e);
    if (g >= 1 && g <= lastGame && games.ValueAt(e).seconds > 0) ++played;
  }
  return played;
}

void WalkSeries(const VexoriumDoc& doc, const PlayerRecord& player, const GraphStatistic& statistic,
                const GraphChoice& choice, GraphSeries* series) {
  GameWalk walk(player.games);
  ValueRun run(statistic, choice.cumulative);
  float value = 0;
  for (int32_t g = 1, last = LastGame(doc); g <= last; ++g) {
    if (doc.games[static_cast<size_t>(g)].shortGame) continue;
    const PlayerGame& game = walk.At(g);
    float previous = value;
    value = run.Next(game);
    if (!choice.playedOnly || game.seconds > 0) series->segments.emplace_back(previous, value);
  }
}

}  // namespace

GraphData BuildGraph(const VexoriumDoc& doc, const GraphChoice& choice) {
  GraphData data;
  int32_t lastGame = LastGame(doc);
  data.xmax = static_cast<float>(doc.displayedGameCount);
  if (choice.playedOnly) {
    int32_t most = 0;
    for (int32_t p : choice.players) {
      most = std::max(most, GamesPlayed(doc.players[static_cast<size_t>(p)], lastGame));
    }
    data.xmax = static_cast<float>(most);
  }
  data.playedOnly = choice.playedOnly;
  if (!choice.playedOnly) {
    data.gameNumbers.push_back(0);
    for (int32_t g = 1; g <= lastGame; ++g) {
      if (!doc.games[static_cast<size_t>(g)].shortGame) data.gameNumbers.push_back(g);
    }
  }
  data.wholeValues = std::ranges::none_of(choice.statistics, &GraphStatistic::PerHour);
  for (int32_t p : choice.players) {
    const PlayerRecord& player = doc.players[static_cast<size_t>(p)];
    for (const GraphStatistic& statistic : choice.statistics) {
      data.ymax = std::max(data.ymax, LargestValue(player, statistic, choice.cumulative, lastGame));
      GraphSeries series;
      series.player = p;
      series.legend = player.name + statistic.suffix;
      series.colour = SeriesColour(static_cast<int>(data.series.size()) + 1);
      WalkSeries(doc, player, statistic, choice, &series);
      data.series.push_back(std::move(series));
    }
  }
  return data;
}

void DrawGraph(Canvas& canvas, int width, int height, const GraphData& data) {
  int count = static_cast<int>(data.series.size());
  TextCell layout = MeasureCell(canvas, kLayoutFont);
  PlotArea plot(MeasureCell(canvas, kCellFont), PlotLayout(width, height, layout, count));
  plot.SetRanges(0, 0, data.xmax, data.ymax + 1);

  FillBackground(canvas, width, height, kChartBackground);
  plot.labelPrecision = 0;
  DrawAxes(canvas, plot, kChartWhite);
  plot.xTitle = "Games";
  DrawXLabels(canvas, plot, kChartWhite);
  plot.yTitle = " ";
  DrawYLabels(canvas, plot, kChartWhite);

  int cellWidth = plot.Cell().width;
  for (int row = 0, rows = LegendRows(count); row < rows; ++row) {
    BlankLegendRow(canvas, plot, row, kChartWhite, width / cellWidth * 5);
  }
  LegendColumns columns = LegendColumnsFor(width, cellWidth);
  int entry = 0;
  for (const GraphSeries& series : data.series) {
    float x = 0;
    for (const auto& [from, to] : series.segments) {
      PlotLine(canvas, plot, x, from, x + 1, to, series.colour);
      x += 1;
    }
    LegendEntry(canvas, plot, columns.cells[entry % 3], entry / 3, series.colour, series.legend);
    ++entry;
  }
}

bool ChartStyleFromName(std::string_view name, ChartStyle* style) {
  for (ChartStyle each : {ChartStyle::kClassic, ChartStyle::kModern}) {
    if (name == ChartStyleName(each)) {
      *style = each;
      return true;
    }
  }
  return false;
}

const char* ChartStyleName(ChartStyle style) {
  return style == ChartStyle::kModern ? "modern" : "classic";
}

void DrawGraph(Canvas& canvas, int width, int height, const GraphData& data, ChartStyle style) {
  if (style == ChartStyle::kModern) {
    DrawModernGraph(canvas, width, height, data);
  } else {
    DrawGraph(canvas, width, height, data);
  }
}

GraphPicturePath PicturePathFor(const std::string& chosen) {
  auto endsWith = [&](std::string_view end) {
    if (chosen.size() < end.size()) return false;
    return std::equal(
        end.begin(), end.end(), chosen.end() - static_cast<ptrdiff_t>(end.size()),
        [](char e, char c) { return std::tolower(static_cast<unsigned char>(c)) == e; });
  };
  if (endsWith(".svg")) return {chosen, true};
  if (endsWith(".png")) return {chosen, false};
  return {chosen + ".png", false};
}

}  // namespace vexor

// The chart window: a top-level window titled "Graph" that draws the line graph of the graph
// selection screen's current choice at every paint (so ticking a box or selecting a player
// changes the open graph), and saves it as a PNG or SVG picture. The graph itself comes from
// the core (GraphBuilder); this window only paints it and forwards the commands.
#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>

#include "ui/GraphBuilder.h"
#include "ui/GraphChoice.h"
#include "ui/ModernChart.h"

namespace vexor {

class VexoriumDoc;
class MainFrame;
class Prompter;

// Where the window's graph comes from, asked at every paint.
struct ChartSource {
  // The document, or null while long work holds it (the window then paints its background).
  std::function<const VexoriumDoc*()> document;
  std::function<GraphChoice()> choice;
  std::function<ChartStyle()> style;  // null: classic
};

class ChartWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Opens at (70 + 10k, 95 + 10k), k being the chart windows opened before in this run, with a
  // 640 x 640 chart that cannot be made smaller. The prompter asks for the picture's path and
  // shows the warnings. parent owns the window (it stays a window of its own).
  ChartWindow(ChartSource source, Prompter& prompter, QWidget* parent);

  // Saves the graph as it is drawn now: SVG or PNG by the path's ending (PicturePathFor).
  // False with *error when the file cannot be written.
  bool SavePicture(const std::string& chosenPath, std::string* error);
  // "Save Graph As...": asks for a path, saves, and shows a failure as a warning.
  void SaveGraphAs();

  QWidget* Chart() const { return m_chart; }
  // The tool tip for a point of the chart as last painted on screen: the player and statistic
  // of the line there, with its game and value; empty off the lines and in the classic style.
  QString ToolTipAt(const QPoint& point) const;

 signals:
  // The user closed the window (it is deleted afterwards).
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  friend class ChartView;
  // Paints the graph of the current choice on painter's device of width x height; a choice of
  // more than 16 series is drawn and its warning shown after the paint.
  void PaintGraph(class QPainter& painter, int width, int height, bool warn);
  void WarnTooMany(int32_t series);

  ChartSource m_source;
  Prompter& m_prompter;
  QWidget* m_chart = nullptr;
  int32_t m_warnedSeries = 0;  // the count of the last too-many warning; 0 after a fit
  // The modern graph as last painted on screen, for the tool tips.
  bool m_modernShown = false;
  GraphData m_shownData;
  ModernPlot m_shownPlot;
};

// "Draw Graph" on the graph selection screen: checks the frame's current choice and shows the
// warnings that refuse it (then returns null), or opens a chart window that follows the view's
// check boxes and selections, the frame's document and its chart style, shown in front with the
// focus and painted at once.
ChartWindow* OpenChartWindow(MainFrame& frame, Prompter& prompter);

}  // namespace vexor

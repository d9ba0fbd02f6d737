#include "app/gui/ChartWindow.h"

#include <QAction>
#include <QBuffer>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSvgGenerator>
#include <QTimer>
#include <QToolTip>

#include "app/gui/GuiText.h"
#include "app/gui/MainFrame.h"
#include "app/gui/PainterCanvas.h"
#include "app/gui/VexoriumView.h"
#include "base/AtomicFile.h"
#include "platform/Prompter.h"
#include "ui/ChartGeometry.h"
#include "ui/GraphBuilder.h"

namespace vexor {

// The chart's own area: the client area that the graph fills.
class ChartView : public QWidget {
 public:
  ChartView(ChartWindow& window, QWidget* parent) : QWidget(parent), m_window(window) {
    setObjectName(QStringLiteral("Chart"));
    setAccessibleName(QStringLiteral("Graph"));
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    m_window.PaintGraph(painter, width(), height(), true);
  }
  bool event(QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    QString text = m_window.ToolTipAt(help->pos());
    if (text.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
  }
  void contextMenuEvent(QContextMenuEvent* event) override {
    QMenu menu(this);
    menu.addAction(QStringLiteral("Save Graph As..."), [this] { m_window.SaveGraphAs(); });
    menu.exec(event->globalPos());
  }

 private:
  ChartWindow& m_window;
};

namespace {

int g_windowsCreated = 0;  // chart windows opened in this run

}  // namespace

ChartWindow::ChartWindow(ChartSource source, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_source(std::move(source)), m_prompter(prompter) {
  setObjectName(QStringLiteral("ChartWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Graph"));
  m_chart = new ChartView(*this, this);
  setCentralWidget(m_chart);
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  QAction* save =
      file->addAction(QStringLiteral("Save Graph &As..."), this, &ChartWindow::SaveGraphAs);
  save->setShortcut(QKeySequence::Save);
  save->setStatusTip(QStringLiteral("Save the graph as a PNG or SVG picture"));
  QAction* close = file->addAction(QStringLiteral("&Close"), this, &QWidget::close);
  close->setShortcut(QKeySequence::Close);
  // The chart area is 640 x 640 at first and never smaller.
  m_chart->setMinimumSize(kChartWindowSide, kChartWindowSide);
  int k = g_windowsCreated++;
  move(70 + 10 * k, 95 + 10 * k);
  resize(kChartWindowSide, kChartWindowSide + menuBar()->sizeHint().height());
}

void ChartWindow::PaintGraph(QPainter& painter, int width, int height, bool warn) {
  painter.setFont(m_chart->font());
  PainterCanvas canvas(painter);
  const VexoriumDoc* doc = m_source.document ? m_source.document() : nullptr;
  if (doc == nullptr) {
    FillBackground(canvas, width, height, kChartBackground);
    if (warn) m_modernShown = false;
    return;
  }
  GraphChoice choice = m_source.choice();
  ChartStyle style = m_source.style ? m_source.style() : ChartStyle::kClassic;
  GraphData graph = BuildGraph(*doc, choice);
  if (style == ChartStyle::kModern) {
    ModernPlot plot = DrawModernGraph(canvas, width, height, graph);
    if (warn) {  // on screen: what the pointer may point at
      m_shownPlot = plot;
      m_shownData = std::move(graph);
    }
  } else {
    DrawGraph(canvas, width, height, graph);
  }
  if (!warn) return;
  m_modernShown = style == ChartStyle::kModern;
  int32_t series = choice.SeriesCount();
  if (series <= kMostSeries) {
    m_warnedSeries = 0;
  } else if (series != m_warnedSeries) {
    // A message box cannot open inside a paint: it follows the paint, once for each new count.
    m_warnedSeries = series;
    QTimer::singleShot(0, this, [this, series] { WarnTooMany(series); });
  }
}

QString ChartWindow::ToolTipAt(const QPoint& point) const {
  if (!m_modernShown) return QString();
  constexpr float kReach = 4;  // pixels from a line that still point at it
  ChartHit hit = ModernHitAt(m_shownPlot, m_shownData, static_cast<float>(point.x()),
                             static_cast<float>(point.y()), kReach);
  return ToQString(ModernToolTip(m_shownData, hit));
}

void ChartWindow::WarnTooMany(int32_t series) {
  m_prompter.Inform(TooManySeriesWarning(series), kGraphWarningCaption);
}

bool ChartWindow::SavePicture(const std::string& chosenPath, std::string* error) {
  GraphPicturePath target = PicturePathFor(chosenPath);
  QSize size = m_chart->size();
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  if (target.svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&bytes);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("Graph"));
    QPainter painter(&svg);
    PaintGraph(painter, size.width(), size.height(), false);
  } else {
    QImage image(size, QImage::Format_RGB32);
    {
      QPainter painter(&image);
      PaintGraph(painter, size.width(), size.height(), false);
    }
    image.save(&bytes, "PNG");
  }
  AtomicFile file;
  if (!file.Open(target.path)) {
    *error = file.Error();
    return false;
  }
  file.Write(bytes.data().constData(), static_cast<size_t>(bytes.data().size()));
  if (file.Commit()) return true;
  *error = file.Error();
  return false;
}

void ChartWindow::SaveGraphAs() {
  std::string path = m_prompter.ChooseFileToSave({kGraphPictureFilter, "", false});
  if (path.empty()) return;
  std::string error;
  if (!SavePicture(path, &error)) m_prompter.Inform(error, "Warning!");
}

void ChartWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closed();
}

ChartWindow* OpenChartWindow(MainFrame& frame, Prompter& prompter) {
  VexoriumView* view = frame.View();
  ChartSource source;
  source.document = [&frame]() -> const VexoriumDoc* {
    return frame.Busy() ? nullptr : &frame.Doc();
  };
  source.style = [&frame] { return frame.GraphStyle(); };
  source.choice = [&frame, view] {
    return ChoiceFromView(
        frame.Doc(), view->MainSelection(), view->WeaponSelection(),
        [view](int id) { return view->BoxChecked(id); },
        [view](int slot) { return view->VariableBoxChecked(slot); });
  };
  std::vector<std::string> warnings = DrawGraphWarnings(source.choice());
  for (const std::string& warning : warnings)
    prompter.Inform(warning, kGraphWarningCaption);
  if (!warnings.empty()) return nullptr;
  auto* window = new ChartWindow(std::move(source), prompter, &frame);
  QWidget* chart = window->Chart();
  QObject::connect(view, &VexoriumView::graphChoiceChanged, chart, [chart] { chart->update(); });
  QObject::connect(&frame, &MainFrame::workFinished, chart, [chart] { chart->update(); });
  QObject::connect(&frame, &MainFrame::graphStyleChanged, chart, [chart] { chart->update(); });
  // A new window behind the main one would go unnoticed: it comes to the front with the focus
  // (an ordinary window all the same, not kept on top).
  window->show();
  window->raise();
  window->activateWindow();
  window->repaint();
  return window;
}

}  // namespace vexor

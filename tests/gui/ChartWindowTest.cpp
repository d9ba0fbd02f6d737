// The chart window's wiring, offscreen: "Draw Graph" on the graph selection screen refuses an
// empty choice, opens one chart window that follows the check boxes, disables itself while the
// window is open, and the window saves its graph as PNG and SVG. The graph itself is tested
// without a display in the core's tests.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>

#include "app/gui/ChartWindow.h"
#include "app/gui/MainFrame.h"
#include "app/gui/VexoriumView.h"
#include "gui/MainFrameFixture.h"
#include "ui/ShellLogic.h"

namespace vexor {
namespace {

class ChartWindowTest : public test::MainFrameFixture {
 protected:
  void SetUp() override {
    MainFrameFixture::SetUp();
    ASSERT_TRUE(LoadAndWait({test::kServerSample}));
    m_frame->ShowScreen(2);
  }

  QCheckBox* Box(const char* label) {
    for (QCheckBox* box : m_frame->View()->findChildren<QCheckBox*>()) {
      if (box->accessibleName() == QLatin1String(label)) return box;
    }
    return nullptr;
  }
  QPushButton* DrawGraph() {
    for (QPushButton* button : m_frame->View()->findChildren<QPushButton*>()) {
      if (button->text() == QStringLiteral("Draw Graph")) return button;
    }
    return nullptr;
  }
  void SelectFirstPlayer() {
    QTableView* list = m_frame->View()->MainList();
    list->selectRow(0);
    emit list->clicked(list->model()->index(0, 0));
  }
  ChartWindow* Chart() { return m_frame->findChild<ChartWindow*>(); }
};

TEST_F(ChartWindowTest, DrawGraphOpensOneWindowThatFollowsTheBoxesAndSaves) {
  ASSERT_NE(DrawGraph(), nullptr);
  ASSERT_TRUE(DrawGraph()->isEnabled());
  DrawGraph()->click();
  ASSERT_EQ(m_prompter.Messages().size(), 2u);  // nothing chosen: both warnings, no window
  EXPECT_EQ(m_prompter.Messages()[0].text, "There are no variables selected to graph!");
  EXPECT_EQ(m_prompter.Messages()[1].caption, "Warning!");
  EXPECT_EQ(Chart(), nullptr);

  SelectFirstPlayer();
  ASSERT_NE(Box("Frags"), nullptr);
  Box("Frags")->setChecked(true);
  DrawGraph()->click();
  ChartWindow* chart = Chart();
  ASSERT_NE(chart, nullptr);
  EXPECT_TRUE(chart->isVisible());
  EXPECT_EQ(chart->windowTitle(), QStringLiteral("Graph"));
  EXPECT_GE(chart->Chart()->width(), 640);
  EXPECT_GE(chart->Chart()->height(), 640);
  EXPECT_TRUE(m_frame->GraphWindowOpen());
  EXPECT_FALSE(DrawGraph()->isEnabled());

  // The open graph follows the boxes: one series more, drawn in the second colour (black).
  QImage before = chart->Chart()->grab().toImage();
  Box("Deaths")->setChecked(true);
  QImage after = chart->Chart()->grab().toImage();
  EXPECT_NE(before, after);

  std::string error;
  std::string base = m_folder.filePath(QStringLiteral("graph")).toStdString();
  ASSERT_TRUE(chart->SavePicture(base, &error)) << error;  // ".png" added
  QImage saved(QString::fromStdString(base + ".png"));
  EXPECT_EQ(saved.size(), chart->Chart()->size());
  ASSERT_TRUE(chart->SavePicture(base + ".svg", &error)) << error;
  QFile svg(QString::fromStdString(base + ".svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  EXPECT_TRUE(svg.readAll().contains("<svg"));
  EXPECT_FALSE(chart->SavePicture(base + "/no/such/folder.svg", &error));
  EXPECT_NE(error.find("folder.svg"), std::string::npos);

  chart->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(Chart(), nullptr);
  EXPECT_FALSE(m_frame->GraphWindowOpen());
  EXPECT_TRUE(DrawGraph()->isEnabled());
}

// The modern style: an open graph takes it at once, it is kept for the next start, and the
// pointer over a line names the line's player and statistic.
TEST_F(ChartWindowTest, TheModernStyleDrawsAtOnceAndNamesTheLineUnderThePointer) {
  SelectFirstPlayer();
  Box("Frags")->setChecked(true);
  DrawGraph()->click();
  ChartWindow* chart = Chart();
  ASSERT_NE(chart, nullptr);
  QImage classic = chart->Chart()->grab().toImage();
  EXPECT_EQ(classic.pixelColor(3, 300), QColor(0, 49, 115));  // the classic frame
  EXPECT_TRUE(chart->ToolTipAt(QPoint(100, 300)).isEmpty());

  m_frame->SetGraphStyle(ChartStyle::kModern);
  QImage modern = chart->Chart()->grab().toImage();
  EXPECT_EQ(modern.pixelColor(3, 300), QColor(Qt::white));
  EXPECT_EQ(QSettings(QStringLiteral("Vexor"), QStringLiteral("Vexor"))
                .value(QStringLiteral("Graph Style"))
                .toString(),
            QStringLiteral("modern"));
  // A pixel of the first line's colour below the legend is on the line.
  const QColor first(0x00, 0x72, 0xB2);
  QPoint onLine(-1, -1);
  for (int y = modern.height() - 1; y > modern.height() / 3 && onLine.x() < 0; --y) {
    for (int x = 0; x < modern.width() && onLine.x() < 0; ++x) {
      if (modern.pixelColor(x, y) == first) onLine = QPoint(x, y);
    }
  }
  ASSERT_GE(onLine.x(), 0);
  QString name = m_frame->View()->MainList()->model()->index(0, 0).data().toString();
  QString tip = chart->ToolTipAt(onLine);
  EXPECT_TRUE(tip.startsWith(name + QStringLiteral(" : Frags\nGame "))) << tip.toStdString();
  EXPECT_TRUE(chart->ToolTipAt(QPoint(2, 2)).isEmpty());

  m_frame->SetGraphStyle(ChartStyle::kClassic);
  EXPECT_EQ(chart->Chart()->grab().toImage(), classic);
  EXPECT_TRUE(chart->ToolTipAt(onLine).isEmpty());
}

}  // namespace
}  // namespace vexor

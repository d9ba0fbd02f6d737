// vexor-screenshots: the desktop program's screens as pictures, for looking at them (not a test).
// Loads the sample server log into a real main window and saves every screen, the options
// dialog, the progress box and graphs in both styles as PNG files into the folder given.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QItemSelectionModel>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QTableView>
#include <QTimer>
#include <QWebEngineView>
#include <clocale>
#include <memory>

#include "app/gui/ChartWindow.h"
#include "app/gui/ClientVarDialog.h"
#include "app/gui/MainFrame.h"
#include "app/gui/OptionsDialog.h"
#include "app/gui/PrintChoiceDialog.h"
#include "app/gui/QtPrompter.h"
#include "app/gui/ServerVarDialog.h"
#include "app/gui/VexoriumView.h"
#include "app/gui/WorkBox.h"
#include "stats/VexoriumDoc.h"
#include "ui/ClientVarForm.h"
#include "ui/OptionsForm.h"
#include "ui/ServerVarForm.h"
#include "ui/ShellLogic.h"

namespace {

// Two definitions of each kind, as a user would have stored them, for the dialogs' pictures.
void DefineVariables(vexor::VexoriumDoc& doc) {
  vexor::ClientVariable& quad = doc.clientVars[1];
  quad.name = "Quads";
  quad.stringType = 0;
  quad.searchString = "PLAYER1 got the Quad Damage!";
  quad.p1Change = 1;
  quad.p1Target = 1;
  quad.p1Value = 1;
  vexor::ClientVariable& telefrag = doc.clientVars[2];
  telefrag.name = "Telefrags";
  telefrag.stringType = 3;
  telefrag.searchString = "PLAYER1 was telefragged by PLAYER2";
  telefrag.p2Change = 1;
  telefrag.p2Target = 2;
  telefrag.p2Value = 1;
  telefrag.p1Change2 = 1;
  telefrag.p1Target2 = 1;
  telefrag.p1Value2 = -1;
  doc.clientVarCount = 2;
  vexor::ServerVariable& health = doc.serverVars[1];
  health.name = "SmallHealth";
  health.idstring = "Item:";
  health.id1 = -1;
  health.modstring = "item_health_small";
  health.p1Change = 1;
  health.p1Target = 1;
  health.p1Value = 1;
  vexor::ServerVariable& rails = doc.serverVars[2];
  rails.name = "Rails";
  rails.idstring = "Kill:";
  rails.id1 = -1;
  rails.id2 = -1;
  rails.modstring = "MOD_RAILGUN";
  rails.p1Change = 1;
  rails.p1Target = 2;
  rails.p1Value = 1;
  doc.serverVarCount = 2;
}

void Settle(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

// The graph selection screen with the first `players` rows of the main list selected and the
// boxes of these labels ticked, then "Draw Graph": the chart window saved as name.
void SaveGraph(vexor::MainFrame& frame, const QDir& out, int players, const QStringList& boxes,
               const QString& name) {
  frame.ShowScreen(2);
  Settle(200);
  vexor::VexoriumView* view = frame.View();
  QTableView* list = view->MainList();
  list->clearSelection();
  for (int row = 0; row < players; ++row) {
    list->selectionModel()->select(list->model()->index(row, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  emit list->clicked(list->model()->index(0, 0));
  for (QCheckBox* box : view->findChildren<QCheckBox*>()) {
    box->setChecked(boxes.contains(box->accessibleName()));
  }
  emit view->drawGraphRequested();
  Settle(300);
  if (auto* chart = frame.findChild<vexor::ChartWindow*>()) {
    chart->grab().save(out.filePath(name));
    chart->close();
    Settle(100);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // as vexor-gui does
  if (argc < 3) {
    std::fprintf(stderr, "usage: vexor-screenshots OUTPUT_DIR [BIG_LOG] LOG...\n");
    return 2;
  }
  QDir out(QString::fromLocal8Bit(argv[1]));
  out.mkpath(QStringLiteral("."));
  QDir start(out.filePath(QStringLiteral("start")));
  start.mkpath(QStringLiteral("."));
  std::vector<std::string> logs;
  for (int i = 2; i < argc; ++i)
    logs.push_back(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[i])).toStdString());
  vexor::QtPrompter prompter;
  vexor::MainFrame frame(prompter, start.absolutePath().toStdString());
  prompter.SetOwner(&frame);
  frame.resize(1024, 768);
  frame.move(0, 0);
  frame.show();
  Settle(300);
  frame.grab().save(out.filePath(QStringLiteral("start-screen.png")));
  // The progress box while the first log loads (a long one shows it best).
  frame.LoadLogs({logs.front()});
  Settle(400);
  if (frame.Box()) {
    // The box is a window of its own: put it where it stands over the main window.
    QPixmap window = frame.grab();
    QPainter painter(&window);
    painter.drawPixmap(frame.Box()->pos() - frame.mapToGlobal(QPoint(0, 0)), frame.Box()->grab());
    painter.end();
    window.save(out.filePath(QStringLiteral("progress.png")));
  }
  while (frame.Busy())
    Settle(50);
  if (logs.size() > 1) {
    frame.LoadLogs(std::vector<std::string>(logs.begin() + 1, logs.end()));
    while (frame.Busy())
      Settle(50);
  }
  const char* names[] = {"", "logged-data", "graph-selection", "game-by-game", "about"};
  for (int screen : {1, 2, 3, 4}) {
    frame.ShowScreen(screen);
    Settle(screen == 3 ? 2500 : 300);
    frame.grab().save(out.filePath(QStringLiteral("%1.png").arg(QLatin1String(names[screen]))));
  }
  vexor::OptionsForm form;
  vexor::OptionsDialog dialog(form, frame.Doc(), frame.StartDirectory(), prompter, &frame);
  dialog.show();
  Settle(300);
  dialog.grab().save(out.filePath(QStringLiteral("options.png")));
  dialog.hide();
  // Two graphs in each style ("graph-..." classic, "graph-modern-..."); the style the program
  // had is put back.
  vexor::ChartStyle kept = frame.GraphStyle();
  for (vexor::ChartStyle style : {vexor::ChartStyle::kClassic, vexor::ChartStyle::kModern}) {
    frame.SetGraphStyle(style);
    QString prefix = style == vexor::ChartStyle::kModern ? QStringLiteral("graph-modern-")
                                                         : QStringLiteral("graph-");
    SaveGraph(frame, out, 3, {QStringLiteral("Frags"), QStringLiteral("Cumulative Graphing")},
              prefix + QStringLiteral("cumulative-frags.png"));
    SaveGraph(frame, out, 4,
              {QStringLiteral("Frags"), QStringLiteral("Deaths"), QStringLiteral("Suicides"),
               QStringLiteral("Rocket Frags"), QStringLiteral("Cumulative Graphing")},
              prefix + QStringLiteral("16-series.png"));
  }
  frame.SetGraphStyle(kept);
  DefineVariables(frame.Doc());
  vexor::ClientVarForm clientForm;
  vexor::ClientVarDialog clientDialog(clientForm, frame.Doc(), prompter, &frame);
  clientDialog.show();
  // Variable 2 uses both players' rows.
  qobject_cast<QAbstractButton*>(clientDialog.Control(vexor::VarControl::kNext))->click();
  Settle(300);
  clientDialog.grab().save(out.filePath(QStringLiteral("client-variables.png")));
  clientDialog.hide();
  vexor::ServerVarForm serverForm;
  vexor::ServerVarDialog serverDialog(serverForm, frame.Doc(), prompter, &frame);
  serverDialog.show();
  Settle(300);
  serverDialog.grab().save(out.filePath(QStringLiteral("server-variables.png")));
  // Print Preview: the print-choice dialog, then the preview of the main statistics.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* choice = qobject_cast<vexor::PrintChoiceDialog*>(modal)) {
      answer.stop();
      Settle(300);
      choice->grab().save(out.filePath(QStringLiteral("print-choice.png")));
      choice->accept();
      answer.start(50);
    } else if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal)) {
      answer.stop();
      preview->resize(1100, 800);
      Settle(800);
      preview->grab().save(out.filePath(QStringLiteral("print-preview.png")));
      preview->reject();
    }
  });
  answer.start(50);
  frame.RunCommand(vexor::Command::kPrintPreview);
  return 0;
}

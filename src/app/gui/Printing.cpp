#include "app/gui/Printing.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/gui/GuiText.h"
#include "app/gui/LeftView.h"
#include "app/gui/MainFrame.h"
#include "app/gui/PainterCanvas.h"
#include "app/gui/PrintChoiceDialog.h"
#include "app/gui/VexoriumView.h"
#include "base/AtomicFile.h"
#include "base/StringPrintf.h"
#include "platform/Prompter.h"
#include "stats/VexoriumDoc.h"
#include "ui/PrintLayout.h"
#include "ui/PrintTables.h"

namespace vexor {
namespace {

constexpr int kPdfResolution = 1200;
constexpr double kPdfMarginMillimetres = 10.0;

PrinterPage PageOf(const QPaintDevice& device) {
  return PrinterPage{device.width(), device.height(), device.logicalDpiX()};
}

// "Vexor - Main Stats", "Vexor - Client Side User Variables, User Vars 1-9": the job's name in
// the printer's queue and the PDF file's title.
QString JobTitle(int code) {
  if (code < 0 || code >= kPrintChoiceCount) code = kPrintMainStats;
  const PrintChoiceInfo& choice = kPrintChoices[static_cast<size_t>(code)];
  if (code < kPrintFirstClientBlock) return QStringLiteral("Vexor - %1").arg(choice.caption);
  return QStringLiteral("Vexor - %1, %2").arg(choice.groupBox, choice.caption);
}

// The paper a printer would offer in the user's country, upright, with small margins.
QPageLayout DefaultPageLayout() {
  bool letter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
  QMarginsF margins(kPdfMarginMillimetres, kPdfMarginMillimetres, kPdfMarginMillimetres,
                    kPdfMarginMillimetres);
  return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                     margins, QPageLayout::Millimeter);
}

// One print job of the frame's document, from the print-choice dialog to its last page.
class PrintJob {
 public:
  PrintJob(MainFrame& frame, Prompter& prompter, PrintingPane pane)
      : m_frame(frame), m_prompter(prompter), m_pane(pane) {}

  // Prepare printing: the print-choice dialog. False when it was cancelled: printing is
  // abandoned. On OK the statistics view's printing flag goes up already.
  bool Prepare() {
    PrintChoiceDialog dialog(m_frame.Doc(), &m_frame);
    if (dialog.exec() != QDialog::Accepted) return false;
    if (m_pane == PrintingPane::kStatisticsView) SetPrinting(true);
    return true;
  }

  // Begin printing, each page, end printing, on printer.
  void Render(QPrinter* printer) {
    SetPrinting(true);
    QPainter painter;
    if (painter.begin(printer)) {
      bool range = printer->printRange() == QPrinter::PageRange;
      PrintTableOn(*printer, painter, m_frame.Doc(), m_frame.Doc().printChoice,
                   range ? printer->fromPage() : 0, range ? printer->toPage() : 0);
      painter.end();
    } else {
      NotStarted(*printer);
    }
    SetPrinting(false);
  }

  // The flag of the pane that carries the job. A job that ends without printing (its print
  // dialog cancelled) lowers it too: a flag left up would keep the view blank.
  void SetPrinting(bool on) {
    if (m_pane == PrintingPane::kNavigation) {
      m_frame.Navigation()->SetPrinting(on);
    } else {
      m_frame.View()->SetPrinting(on);
    }
  }

 private:
  void NotStarted(const QPrinter& printer) {
    std::string text = printer.outputFileName().isEmpty()
                           ? std::string("The printer could not be started.")
                           : StringPrintf("The file %s cannot be written.",
                                          PathFromQString(printer.outputFileName()).c_str());
    m_prompter.ShowMessage(text, "Vexor", MessageButtons::kOk);
  }

  MainFrame& m_frame;
  Prompter& m_prompter;
  PrintingPane m_pane;
};

// The pane with the keyboard focus, as the command goes to the active pane.
PrintingPane ActivePane(MainFrame& frame) {
  QWidget* focus = QApplication::focusWidget();
  LeftView* navigation = frame.Navigation();
  bool inNavigation = focus && (focus == navigation || navigation->isAncestorOf(focus));
  return inNavigation ? PrintingPane::kNavigation : PrintingPane::kStatisticsView;
}

// The preview opens on page 1 with two pages side by side.
void ShowTwoPages(QPrintPreviewDialog& dialog) {
  if (auto* facing = dialog.findChild<QAction*>(QStringLiteral("facingModeAction"))) {
    facing->trigger();
  }
}

}  // namespace

int PrintTableOn(QPagedPaintDevice& device, QPainter& painter, VexoriumDoc& doc, int code, int from,
                 int to) {
  PrintTable table;
  if (!BuildPrintTable(doc, code, &table)) return 0;
  PainterCanvas canvas(painter);
  PrintGeometry geometry = BeginPrinting(canvas, PageOf(device));
  // Block after block (a table of more than nine columns), each on pages of its own; the page
  // numbers of the range run through all of them.
  std::vector<PrintTable> blocks = PrintBlocks(table);
  int perBlock = PrintPageCount(geometry, table.rows.size());
  int count = perBlock * static_cast<int>(blocks.size());
  int first = from > 0 ? from : 1;
  int last = to > 0 ? std::min(to, count) : count;
  for (int page = first; page <= last; ++page) {
    if (page > first) device.newPage();
    DrawPrintPage(canvas, geometry, blocks[static_cast<size_t>((page - 1) / perBlock)],
                  (page - 1) % perBlock + 1);
  }
  return std::max(0, last - first + 1);
}

void RunPrintJob(MainFrame& frame, Prompter& prompter, bool preview) {
  if (frame.Busy()) return;
  PrintJob job(frame, prompter, ActivePane(frame));
  if (!job.Prepare()) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(JobTitle(frame.Doc().printChoice));
  if (preview) {
    QPrintPreviewDialog dialog(&printer, &frame);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&job](QPrinter* target) { job.Render(target); });
    ShowTwoPages(dialog);
    dialog.exec();
  } else {
    QPrintDialog dialog(&printer, &frame);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() == QDialog::Accepted) job.Render(&printer);
  }
  job.SetPrinting(false);
}

bool PrintToPdf(VexoriumDoc& doc, int code, const std::string& path, std::string* error) {
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&bytes);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(DefaultPageLayout());
    writer.setTitle(JobTitle(code));
    writer.setCreator(QStringLiteral("Vexor 1.40"));
    QPainter painter;
    if (!painter.begin(&writer)) {
      *error = StringPrintf("The file %s cannot be written.", path.c_str());
      return false;
    }
    PrintTableOn(writer, painter, doc, code);
    painter.end();
  }
  AtomicFile file;
  if (file.Open(path)) {
    file.Write(bytes.data().constData(), static_cast<size_t>(bytes.data().size()));
    if (file.Commit()) return true;
  }
  *error = file.Error();
  return false;
}

}  // namespace vexor

#include "ops/ReportStep.h"

#include "base/FileSystem.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "report/HtmlReport.h"

namespace vexor {

bool WriteReportStep(const VexoriumDoc& doc, const std::string& reportFolder, Prompter& prompter,
                     Progress* progress, ReportWriting writing) {
  ReportGameObserver onGame;
  if (progress != nullptr) {
    progress->StepStarted(WorkStep::kReport, 0, 1);
    onGame = [progress](int32_t done, int32_t count) {
      progress->BytesDone(static_cast<uint64_t>(done), static_cast<uint64_t>(count));
    };
  }
  CreateFolder(reportFolder);
  std::string error;
  if (WriteHtmlReport(doc, reportFolder, &error, onGame, writing)) return true;
  prompter.Inform(error, "Warning!");
  return false;
}

}  // namespace vexor

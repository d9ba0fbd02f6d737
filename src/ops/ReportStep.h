// The HTML report as a step of an operation (a load, an open, the report command).
#pragma once

#include <string>

#include "report/HtmlReport.h"

namespace vexor {

class VexoriumDoc;
class Progress;
class Prompter;

// Writes the report of the document into reportFolder, creating the folder when missing. The
// progress (when given) hears WorkStep::kReport and then, after each game, the games done of
// the game count; it is not asked about cancelling and not closed here. A report that cannot be
// written completely shows its message (caption "Warning!") and gives false. A followed log's
// report is written as WriteHtmlReport describes for ReportWriting::kFollowed.
bool WriteReportStep(const VexoriumDoc& doc, const std::string& reportFolder, Prompter& prompter,
                     Progress* progress, ReportWriting writing = ReportWriting::kOnce);

}  // namespace vexor

// The web site as a step of an operation.
#pragma once

#include <string>

namespace vexor {

class VexoriumDoc;
class Progress;
class Prompter;

// Writes the web site of the document into folder, linking the report's pages when reportFolder
// is not empty. The progress (when given) hears WorkStep::kSite and then, after each file, the
// files written of the site's files; it is not asked about cancelling and not closed here. A site
// that cannot be written shows its message (caption "Warning!") and gives false.
bool WriteSiteStep(const VexoriumDoc& doc, const std::string& folder,
                   const std::string& reportFolder, Prompter& prompter, Progress* progress);

}  // namespace vexor

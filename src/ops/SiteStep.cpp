#include "ops/SiteStep.h"

#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "site/WebSite.h"

namespace vexor {

bool WriteSiteStep(const VexoriumDoc& doc, const std::string& folder,
                   const std::string& reportFolder, Prompter& prompter, Progress* progress) {
  SiteObserver onFile;
  if (progress != nullptr) {
    progress->StepStarted(WorkStep::kSite, 0, 1);
    onFile = [progress](int64_t done, int64_t count) {
      progress->BytesDone(static_cast<uint64_t>(done), static_cast<uint64_t>(count));
    };
  }
  std::string error;
  if (WriteWebSite(doc, folder, SiteOptions{reportFolder}, &error, onFile)) return true;
  prompter.Inform(error, "Warning!");
  return false;
}

}  // namespace vexor

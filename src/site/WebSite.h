// The statistics web site: static pages for publishing (an overview with the awards, the
// players' leaderboard, a page per player, the games and a page per listed game), one
// stylesheet and one small script, charts as inline SVG. No server code and nothing from
// elsewhere: the site works from file:// and from any web server.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vexor {

class VexoriumDoc;

struct SiteOptions {
  // The HTML report's folder when the report is written with the site: when it lies beside the
  // site's folder (in the same parent folder), the games link to its pages. Empty: no links.
  std::string reportFolder;
};

// Called after each file of the site with the files written so far and the site's file count.
using SiteObserver = std::function<void(int64_t filesDone, int64_t fileCount)>;

// The name of the file that marks a folder as a site written by Vexor: only such a folder (or
// an empty one) is replaced by a new site.
extern const char* const kSiteMarkerFile;

// Writes the site of the document into folder. The site is built in a new folder beside it and
// put in its place only when complete, so readers see the whole old site or the whole new one
// and a failure leaves the old one as it was. A folder that exists must be empty or hold a site
// written by Vexor (its marker file): any other folder is refused, never replaced. False with
// *error (when given) naming the folder or the first file that failed.
bool WriteWebSite(const VexoriumDoc& doc, const std::string& folder, const SiteOptions& options,
                  std::string* error, const SiteObserver& onFile = nullptr);

}  // namespace vexor

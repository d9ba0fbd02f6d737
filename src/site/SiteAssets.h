// The web site's stylesheet and script, written beside its pages: one CSS file (light and dark
// from the reader's system setting, narrow screens) and one small script without a framework
// (sorting tables by any column, from the keyboard too, and searching the players by name).
// The pages read well and show every number without the script.
#pragma once

namespace vexor {

extern const char* const kSiteStyleSheet;  // site.css
extern const char* const kSiteScript;      // site.js

}  // namespace vexor

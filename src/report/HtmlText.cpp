#include "report/HtmlText.h"

#include "base/StringPrintf.h"

namespace vexor {
namespace {

// Colour names of the digits 1 to 7 of a colour code.
constexpr const char* kColourNames[] = {"red",  "green",  "yellow", "blue",
                                        "cyan", "purple", "white"};

void AppendEscaped(std::string* out, char c) {
  if (c == '<') {
    out->append("&lt;");
  } else if (c == '>') {
    out->append("&gt;");
  } else {
    out->push_back(c);
  }
}

}  // namespace

std::string ColourCodesToHtml(std::string_view name) {
  std::string out;
  out.reserve(name.size() + 32);
  bool fontOpen = false;
  ForEachColourRun(name, [&](int colour, std::string_view text) {
    if (colour != 0) {
      if (fontOpen) out.append("</font>");
      StringAppendF(&out, "<font color=\"%s\">", kColourNames[colour - 1]);
      fontOpen = true;
    }
    for (char c : text)
      AppendEscaped(&out, c);
  });
  if (fontOpen) out.append("</font>");
  return out;
}

std::string EscapeAngleBrackets(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    AppendEscaped(&out, c);
  return out;
}

std::string FormatHours(int32_t seconds) {
  int32_t rest = seconds % 3600;
  return StringPrintf("%i:%02i:%02i h", seconds / 3600, rest / 60, rest % 60);
}

std::string FormatMinutes(int32_t seconds) {
  return StringPrintf("%i:%02i min", (seconds % 3600) / 60 + 60 * (seconds / 3600), seconds % 60);
}

}  // namespace vexor

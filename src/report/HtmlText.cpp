#include "report/HtmlText.h"

#include "base/StringPrintf.h"

namespace vexor {
namespace {

// Colour names of the digits 1 to 7 of a colour code.
constexpr const char* kColourNames[] = {"red", "green", "yellow", "blue", "cyan", "purple", "white"};

bool IsColourDigit(char c) { return c >= '1' && c <= '7'; }

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
  const char* pending = nullptr;  // the colour waiting for its first character
  bool fontOpen = false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '^' && i + 1 < name.size() && IsColourDigit(name[i + 1])) {
      pending = kColourNames[name[i + 1] - '1'];
      ++i;
      continue;
    }
    if (pending != nullptr) {
      if (fontOpen) out.append("</font>");
      StringAppendF(&out, "<font color=\"%s\">", pending);
      fontOpen = true;
      pending = nullptr;
    }
    AppendEscaped(&out, name[i]);
  }
  if (fontOpen) out.append("</font>");
  return out;
}

std::string EscapeAngleBrackets(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) AppendEscaped(&out, c);
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

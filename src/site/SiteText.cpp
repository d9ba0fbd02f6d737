#include "site/SiteText.h"

#include "base/StringPrintf.h"
#include "report/HtmlText.h"
#include "stats/JsonExport.h"

namespace vexor {
namespace {

void AppendCodePoint(std::string* out, unsigned code) {
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else {
    out->push_back(static_cast<char>(0xC0 | (code >> 6)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// Appends one byte of a text, escaped; latin1: bytes from 0x80 up are Latin-1 characters.
void AppendByte(std::string* out, unsigned char byte, bool latin1) {
  switch (byte) {
    case '&':
      out->append("&amp;");
      return;
    case '<':
      out->append("&lt;");
      return;
    case '>':
      out->append("&gt;");
      return;
    case '"':
      out->append("&quot;");
      return;
    case '\'':
      out->append("&#39;");
      return;
    default:
      break;
  }
  if (byte < 0x20 || byte == 0x7F) {
    out->append("\xEF\xBF\xBD");  // U+FFFD: a control character has no place in a name
  } else if (latin1 && byte >= 0x80) {
    AppendCodePoint(out, byte);
  } else {
    out->push_back(static_cast<char>(byte));
  }
}

}  // namespace

void AppendHtmlText(std::string* out, std::string_view bytes) {
  const bool latin1 = !IsValidUtf8(bytes);
  for (char c : bytes)
    AppendByte(out, static_cast<unsigned char>(c), latin1);
}

std::string HtmlText(std::string_view bytes) {
  std::string out;
  AppendHtmlText(&out, bytes);
  return out;
}

void AppendColouredName(std::string* out, std::string_view rawName) {
  // The encoding is the whole name's: a run alone may be valid UTF-8 when the name is not.
  const bool latin1 = !IsValidUtf8(rawName);
  ForEachColourRun(rawName, [&](int colour, std::string_view text) {
    if (text.empty()) return;
    if (colour != 0) StringAppendF(out, "<span class=\"c%d\">", colour);
    for (char c : text)
      AppendByte(out, static_cast<unsigned char>(c), latin1);
    if (colour != 0) out->append("</span>");
  });
}

std::string Fixed2(double value) {
  return StringPrintf("%.2f", value);
}

std::string Fixed1(double value) {
  return StringPrintf("%.1f", value);
}

std::string Duration(int64_t seconds) {
  if (seconds < 0) seconds = 0;
  return StringPrintf("%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                      static_cast<long long>(seconds % 3600 / 60),
                      static_cast<long long>(seconds % 60));
}

}  // namespace vexor

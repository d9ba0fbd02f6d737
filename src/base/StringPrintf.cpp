#include "base/StringPrintf.h"

#include <algorithm>
#include <charconv>
#include <cstdarg>
#include <cstdio>

namespace vexor {
namespace {

void AppendV(std::string* out, const char* format, va_list args) {
  char small[256];
  va_list copy;
  va_copy(copy, args);
  int needed = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (needed < 0) return;
  if (static_cast<size_t>(needed) < sizeof small) {
    out->append(small, static_cast<size_t>(needed));
    return;
  }
  size_t old = out->size();
  out->resize(old + static_cast<size_t>(needed) + 1);
  std::vsnprintf(out->data() + old, static_cast<size_t>(needed) + 1, format, args);
  out->resize(old + static_cast<size_t>(needed));
}

}  // namespace

std::string StringPrintf(const char* format, ...) {
  std::string out;
  va_list args;
  va_start(args, format);
  AppendV(&out, format, args);
  va_end(args);
  return out;
}

void StringAppendF(std::string* out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  AppendV(out, format, args);
  va_end(args);
}

void AppendDecimal(std::string* out, long long value) {
  if (value >= 0 && value <= 9) {
    out->push_back(static_cast<char>('0' + value));  // most counts of a kill chart
    return;
  }
  constexpr size_t kMostDigits = 20;  // "-9223372036854775808"
  size_t start = out->size();
  out->resize(start + kMostDigits);
  std::to_chars_result end = std::to_chars(out->data() + start, out->data() + out->size(), value);
  out->resize(static_cast<size_t>(end.ptr - out->data()));
}

void AppendFixed(std::string* out, double value, int decimals) {
  decimals = std::max(decimals, 0);
  // A sign, the 309 digits of the largest double, the point and the decimals.
  size_t most = 311 + static_cast<size_t>(decimals);
  size_t start = out->size();
  out->resize(start + most);
  std::to_chars_result end = std::to_chars(out->data() + start, out->data() + out->size(), value,
                                           std::chars_format::fixed, decimals);
  out->resize(end.ec == std::errc() ? static_cast<size_t>(end.ptr - out->data()) : start);
}

}  // namespace vexor

#include "base/TextNumbers.h"

#include <limits>

namespace vexor {

int32_t WholeNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int64_t value = 0;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) value = kLimit;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

int32_t SaturatingAdd(int32_t a, int64_t b) {
  int64_t sum = int64_t{a} + b;
  if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(sum);
}

bool ParseDialogInteger(const std::string& text, int32_t* value) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  size_t i = 0;
  while (i < text.size() && blank(text[i])) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  size_t firstDigit = i;
  int64_t magnitude = 0;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kLimit) return false;
  }
  if (i == firstDigit) return false;
  while (i < text.size() && blank(text[i])) {
    ++i;
  }
  if (i != text.size()) return false;
  int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > std::numeric_limits<int32_t>::max()) return false;
  *value = static_cast<int32_t>(signedValue);
  return true;
}

}  // namespace vexor

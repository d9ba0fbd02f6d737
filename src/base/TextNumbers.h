// Number reading and overflow-safe arithmetic shared by the log parsers and the file readers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vexor {

// The whole-number value of the text as the C library's atoi reads it: leading blanks, an
// optional sign, then digits; no digits give 0. Values beyond the int32 range saturate.
int32_t WholeNumber(std::string_view text);

// Adds amount to *counter with two's-complement wrap-around instead of undefined overflow.
inline void AddWrapping(int32_t* counter, int32_t amount) {
  *counter = static_cast<int32_t>(static_cast<uint32_t>(*counter) + static_cast<uint32_t>(amount));
}

inline void SubtractWrapping(int32_t* counter, int32_t amount) {
  *counter = static_cast<int32_t>(static_cast<uint32_t>(*counter) - static_cast<uint32_t>(amount));
}

// A whole number as a dialog's integer box takes it: blanks (spaces, tabs) around, an optional
// sign, at least one digit, and within the int32 range. False for anything else.
bool ParseDialogInteger(const std::string& text, int32_t* value);

// a + b clamped to the int32 range.
int32_t SaturatingAdd(int32_t a, int64_t b);

}  // namespace vexor

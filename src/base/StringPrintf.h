// printf-style formatting into std::string. Format strings are literals; data is always passed
// as an argument, so a player name containing "%" is copied unchanged.
#pragma once

#include <string>

namespace vexor {

std::string StringPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Appends the formatted text to *out.
void StringAppendF(std::string* out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Appends value in decimal, as "%lld" writes it, without a format: for pages and exports that
// write millions of numbers.
void AppendDecimal(std::string* out, long long value);

// Appends value with the given number of decimals (0 or more), as "%.*f" writes it in the "C"
// locale, without a format: always a decimal point, whatever locale the process has set (a
// desktop toolkit sets the user's), "nan" and "inf" as the C library writes them.
void AppendFixed(std::string* out, double value, int decimals);

}  // namespace vexor

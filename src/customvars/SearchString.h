// The form of a client variable's search string, told from where "PLAYER1" and " PLAYER2"
// stand in it.
#pragma once

#include <cstdint>
#include <string_view>

namespace vexor {

// The seven forms (the values of a ClientVariable's stringType).
enum StringType : int32_t {
  kPlayer1String = 0,              // "PLAYER1 string"
  kStringPlayer1 = 1,              // "string PLAYER1"
  kStringPlayer1String = 2,        // "string PLAYER1 string"
  kPlayer1StringPlayer2 = 3,       // "PLAYER1 string PLAYER2"
  kPlayer1StringPlayer2String = 4, // "PLAYER1 string PLAYER2 string"
  kStringPlayer1StringPlayer2 = 5, // "string PLAYER1 string PLAYER2"
  kStringPlayer1StringPlayer2String = 6,  // "string PLAYER1 string PLAYER2 string"
};

enum class SearchStringRule {
  // The definition check: "PLAYER1" at the start counts as the leading form only when more
  // follows; a string without "PLAYER1" has no form (-1).
  kDefinition,
  // Matching log lines: "PLAYER1" at the start always gives the leading form, and a string
  // without "PLAYER1" is read as that form too.
  kMatching,
};

// The form code 0 to 6 of the search string, or -1 (kDefinition only) when it has none. The
// last "PLAYER1" decides the one-player form; a " PLAYER2" (with its blank) after that makes it
// a two-player form. Case-sensitive.
int32_t ClassifySearchString(std::string_view searchString, SearchStringRule rule);

// True when the search string has the form stringType (the definition rule).
bool MatchesStringType(std::string_view searchString, int32_t stringType);

}  // namespace vexor

#include "customvars/SearchString.h"

namespace vexor {

int32_t ClassifySearchString(std::string_view searchString, SearchStringRule rule) {
  constexpr std::string_view kPlayer1 = "PLAYER1";
  constexpr std::string_view kPlayer2 = " PLAYER2";
  const size_t length = searchString.size();
  int32_t code = rule == SearchStringRule::kMatching ? kPlayer1String : -1;
  for (size_t i = 0; i + kPlayer1.size() <= length; ++i) {
    if (searchString.compare(i, kPlayer1.size(), kPlayer1) != 0) continue;
    bool leading = i == 0 && (rule == SearchStringRule::kMatching || length > kPlayer1.size());
    if (leading) {
      code = kPlayer1String;
    } else {
      code = i + kPlayer1.size() == length ? kStringPlayer1 : kStringPlayer1String;
    }
  }
  for (size_t i = 0; i + kPlayer2.size() <= length; ++i) {
    if (searchString.compare(i, kPlayer2.size(), kPlayer2) != 0) continue;
    bool ends = i + kPlayer2.size() == length;
    if (code == kPlayer1String) {
      code = ends ? kPlayer1StringPlayer2 : kPlayer1StringPlayer2String;
    } else {
      code = ends ? kStringPlayer1StringPlayer2 : kStringPlayer1StringPlayer2String;
    }
  }
  return code;
}

bool MatchesStringType(std::string_view searchString, int32_t stringType) {
  return ClassifySearchString(searchString, SearchStringRule::kDefinition) == stringType;
}

}  // namespace vexor

#include "ui/VisibleVariables.h"

#include <algorithm>

#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

template <typename Set>
void AppendVisible(const Set& set, int32_t count, bool server, std::vector<VisibleVariable>* out) {
  int32_t last = UsableVariableCount(count);
  for (int32_t v = 1; v <= last; ++v) {
    const auto& variable = set[static_cast<size_t>(v)];
    if (variable.visible != 0) out->push_back({server, v, &variable.name});
  }
}

}  // namespace

int32_t VisibleVariable::TotalOf(const PlayerRecord& player) const {
  const std::vector<int32_t>& totals = server ? player.serverVarTotals : player.clientVarTotals;
  return number >= 0 && static_cast<size_t>(number) < totals.size()
             ? totals[static_cast<size_t>(number)]
             : 0;
}

std::vector<VisibleVariable> VisibleClientVariables(const VexoriumDoc& doc) {
  std::vector<VisibleVariable> visible;
  AppendVisible(doc.clientVars, doc.clientVarCount, false, &visible);
  return visible;
}

std::vector<VisibleVariable> VisibleServerVariables(const VexoriumDoc& doc) {
  std::vector<VisibleVariable> visible;
  AppendVisible(doc.serverVars, doc.serverVarCount, true, &visible);
  return visible;
}

std::vector<VisibleVariable> VisibleVariables(const VexoriumDoc& doc) {
  std::vector<VisibleVariable> visible;
  AppendVisible(doc.clientVars, doc.clientVarCount, false, &visible);
  AppendVisible(doc.serverVars, doc.serverVarCount, true, &visible);
  return visible;
}

int32_t VisibleClientVariableCount(const VexoriumDoc& doc) {
  return static_cast<int32_t>(VisibleClientVariables(doc).size());
}

int32_t VisibleServerVariableCount(const VexoriumDoc& doc) {
  return static_cast<int32_t>(VisibleServerVariables(doc).size());
}

}  // namespace vexor

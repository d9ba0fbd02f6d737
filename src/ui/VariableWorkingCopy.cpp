#include "ui/VariableWorkingCopy.h"

#include <algorithm>
#include <vector>

#include "base/Archive.h"
#include "base/AtomicFile.h"
#include "base/StringPrintf.h"
#include "platform/Prompter.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

// Where each set lives in the document and in the player records.
template <typename Variable>
struct SetPlace;

template <>
struct SetPlace<ClientVariable> {
  static constexpr ClientVariableSet VexoriumDoc::*kSet = &VexoriumDoc::clientVars;
  static constexpr int32_t VexoriumDoc::*kCount = &VexoriumDoc::clientVarCount;
  static constexpr std::vector<int32_t> PlayerRecord::*kTotals = &PlayerRecord::clientVarTotals;
  static constexpr std::vector<int32_t> PlayerGame::*kGameCounts = &PlayerGame::clientVarCounts;
  static constexpr bool kFollowsTeamArenaFile = false;
};

template <>
struct SetPlace<ServerVariable> {
  static constexpr ServerVariableSet VexoriumDoc::*kSet = &VexoriumDoc::serverVars;
  static constexpr int32_t VexoriumDoc::*kCount = &VexoriumDoc::serverVarCount;
  static constexpr std::vector<int32_t> PlayerRecord::*kTotals = &PlayerRecord::serverVarTotals;
  static constexpr std::vector<int32_t> PlayerGame::*kGameCounts = &PlayerGame::serverVarCounts;
  static constexpr bool kFollowsTeamArenaFile = true;
};

constexpr const char* kAllVariablesUsed =
    "Cant create this variable. You have used all fifty user-variables!.\n"
    "Go back and clear some variables you dont want.";

// Copies slots 1 to count between the document and a working copy. A slot without a value
// counts nothing, and its target is made the variable's own number, as a new slot would have.
template <typename Set>
void CopySlots(const Set& from, int32_t count, Set* to) {
  for (int32_t i = 1; i <= count; ++i) {
    auto& variable = (*to)[static_cast<size_t>(i)];
    variable = from[static_cast<size_t>(i)];
    for (const SlotFields& slot : kSlotsInRecordOrder) {
      if (variable.*slot.value == 0) variable.*slot.target = i;
    }
  }
}

// After Finish with a changed set: the old counts belong to other definitions, so every
// player's counters of the set start again from zero, sized for the new count. Per-game counts
// are sparse (an absent entry reads 0), so clearing them is the zeroed table.
template <typename Variable>
void ResetPlayerCounters(VexoriumDoc& doc, int32_t count, bool discard) {
  using Place = SetPlace<Variable>;
  const size_t entries = static_cast<size_t>(count) + 1;
  for (PlayerRecord& player : doc.players) {
    std::vector<int32_t>& totals = player.*Place::kTotals;
    if (!discard) {
      // Nothing to discard, but the totals must still reach the new count for their readers.
      if (totals.size() < entries) totals.resize(entries, 0);
      continue;
    }
    totals.assign(entries, 0);
    for (size_t e = 0; e < player.games.EntryCount(); ++e) {
      (player.games.ValueAt(e).*Place::kGameCounts).clear();
    }
  }
}

}  // namespace

template <typename Variable, typename Form>
void VariableWorkingCopy<Variable, Form>::SetCurrent(int32_t k) {
  m_current = std::clamp(k, 1, m_count + 1);
}

template <typename Variable, typename Form>
void VariableWorkingCopy<Variable, Form>::ClearSlot(int32_t k) {
  m_slots[static_cast<size_t>(k)] = Variable{};
}

template <typename Variable, typename Form>
void VariableWorkingCopy<Variable, Form>::Clear() {
  for (int32_t k = 0; k < kVariableSlots; ++k)
    ClearSlot(k);
  m_count = 0;
  m_current = 1;
}

template <typename Variable, typename Form>
bool VariableWorkingCopy<Variable, Form>::StoreForm(const Form& form, Prompter& prompter) {
  if (IsNewVariable()) {
    if (m_count >= kMaxVariables) {
      prompter.Inform(kAllVariablesUsed, kInvalidFormCaption);
      return false;
    }
    ++m_count;
    m_setsChanged = true;
    m_current = m_count;
  }
  WriteFormToRecord(form, m_current, &m_slots[static_cast<size_t>(m_current)]);
  return true;
}

template <typename Variable, typename Form>
bool VariableWorkingCopy<Variable, Form>::DeleteCurrent() {
  if (IsNewVariable()) return false;
  const int32_t k = m_current;
  for (int32_t i = 1; i <= m_count; ++i) {
    Variable& variable = m_slots[static_cast<size_t>(i)];
    for (const SlotFields& slot : kSlotsInRecordOrder) {
      int32_t& target = variable.*slot.target;
      if (target == k) {
        // A variable that fed the deleted one would now count nothing it is named for.
        target = 0;
        variable.visible = 0;
      } else if (target > k) {
        --target;
      }
    }
  }
  for (int32_t i = k; i < m_count; ++i) {
    Variable& moved = m_slots[static_cast<size_t>(i)];
    moved = std::move(m_slots[static_cast<size_t>(i + 1)]);
    for (const SlotFields& slot : kSlotsInRecordOrder) {
      moved.*slot.target = std::max(moved.*slot.target, 0);
    }
  }
  ClearSlot(m_count);
  --m_count;
  return true;
}

template <typename Variable, typename Form>
void VariableWorkingCopy<Variable, Form>::LoadFromDocument(const VexoriumDoc& doc) {
  using Place = SetPlace<Variable>;
  m_count = std::clamp(doc.*Place::kCount, 0, kMaxVariables);
  CopySlots(doc.*Place::kSet, m_count, &m_slots);
  m_current = 1;
}

template <typename Variable, typename Form>
void VariableWorkingCopy<Variable, Form>::CopyToDocument(VexoriumDoc& doc) const {
  using Place = SetPlace<Variable>;
  doc.*Place::kCount = m_count;
  CopySlots(m_slots, m_count, &(doc.*Place::kSet));
  bool discard = m_setsChanged && doc.nameCount > 0 && doc.gameCount > 0;
  ResetPlayerCounters<Variable>(doc, m_count, discard);
  doc.refresh = true;
}

template <typename Variable, typename Form>
bool VariableWorkingCopy<Variable, Form>::WriteFile(const std::string& path,
                                                    std::string* error) const {
  AtomicFile file;
  if (!file.Open(path)) {
    *error = file.Error();
    return false;
  }
  {
    ArchiveWriter archive(file);
    WriteVariableSet(archive, m_count, m_slots);
  }
  if (!file.Commit()) {
    *error = file.Error();
    return false;
  }
  return true;
}

template <typename Variable, typename Form>
VarFileStatus VariableWorkingCopy<Variable, Form>::ReadFile(const std::string& path,
                                                            Prompter& prompter) {
  FileSource source;
  if (!source.Open(path)) {
    m_badFile = false;
    return VarFileStatus::kCannotOpen;
  }
  ArchiveReader archive(source);
  // A file that ends early is as bad as one with an impossible count: keeping the count it
  // announced with only some of its records would mix the file's set with the old one.
  if (!ReadVariableSet(archive, &m_count, &m_slots)) {
    m_badFile = true;
    prompter.Inform(kBadVariableFileText, kBadVariableFileCaption);
    Clear();
    return VarFileStatus::kBad;
  }
  m_badFile = false;
  m_current = 1;
  return VarFileStatus::kLoaded;
}

template <typename Variable, typename Form>
VarFileStatus VariableWorkingCopy<Variable, Form>::LoadVars(const std::string& chosenPath,
                                                            Prompter& prompter, VexoriumDoc& doc) {
  VarFileStatus status = VarFileStatus::kNotChosen;
  if (!chosenPath.empty()) status = ReadFile(chosenPath, prompter);
  if (status == VarFileStatus::kBad) return status;
  m_setsChanged = true;
  m_current = 1;
  if constexpr (SetPlace<Variable>::kFollowsTeamArenaFile) {
    doc.teamArenaSet = IsTeamArenaPath(chosenPath);
  }
  return status;
}

template class VariableWorkingCopy<ClientVariable, ClientFormFields>;
template class VariableWorkingCopy<ServerVariable, ServerFormFields>;

namespace {

template <typename WorkingCopy>
bool InstallVariableFile(VexoriumDoc& doc, const std::string& path, Prompter& prompter,
                         std::string* error) {
  WorkingCopy copy;
  copy.LoadFromDocument(doc);
  switch (copy.ReadFile(path, prompter)) {
    case VarFileStatus::kLoaded:
      break;
    case VarFileStatus::kBad:
      error->clear();
      return false;
    case VarFileStatus::kCannotOpen:
    case VarFileStatus::kNotChosen:
      *error = StringPrintf("The variable file \"%s\" cannot be opened.", path.c_str());
      return false;
  }
  copy.MarkSetsChanged();
  copy.CopyToDocument(doc);
  return true;
}

}  // namespace

bool InstallClientVariableFile(VexoriumDoc& doc, const std::string& path, Prompter& prompter,
                               std::string* error) {
  return InstallVariableFile<ClientVarWorkingCopy>(doc, path, prompter, error);
}

bool InstallServerVariableFile(VexoriumDoc& doc, const std::string& path, Prompter& prompter,
                               std::string* error) {
  if (!InstallVariableFile<ServerVarWorkingCopy>(doc, path, prompter, error)) return false;
  doc.teamArenaSet = IsTeamArenaPath(path);
  return true;
}

}  // namespace vexor

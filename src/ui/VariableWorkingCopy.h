// The working copy of a custom-variable set that a definition dialog edits: a count, 50 slots
// (slot 0 is never a variable) and the current index, which is a stored variable 1 to count or
// count + 1, the new variable that the form shows before it is stored. The dialog copies the
// document's set in when it opens, edits the copy one variable at a time, and copies it back
// only on Finish. One class serves both sets; the aliases below name the two.
//
// Two flags live with the copy for the dialog's whole life: sets-changed (a new variable was
// stored or a file was loaded; never cleared again, so the next Finish discards every player's
// counters of the set) and bad-file (the last file read was bad).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "customvars/CustomVariables.h"
#include "customvars/VariableFile.h"
#include "ui/FormFields.h"

namespace vexor {

class VexoriumDoc;
class Prompter;

template <typename Variable, typename Form>
class VariableWorkingCopy {
 public:
  using Set = std::array<Variable, kVariableSlots>;

  // An empty copy: count 0, current 1, every slot cleared.
  VariableWorkingCopy() = default;

  int32_t Count() const { return m_count; }
  int32_t Current() const { return m_current; }
  // True when the form shows the new, unstored variable (current is count + 1).
  bool IsNewVariable() const { return m_current > m_count; }
  // Moves to variable k, or to the new variable for count + 1; k is kept within 1 to count + 1.
  void SetCurrent(int32_t k);
  // Slot k, 0 to 49.
  const Variable& Slot(int32_t k) const { return m_slots[static_cast<size_t>(k)]; }
  const Set& Slots() const { return m_slots; }

  bool SetsChanged() const { return m_setsChanged; }
  void MarkSetsChanged() { m_setsChanged = true; }
  bool BadFile() const { return m_badFile; }

  // "Store Var" after ValidateForm accepted the form. On the new variable: refused with the
  // "Cant create this variable..." box (through the prompter) when 49 variables exist;
  // otherwise the count grows, sets-changed is set, and the form becomes variable count (which
  // is then current, and no longer new). On a stored variable: overwrites it. False when refused.
  bool StoreForm(const Form& form, Prompter& prompter);

  // Deletes the current stored variable k: every target k in the set becomes 0 and its variable
  // invisible, targets above k move down one, later variables move down one place (targets
  // below 0 among them become 0), the last slot is cleared and the count drops. Current stays
  // k: the former k + 1, or the new variable when k was the last. False (nothing changes) when
  // current is the new variable.
  bool DeleteCurrent();

  // Replaces the copy by the document's set (when the dialog opens): count, slots 1 to count,
  // and current 1. A slot whose value is 0 gets its own variable as target.
  void LoadFromDocument(const VexoriumDoc& doc);

  // Finish: the document's count and slots 1 to count become the copy's, with the same target
  // rule, and its refresh flag is set (the caller updates the views). When sets-changed is set
  // and the document holds players and games, every player's counters of this set are replaced
  // by zeros sized for the new count.
  void CopyToDocument(VexoriumDoc& doc) const;

  // Empties the copy as a bad file does: count 0, current 1, every slot cleared.
  void Clear();

  // "Save Vars": writes count and slots 1 to count to path, safely (a temporary file renamed over
  // the target). False with a message naming the file in *error; the previous file is kept.
  bool WriteFile(const std::string& path, std::string* error) const;

  // Reads a variable file. kLoaded: count and slots 1 to count replaced, current 1. kBad: the
  // "Sorry, that file was not opened properly..." box through the prompter, then Clear().
  // kCannotOpen: nothing changes. The bad-file flag tells whether this read was bad.
  VarFileStatus ReadFile(const std::string& path, Prompter& prompter);

  // "Load Vars" once the question and the file dialog are over; an empty chosenPath means that
  // no file was chosen or the question was answered with Cancel (kNotChosen). Reads the file
  // when there is one. Unless it was bad: sets-changed is set and current becomes 1 (also when
  // nothing was read), and for the server set the document's Team Arena set flag follows the
  // chosen path at once (cleared for an empty one). A bad file leaves the flag alone.
  VarFileStatus LoadVars(const std::string& chosenPath, Prompter& prompter, VexoriumDoc& doc);

 private:
  // Slot k becomes a cleared record.
  void ClearSlot(int32_t k);

  int32_t m_count = 0;
  int32_t m_current = 1;
  Set m_slots{};
  bool m_setsChanged = false;
  bool m_badFile = false;
};

using ClientVarWorkingCopy = VariableWorkingCopy<ClientVariable, ClientFormFields>;
using ServerVarWorkingCopy = VariableWorkingCopy<ServerVariable, ServerFormFields>;

// The command line's --client-vars / --server-vars: reads a variable file and installs it as the
// document's set exactly as "Load Vars" followed by "Finish" would (no questions, no "Loaded."
// notice); the server variant sets the Team Arena set flag from the path. On failure the
// document is unchanged and false is returned: for a bad file the prompter has shown its box
// and *error is left empty; for a file that cannot be opened *error names it.
bool InstallClientVariableFile(VexoriumDoc& doc, const std::string& path, Prompter& prompter,
                               std::string* error);
bool InstallServerVariableFile(VexoriumDoc& doc, const std::string& path, Prompter& prompter,
                               std::string* error);

}  // namespace vexor

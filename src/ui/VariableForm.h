// The two custom-variable definition dialogs without a toolkit. A form shows one variable of its
// working copy at a time and runs every button's steps: which variable is shown, what the
// controls hold, which of them are enabled and which message appears. A dialog widget builds
// its controls from the form's control table, shows the form's values, hands the controls'
// contents back before a step that reads the form, and only forwards clicks.
//
// The form belongs to the main window for the document's whole life, so its sets-changed flag
// outlives every opening; Start() replaces the working copy by the document's set.
//
// VariableForm is what a dialog sees; VariableFormSteps implements the steps both dialogs share
// for one kind of variable; ClientVarForm and ServerVarForm add what differs.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/VariableWorkingCopy.h"

namespace vexor {

class VexoriumDoc;
class Prompter;

// Every control either dialog may have, by role. The four change slots run in record order
// (player 1, player 2, player 1 second, player 2 second), their rows by player.
enum class VarControl : int {
  kTypeList,
  kTypeLabel,
  kName,
  kNameLabel,
  kVisible,
  kDetailsGroup,
  kSearchString,
  kSearchLabel,
  kSyntaxLabel,
  kIdstring,
  kId1,
  kId2,
  kId3,
  kModstring,
  kSlotFlag,  // + slot 0 to 3
  kSlotTarget = kSlotFlag + 4,
  kSlotValue = kSlotTarget + 4,
  kTargetsLabel = kSlotValue + 4,  // + row 0 (player 1) or 1 (player 2)
  kValuesLabel = kTargetsLabel + 2,
  kDelete = kValuesLabel + 2,
  kPrevious,
  kStore,
  kNext,
  kLoad,
  kSave,
  kCancel,
  kFinish,
  kNone,
};
constexpr int kVarControlCount = static_cast<int>(VarControl::kNone);

constexpr VarControl SlotFlag(int slot) {
  return static_cast<VarControl>(static_cast<int>(VarControl::kSlotFlag) + slot);
}
constexpr VarControl SlotTarget(int slot) {
  return static_cast<VarControl>(static_cast<int>(VarControl::kSlotTarget) + slot);
}
constexpr VarControl SlotValue(int slot) {
  return static_cast<VarControl>(static_cast<int>(VarControl::kSlotValue) + slot);
}
constexpr VarControl TargetsLabel(int row) {
  return static_cast<VarControl>(static_cast<int>(VarControl::kTargetsLabel) + row);
}
constexpr VarControl ValuesLabel(int row) {
  return static_cast<VarControl>(static_cast<int>(VarControl::kValuesLabel) + row);
}
// The row (0: player 1, 1: player 2) of slot 0 to 3.
constexpr int SlotRow(int slot) {
  return slot % 2;
}

enum class VarControlKind {
  kTextEdit,      // a text
  kNumberEdit,    // a whole number typed as text
  kCheckBox,      // 0 or 1
  kCheckBoxLeft,  // a check box with its text on the left
  kTypeList,      // a drop-down list of the seven search-string forms
  kTargetList,    // a drop-down list: "This Variable", then the working copy's variables
  kLabel,
  kGroupBox,
  kButton,
};

// One control: its resource id, role, kind, caption (empty for edit boxes and lists) and the
// name a screen reader gives it.
struct VarControlInfo {
  int id;
  VarControl control;
  VarControlKind kind;
  const char* caption;
  const char* accessibleName;
};

// What the valued controls hold, by role: text for the edit boxes (numbers as typed), number for
// check boxes (0 or 1) and lists (the selected entry; -1: nothing selected).
struct VarFormValues {
  std::array<std::string, kVarControlCount> text;
  std::array<int32_t, kVarControlCount> number{};
};

// The ids of a player's row: its two slot boxes, their target lists and value boxes, and the
// row's two labels.
struct SlotRowIds {
  int flag, flag2, target, value, target2, value2, targetsLabel, valuesLabel;
};
// The ids of the eight buttons.
struct VarButtonIds {
  int remove, previous, store, next, load, save, cancel, finish;
};
// Appends the two player rows (player 1 first), then the buttons, in tab order: the part of the
// control tables both dialogs share.
void AppendSlotRowsAndButtons(const std::array<SlotRowIds, 2>& rows, const VarButtonIds& buttons,
                              std::vector<VarControlInfo>* controls);

inline constexpr int kVarNameLimit = 15;
inline constexpr const char* kThisVariable = "This Variable";
inline constexpr const char* kVarFileFilter = "All Files (*.*)|*.*||";
inline constexpr const char* kVarIntegerMessage = "Please enter an integer.";
inline constexpr const char* kVarNameTooLongMessage = "Please enter no more than %1 characters.";
inline constexpr const char* kVarReadCaption = "Vexor";
inline constexpr const char* kEmptyFormMessage = "This variable is empty. Fill it in!";
inline constexpr const char* kAlreadyClearMessage = "The variable is already clear!";
inline constexpr const char* kDeleteQuestion =
    "This will clear the current variable.\nIt will aslo make invisible all variables that alter "
    "the current variable.\n Are you sure?";
inline constexpr const char* kFinishQuestion =
    "This will copy all variables in this dialog to the system, replacing any currently in "
    "use..\nAre you sure you want to do this?";
inline constexpr const char* kLoadedNotice = "Loaded. You will need to reload the log files.";
inline constexpr const char* kCancelQuestion =
    "This will lose all changes made since the last time you hit Finish!";
inline constexpr const char* kWarningCaption = "Warning";

class VariableForm {
 public:
  virtual ~VariableForm() = default;

  // The dialog's caption and its controls in tab order.
  virtual const char* Caption() const = 0;
  virtual const std::vector<VarControlInfo>& Controls() const = 0;
  // The entry texts of the type list (empty for a dialog without one).
  virtual std::vector<std::string> TypeEntries() const { return {}; }
  // True when Escape and the close box ask the Cancel question; false when they close at once.
  virtual bool AsksBeforeClosing() const = 0;

  // Dialog start: the working copy becomes the document's set and variable 1 is shown (a blank
  // form for an empty set).
  virtual void Start(const VexoriumDoc& doc) = 0;

  // What the controls are to show, and the entries of the four target lists.
  virtual VarFormValues Values() const = 0;
  const std::vector<std::string>& TargetEntries() const { return m_targetEntries; }
  bool Enabled(VarControl control) const { return m_enabled[Index(control)]; }
  // Grows whenever the form shows another variable or a blank form: the dialog then shows every
  // control again. Otherwise after a step only the flags and the enabling may have changed.
  int Revision() const { return m_revision; }

  // Reads the controls in table order. A number box that does not hold a whole number refuses
  // with "Please enter an integer.", a name longer than 15 characters with "Please enter no more
  // than 15 characters."; reading stops there, *refused names the box and false is returned (the
  // step that read must stop: going on would act on a value other than the one on show).
  virtual bool Read(const VarFormValues& values, Prompter& prompter, VarControl* refused) = 0;

  // A type chosen in the type list (-1: none), for a form that has one.
  virtual void SelectType(int32_t type) { (void)type; }

  // A click on slot box 0 to 3, with the four boxes' states: the flags follow and the slot's
  // target list and value box and its row's labels are enabled by them.
  virtual void SlotBoxClicked(const std::array<bool, 4>& checked) = 0;

  // The buttons, after Read() where the step reads the form (Store, Next, Pre, Finish).
  virtual void Store(Prompter& prompter) = 0;
  virtual void Next(Prompter& prompter) = 0;
  virtual void Previous(Prompter& prompter) = 0;
  // Judges the fields as last read; asks before clearing.
  virtual void Delete(Prompter& prompter) = 0;
  // Next, then the question; on Yes copies the set to the document and shows "Loaded...".
  // True when the dialog closes (the caller updates the views).
  virtual bool Finish(VexoriumDoc& doc, Prompter& prompter) = 0;
  // The Cancel question: true when the dialog closes; the document is untouched.
  bool Cancel(Prompter& prompter);
  virtual void SaveVars(Prompter& prompter) = 0;
  virtual void LoadVars(VexoriumDoc& doc, Prompter& prompter) = 0;

 protected:
  static size_t Index(VarControl control) { return static_cast<size_t>(control); }
  void Enable(VarControl control, bool on) { m_enabled[Index(control)] = on; }

  std::array<bool, kVarControlCount> m_enabled{};
  std::vector<std::string> m_targetEntries{kThisVariable};
  int m_revision = 0;
};

// The steps of one kind of variable. Form is the fields the dialog reads (FormFields.h).
template <typename Variable, typename Form>
class VariableFormSteps : public VariableForm {
 public:
  using WorkingCopy = VariableWorkingCopy<Variable, Form>;

  VariableFormSteps();

  const WorkingCopy& Copy() const { return m_copy; }
  const Form& Fields() const { return m_fields; }
  // True when the last "Next Var >>" did not refuse the form.
  bool NextSucceeded() const { return m_nextOk; }

  void Start(const VexoriumDoc& doc) override;
  VarFormValues Values() const override;
  bool Read(const VarFormValues& values, Prompter& prompter, VarControl* refused) override;
  void SlotBoxClicked(const std::array<bool, 4>& checked) override;
  void Store(Prompter& prompter) override;
  void Next(Prompter& prompter) override;
  void Previous(Prompter& prompter) override;
  void Delete(Prompter& prompter) override;
  bool Finish(VexoriumDoc& doc, Prompter& prompter) override;
  void SaveVars(Prompter& prompter) override;
  void LoadVars(VexoriumDoc& doc, Prompter& prompter) override;

 protected:
  // The enabling of the definition's controls after a form is shown or loaded.
  virtual void ApplyEnableRule() = 0;
  // Enables each slot's target list and value box by its flag, each row's labels by either flag
  // of the row.
  void EnableSlotsByFlags();
  // The question Load Vars asks before replacing a set that holds variables.
  virtual const char* LoadQuestion() const = 0;

  Form m_fields;

 private:
  void ShowBlank();
  void ShowVariable(int32_t k);
  // Target lists: "This Variable", then the working copy's names; Pre and Next by position.
  void RefillTargetsAndArrows();
  // A refused form's message, or the empty-form message; true when the form is "ok".
  bool Judge(const std::string& verdict, Prompter& prompter) const;

  WorkingCopy m_copy;
  bool m_nextOk = false;
};

}  // namespace vexor

#include "ui/VariableForm.h"

#include "base/TextNumbers.h"
#include "customvars/SearchString.h"
#include "platform/Prompter.h"

namespace vexor {
namespace {

// Where the form keeps a check box, list selection or number box of the slots: the controls
// kSlotFlag to kSlotValue + 3 walk flags, targets and values in record order.
int32_t* SlotNumber(FormSlots& slots, VarControl control) {
  int offset = static_cast<int>(control) - static_cast<int>(VarControl::kSlotFlag);
  if (offset < 0 || offset >= 12) return nullptr;
  const SlotFields& slot = kSlotsInRecordOrder[static_cast<size_t>(offset % 4)];
  switch (offset / 4) {
    case 0:
      return &(slots.*slot.change);
    case 1:
      return &(slots.*slot.target);
    default:
      return &(slots.*slot.value);
  }
}

std::string* TextField(ClientFormFields& form, VarControl control) {
  switch (control) {
    case VarControl::kName:
      return &form.name;
    case VarControl::kSearchString:
      return &form.searchString;
    default:
      return nullptr;
  }
}

std::string* TextField(ServerFormFields& form, VarControl control) {
  switch (control) {
    case VarControl::kName:
      return &form.name;
    case VarControl::kIdstring:
      return &form.idstring;
    case VarControl::kModstring:
      return &form.modstring;
    default:
      return nullptr;
  }
}

int32_t* NumberField(ClientFormFields& form, VarControl control) {
  switch (control) {
    case VarControl::kTypeList:
      return &form.typeSelection;
    case VarControl::kVisible:
      return &form.visible;
    default:
      return SlotNumber(form.changes, control);
  }
}

int32_t* NumberField(ServerFormFields& form, VarControl control) {
  switch (control) {
    case VarControl::kId1:
      return &form.id1;
    case VarControl::kId2:
      return &form.id2;
    case VarControl::kId3:
      return &form.id3;
    case VarControl::kVisible:
      return &form.visible;
    default:
      return SlotNumber(form.changes, control);
  }
}

// A list selection that names no entry selects nothing.
int32_t Selection(int32_t entry, int32_t entries) {
  return entry >= 0 && entry < entries ? entry : -1;
}

ClientFormFields FormFromRecord(const ClientVariable& record) {
  ClientFormFields form;
  form.name = record.name;
  form.searchString = record.searchString;
  form.typeSelection = Selection(record.stringType, kStringPlayer1StringPlayer2String + 1);
  form.changes = record;
  form.visible = record.visible;
  return form;
}

ServerFormFields FormFromRecord(const ServerVariable& record) {
  ServerFormFields form;
  form.name = record.name;
  form.idstring = record.idstring;
  form.id1 = record.id1;
  form.id2 = record.id2;
  form.id3 = record.id3;
  form.modstring = record.modstring;
  form.changes = record;
  form.visible = record.visible;
  return form;
}

bool IsValued(VarControlKind kind) {
  return kind != VarControlKind::kLabel && kind != VarControlKind::kGroupBox &&
         kind != VarControlKind::kButton;
}

std::string NameTooLongMessage() {
  std::string message = kVarNameTooLongMessage;
  message.replace(message.find("%1"), 2, std::to_string(kVarNameLimit));
  return message;
}

}  // namespace

void AppendSlotRowsAndButtons(const std::array<SlotRowIds, 2>& rows, const VarButtonIds& buttons,
                              std::vector<VarControlInfo>* controls) {
  using Kind = VarControlKind;
  static const char* const kFlagNames[4] = {
      "Change a Player 1 statistic", "Change a Player 2 statistic",
      "Change a second Player 1 statistic", "Change a second Player 2 statistic"};
  static const char* const kTargetNames[4] = {
      "Player 1: custom var to change", "Player 2: custom var to change",
      "Player 1 second: custom var to change", "Player 2 second: custom var to change"};
  static const char* const kValueNames[4] = {
      "Player 1: value to change by", "Player 2: value to change by",
      "Player 1 second: value to change by", "Player 2 second: value to change by"};
  for (int row = 0; row < 2; ++row) {
    const SlotRowIds& ids = rows[static_cast<size_t>(row)];
    const int second = row + 2;
    controls->insert(
        controls->end(),
        {{ids.flag, SlotFlag(row), Kind::kCheckBox, row == 0 ? "Change Player " : "Change Player",
          kFlagNames[row]},
         {ids.flag2, SlotFlag(second), Kind::kCheckBoxLeft,
          row == 0 ? "1 Statistic" : "2 Statistic", kFlagNames[second]},
         {ids.target, SlotTarget(row), Kind::kTargetList, "", kTargetNames[row]},
         {ids.value, SlotValue(row), Kind::kNumberEdit, "", kValueNames[row]},
         {ids.target2, SlotTarget(second), Kind::kTargetList, "", kTargetNames[second]},
         {ids.value2, SlotValue(second), Kind::kNumberEdit, "", kValueNames[second]},
         {ids.targetsLabel, TargetsLabel(row), Kind::kLabel, "Custom Vars to Change", ""},
         {ids.valuesLabel, ValuesLabel(row), Kind::kLabel, "Value To Change By", ""}});
  }
  controls->insert(controls->end(),
                   {{buttons.remove, VarControl::kDelete, Kind::kButton, "Delete Var", ""},
                    {buttons.previous, VarControl::kPrevious, Kind::kButton, "Pre Var <<", ""},
                    {buttons.store, VarControl::kStore, Kind::kButton, "Store Var", ""},
                    {buttons.next, VarControl::kNext, Kind::kButton, "Next Var >>", ""},
                    {buttons.load, VarControl::kLoad, Kind::kButton, "Load Vars", ""},
                    {buttons.save, VarControl::kSave, Kind::kButton, "Save Vars", ""},
                    {buttons.cancel, VarControl::kCancel, Kind::kButton, "Cancel", ""},
                    {buttons.finish, VarControl::kFinish, Kind::kButton, "Finish", ""}});
}

bool VariableForm::Cancel(Prompter& prompter) {
  return prompter.ShowMessage(kCancelQuestion, kWarningCaption, MessageButtons::kYesNo) ==
         MessageAnswer::kYes;
}

template <typename Variable, typename Form>
VariableFormSteps<Variable, Form>::VariableFormSteps() {
  m_enabled.fill(true);
}

template <typename Variable, typename Form>
void VariableFormSteps<Variable, Form>::Start(const VexoriumDoc& doc) {
  m_copy.LoadFromDocument(doc);
  if (m_copy.Count() == 0) {
    ShowBlank();
  } else {
    ShowVariable(1);
  }
}

template <typename Variable, typename Form>
VarFormValues VariableFormSteps<Variable, Form>::Values() const {
  VarFormValues values;
  Form fields = m_fields;
  for (const VarControlInfo& info : Controls()) {
    size_t i = Index(info.control);
    if (std::string* text = TextField(fields, info.control)) values.text[i] = *text;
    if (int32_t* number = NumberField(fields, info.control)) {
      values.number[i] = *number;
      if (info.kind == VarControlKind::kNumberEdit) values.text[i] = std::to_string(*number);
    }
  }
  return values;
}

template <typename Variable, typename Form>
bool VariableFormSteps<Variable, Form>::Read(const VarFormValues& values, Prompter& prompter,
                                             VarControl* refused) {
  const int32_t entries = static_cast<int32_t>(m_targetEntries.size());
  for (const VarControlInfo& info : Controls()) {
    if (!IsValued(info.kind)) continue;
    size_t i = Index(info.control);
    const std::string& text = values.text[i];
    const char* refusal = nullptr;
    if (std::string* field = TextField(m_fields, info.control)) {
      if (info.control == VarControl::kName && text.size() > kVarNameLimit) {
        prompter.Inform(NameTooLongMessage(), kVarReadCaption);
        *refused = info.control;
        return false;
      }
      *field = text;
    } else if (int32_t* number = NumberField(m_fields, info.control)) {
      switch (info.kind) {
        case VarControlKind::kNumberEdit:
          if (!ParseDialogInteger(text, number)) refusal = kVarIntegerMessage;
          break;
        case VarControlKind::kCheckBox:
        case VarControlKind::kCheckBoxLeft:
          *number = values.number[i] != 0 ? 1 : 0;
          break;
        case VarControlKind::kTargetList:
          *number = Selection(values.number[i], entries);
          break;
        default:
          *number = Selection(values.number[i], static_cast<int32_t>(TypeEntries().size()));
          break;
      }
    }
    if (refusal != nullptr) {
      prompter.Inform(refusal, kVarReadCaption);
      *refused = info.control;
      return false;
    }
  }
  *refused = VarControl::kNone;
  return true;
}

template <typename Variable, typename Form>
void VariableFormSteps<Variable, Form>::SlotBoxClicked(const std::array<bool, 4>& checked) {
  for (size_t slot = 0; slot < checked.size(); ++slot) {
    m_fields.changes.*kSlotsInRecordOrder[slot].change = checked[slot] ? 1 : 0;
  }
  EnableSlotsByFlags();
}

template <typename Variable, typename Form>
void VariableFormSteps<Variable, Form>::EnableSlotsByFlags() {
  auto flag = [this](int slot) {
    return m_fields.changes.*kSlotsInRecordOrder[static_cast<size_t>(slot)].change != 0;
  };
  for (int slot = 0; slot < 4; ++slot) {
    Enable(SlotTarget(slot), flag(slot));
    Enable(SlotValue(slot), flag(slot));
  }
  for (int row = 0; row < 2; ++row) {
    bool on = flag(row) || flag(row + 2);
    Enable(TargetsLabel(row), on);
    Enable(ValuesLabel(row), on);
  }
}

template <typename Variable, typename Form>
void VariableFormSteps<Variable, Form>::RefillTargetsAndArrows() {
  m_targetEntries.assign(1, kThisVariable);
  for (int32_t i = 1; i <= m_copy.Count(); ++i)
    m_targetEntries.push_back(m_copy.Slot(i).name);
  Enable(VarControl::kPrevious, m_copy.Current() != 1);
  Enable(VarControl::kNext, m_copy.Count() >= m_copy.Current());
  ++m_revision;
}

template <typename Variable, typename Form>
void VariableFormSteps<Variable, Form>::ShowBlank() {
  m_fields = Form{};
  RefillTargetsAndArrows();
  ApplyEnableRule();
}

template <typename Variable, typename Form>
void VariableFormSteps<Variable, Form>::ShowVariable(int32_t k) {
  m_copy.SetCurrent(k);
  m_fields = FormFromRecord(m_copy.Slot(m_copy.Current()));
  RefillTargetsAndArrows();
  const int32_t entries = static_cast<int32_t>(m_targetEntries.size());
  for (const SlotFields& slot : kSlotsInRecordOrder) {
    m_fields.changes.*slot.target = Selection(m_fields.changes.*slot.target, entries);
  }
  ApplyEnableRule();
}

template <typename Variable, typename Form>
bool VariableFormSteps<Variable, Form>::Judge(const std::string& verdict,
                                              Prompter& prompter) const {
  if (verdict == kFormOk) return true;
  prompter.Inform(verdict == kFormEmpty ? kEmptyFormMessage : verdict, kInvalidFormCaption);
  return false;
}

template <typename Variable, typename Form>
void VariableFormSteps<Variable, Form>::Store(Prompter& prompter) {
  if (!Judge(ValidateForm(m_fields), prompter)) return;
  // A new variable becomes the last stored one, after which the new form can follow.
  if (m_copy.StoreForm(m_fields, prompter)) Enable(VarControl::kNext, true);
}

template <typename Variable, typename Form>
void VariableFormSteps<Variable, Form>::Next(Prompter& prompter) {
  std::string verdict = ValidateForm(m_fields);
  if (verdict != kFormOk && verdict != kFormEmpty) {
    prompter.Inform(verdict, kInvalidFormCaption);
    m_nextOk = false;
    return;
  }
  const int32_t current = m_copy.Current();
  if (current < m_copy.Count()) {
    ShowVariable(current + 1);
  } else if (verdict == kFormOk && current == m_copy.Count()) {
    m_copy.SetCurrent(current + 1);
    ShowBlank();
  }
  m_nextOk = true;
}

template <typename Variable, typename Form>
void VariableFormSteps<Variable, Form>::Previous(Prompter& prompter) {
  std::string verdict = ValidateForm(m_fields);
  if (verdict != kFormOk && verdict != kFormEmpty) {
    prompter.Inform(verdict, kInvalidFormCaption);
    return;
  }
  if (m_copy.Count() > 0 && m_copy.Current() > 1) ShowVariable(m_copy.Current() - 1);
}

template <typename Variable, typename Form>
void VariableFormSteps<Variable, Form>::Delete(Prompter& prompter) {
  if (ValidateForm(m_fields) == kFormEmpty) {
    prompter.Inform(kAlreadyClearMessage, kWarningCaption);
    return;
  }
  if (prompter.ShowMessage(kDeleteQuestion, kWarningCaption, MessageButtons::kYesNo) !=
      MessageAnswer::kYes) {
    return;
  }
  // On the new form only the form is cleared; a stored variable leaves the set.
  if (m_copy.DeleteCurrent() && !m_copy.IsNewVariable()) {
    ShowVariable(m_copy.Current());
  } else {
    ShowBlank();
  }
}

template <typename Variable, typename Form>
bool VariableFormSteps<Variable, Form>::Finish(VexoriumDoc& doc, Prompter& prompter) {
  Next(prompter);
  if (!m_nextOk) return false;
  if (prompter.ShowMessage(kFinishQuestion, kWarningCaption, MessageButtons::kYesNo) !=
      MessageAnswer::kYes) {
    return false;
  }
  m_copy.CopyToDocument(doc);
  prompter.Inform(kLoadedNotice, kWarningCaption);
  return true;
}

template <typename Variable, typename Form>
void VariableFormSteps<Variable, Form>::SaveVars(Prompter& prompter) {
  std::string path = prompter.ChooseFileToSave({kVarFileFilter, "", false});
  if (path.empty()) return;
  std::string error;
  // A file that could not be written is said so; the previous file there is kept.
  if (!m_copy.WriteFile(path, &error)) prompter.Inform(error, kWarningCaption);
}

template <typename Variable, typename Form>
void VariableFormSteps<Variable, Form>::LoadVars(VexoriumDoc& doc, Prompter& prompter) {
  bool choose = m_copy.Count() == 0 ||
                prompter.ShowMessage(LoadQuestion(), kWarningCaption, MessageButtons::kOkCancel) ==
                    MessageAnswer::kOk;
  std::string path;
  if (choose) {
    std::vector<std::string> chosen = prompter.ChooseFilesToOpen({kVarFileFilter, "", false});
    if (!chosen.empty()) path = chosen.front();
  }
  VarFileStatus status = m_copy.LoadVars(path, prompter, doc);
  // After a bad file or with an empty set there is no variable 1 to show: the form is blank,
  // as the set is.
  if (status == VarFileStatus::kBad || m_copy.Count() == 0) {
    m_copy.SetCurrent(1);
    ShowBlank();
  } else {
    ShowVariable(1);
  }
}

template class VariableFormSteps<ClientVariable, ClientFormFields>;
template class VariableFormSteps<ServerVariable, ServerFormFields>;

}  // namespace vexor

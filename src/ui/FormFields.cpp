#include "ui/FormFields.h"

#include <array>

#include "customvars/SearchString.h"

namespace vexor {
namespace {

constexpr const char* kIntro = "You cannot store this variable because...\n";
constexpr const char* kNothingIncremented = "No variables are being incremented.\n";

// What a set slot lacks, in the order the record lists the slots (kSlotsInRecordOrder).
struct SlotMessages {
  const char* zeroValue;
  const char* noTarget;
};
constexpr std::array<SlotMessages, 4> kSlotMessages = {{
    {"PLAYER1's variable is being incremented by zero!\n",
     "PLAYER1's variable to increment is zero!\n"},
    {"PLAYER2's variable is being incremented by zero!\n",
     "PLAYER2's variable to increment is zero!\n"},
    {"PLAYER1's 2nd variable is being incremented by zero!\n",
     "PLAYER1's 2nd variable to increment is zero!\n"},
    {"PLAYER2's 2nd variable is being incremented by zero!\n",
     "PLAYER2's 2nd variable to increment is zero!\n"},
}};

// The slot checks shared by both forms; appends "No variables are being incremented." when no
// slot is set at all.
void AppendSlotFaults(const FormSlots& slots, std::string* faults) {
  bool anySet = false;
  for (size_t i = 0; i < kSlotsInRecordOrder.size(); ++i) {
    const SlotFields& slot = kSlotsInRecordOrder[i];
    if (slots.*slot.change == 0) continue;
    anySet = true;
    if (slots.*slot.value == 0) *faults += kSlotMessages[i].zeroValue;
    if (slots.*slot.target < 0) *faults += kSlotMessages[i].noTarget;
  }
  if (!anySet) *faults += kNothingIncremented;
}

std::string Verdict(const std::string& faults) {
  return faults.empty() ? std::string(kFormOk) : kIntro + faults;
}

void WriteSlots(const FormSlots& form, int32_t k, ChangeSlots* record) {
  for (const SlotFields& slot : kSlotsInRecordOrder) {
    int32_t flag = form.*slot.change;
    record->*slot.change = flag;
    if (flag != 0) {
      int32_t selection = form.*slot.target;
      record->*slot.target = selection == 0 ? k : (selection > 0 ? selection : 0);
      record->*slot.value = form.*slot.value;
    } else {
      record->*slot.target = 0;
      record->*slot.value = 0;
    }
  }
}

}  // namespace

std::string ValidateForm(const ClientFormFields& form) {
  if (form.name.empty() && form.searchString.empty() && form.changes.p1Change == 0 &&
      form.changes.p2Change == 0) {
    return kFormEmpty;
  }
  std::string faults;
  if (form.typeSelection < kPlayer1String ||
      form.typeSelection > kStringPlayer1StringPlayer2String) {
    // Without a form for the search string nothing else can be judged.
    return Verdict("Variable type is not selected.\n");
  }
  if (form.name.empty()) faults += "The variable name is not entered.\n";
  if (form.searchString.empty()) {
    faults += "The search string is not entered.\n";
  } else if (!MatchesStringType(form.searchString, form.typeSelection)) {
    faults +=
        "The search string is not of the same form as the stringtype in the topmost ComboBox.\n";
  }
  AppendSlotFaults(form.changes, &faults);
  return Verdict(faults);
}

std::string ValidateForm(const ServerFormFields& form) {
  if (form.name.empty() && form.modstring.empty() && form.idstring.empty() &&
      form.changes.p1Change == 0 && form.changes.p2Change == 0 && form.id1 == -2 &&
      form.id2 == -2 && form.id3 == -2) {
    return kFormEmpty;
  }
  std::string faults;
  if (form.name.empty()) faults += "The variable name is not entered.\n";
  if (form.modstring.find(' ') != std::string::npos) {
    faults += "No spaces are allowed in the modstring.\n";
  }
  if (form.id1 != -1 && form.id2 != -1) faults += "You must have a client (-1) in id1 or id2.\n";
  if (form.id2 == -2 && form.id3 == -2 && (form.modstring.empty() || form.idstring.empty())) {
    faults += "You must enter at least one id, an idstring and a modstring.\n";
  }
  if (form.id1 == -2) faults += "The first id cannot be invalid.\n";
  if (form.id1 == -1 && form.id2 == -1 && form.id3 == -1) faults += "All three ids are clients.\n";
  AppendSlotFaults(form.changes, &faults);
  return Verdict(faults);
}

void WriteFormToRecord(const ClientFormFields& form, int32_t k, ClientVariable* record) {
  record->name = form.name;
  record->stringType = form.typeSelection;
  record->ordinal = k;
  record->searchString = form.searchString;
  record->visible = form.visible;
  WriteSlots(form.changes, k, record);
}

void WriteFormToRecord(const ServerFormFields& form, int32_t k, ServerVariable* record) {
  record->name = form.name;
  record->ordinal = k;
  record->id1 = form.id1;
  record->id2 = form.id2;
  record->id3 = form.id3;
  record->modstring = form.modstring;
  record->idstring = form.idstring;
  record->visible = form.visible;
  WriteSlots(form.changes, k, record);
}

}  // namespace vexor

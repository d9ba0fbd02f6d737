// The fields of the two custom-variable forms as the dialogs read them from their controls, the
// check a definition must pass before it is stored, and the copy of a checked form into a record.
#pragma once

#include <cstdint>
#include <string>

#include "customvars/CustomVariables.h"

namespace vexor {

// What ValidateForm returns besides a message.
inline constexpr const char* kFormOk = "ok";
inline constexpr const char* kFormEmpty = "empty";
// The caption of every box that refuses a form.
inline constexpr const char* kInvalidFormCaption = "Invalid Form";

// The four change slots as a form holds them. Flags and values are as typed; in place of each
// target the form holds its target list's selection: 0 "This Variable", j variable j, -1
// nothing selected.
using FormSlots = ChangeSlots;

// The client form. A blank form has type 0 and entry 0 selected in every target list.
struct ClientFormFields {
  std::string name;
  std::string searchString;
  int32_t typeSelection = 0;  // the StringType selected in the type list; -1: none
  FormSlots changes;          // the four change slots (not "slots": a Qt keyword)
  int32_t visible = 1;
};

// The server form. A blank form has no fields described (ids -2).
struct ServerFormFields {
  std::string name;
  std::string idstring;
  int32_t id1 = -2;
  int32_t id2 = -2;
  int32_t id3 = -2;
  std::string modstring;
  FormSlots changes;  // the four change slots (not "slots": a Qt keyword)
  int32_t visible = 1;
};

// Checks a client definition. Returns kFormOk, kFormEmpty (no name, no search string and
// neither first slot flag set; the second slots are not looked at), or the message that
// explains why it cannot be stored: "You cannot store this variable because...\n" followed by
// one line per fault, in a fixed order.
std::string ValidateForm(const ClientFormFields& form);

// Checks a server definition. Returns kFormOk, kFormEmpty (no name, modstring or idstring,
// neither first slot flag set, all ids -2) or the message, as above.
std::string ValidateForm(const ServerFormFields& form);

// Writes a checked form into *record as variable k of its set: ordinal k; each set slot's
// target is k for "This Variable" (selection 0), the selected variable otherwise; a clear
// slot gets target 0 and value 0. A server record's reserved field is left as it was.
void WriteFormToRecord(const ClientFormFields& form, int32_t k, ClientVariable* record);
void WriteFormToRecord(const ServerFormFields& form, int32_t k, ServerVariable* record);

}  // namespace vexor

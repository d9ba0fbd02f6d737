// The server-side definition dialog, "Server Side Custom Variables": the line is described by
// its event word (idstring), up to three numeric fields and its last word (modstring); both
// player rows can always be used. Escape and the close box close it without a question.
#pragma once

#include "ui/VariableForm.h"

namespace vexor {

class ServerVarForm : public VariableFormSteps<ServerVariable, ServerFormFields> {
 public:
  const char* Caption() const override { return "Server Side Custom Variables"; }
  const std::vector<VarControlInfo>& Controls() const override;
  bool AsksBeforeClosing() const override { return false; }

 protected:
  // The definition is always usable; the slots' lists and boxes follow their flags.
  void ApplyEnableRule() override;
  const char* LoadQuestion() const override {
    return "This will delete the server variables in memory now, replacing them with the ones "
           "in the file.";
  }
};

}  // namespace vexor

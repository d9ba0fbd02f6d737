// The client-side definition dialog, "Custom Variable Form": a search string of one of seven
// forms instead of a line description. The type list rules which player rows can be used.
#pragma once

#include "ui/VariableForm.h"

namespace vexor {

class ClientVarForm : public VariableFormSteps<ClientVariable, ClientFormFields> {
 public:
  const char* Caption() const override { return "Custom Variable Form"; }
  const std::vector<VarControlInfo>& Controls() const override;
  // The seven StringType forms in their order.
  std::vector<std::string> TypeEntries() const override;
  bool AsksBeforeClosing() const override { return true; }

  // A type chosen in the type list (-1: none): both "Change Player" boxes are cleared (the
  // second-slot boxes keep their state), then the type rule is applied for the new type.
  void SelectType(int32_t type) override;

 protected:
  // The type rule: without a type only the type list and the buttons can be used; otherwise
  // the player 2 boxes only for a two-player form, and the slots' lists and boxes by their flags.
  void ApplyEnableRule() override;
  const char* LoadQuestion() const override {
    return "This will delete the variables in memory now, replacing them with the ones in the "
           "file.";
  }
};

}  // namespace vexor

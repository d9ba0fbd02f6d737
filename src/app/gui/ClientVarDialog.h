// "Custom Variable Form": the client-side custom variables. The type list on top, the name and
// the visible box, then the definition in its group box, then the buttons.
#pragma once

#include "app/gui/VariableDialog.h"

namespace vexor {

class ClientVarForm;

class ClientVarDialog : public VariableDialog {
  Q_OBJECT

 public:
  // Opens the form on the document's client set; Finish copies it back.
  ClientVarDialog(ClientVarForm& form, VexoriumDoc& doc, Prompter& prompter, QWidget* parent);
};

}  // namespace vexor

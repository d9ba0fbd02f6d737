// "Server Side Custom Variables": the name and the visible box, the line's description (event
// word, three ids, last word) under "Syntax", the two player rows, and the buttons, in two
// captionless frames.
#pragma once

#include "app/gui/VariableDialog.h"

namespace vexor {

class ServerVarForm;

class ServerVarDialog : public VariableDialog {
  Q_OBJECT

 public:
  // Opens the form on the document's server set; Finish copies it back.
  ServerVarDialog(ServerVarForm& form, VexoriumDoc& doc, Prompter& prompter, QWidget* parent);
};

}  // namespace vexor

// What the two custom-variable dialogs share: the controls built from the form's table, the
// showing of the form's values and enabling, and every button forwarded to the form. The
// subclasses only arrange the controls.
#pragma once

#include <QDialog>
#include <map>

#include "ui/VariableForm.h"

class QGridLayout;
class QLayout;

namespace vexor {

class VexoriumDoc;
class Prompter;

class VariableDialog : public QDialog {
  Q_OBJECT

 public:
  // The control of a role (nullptr when this dialog has none).
  QWidget* Control(VarControl control) const;

  // Finish: reads the form and runs the Finish step; closes when the set was copied back.
  void accept() override;
  // Escape and the close box: the Cancel question where the form asks it.
  void reject() override;

 protected:
  // Starts the form on the document and builds its controls; the subclass arranges them and
  // then calls ShowAll().
  VariableDialog(VariableForm& form, VexoriumDoc& doc, Prompter& prompter, QWidget* parent);

  // The two player rows: the slot boxes on top, the target lists and value boxes in a left and a
  // right column with the row's labels between them.
  QGridLayout* SlotRows();
  // The eight buttons in two rows.
  QLayout* Buttons();
  // Shows every control's value and enabling.
  void ShowAll();

 private:
  void BuildControls();
  void ShowFlagsAndEnabling();
  VarFormValues ReadControls() const;
  // Reads the form; a refused box gets the focus and false is returned.
  bool ReadForm();
  void Press(VarControl button);
  // After a step: everything again when the form shows something new, else flags and enabling.
  void AfterStep();

  VariableForm& m_form;
  VexoriumDoc& m_doc;
  Prompter& m_prompter;
  std::map<VarControl, QWidget*> m_controls;
  int m_shownRevision = -1;
};

}  // namespace vexor

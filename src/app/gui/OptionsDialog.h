// The options dialog ("Display Weapon Variables"): built from the form's control table, it
// shows the form's values and hands OK, Cancel and "Set Log Directory" to the form.
#pragma once

#include <QDialog>
#include <map>
#include <string>

class QAbstractButton;
class QLineEdit;

namespace vexor {

class VexoriumDoc;
class OptionsForm;
class Prompter;

class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  // Opens the form on the document's values.
  OptionsDialog(OptionsForm& form, VexoriumDoc& doc, std::string startDirectory, Prompter& prompter,
                QWidget* parent);

  // A check box or radio button of the table.
  QAbstractButton* CheckBox(int controlId) const;
  QLineEdit* Edit(int controlId) const;

  void accept() override;

 private:
  void BuildControls();
  void ShowValues();
  void ReadValues();
  void ChooseLogDirectory();

  OptionsForm& m_form;
  VexoriumDoc& m_doc;
  std::string m_startDirectory;
  Prompter& m_prompter;
  std::map<int, QAbstractButton*> m_checks;
  std::map<int, QLineEdit*> m_edits;
};

}  // namespace vexor

#include "app/gui/ServerVarDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/ServerVarForm.h"

namespace vexor {

ServerVarDialog::ServerVarDialog(ServerVarForm& form, VexoriumDoc& doc, Prompter& prompter,
                                 QWidget* parent)
    : VariableDialog(form, doc, prompter, parent) {
  auto* layout = new QVBoxLayout(this);
  auto* definition = new QGroupBox(this);
  auto* inside = new QVBoxLayout(definition);

  auto* nameRow = new QGridLayout;
  nameRow->addWidget(Control(VarControl::kNameLabel), 0, 0);
  nameRow->addWidget(Control(VarControl::kName), 0, 1);
  nameRow->addWidget(Control(VarControl::kVisible), 0, 2);
  static_cast<QLabel*>(Control(VarControl::kNameLabel))->setBuddy(Control(VarControl::kName));
  inside->addLayout(nameRow);

  // The line as the log writes it: event word, up to three numbers, last word.
  inside->addWidget(Control(VarControl::kSyntaxLabel));
  auto* syntax = new QHBoxLayout;
  for (VarControl part : {VarControl::kIdstring, VarControl::kId1, VarControl::kId2,
                          VarControl::kId3, VarControl::kModstring}) {
    auto* edit = static_cast<QLineEdit*>(Control(part));
    edit->setPlaceholderText(edit->accessibleName());
    syntax->addWidget(edit,
                      part == VarControl::kIdstring || part == VarControl::kModstring ? 2 : 1);
  }
  static_cast<QLabel*>(Control(VarControl::kSyntaxLabel))->setBuddy(Control(VarControl::kIdstring));
  inside->addLayout(syntax);
  inside->addSpacing(8);
  inside->addLayout(SlotRows());
  layout->addWidget(definition);

  auto* buttons = new QGroupBox(this);
  buttons->setLayout(Buttons());
  layout->addWidget(buttons);
  ShowAll();
}

}  // namespace vexor

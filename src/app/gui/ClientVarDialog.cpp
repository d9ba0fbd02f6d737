#include "app/gui/ClientVarDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/ClientVarForm.h"

namespace vexor {

ClientVarDialog::ClientVarDialog(ClientVarForm& form, VexoriumDoc& doc, Prompter& prompter,
                                 QWidget* parent)
    : VariableDialog(form, doc, prompter, parent) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Control(VarControl::kTypeLabel));
  layout->addWidget(Control(VarControl::kTypeList));
  static_cast<QLabel*>(Control(VarControl::kTypeLabel))->setBuddy(Control(VarControl::kTypeList));

  auto* nameRow = new QGridLayout;
  nameRow->addWidget(Control(VarControl::kNameLabel), 0, 0);
  nameRow->addWidget(Control(VarControl::kName), 0, 1);
  nameRow->addWidget(Control(VarControl::kVisible), 0, 2);
  static_cast<QLabel*>(Control(VarControl::kNameLabel))->setBuddy(Control(VarControl::kName));
  layout->addLayout(nameRow);

  auto* details = static_cast<QGroupBox*>(Control(VarControl::kDetailsGroup));
  auto* inside = new QVBoxLayout(details);
  inside->addWidget(Control(VarControl::kSearchLabel));
  inside->addWidget(Control(VarControl::kSearchString));
  static_cast<QLabel*>(Control(VarControl::kSearchLabel))
      ->setBuddy(Control(VarControl::kSearchString));
  inside->addSpacing(8);
  inside->addLayout(SlotRows());
  layout->addWidget(details);
  layout->addLayout(Buttons());
  ShowAll();
}

}  // namespace vexor

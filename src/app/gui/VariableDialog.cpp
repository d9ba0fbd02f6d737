#include "app/gui/VariableDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/GuiText.h"
#include "platform/Prompter.h"

namespace vexor {

VariableDialog::VariableDialog(VariableForm& form, VexoriumDoc& doc, Prompter& prompter,
                               QWidget* parent)
    : QDialog(parent), m_form(form), m_doc(doc), m_prompter(prompter) {
  setWindowTitle(QString::fromLatin1(m_form.Caption()));
  m_form.Start(m_doc);
  BuildControls();
}

QWidget* VariableDialog::Control(VarControl control) const {
  auto found = m_controls.find(control);
  return found == m_controls.end() ? nullptr : found->second;
}

void VariableDialog::BuildControls() {
  for (const VarControlInfo& info : m_form.Controls()) {
    QString caption = QString::fromLatin1(info.caption);
    QWidget* widget = nullptr;
    switch (info.kind) {
      case VarControlKind::kTextEdit:
      case VarControlKind::kNumberEdit: {
        auto* edit = new QLineEdit(this);
        if (info.control == VarControl::kName) edit->setMaxLength(kVarNameLimit);
        if (info.kind == VarControlKind::kNumberEdit) edit->setMaximumWidth(80);
        edit->setToolTip(QString::fromLatin1(info.accessibleName));
        widget = edit;
        break;
      }
      case VarControlKind::kCheckBox:
      case VarControlKind::kCheckBoxLeft: {
        auto* check = new QCheckBox(caption, this);
        if (info.kind == VarControlKind::kCheckBoxLeft) check->setLayoutDirection(Qt::RightToLeft);
        if (info.control >= SlotFlag(0) && info.control <= SlotFlag(3)) {
          connect(check, &QCheckBox::clicked, this, [this] {
            std::array<bool, 4> checked{};
            for (int slot = 0; slot < 4; ++slot) {
              auto* box = static_cast<QCheckBox*>(Control(SlotFlag(slot)));
              checked[static_cast<size_t>(slot)] = box->isChecked();
            }
            m_form.SlotBoxClicked(checked);
            ShowFlagsAndEnabling();
          });
        }
        widget = check;
        break;
      }
      case VarControlKind::kTypeList:
      case VarControlKind::kTargetList: {
        auto* list = new QComboBox(this);
        list->setMinimumContentsLength(15);
        for (const std::string& entry : m_form.TypeEntries()) {
          if (info.kind == VarControlKind::kTypeList) list->addItem(ToQString(entry));
        }
        if (info.kind == VarControlKind::kTypeList) {
          connect(list, &QComboBox::activated, this, [this](int type) {
            m_form.SelectType(type);
            ShowFlagsAndEnabling();
          });
        }
        widget = list;
        break;
      }
      case VarControlKind::kLabel:
        widget = new QLabel(caption, this);
        break;
      case VarControlKind::kGroupBox:
        widget = new QGroupBox(caption, this);
        break;
      case VarControlKind::kButton: {
        auto* button = new QPushButton(caption, this);
        VarControl role = info.control;
        connect(button, &QPushButton::clicked, this, [this, role] { Press(role); });
        // Enter presses "Next Var >>" wherever the focus is, except on another button.
        if (role == VarControl::kNext) button->setDefault(true);
        widget = button;
        break;
      }
    }
    widget->setObjectName(QStringLiteral("control%1").arg(info.id));
    if (*info.accessibleName) widget->setAccessibleName(QString::fromLatin1(info.accessibleName));
    m_controls[info.control] = widget;
  }
}

QGridLayout* VariableDialog::SlotRows() {
  auto* grid = new QGridLayout;
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(2, 1);
  for (int row = 0; row < 2; ++row) {
    const int top = row * 4;
    // The two boxes' captions read as one phrase ("Change Player 1 Statistic"), the left box
    // towards the left column, the right box towards the right one.
    auto* phrase = new QHBoxLayout;
    phrase->setSpacing(0);
    phrase->addStretch();
    phrase->addWidget(Control(SlotFlag(row)));
    phrase->addWidget(Control(SlotFlag(row + 2)));
    phrase->addStretch();
    grid->addLayout(phrase, top, 0, 1, 3);
    grid->addWidget(Control(SlotTarget(row)), top + 1, 0);
    grid->addWidget(Control(TargetsLabel(row)), top + 1, 1, Qt::AlignCenter);
    grid->addWidget(Control(SlotTarget(row + 2)), top + 1, 2);
    grid->addWidget(Control(SlotValue(row)), top + 2, 0);
    grid->addWidget(Control(ValuesLabel(row)), top + 2, 1, Qt::AlignCenter);
    grid->addWidget(Control(SlotValue(row + 2)), top + 2, 2);
    if (row == 0) grid->setRowMinimumHeight(top + 3, 12);
  }
  // The slot boxes' labels name the labelled lists and boxes for a screen reader.
  for (int row = 0; row < 2; ++row) {
    static_cast<QLabel*>(Control(TargetsLabel(row)))->setBuddy(Control(SlotTarget(row)));
    static_cast<QLabel*>(Control(ValuesLabel(row)))->setBuddy(Control(SlotValue(row)));
  }
  return grid;
}

QLayout* VariableDialog::Buttons() {
  auto* rows = new QGridLayout;
  const VarControl order[] = {VarControl::kDelete, VarControl::kPrevious, VarControl::kStore,
                              VarControl::kNext,   VarControl::kLoad,     VarControl::kSave,
                              VarControl::kCancel, VarControl::kFinish};
  for (int i = 0; i < 8; ++i)
    rows->addWidget(Control(order[i]), i / 4, i % 4);
  return rows;
}

void VariableDialog::ShowAll() {
  VarFormValues values = m_form.Values();
  for (const VarControlInfo& info : m_form.Controls()) {
    QWidget* widget = Control(info.control);
    const size_t i = static_cast<size_t>(info.control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      edit->setText(ToQString(values.text[i]));
    } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
      if (info.kind == VarControlKind::kTargetList) {
        list->clear();
        for (const std::string& entry : m_form.TargetEntries())
          list->addItem(ToQString(entry));
      }
      list->setCurrentIndex(values.number[i]);
    }
  }
  m_shownRevision = m_form.Revision();
  ShowFlagsAndEnabling();
}

void VariableDialog::ShowFlagsAndEnabling() {
  VarFormValues values = m_form.Values();
  for (const VarControlInfo& info : m_form.Controls()) {
    QWidget* widget = Control(info.control);
    if (auto* check = qobject_cast<QCheckBox*>(widget)) {
      check->setChecked(values.number[static_cast<size_t>(info.control)] != 0);
    }
    widget->setEnabled(m_form.Enabled(info.control));
  }
}

VarFormValues VariableDialog::ReadControls() const {
  VarFormValues values;
  for (const auto& [control, widget] : m_controls) {
    const size_t i = static_cast<size_t>(control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      values.text[i] = ToBytes(edit->text());
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
      values.number[i] = check->isChecked() ? 1 : 0;
    } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
      values.number[i] = list->currentIndex();
    }
  }
  return values;
}

bool VariableDialog::ReadForm() {
  VarControl refused = VarControl::kNone;
  if (m_form.Read(ReadControls(), m_prompter, &refused)) return true;
  if (QWidget* widget = Control(refused)) {
    widget->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
  }
  return false;
}

void VariableDialog::Press(VarControl button) {
  switch (button) {
    case VarControl::kStore:
      if (!ReadForm()) return;
      m_form.Store(m_prompter);
      break;
    case VarControl::kNext:
      if (!ReadForm()) return;
      m_form.Next(m_prompter);
      break;
    case VarControl::kPrevious:
      if (!ReadForm()) return;
      m_form.Previous(m_prompter);
      break;
    case VarControl::kDelete:
      m_form.Delete(m_prompter);
      break;
    case VarControl::kLoad:
      m_form.LoadVars(m_doc, m_prompter);
      break;
    case VarControl::kSave:
      m_form.SaveVars(m_prompter);
      break;
    case VarControl::kCancel:
      if (m_form.Cancel(m_prompter)) QDialog::reject();
      return;
    case VarControl::kFinish:
      accept();
      return;
    default:
      return;
  }
  AfterStep();
}

void VariableDialog::AfterStep() {
  if (m_form.Revision() != m_shownRevision) {
    ShowAll();
  } else {
    ShowFlagsAndEnabling();
  }
}

void VariableDialog::accept() {
  if (!ReadForm()) return;
  if (m_form.Finish(m_doc, m_prompter)) {
    QDialog::accept();
    return;
  }
  AfterStep();
}

void VariableDialog::reject() {
  if (m_form.AsksBeforeClosing() && !m_form.Cancel(m_prompter)) return;
  QDialog::reject();
}

}  // namespace vexor

#include "app/gui/OptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/gui/GuiText.h"
#include "platform/Prompter.h"
#include "ui/OptionsForm.h"

namespace vexor {

OptionsDialog::OptionsDialog(OptionsForm& form, VexoriumDoc& doc, std::string startDirectory,
                             Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      m_form(form),
      m_doc(doc),
      m_startDirectory(std::move(startDirectory)),
      m_prompter(prompter) {
  setWindowTitle(QString::fromLatin1(kOptionsCaption));
  m_form.Open(m_doc);
  BuildControls();
  ShowValues();
}

// Group by group as the table lists them; within a group a check box, a button or a labelled
// edit box starts a row, and an edit box without a label joins the row before it.
void OptionsDialog::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  std::map<std::string, QGridLayout*> groups;
  QGridLayout* grid = nullptr;
  int row = -1;
  int column = 0;
  QString rowName;
  auto previousKind = OptionsControlKind::kPushButton;
  auto* buttons = new QDialogButtonBox(this);
  std::map<QGridLayout*, int> weaponBoxes;  // the weapon boxes of each group so far
  for (const OptionsControl& control : OptionsControlsFor(m_doc)) {
    QString caption = QString::fromLatin1(control.caption);
    if (control.id == kOptionsOkId || control.id == kOptionsCancelId) {
      QPushButton* button =
          buttons->addButton(caption, control.id == kOptionsOkId ? QDialogButtonBox::AcceptRole
                                                                 : QDialogButtonBox::RejectRole);
      if (control.id == kOptionsOkId) button->setDefault(true);
      continue;
    }
    std::string group = control.groupBox;
    if (!groups.count(group)) {
      auto* box = new QGroupBox(QString::fromLatin1(control.groupBox), this);
      grid = new QGridLayout(box);
      groups[group] = grid;
      layout->addWidget(box);
      row = -1;
    }
    // Weapons three to a row.
    bool weapon = (control.id >= kOptionsFirstWeaponId && control.id < kOptionsFirstWeaponId + 9) ||
                  control.id >= kOptionsFirstOtherWeaponId;
    if (weapon) {
      int index = weaponBoxes[grid]++;
      auto* check = new QCheckBox(caption, this);
      grid->addWidget(check, index / 3, index % 3);
      m_checks[control.id] = check;
      continue;
    }
    // An edit box without a label and a radio button after another join the row before.
    bool joinsRow = row >= 0 && ((control.kind == OptionsControlKind::kEdit && caption.isEmpty()) ||
                                 (control.kind == OptionsControlKind::kRadioButton &&
                                  previousKind == OptionsControlKind::kRadioButton));
    previousKind = control.kind;
    if (!joinsRow) {
      ++row;
      column = 0;
      rowName = caption;
    }
    switch (control.kind) {
      case OptionsControlKind::kCheckBox:
      case OptionsControlKind::kRadioButton: {
        QAbstractButton* check = control.kind == OptionsControlKind::kCheckBox
                                     ? static_cast<QAbstractButton*>(new QCheckBox(caption, this))
                                     : new QRadioButton(caption, this);
        grid->addWidget(check, row, column++);
        m_checks[control.id] = check;
        break;
      }
      case OptionsControlKind::kPushButton: {
        auto* button = new QPushButton(caption, this);
        grid->addWidget(button, row, column++);
        if (control.id == kOptionsSetLogDirectoryId) {
          connect(button, &QPushButton::clicked, this, &OptionsDialog::ChooseLogDirectory);
        }
        break;
      }
      case OptionsControlKind::kEdit:
      case OptionsControlKind::kReadOnlyEdit: {
        if (!caption.isEmpty()) grid->addWidget(new QLabel(caption, this), row, column++);
        auto* edit = new QLineEdit(this);
        edit->setReadOnly(control.kind == OptionsControlKind::kReadOnlyEdit);
        edit->setAccessibleName(rowName.isEmpty() ? QStringLiteral("Log directory") : rowName);
        if (control.kind == OptionsControlKind::kEdit) edit->setMaximumWidth(70);
        grid->addWidget(edit, row, column++);
        if (*control.trailing) {
          grid->addWidget(new QLabel(QString::fromLatin1(control.trailing), this), row, column++);
        }
        m_edits[control.id] = edit;
        break;
      }
    }
  }
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &OptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &OptionsDialog::reject);
}

QAbstractButton* OptionsDialog::CheckBox(int controlId) const {
  auto found = m_checks.find(controlId);
  return found == m_checks.end() ? nullptr : found->second;
}

QLineEdit* OptionsDialog::Edit(int controlId) const {
  auto found = m_edits.find(controlId);
  return found == m_edits.end() ? nullptr : found->second;
}

void OptionsDialog::ShowValues() {
  for (auto& [id, check] : m_checks)
    check->setChecked(m_form.Checked(id));
  for (auto& [id, edit] : m_edits)
    edit->setText(ToQString(m_form.Text(id)));
}

void OptionsDialog::ReadValues() {
  for (auto& [id, check] : m_checks)
    m_form.SetChecked(id, check->isChecked());
  for (auto& [id, edit] : m_edits)
    m_form.SetText(id, ToBytes(edit->text()));
}

void OptionsDialog::ChooseLogDirectory() {
  ReadValues();
  std::string folder =
      m_prompter.ChooseFolder(kLogFolderBrowserTitle, m_form.Values().logDirectory);
  if (!folder.empty()) m_form.SetLogDirectory(folder);
  ShowValues();
}

void OptionsDialog::accept() {
  ReadValues();
  OptionsAccept result = m_form.Accept(m_doc, m_startDirectory);
  if (!result.message.empty()) m_prompter.Inform(result.message, result.caption);
  if (!result.ok) {
    if (QLineEdit* edit = Edit(result.focusControl)) {
      edit->setFocus();
      edit->selectAll();
    }
    return;
  }
  QDialog::accept();
}

}  // namespace vexor

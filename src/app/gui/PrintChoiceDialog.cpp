#include "app/gui/PrintChoiceDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <map>
#include <string>

namespace vexor {

PrintChoiceDialog::PrintChoiceDialog(VexoriumDoc& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_form(doc) {
  setWindowTitle(QString::fromLatin1(kPrintChoiceCaption));
  setObjectName(QStringLiteral("PrintChoiceDialog"));
  auto* groups = new QHBoxLayout;
  std::map<std::string, QVBoxLayout*> boxes;  // by group-box caption, in table order
  for (const PrintChoiceInfo& choice : kPrintChoices) {
    QVBoxLayout*& column = boxes[choice.groupBox];
    if (!column) {
      auto* box = new QGroupBox(QString::fromLatin1(choice.groupBox), this);
      column = new QVBoxLayout(box);
      groups->addWidget(box, 0, Qt::AlignTop);
    }
    // Each button sits alone in its own group: the dialog clears the others itself.
    auto* button = new QCheckBox(QString::fromLatin1(choice.caption), this);
    button->setObjectName(QStringLiteral("choice%1").arg(choice.controlId));
    button->setAutoExclusive(false);
    button->setEnabled(m_form.Enabled(choice.code));
    int code = choice.code;
    connect(button, &QCheckBox::clicked, this, [this, code] { Clicked(code); });
    column->addWidget(button);
    m_buttons[static_cast<size_t>(code)] = button;
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &PrintChoiceDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &PrintChoiceDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addWidget(buttons);
  Clicked(m_form.CheckedCode());
}

QAbstractButton* PrintChoiceDialog::Button(int code) const {
  if (code < 0 || code >= kPrintChoiceCount) return nullptr;
  return m_buttons[static_cast<size_t>(code)];
}

void PrintChoiceDialog::Clicked(int code) {
  m_form.Click(code);
  for (int c = 0; c < kPrintChoiceCount; ++c) {
    m_buttons[static_cast<size_t>(c)]->setChecked(m_form.Checked(c));
  }
}

void PrintChoiceDialog::accept() {
  m_form.Ok(m_doc);
  QDialog::accept();
}

}  // namespace vexor

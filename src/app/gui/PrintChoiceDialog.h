// The print-choice dialog ("Choose ONE to Print"): fourteen check boxes in three group boxes
// that behave as one group, shown from the form's state; OK stores the choice in the document.
#pragma once

#include <QDialog>
#include <array>

#include "ui/PrintChoiceForm.h"

class QAbstractButton;

namespace vexor {

class VexoriumDoc;

class PrintChoiceDialog : public QDialog {
  Q_OBJECT

 public:
  PrintChoiceDialog(VexoriumDoc& doc, QWidget* parent);

  // The button of a print choice (0 to 13).
  QAbstractButton* Button(int code) const;
  const PrintChoiceForm& Form() const { return m_form; }

  void accept() override;

 private:
  void Clicked(int code);

  VexoriumDoc& m_doc;
  PrintChoiceForm m_form;
  std::array<QAbstractButton*, kPrintChoiceCount> m_buttons{};
};

}  // namespace vexor

#include "ui/PrintChoiceForm.h"

#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

bool ValidCode(int code) {
  return code >= 0 && code < kPrintChoiceCount;
}

}  // namespace

PrintChoiceForm::PrintChoiceForm(const VexoriumDoc& doc) : m_enabled(EnabledPrintChoices(doc)) {}

bool PrintChoiceForm::Enabled(int code) const {
  return ValidCode(code) && m_enabled[static_cast<size_t>(code)];
}

bool PrintChoiceForm::Checked(int code) const {
  return ValidCode(code) && code == m_checked;
}

int PrintChoiceForm::CheckedCode() const {
  return m_checked;
}

void PrintChoiceForm::Click(int code) {
  if (Enabled(code)) m_checked = code;
}

void PrintChoiceForm::Ok(VexoriumDoc& doc) const {
  doc.printChoice = m_checked;
}

}  // namespace vexor

// The print-choice dialog ("Choose ONE to Print") without a toolkit: which of its fourteen
// buttons are enabled and checked, and what OK does. The buttons sit in group boxes of their own
// but behave as one group: clicking one clears the others and checks it.
#pragma once

#include <array>

#include "ui/PrintTables.h"

namespace vexor {

class VexoriumDoc;

constexpr const char* kPrintChoiceCaption = "Choose ONE to Print";

class PrintChoiceForm {
 public:
  // Opening: "Main Stats" checked; the custom-variable blocks enabled by the visible counts
  // (EnabledPrintChoices).
  explicit PrintChoiceForm(const VexoriumDoc& doc);

  bool Enabled(int code) const;
  bool Checked(int code) const;
  // The checked button's code: one button is always checked, as a click never clears the
  // clicked one.
  int CheckedCode() const;

  // A click on the button of code: it alone is checked. A disabled button or a code outside 0
  // to 13 changes nothing.
  void Click(int code);

  // OK: the checked button's code becomes the document's print choice.
  void Ok(VexoriumDoc& doc) const;

 private:
  std::array<bool, kPrintChoiceCount> m_enabled{};
  int m_checked = kPrintMainStats;
};

}  // namespace vexor

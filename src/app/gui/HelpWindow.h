// The user guide in a window of its own: the HTML pages installed beside the program
// (share/vexor/help) or, in a build tree, those of the source tree.
#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace vexor {

class HelpWindow : public QDialog {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent);

  // The folder of the guide's pages; empty when none is found.
  static QString HelpFolder();

 private:
  QTextBrowser* m_browser = nullptr;
};

}  // namespace vexor

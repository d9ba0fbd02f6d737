// The desktop program's Prompter: real message boxes and file dialogs. It may be called from the
// worker thread of a long operation: the dialog is then shown on the GUI thread and the worker
// waits for the answer.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "platform/Prompter.h"

namespace vexor {

class QtPrompter : public QObject, public Prompter {
  Q_OBJECT

 public:
  explicit QtPrompter(QObject* parent = nullptr);

  // The window that owns the dialogs (the main frame).
  void SetOwner(QWidget* owner) { m_owner = owner; }

  MessageAnswer ShowMessage(std::string_view text, std::string_view caption,
                            MessageButtons buttons) override;
  std::vector<std::string> ChooseFilesToOpen(const FileDialogRequest& request) override;
  std::string ChooseFileToSave(const FileDialogRequest& request) override;
  std::string ChooseFolder(std::string_view title, const std::string& initialFolder) override;

 private:
  // Runs ask on the GUI thread and returns its result; from the GUI thread it simply calls it.
  template <typename Result, typename Ask>
  Result OnGuiThread(Ask ask);

  QPointer<QWidget> m_owner;
};

}  // namespace vexor

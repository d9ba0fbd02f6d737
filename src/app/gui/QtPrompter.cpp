#include "app/gui/QtPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QThread>

#include "app/gui/GuiText.h"
#include "ui/ShellLogic.h"

namespace vexor {

QtPrompter::QtPrompter(QObject* parent) : QObject(parent) {}

template <typename Result, typename Ask>
Result QtPrompter::OnGuiThread(Ask ask) {
  if (QThread::currentThread() == thread()) return ask();
  Result result{};
  QMetaObject::invokeMethod(
      this, [&result, &ask] { result = ask(); }, Qt::BlockingQueuedConnection);
  return result;
}

MessageAnswer QtPrompter::ShowMessage(std::string_view text, std::string_view caption,
                                      MessageButtons buttons) {
  QString qtext = ToQString(text);
  QString qcaption = ToQString(caption);
  return OnGuiThread<MessageAnswer>([this, qtext, qcaption, buttons] {
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    if (buttons == MessageButtons::kYesNo) shown = QMessageBox::Yes | QMessageBox::No;
    if (buttons == MessageButtons::kOkCancel) shown = QMessageBox::Ok | QMessageBox::Cancel;
    QMessageBox::Icon icon =
        buttons == MessageButtons::kOk ? QMessageBox::Information : QMessageBox::Question;
    if (qcaption.startsWith(QStringLiteral("Warning"))) icon = QMessageBox::Warning;
    QMessageBox box(icon, qcaption, qtext, shown, m_owner);
    switch (box.exec()) {
      case QMessageBox::Yes:
        return MessageAnswer::kYes;
      case QMessageBox::No:
        return MessageAnswer::kNo;
      case QMessageBox::Cancel:
        return MessageAnswer::kCancel;
      default:
        return MessageAnswer::kOk;
    }
  });
}

std::vector<std::string> QtPrompter::ChooseFilesToOpen(const FileDialogRequest& request) {
  return OnGuiThread<std::vector<std::string>>([this, &request] {
    QString folder = PathToQString(request.initialFolder);
    QString filter = ToQString(QtFileFilter(request.filter));
    QStringList chosen;
    if (request.multiple) {
      chosen = QFileDialog::getOpenFileNames(m_owner, QStringLiteral("Open"), folder, filter);
    } else {
      QString one = QFileDialog::getOpenFileName(m_owner, QStringLiteral("Open"), folder, filter);
      if (!one.isEmpty()) chosen << one;
    }
    std::vector<std::string> paths;
    for (const QString& path : chosen)
      paths.push_back(PathFromQString(path));
    return paths;
  });
}

std::string QtPrompter::ChooseFileToSave(const FileDialogRequest& request) {
  return OnGuiThread<std::string>([this, &request] {
    QString path = QFileDialog::getSaveFileName(m_owner, QStringLiteral("Save As"),
                                                PathToQString(request.initialFolder),
                                                ToQString(QtFileFilter(request.filter)));
    return PathFromQString(path);
  });
}

std::string QtPrompter::ChooseFolder(std::string_view title, const std::string& initialFolder) {
  QString qtitle = ToQString(title);
  return OnGuiThread<std::string>([this, qtitle, &initialFolder] {
    QString path = QFileDialog::getExistingDirectory(m_owner, qtitle, PathToQString(initialFolder),
                                                     QFileDialog::ShowDirsOnly);
    return PathFromQString(path);
  });
}

}  // namespace vexor

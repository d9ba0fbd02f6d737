// The small box that is on screen while a long operation runs: the progress box of a load
// (with a progress bar and Cancel) and the work boxes of the data file, the CSV export and the
// log cleaning (a picture and what is being done). One class serves all of them.
#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vexor {

class WorkBox : public QDialog {
  Q_OBJECT

 public:
  // picture: the box's picture, shown at 174 x 70; cancellable: a Cancel button; measured: a
  // progress bar with a percentage (otherwise a busy bar).
  WorkBox(QWidget* owner, const QPixmap& picture, bool cancellable, bool measured);

  void SetText(const QString& text);
  void SetPercent(int percent);
  // Places the box's top-left corner at a point of the screen.
  void PlaceAt(const QPoint& topLeft);

 signals:
  void cancelRequested();

 protected:
  void reject() override;  // Escape asks to cancel, as the button does

 private:
  QLabel* m_text = nullptr;
  QProgressBar* m_bar = nullptr;
  QPushButton* m_cancel = nullptr;
};

}  // namespace vexor

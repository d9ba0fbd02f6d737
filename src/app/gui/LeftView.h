// The navigation pane: the left column of the splitter with the four buttons that choose the
// statistics view's screen.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <vector>

class QPushButton;

namespace vexor {

class MainFrame;

class LeftView : public QWidget {
  Q_OBJECT

 public:
  LeftView(MainFrame& frame, QWidget* parent);

  // The buttons are disabled while long work runs.
  void SetBusy(bool busy);
  QPushButton* Button(int screen) const;
  // While a print job that this pane carries draws, the pane draws none of its pictures.
  void SetPrinting(bool printing);
  bool Printing() const { return m_printing; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  MainFrame& m_frame;
  std::vector<QPushButton*> m_buttons;  // in screen order 1 to 4
  QPixmap m_background;
  QPixmap m_picture;
  bool m_printing = false;
};

}  // namespace vexor

#include "app/gui/LeftView.h"

#include <QPainter>
#include <QPushButton>

#include "app/gui/MainFrame.h"
#include "app/gui/Pictures.h"
#include "ui/ShellLogic.h"

namespace vexor {
namespace {

constexpr int kButtonTop = 20;
constexpr int kButtonHeight = 32;
constexpr int kButtonGap = 10;
constexpr int kButtonMargin = 12;

}  // namespace

LeftView::LeftView(MainFrame& frame, QWidget* parent)
    : QWidget(parent),
      m_frame(frame),
      m_background(BackgroundPicture()),
      m_picture(NavigationPicture()) {
  setObjectName(QStringLiteral("Navigation"));
  setAccessibleName(QStringLiteral("Navigation"));
  for (const NavigationButton& info : kNavigationButtons) {
    auto* button = new QPushButton(QString::fromLatin1(info.caption), this);
    int screen = info.screen;
    connect(button, &QPushButton::clicked, this, [this, screen] { m_frame.ShowScreen(screen); });
    m_buttons.push_back(button);
  }
}

void LeftView::SetBusy(bool busy) {
  for (QPushButton* button : m_buttons)
    button->setEnabled(!busy);
}

QPushButton* LeftView::Button(int screen) const {
  if (screen < 1 || screen > static_cast<int>(m_buttons.size())) return nullptr;
  return m_buttons[static_cast<size_t>(screen - 1)];
}

void LeftView::SetPrinting(bool printing) {
  m_printing = printing;
  update();
}

void LeftView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  int y = kButtonTop;
  for (QPushButton* button : m_buttons) {
    button->setGeometry(kButtonMargin, y, width() - 2 * kButtonMargin, kButtonHeight);
    y += kButtonHeight + kButtonGap;
  }
}

void LeftView::paintEvent(QPaintEvent*) {
  if (m_printing) return;
  QPainter painter(this);
  // The background is a soft wash: smooth scaling keeps it free of blocks.
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(rect(), m_background);
  Point place = NavigationPicturePlace(m_frame.LargeFonts(), height());
  painter.drawPixmap(place.x, place.y, m_picture);
}

}  // namespace vexor

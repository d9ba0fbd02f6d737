#include "app/gui/WorkBox.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexor {
namespace {

constexpr int kPictureWidth = 174;
constexpr int kPictureHeight = 70;

}  // namespace

WorkBox::WorkBox(QWidget* owner, const QPixmap& picture, bool cancellable, bool measured)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("WorkBox"));
  setAccessibleName(QStringLiteral("Vexor is working"));
  setStyleSheet(QStringLiteral("#WorkBox { background: white; border: 1px solid #003173; }"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  auto* image = new QLabel(this);
  image->setPixmap(picture.copy(0, 0, kPictureWidth, kPictureHeight));
  image->setFixedSize(kPictureWidth, kPictureHeight);
  image->setScaledContents(true);
  layout->addWidget(image, 0, Qt::AlignHCenter);
  m_text = new QLabel(this);
  m_text->setAlignment(Qt::AlignCenter);
  m_text->setStyleSheet(QStringLiteral("color: #003173; font-weight: bold;"));
  layout->addWidget(m_text);
  m_bar = new QProgressBar(this);
  m_bar->setAccessibleName(QStringLiteral("Progress"));
  m_bar->setRange(0, measured ? 100 : 0);
  m_bar->setTextVisible(measured);
  layout->addWidget(m_bar);
  if (cancellable) {
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(m_cancel, &QPushButton::clicked, this, &WorkBox::reject);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
  }
  setFixedWidth(280);
}

void WorkBox::SetText(const QString& text) {
  m_text->setText(text);
  m_text->setAccessibleName(text);
}

void WorkBox::SetPercent(int percent) {
  if (m_bar->maximum() > 0) m_bar->setValue(percent);
}

void WorkBox::PlaceAt(const QPoint& topLeft) {
  move(topLeft);
}

void WorkBox::reject() {
  if (!m_cancel) return;  // a work box cannot be stopped half-way
  m_cancel->setEnabled(false);
  SetText(QStringLiteral("Cancelling..."));
  emit cancelRequested();
}

}  // namespace vexor

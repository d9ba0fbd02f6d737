// The custom-variable dialogs' wiring, offscreen: a server variable defined through the menu
// command and counted by the next load, and the client dialog's keyboard and screen-reader
// set-up and its closing rules. The steps themselves are tested without a display.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include "app/gui/ClientVarDialog.h"
#include "app/gui/MainFrame.h"
#include "app/gui/ServerVarDialog.h"
#include "app/gui/VexoriumView.h"
#include "gui/MainFrameFixture.h"
#include "stats/VexoriumDoc.h"
#include "ui/ClientVarForm.h"
#include "ui/ServerVarForm.h"
#include "ui/ShellLogic.h"

namespace vexor {
namespace {

class VariableDialogTest : public test::MainFrameFixture {
 protected:
  bool Load() { return LoadAndWait({test::kServerSample}); }

  static void Type(VariableDialog& dialog, VarControl control, const char* text) {
    auto* edit = qobject_cast<QLineEdit*>(dialog.Control(control));
    ASSERT_NE(edit, nullptr);
    edit->setText(QString::fromLatin1(text));
  }

  static QAbstractButton* Button(VariableDialog& dialog, VarControl control) {
    return qobject_cast<QAbstractButton*>(dialog.Control(control));
  }
};

TEST_F(VariableDialogTest, AServerVariableFinishedFromTheMenuIsCountedByTheNextLoad) {
  ASSERT_TRUE(Load());
  QAction* command = m_frame->Action(Command::kServerVariables);
  ASSERT_TRUE(command->isEnabled());
  // The dialog is modal: fill it in and finish it once it is up.
  bool filled = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<ServerVarDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Server Side Custom Variables"));
    Type(*dialog, VarControl::kName, "SmallHealth");
    Type(*dialog, VarControl::kIdstring, "Item:");
    Type(*dialog, VarControl::kId1, "-1");
    Type(*dialog, VarControl::kModstring, "item_health_small");
    Button(*dialog, SlotFlag(0))->click();
    EXPECT_TRUE(dialog->Control(SlotValue(0))->isEnabled());
    Type(*dialog, SlotValue(0), "1");
    filled = true;
    Button(*dialog, VarControl::kStore)->click();
    Button(*dialog, VarControl::kFinish)->click();
  });
  m_prompter.Answer(MessageAnswer::kYes);
  command->trigger();
  ASSERT_TRUE(filled);
  ASSERT_EQ(m_frame->Doc().serverVarCount, 1);
  ASSERT_EQ(m_prompter.Messages().size(), 2u);
  EXPECT_EQ(m_prompter.Messages()[1].text, "Loaded. You will need to reload the log files.");

  ASSERT_TRUE(Load());
  m_frame->ShowScreen(1);
  QAbstractItemModel* weapons = m_frame->View()->WeaponList()->model();
  int column = -1;
  for (int c = 0; c < weapons->columnCount(); ++c) {
    if (weapons->headerData(c, Qt::Horizontal).toString() == QStringLiteral("SmallHealth")) {
      column = c;
    }
  }
  ASSERT_GE(column, 0);
  int total = 0;
  for (int r = 0; r < weapons->rowCount(); ++r) {
    total += weapons->index(r, column).data().toString().toInt();
  }
  EXPECT_GT(total, 0);  // the sample's players pick up small health
  m_frame->ShowScreen(2);
  const auto& boxes = m_frame->View()->Layout().variableBoxes;
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].label, "SmallHealth");
  EXPECT_TRUE(boxes[0].server);
}

TEST_F(VariableDialogTest, ClientDialogIsKeyboardReadyAndAsksBeforeClosing) {
  ClientVarForm form;
  ClientVarDialog dialog(form, m_frame->Doc(), m_prompter, m_frame.get());
  dialog.show();
  auto* next = qobject_cast<QPushButton*>(dialog.Control(VarControl::kNext));
  ASSERT_NE(next, nullptr);
  EXPECT_TRUE(next->isDefault());
  EXPECT_EQ(next->text(), QStringLiteral("Next Var >>"));
  EXPECT_FALSE(next->isEnabled());  // an empty set: nothing to move to
  for (const VarControlInfo& info : form.Controls()) {
    QWidget* widget = dialog.Control(info.control);
    ASSERT_NE(widget, nullptr) << info.id;
    if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget)) {
      EXPECT_FALSE(widget->accessibleName().isEmpty()) << info.id;
    }
  }
  EXPECT_EQ(qobject_cast<QLineEdit*>(dialog.Control(VarControl::kName))->maxLength(), 15);

  // A two-player form opens player 2's row; choosing a one-player form closes it again.
  auto* types = qobject_cast<QComboBox*>(dialog.Control(VarControl::kTypeList));
  ASSERT_EQ(types->count(), 7);
  types->setCurrentIndex(4);
  emit types->activated(4);
  EXPECT_TRUE(dialog.Control(SlotFlag(1))->isEnabled());
  Button(dialog, SlotFlag(1))->click();
  EXPECT_TRUE(dialog.Control(SlotTarget(1))->isEnabled());
  types->setCurrentIndex(1);
  emit types->activated(1);
  EXPECT_FALSE(Button(dialog, SlotFlag(1))->isChecked());
  EXPECT_FALSE(dialog.Control(SlotFlag(1))->isEnabled());
  EXPECT_FALSE(dialog.Control(SlotTarget(1))->isEnabled());

  // Escape asks; No keeps the dialog open.
  m_prompter.Answer(MessageAnswer::kNo);
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&dialog, &escape);
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(m_prompter.Messages().size(), 1u);
  EXPECT_EQ(m_prompter.Messages()[0].text,
            "This will lose all changes made since the last time you hit Finish!");
}

TEST_F(VariableDialogTest, ServerDialogClosesOnEscapeWithoutAQuestion) {
  ServerVarForm form;
  ServerVarDialog dialog(form, m_frame->Doc(), m_prompter, m_frame.get());
  dialog.show();
  Type(dialog, VarControl::kName, "x");
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&dialog, &escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_TRUE(m_prompter.Messages().empty());
}

}  // namespace
}  // namespace vexor

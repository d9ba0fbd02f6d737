// The two definition dialogs' steps without a display: what each button shows, enables, asks
// and changes, driven as a dialog drives them (type into the values, read, press).
#include <gtest/gtest.h>

#include <set>
#include <type_traits>
#include <utility>

#include "TestSupport.h"
#include "customvars/SearchString.h"
#include "stats/VexoriumDoc.h"
#include "ui/ClientVarForm.h"
#include "ui/ServerVarForm.h"

namespace vexor {
namespace {

using test::TempFolder;

// A dialog on a form: the values the controls hold, typed into and read before the steps that
// read the form.
template <typename Form>
class Dialog {
 public:
  Dialog(Form& form, ScriptedPrompter& prompter) : m_form(form), m_prompter(prompter) {}

  void Start(const VexoriumDoc& doc) {
    m_form.Start(doc);
    Refresh();
  }
  void Type(VarControl control, const std::string& text) {
    m_values.text[static_cast<size_t>(control)] = text;
  }
  void Set(VarControl control, int32_t number) {
    m_values.number[static_cast<size_t>(control)] = number;
  }
  // Reads the controls; false (and the refused box) when a box is refused.
  bool Read() {
    VarControl refused = VarControl::kNone;
    bool ok = m_form.Read(m_values, m_prompter, &refused);
    m_refused = refused;
    return ok;
  }
  // A one-player definition counting itself: the name, the line description, slot 1 by 1.
  void FillValid(const std::string& name) {
    Type(VarControl::kName, name);
    if constexpr (std::is_same_v<Form, ClientVarForm>) {
      Set(VarControl::kTypeList, kPlayer1String);
      Type(VarControl::kSearchString, "PLAYER1 " + name);
    } else {
      Type(VarControl::kIdstring, "Item:");
      Type(VarControl::kId1, "-1");
      Type(VarControl::kModstring, name);
    }
    Set(SlotFlag(0), 1);
    Set(SlotTarget(0), 0);
    Type(SlotValue(0), "1");
  }
  void Store() {
    Press([this] { m_form.Store(m_prompter); });
  }
  void Next() {
    Press([this] { m_form.Next(m_prompter); });
  }
  // The dialog shows the form again after every step that showed something new.
  void Refresh() { m_values = m_form.Values(); }
  template <typename Step>
  void Press(Step step) {
    ASSERT_TRUE(Read());
    step();
    Refresh();
  }

  std::string Text(VarControl control) const { return m_values.text[static_cast<size_t>(control)]; }
  int32_t Number(VarControl control) const { return m_values.number[static_cast<size_t>(control)]; }
  VarControl Refused() const { return m_refused; }

 private:
  Form& m_form;
  ScriptedPrompter& m_prompter;
  VarFormValues m_values;
  VarControl m_refused = VarControl::kNone;
};

class VariableFormTest : public ::testing::Test {
 protected:
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const RecordedMessage& message : prompter.Messages())
      texts.push_back(message.text);
    return texts;
  }

  VexoriumDoc doc;
  ScriptedPrompter prompter;
  ClientVarForm client;
  ServerVarForm server;
  Dialog<ClientVarForm> clientDialog{client, prompter};
  Dialog<ServerVarForm> serverDialog{server, prompter};
  TempFolder folder;
};

TEST_F(VariableFormTest, AnEmptySetShowsABlankFormWithBothArrowsOff) {
  clientDialog.Start(doc);
  EXPECT_FALSE(client.Enabled(VarControl::kPrevious));
  EXPECT_FALSE(client.Enabled(VarControl::kNext));
  EXPECT_EQ(clientDialog.Number(VarControl::kTypeList), 0);
  EXPECT_EQ(clientDialog.Number(VarControl::kVisible), 1);
  EXPECT_EQ(client.TargetEntries(), std::vector<std::string>{"This Variable"});
  // Type 0 names one player: its row is usable, player 2's boxes are not; no slot is set.
  EXPECT_TRUE(client.Enabled(SlotFlag(0)));
  EXPECT_TRUE(client.Enabled(SlotFlag(2)));
  EXPECT_FALSE(client.Enabled(SlotFlag(1)));
  EXPECT_FALSE(client.Enabled(SlotFlag(3)));
  EXPECT_FALSE(client.Enabled(SlotTarget(0)));
  EXPECT_FALSE(client.Enabled(TargetsLabel(0)));

  serverDialog.Start(doc);
  EXPECT_FALSE(server.Enabled(VarControl::kNext));
  for (VarControl id : {VarControl::kId1, VarControl::kId2, VarControl::kId3}) {
    EXPECT_EQ(serverDialog.Text(id), "-2");
  }
  // Both rows' boxes are always usable; with no box ticked, no list, value box or label is.
  for (int slot = 0; slot < 4; ++slot) {
    EXPECT_TRUE(server.Enabled(SlotFlag(slot))) << slot;
    EXPECT_FALSE(server.Enabled(SlotTarget(slot))) << slot;
    EXPECT_FALSE(server.Enabled(SlotValue(slot))) << slot;
    EXPECT_FALSE(server.Enabled(TargetsLabel(SlotRow(slot)))) << slot;
    EXPECT_FALSE(server.Enabled(ValuesLabel(SlotRow(slot)))) << slot;
  }
}

TEST_F(VariableFormTest, NextStaysOnAnUnstoredNewFormAndLeavesTheLastStoredOneForABlankForm) {
  clientDialog.Start(doc);
  clientDialog.FillValid("Quads");
  clientDialog.Next();
  EXPECT_EQ(clientDialog.Text(VarControl::kName), "Quads");  // not stored, so nowhere to go
  EXPECT_EQ(client.Copy().Count(), 0);
  EXPECT_TRUE(client.NextSucceeded());

  clientDialog.Store();
  EXPECT_EQ(client.Copy().Count(), 1);
  EXPECT_TRUE(client.Enabled(VarControl::kNext));
  EXPECT_EQ(client.TargetEntries().size(), 1u);  // names show up at the next showing
  clientDialog.Type(VarControl::kName, "Edited");
  clientDialog.Next();
  EXPECT_TRUE(client.Copy().IsNewVariable());
  EXPECT_EQ(clientDialog.Text(VarControl::kName), "");
  EXPECT_EQ(client.Copy().Slot(1).name, "Quads");  // the edit was never stored
  EXPECT_EQ(client.TargetEntries(), (std::vector<std::string>{"This Variable", "Quads"}));
  EXPECT_TRUE(client.Enabled(VarControl::kPrevious));
  EXPECT_FALSE(client.Enabled(VarControl::kNext));

  clientDialog.Press([&] { client.Previous(prompter); });
  EXPECT_EQ(client.Copy().Current(), 1);
  EXPECT_EQ(clientDialog.Text(VarControl::kName), "Quads");
  EXPECT_TRUE(client.Enabled(VarControl::kNext));    // the last stored one leads to the new form
  EXPECT_EQ(clientDialog.Number(SlotTarget(0)), 1);  // "This Variable" was stored as itself
  EXPECT_TRUE(prompter.Messages().empty());
}

TEST_F(VariableFormTest, ChoosingAOnePlayerTypeClearsBothFirstSlotsAndLocksPlayerTwo) {
  clientDialog.Start(doc);
  client.SelectType(kPlayer1StringPlayer2String);
  EXPECT_TRUE(client.Enabled(SlotFlag(1)));
  client.SlotBoxClicked({true, true, false, true});
  EXPECT_TRUE(client.Enabled(SlotValue(1)));
  EXPECT_TRUE(client.Enabled(ValuesLabel(1)));

  client.SelectType(kStringPlayer1);
  clientDialog.Refresh();
  EXPECT_EQ(clientDialog.Number(SlotFlag(0)), 0);
  EXPECT_EQ(clientDialog.Number(SlotFlag(1)), 0);
  EXPECT_EQ(clientDialog.Number(SlotFlag(3)), 1);  // the second slots keep their state
  EXPECT_FALSE(client.Enabled(SlotFlag(1)));
  EXPECT_FALSE(client.Enabled(SlotFlag(3)));
  EXPECT_FALSE(client.Enabled(SlotValue(1)));

  client.SelectType(-1);  // nothing chosen: only the type list and the buttons
  EXPECT_FALSE(client.Enabled(VarControl::kName));
  EXPECT_FALSE(client.Enabled(SlotFlag(0)));
  EXPECT_FALSE(client.Enabled(ValuesLabel(1)));
  EXPECT_TRUE(client.Enabled(VarControl::kTypeList));
  EXPECT_TRUE(client.Enabled(VarControl::kStore));
}

TEST_F(VariableFormTest, AnInvalidFormKeepsFinishFromAskingAndAStaleOrOverlongBoxIsRefused) {
  clientDialog.Start(doc);
  clientDialog.Type(VarControl::kName, "Quads");
  ASSERT_TRUE(clientDialog.Read());
  EXPECT_FALSE(client.Finish(doc, prompter));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"You cannot store this variable because...\n"
                                               "The search string is not entered.\n"
                                               "No variables are being incremented.\n"}));
  EXPECT_EQ(prompter.Messages()[0].caption, "Invalid Form");
  EXPECT_EQ(doc.clientVarCount, 0);
  prompter.Clear();

  clientDialog.FillValid("Quads");
  clientDialog.Type(SlotValue(0), "1x");
  EXPECT_FALSE(clientDialog.Read());
  EXPECT_EQ(clientDialog.Refused(), SlotValue(0));
  clientDialog.Type(SlotValue(0), "2");
  clientDialog.Type(VarControl::kName, "SixteenCharsLong");
  EXPECT_FALSE(clientDialog.Read());
  EXPECT_EQ(clientDialog.Refused(), VarControl::kName);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Please enter an integer.",
                                               "Please enter no more than 15 characters."}));
}

TEST_F(VariableFormTest, FinishCopiesTheSetBackAfterTheQuestion) {
  serverDialog.Start(doc);
  serverDialog.FillValid("item_armor_body");
  serverDialog.Store();
  prompter.Answer(MessageAnswer::kNo);
  ASSERT_TRUE(serverDialog.Read());
  EXPECT_FALSE(server.Finish(doc, prompter));  // Next has moved on to the new form all the same
  serverDialog.Refresh();
  EXPECT_EQ(doc.serverVarCount, 0);

  prompter.Answer(MessageAnswer::kYes);
  ASSERT_TRUE(serverDialog.Read());
  EXPECT_TRUE(server.Finish(doc, prompter));
  ASSERT_EQ(doc.serverVarCount, 1);
  EXPECT_EQ(doc.serverVars[1].modstring, "item_armor_body");
  EXPECT_EQ(doc.serverVars[1].p1Target, 1);
  EXPECT_TRUE(doc.refresh);
  EXPECT_EQ(prompter.Messages().back().text, "Loaded. You will need to reload the log files.");
  EXPECT_EQ(prompter.Messages().back().caption, "Warning");
}

TEST_F(VariableFormTest, DeleteClearsOnlyTheNewFormOrRemovesTheStoredVariable) {
  clientDialog.Start(doc);
  for (const char* name : {"a", "b"}) {
    clientDialog.FillValid(name);
    clientDialog.Store();
    clientDialog.Next();
  }
  ASSERT_EQ(client.Copy().Count(), 2);
  clientDialog.FillValid("unstored");
  ASSERT_TRUE(clientDialog.Read());
  prompter.Answer(MessageAnswer::kYes);
  client.Delete(prompter);
  clientDialog.Refresh();
  EXPECT_EQ(client.Copy().Count(), 2);
  EXPECT_EQ(clientDialog.Text(VarControl::kName), "");

  client.Delete(prompter);  // the blank form is judged as last read: nothing to clear
  EXPECT_EQ(prompter.Messages().back().text, "The variable is already clear!");

  clientDialog.Press([&] { client.Previous(prompter); });
  prompter.Answer(MessageAnswer::kNo);
  client.Delete(prompter);
  EXPECT_EQ(client.Copy().Count(), 2);
  prompter.Answer(MessageAnswer::kYes);
  client.Delete(prompter);  // the last one goes: the new form follows
  clientDialog.Refresh();
  EXPECT_EQ(client.Copy().Count(), 1);
  EXPECT_TRUE(client.Copy().IsNewVariable());
  EXPECT_EQ(client.TargetEntries(), (std::vector<std::string>{"This Variable", "a"}));
}

TEST_F(VariableFormTest, LoadVarsCancelledShowsVariableOneAgainAndAFileReplacesTheSet) {
  serverDialog.Start(doc);
  for (const char* name : {"one", "two"}) {
    serverDialog.FillValid(name);
    serverDialog.Store();
    serverDialog.Next();
  }
  prompter.Choose({folder.File("teamarena_server.var")});
  server.SaveVars(prompter);
  EXPECT_EQ(prompter.FileDialogs().back().filter, "All Files (*.*)|*.*||");

  prompter.Answer(MessageAnswer::kCancel);
  server.LoadVars(doc, prompter);
  serverDialog.Refresh();
  EXPECT_EQ(prompter.FileDialogs().size(), 1u);  // no file dialog after Cancel
  EXPECT_EQ(server.Copy().Current(), 1);
  EXPECT_EQ(serverDialog.Text(VarControl::kName), "one");
  EXPECT_EQ(server.Copy().Count(), 2);
  EXPECT_EQ(prompter.Messages().back().text,
            "This will delete the server variables in memory now, replacing them with the ones "
            "in the file.");

  // A Team Arena set follows the file's exact name; a further extension is another file.
  std::string bytes = test::ReadFile(folder.File("teamarena_server.var"));
  std::string bak = folder.Write("teamarena_server.var.bak", bytes);
  for (const auto& [path, teamArena] :
       {std::pair{folder.File("teamarena_server.var"), true}, std::pair{bak, false}}) {
    prompter.Choose({path});
    server.LoadVars(doc, prompter);
    EXPECT_EQ(doc.teamArenaSet, teamArena) << path;
    EXPECT_EQ(server.Copy().Count(), 2);
    EXPECT_EQ(server.TargetEntries(), (std::vector<std::string>{"This Variable", "one", "two"}));
  }
}

TEST_F(VariableFormTest, ABadFileEmptiesTheSetAndTheForm) {
  clientDialog.Start(doc);
  for (const char* name : {"one", "two"}) {
    clientDialog.FillValid(name);
    clientDialog.Store();
    clientDialog.Next();
  }
  prompter.Choose({folder.Write("bad.var", std::string("\x32\0\0\0", 4))});  // count 50
  client.LoadVars(doc, prompter);
  clientDialog.Refresh();
  EXPECT_EQ(prompter.Messages().back().text,
            "Sorry, that file was not opened properly. All variables are cleared.");
  EXPECT_EQ(client.Copy().Count(), 0);
  EXPECT_EQ(clientDialog.Text(VarControl::kName), "");
  EXPECT_EQ(client.TargetEntries().size(), 1u);
  EXPECT_FALSE(client.Enabled(VarControl::kNext));
}

TEST_F(VariableFormTest, TheTablesHoldEveryControlOnceWithItsCaption) {
  for (const VariableForm* form :
       {static_cast<const VariableForm*>(&client), static_cast<const VariableForm*>(&server)}) {
    std::set<int> ids;
    std::set<VarControl> controls;
    for (const VarControlInfo& info : form->Controls()) {
      EXPECT_TRUE(ids.insert(info.id).second) << info.id;
      EXPECT_TRUE(controls.insert(info.control).second) << info.id;
      bool captioned =
          info.kind != VarControlKind::kTextEdit && info.kind != VarControlKind::kNumberEdit &&
          info.kind != VarControlKind::kTypeList && info.kind != VarControlKind::kTargetList;
      // Edit boxes and lists have no caption, so a screen reader needs their name.
      EXPECT_NE(*(captioned ? info.caption : info.accessibleName), '\0') << info.id;
    }
  }
  EXPECT_EQ(client.Controls().size(), 32u);
  EXPECT_EQ(server.Controls().size(), 33u);
}

}  // namespace
}  // namespace vexor

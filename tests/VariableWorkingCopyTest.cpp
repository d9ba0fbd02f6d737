// The working copy a definition dialog edits: storing, deleting with renumbering, the copies to
// and from the document with their target rule and counter reset, variable files, the Team
// Arena flag, and the command line's install.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "stats/VexoriumDoc.h"
#include "ui/VariableWorkingCopy.h"

namespace vexor {
namespace {

using test::TempFolder;

const char* const kAllUsed =
    "Cant create this variable. You have used all fifty user-variables!.\n"
    "Go back and clear some variables you dont want.";
const char* const kBadFile = "Sorry, that file was not opened properly. All variables are cleared.";

class VariableWorkingCopyTest : public ::testing::Test {
 protected:
  // A client form for a one-player variable that adds value to target (0: itself).
  static ClientFormFields Form(const std::string& name, int32_t target = 0, int32_t value = 1) {
    ClientFormFields form;
    form.name = name;
    form.searchString = "PLAYER1 " + name;
    form.changes.p1Change = 1;
    form.changes.p1Target = target;
    form.changes.p1Value = value;
    return form;
  }

  // Puts n client variables into the document, variable i named "v<i>" and counting itself.
  void DefineClientVars(int32_t n) {
    doc.clientVarCount = n;
    for (int32_t i = 1; i <= n; ++i) {
      ClientVariable& v = doc.clientVars[static_cast<size_t>(i)];
      v = ClientVariable{};
      v.name = "v" + std::to_string(i);
      v.ordinal = i;
      v.p1Change = 1;
      v.p1Target = i;
      v.p1Value = 1;
    }
  }

  // Stores new variables through the form until the copy holds n.
  void StoreUntil(int32_t n) {
    while (copy.Count() < n) {
      copy.SetCurrent(copy.Count() + 1);
      ASSERT_TRUE(copy.StoreForm(Form("v" + std::to_string(copy.Count() + 1)), prompter));
    }
  }

  // A document after a load of two players and three games, with counts in both sets.
  void GiveCounters() {
    doc.nameCount = 2;
    doc.playerCount = 2;
    doc.gameCount = 3;
    for (size_t p = 1; p <= 2; ++p) {
      doc.players[p].clientVarTotals = {0, 5, 6};
      doc.players[p].serverVarTotals = {0, 8};
      PlayerGame& game = doc.players[p].games.At(2);
      game.ClientVarRef(1) = 4;
      game.ServerVarRef(1) = 3;
    }
  }

  VexoriumDoc doc;
  ScriptedPrompter prompter;
  ClientVarWorkingCopy copy;
  TempFolder folder;
};

TEST_F(VariableWorkingCopyTest, NewVariablesAppendUntilTheFiftiethIsRefused) {
  ASSERT_TRUE(copy.IsNewVariable());
  ASSERT_TRUE(copy.StoreForm(Form("Quads"), prompter));
  EXPECT_EQ(copy.Current(), 1);
  EXPECT_FALSE(copy.IsNewVariable());
  EXPECT_TRUE(copy.SetsChanged());
  EXPECT_EQ(copy.Slot(1).ordinal, 1);
  EXPECT_EQ(copy.Slot(1).p1Target, 1);  // "This Variable"
  StoreUntil(kMaxVariables);
  copy.SetCurrent(kMaxVariables + 1);
  EXPECT_FALSE(copy.StoreForm(Form("one too many"), prompter));
  EXPECT_EQ(copy.Count(), kMaxVariables);
  ASSERT_EQ(prompter.Messages().size(), 1u);
  EXPECT_EQ(prompter.Messages()[0].text, kAllUsed);
  EXPECT_EQ(prompter.Messages()[0].caption, "Invalid Form");
  EXPECT_EQ(prompter.Messages()[0].buttons, MessageButtons::kOk);

  copy.SetCurrent(5);
  EXPECT_TRUE(copy.StoreForm(Form("edited", 3, -2), prompter));
  EXPECT_EQ(copy.Count(), kMaxVariables);
  EXPECT_EQ(copy.Slot(5).name, "edited");
  EXPECT_EQ(copy.Slot(5).p1Target, 3);
  EXPECT_EQ(copy.Slot(5).p1Value, -2);
  EXPECT_EQ(prompter.Messages().size(), 1u);
}

TEST_F(VariableWorkingCopyTest, DeletingRenumbersTargetsAndHidesFeedersOfTheDeletedVariable) {
  DefineClientVars(5);
  doc.clientVars[1].p1Target = 4;   // 1 feeds 4
  doc.clientVars[4].p1Target = 3;   // 4 feeds 3
  doc.clientVars[3].p2Change2 = 1;  // 3 also feeds 2
  doc.clientVars[3].p2Target2 = 2;
  doc.clientVars[3].p2Value2 = 7;
  doc.clientVars[5].p1Target = 1;  // below the deleted one: unchanged
  doc.clientVars[5].p2Change = 1;
  doc.clientVars[5].p2Target = 60;  // out of the set: data, lowered like any other
  doc.clientVars[5].p2Value = 1;
  copy.LoadFromDocument(doc);
  copy.SetCurrent(2);
  ASSERT_TRUE(copy.DeleteCurrent());

  EXPECT_EQ(copy.Count(), 4);
  EXPECT_EQ(copy.Current(), 2);
  EXPECT_FALSE(copy.IsNewVariable());
  EXPECT_EQ(copy.Slot(1).p1Target, 3);
  EXPECT_EQ(copy.Slot(1).visible, 1);
  EXPECT_EQ(copy.Slot(2).name, "v3");
  EXPECT_EQ(copy.Slot(2).ordinal, 3);  // moves with its record
  EXPECT_EQ(copy.Slot(2).p1Target, 2);
  EXPECT_EQ(copy.Slot(2).p2Target2, 0);
  EXPECT_EQ(copy.Slot(2).visible, 0);
  EXPECT_EQ(copy.Slot(3).name, "v4");
  EXPECT_EQ(copy.Slot(3).p1Target, 2);
  EXPECT_EQ(copy.Slot(4).p1Target, 1);
  EXPECT_EQ(copy.Slot(4).p2Target, 59);
  EXPECT_EQ(copy.Slot(5), ClientVariable{});
}

TEST_F(VariableWorkingCopyTest, DeletingTheLastVariableLeavesTheNewOneAndTheNewOneCannotBeDeleted) {
  ServerVarWorkingCopy server;
  doc.serverVarCount = 2;
  doc.serverVars[1].name = "a";
  doc.serverVars[2].name = "b";
  doc.serverVars[2].id1 = -1;
  doc.serverVars[2].visible = 0;
  server.LoadFromDocument(doc);
  server.SetCurrent(2);
  ASSERT_TRUE(server.DeleteCurrent());
  EXPECT_EQ(server.Count(), 1);
  EXPECT_TRUE(server.IsNewVariable());
  EXPECT_EQ(server.Slot(2).id1, -2);
  EXPECT_EQ(server.Slot(2).visible, 1);
  EXPECT_EQ(server.Slot(2).name, "");
  EXPECT_FALSE(server.DeleteCurrent());
  EXPECT_EQ(server.Count(), 1);
}

TEST_F(VariableWorkingCopyTest, CopiesToAndFromTheDocumentPointValuelessSlotsAtTheirOwnVariable) {
  DefineClientVars(2);
  doc.clientVars[2].p1Target = 99;  // with a value: kept as it is
  doc.clientVars[2].p2Target = 1;   // flag clear, value 0: own number
  doc.clientVars[2].p2Target2 = -3;
  doc.clientVars[9].name = "beyond the count";
  copy.LoadFromDocument(doc);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Current(), 1);
  EXPECT_EQ(copy.Slot(2).p1Target, 99);
  EXPECT_EQ(copy.Slot(2).p2Target, 2);
  EXPECT_EQ(copy.Slot(2).p2Target2, 2);
  EXPECT_EQ(copy.Slot(9).name, "");

  copy.SetCurrent(1);
  ASSERT_TRUE(copy.StoreForm(Form("renamed"), prompter));
  VexoriumDoc other;
  other.clientVars[1].p1Value2 = 0;
  other.clientVars[1].p1Target2 = 8;
  copy.CopyToDocument(other);
  EXPECT_TRUE(other.refresh);
  EXPECT_EQ(other.clientVarCount, 2);
  EXPECT_EQ(other.clientVars[1].name, "renamed");
  EXPECT_EQ(other.clientVars[1].p1Target2, 1);  // stored clear as 0, copied as its own number
  EXPECT_EQ(other.clientVars[2], copy.Slot(2));
  EXPECT_EQ(other.serverVarCount, 0);

  VexoriumDoc empty;
  copy.LoadFromDocument(empty);
  EXPECT_EQ(copy.Count(), 0);
  EXPECT_TRUE(copy.IsNewVariable());
}

TEST_F(VariableWorkingCopyTest, FinishKeepsCountersUnlessTheSetChanged) {
  DefineClientVars(2);
  GiveCounters();
  copy.LoadFromDocument(doc);
  copy.SetCurrent(2);
  ASSERT_TRUE(copy.StoreForm(Form("edit only"), prompter));
  copy.CopyToDocument(doc);
  EXPECT_EQ(doc.players[1].clientVarTotals, (std::vector<int32_t>{0, 5, 6}));
  EXPECT_EQ(doc.players[1].games.Get(2).ClientVar(1), 4);

  copy.SetCurrent(3);
  ASSERT_TRUE(copy.StoreForm(Form("new"), prompter));
  copy.CopyToDocument(doc);
  for (size_t p : {size_t{0}, size_t{1}, size_t{2}, size_t{2500}}) {
    EXPECT_EQ(doc.players[p].clientVarTotals, (std::vector<int32_t>(4, 0))) << p;
    for (int v = 0; v <= 3; ++v)
      EXPECT_EQ(doc.players[p].games.Get(2).ClientVar(v), 0) << p;
  }
  // The other set is not touched.
  EXPECT_EQ(doc.players[1].serverVarTotals, (std::vector<int32_t>{0, 8}));
  EXPECT_EQ(doc.players[1].games.Get(2).ServerVar(1), 3);
}

TEST_F(VariableWorkingCopyTest, FinishWithoutGamesKeepsCountersButSizesThemForTheNewCount) {
  GiveCounters();
  doc.gameCount = 0;
  StoreUntil(4);
  copy.CopyToDocument(doc);
  EXPECT_EQ(doc.players[1].clientVarTotals, (std::vector<int32_t>{0, 5, 6, 0, 0}));
  EXPECT_EQ(doc.players[1].games.Get(2).ClientVar(1), 4);
}

TEST_F(VariableWorkingCopyTest, VariableFilesRoundTripThroughTheWorkingCopy) {
  ServerVarWorkingCopy server;
  ServerFormFields form;
  form.name = "Rails";
  form.idstring = "Kill:";
  form.modstring = "MOD_RAILGUN";
  form.id1 = -1;
  form.id2 = -1;
  form.id3 = 10;
  form.changes.p2Change = 1;
  form.changes.p2Value = 3;
  ASSERT_TRUE(server.StoreForm(form, prompter));
  std::string path = folder.File("mine.var");
  std::string error;
  ASSERT_TRUE(server.WriteFile(path, &error)) << error;

  ServerVarWorkingCopy read;
  EXPECT_EQ(read.ReadFile(path, prompter), VarFileStatus::kLoaded);
  EXPECT_FALSE(read.BadFile());
  EXPECT_EQ(read.Count(), 1);
  EXPECT_EQ(read.Slots(), server.Slots());

  EXPECT_FALSE(server.WriteFile(folder.File("missing/mine.var"), &error));
  EXPECT_NE(error.find("missing/mine.var"), std::string::npos) << error;
}

TEST_F(VariableWorkingCopyTest, BadOrCutFileEmptiesTheCopyAndMissingFileChangesNothing) {
  StoreUntil(3);
  std::string error;
  ASSERT_TRUE(copy.WriteFile(folder.File("three.var"), &error));
  std::string whole = test::ReadFile(folder.File("three.var"));
  const std::string count50("\x32\0\0\0", 4);
  for (const std::string& bytes : {count50, whole.substr(0, whole.size() - 3)}) {
    ClientVarWorkingCopy target;
    target.LoadFromDocument(doc);
    ASSERT_TRUE(target.StoreForm(Form("old"), prompter));
    prompter.Clear();
    std::string path = folder.Write("bad.var", bytes);
    EXPECT_EQ(target.ReadFile(path, prompter), VarFileStatus::kBad);
    EXPECT_TRUE(target.BadFile());
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].text, kBadFile);
    EXPECT_EQ(prompter.Messages()[0].caption, "Info");
    EXPECT_EQ(target.Count(), 0);
    EXPECT_EQ(target.Current(), 1);
    for (int32_t k = 0; k < kVariableSlots; ++k)
      EXPECT_EQ(target.Slot(k), ClientVariable{}) << k;
  }
  prompter.Clear();
  EXPECT_EQ(copy.ReadFile(folder.File("none.var"), prompter), VarFileStatus::kCannotOpen);
  EXPECT_EQ(copy.ReadFile(folder.Path(), prompter), VarFileStatus::kCannotOpen);
  EXPECT_EQ(copy.Count(), 3);
  EXPECT_TRUE(prompter.Messages().empty());
}

TEST_F(VariableWorkingCopyTest, LoadVarsSetsTheTeamArenaFlagFromTheChosenPathAtOnce) {
  ServerVarWorkingCopy server;
  std::string error;
  ASSERT_TRUE(server.WriteFile(folder.File("teamarena_server.var"), &error));
  ASSERT_TRUE(server.WriteFile(folder.File("teamarena_server.var.bak"), &error));
  std::string bad = folder.Write("bad_teamarena_server.var", std::string("\xFF\xFF\xFF\xFF", 4));

  EXPECT_EQ(server.LoadVars(folder.File("teamarena_server.var"), prompter, doc),
            VarFileStatus::kLoaded);
  EXPECT_TRUE(doc.teamArenaSet);
  EXPECT_TRUE(server.SetsChanged());
  EXPECT_EQ(server.LoadVars(folder.File("teamarena_server.var.bak"), prompter, doc),
            VarFileStatus::kLoaded);
  EXPECT_FALSE(doc.teamArenaSet);

  doc.teamArenaSet = true;
  EXPECT_EQ(server.LoadVars(bad, prompter, doc), VarFileStatus::kBad);
  EXPECT_TRUE(doc.teamArenaSet);  // a bad file leaves the flag alone
  server.SetCurrent(2);
  EXPECT_EQ(server.LoadVars("", prompter, doc), VarFileStatus::kNotChosen);
  EXPECT_FALSE(doc.teamArenaSet);  // abandoned: cleared
  EXPECT_EQ(server.Current(), 1);
  EXPECT_EQ(server.Count(), 0);

  doc.teamArenaSet = true;
  EXPECT_EQ(copy.LoadVars(folder.File("teamarena_server.var"), prompter, doc),
            VarFileStatus::kLoaded);
  EXPECT_TRUE(doc.teamArenaSet);  // the client set has no such flag
}

TEST_F(VariableWorkingCopyTest, InstallingAFileActsAsLoadVarsThenFinishAndFailsCleanly) {
  GiveCounters();
  StoreUntil(3);
  std::string path = folder.File("three.var");
  std::string error;
  ASSERT_TRUE(copy.WriteFile(path, &error));
  ASSERT_TRUE(InstallClientVariableFile(doc, path, prompter, &error)) << error;
  EXPECT_EQ(doc.clientVarCount, 3);
  EXPECT_EQ(doc.clientVars[3].name, "v3");
  EXPECT_TRUE(doc.refresh);
  EXPECT_EQ(doc.players[1].clientVarTotals, (std::vector<int32_t>(4, 0)));
  std::string arena = folder.File("teamarena_server.var");
  ASSERT_TRUE(ServerVarWorkingCopy().WriteFile(arena, &error));
  ASSERT_TRUE(InstallServerVariableFile(doc, arena, prompter, &error));
  EXPECT_TRUE(doc.teamArenaSet);
  EXPECT_TRUE(prompter.Messages().empty());

  doc.refresh = false;
  std::string bad = folder.Write("bad.var", std::string("\x32\0\0\0", 4));
  EXPECT_FALSE(InstallClientVariableFile(doc, bad, prompter, &error));
  EXPECT_TRUE(error.empty());  // the box has said it
  ASSERT_EQ(prompter.Messages().size(), 1u);
  EXPECT_EQ(prompter.Messages()[0].text, kBadFile);
  std::string missing = folder.File("none/teamarena_server.var");
  EXPECT_FALSE(InstallServerVariableFile(doc, missing, prompter, &error));
  EXPECT_NE(error.find(missing), std::string::npos) << error;
  EXPECT_EQ(doc.clientVarCount, 3);
  EXPECT_FALSE(doc.refresh);
}

}  // namespace
}  // namespace vexor

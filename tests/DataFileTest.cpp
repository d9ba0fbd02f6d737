// The saved data file: exact layout, round trips of a loaded log, what opening rebuilds, damaged
// and missing files, and saves that fail.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <tuple>

#include "TestSupport.h"
#include "base/Archive.h"
#include "base/StringPrintf.h"
#include "ops/DocumentOperations.h"
#include "stats/DataFile.h"
#include "stats/DataFileWriter.h"

namespace vexor {
namespace {

using test::At;
using test::Connect;
using test::InitGame;
using test::Lines;
using test::ReadFile;
using W = Weapon;

constexpr int kAll = KillTables::kAllWeapons;
constexpr int kRocket = KillTables::TableOf(W::kRocket);

std::string Int(int32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) {
    bytes[static_cast<size_t>(i)] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
  }
  return bytes;
}

std::string Float(float value) {
  int32_t bits;
  std::memcpy(&bits, &value, 4);
  return Int(bits);
}

std::string Text(const std::string& text) {  // short texts only
  return std::string(1, static_cast<char>(text.size())) + text;
}

std::string Zeros(size_t ints) {
  return std::string(4 * ints, '\0');
}

// What a document would save, as bytes in memory.
std::string SavedBytes(const VexoriumDoc& doc) {
  StringSink sink;
  {
    ArchiveWriter archive(sink);
    WriteDataFile(archive, doc);
  }
  return sink.Bytes();
}

// A small document built by hand: Alice and Bob, one client and one server variable; game 1
// is short and empty, game 2 has both players and a few kills.
void BuildSmall(VexoriumDoc& doc) {
  doc.reportIndexPath = "r";
  doc.nameCount = doc.playerCount = 2;
  doc.gameCount = 2;
  doc.displayedGameCount = 1;
  doc.teamArenaSet = true;
  doc.clientLogSeen = false;
  doc.serverLogAbsent = false;
  doc.clientVarCount = 1;
  ClientVariable& quads = doc.clientVars[1];
  quads.name = "C";
  quads.stringType = 1;
  quads.ordinal = 1;
  quads.searchString = "s PLAYER1";
  quads.p1Change = 1;
  quads.p1Target = 1;
  quads.p1Value = 2;
  doc.serverVarCount = 1;
  ServerVariable& rails = doc.serverVars[1];
  rails = ServerVariable{};
  rails.name = "S";
  rails.ordinal = 1;
  rails.id1 = -1;
  rails.id2 = 5;
  rails.modstring = "m";
  rails.idstring = "Item:";
  rails.p1Change = 1;
  rails.p1Target = 1;
  rails.p1Value = 3;
  rails.reserved = 77;  // never written

  PlayerRecord& alice = doc.players[1];
  alice.frags = 3;
  alice.deaths = 1;
  alice.clientSlot = "2";
  alice.name = "Alice";
  alice.rawName = "^1Alice";
  alice.gamesPlayed = 1;
  alice.totalSeconds = 3725;
  alice.connectTime = "0:01";
  alice.disconnectTime = "1:06";
  for (int w = 0; w < kWeaponCount; ++w)
    alice.weaponFrags[static_cast<size_t>(w)] = 10 + w;
  alice.clientVarTotals = {0, 4};
  alice.serverVarTotals = {0, 5};
  PlayerGame& game = alice.games.At(2);
  for (int w = 0; w < kWeaponCount; ++w)
    game.weaponFrags[static_cast<size_t>(w)] = 20 + w;
  game.frags = 3;
  game.deaths = 1;
  game.seconds = 65;
  game.fragsPerHour = 1.5f;
  game.deathsPerHour = 0.5f;
  game.team = 1;
  game.ClientVarRef(1) = 6;
  game.ServerVarRef(1) = 7;
  PlayerRecord& bob = doc.players[2];
  bob.name = "Bob";
  bob.clientSlot = "";
  bob.clientVarTotals = {0, 0};
  bob.serverVarTotals = {0, 0};

  GameRecord& empty = doc.games[1];
  empty.fragLimit = 20;
  empty.timeLimit = 15;
  empty.mapName = "q3dm1";
  empty.serverLogGame = 1;
  empty.shortGame = true;
  empty.gameTypeName = "Free For All";
  empty.playerNumber = 0;
  empty.kills.Allocate(0);
  GameRecord& duel = doc.games[2];
  duel.mapName = "q3dm17";
  duel.serverLogGame = 1;
  duel.gameTypeName = "Tournament";
  duel.playerNumber = 2;
  duel.kills.Allocate(2);
  duel.kills.Add(kAll, 0, 1);
  duel.kills.Add(kRocket, 0, 1);
  duel.kills.Add(kAll, 1, 1);
  doc.presence.Allocate(3, 3);
  doc.presence.Mark(2, 1);
  doc.presence.Mark(2, 2);
  doc.RebuildPlayerIndexes();
}

// The small document's file written field by field, with some fields open to damage.
struct SmallFile {
  std::string reportPath = Text("r");
  int32_t names = 2;
  int32_t games = 2;
  int32_t displayed = 1;
  int32_t clientLogSeen = 0;
  int32_t clientVars = 1;
  int32_t serverVars = 1;
  int32_t emptyGameIsServerLog = 1;
  int32_t duelPlayers = 2;
  std::string trailing;

  std::string Bytes() const {
    std::string header = reportPath + Int(names) + Int(games) + Int(displayed) + Int(1) +
                         Int(clientLogSeen) + Int(0) + Int(clientVars) + Int(serverVars);
    std::string client = Text("C") + Int(1) + Int(1) + Text("s PLAYER1") + Int(1) + Int(1) +
                         Int(2) + Zeros(9) + Int(1);
    std::string server = Text("S") + Int(1) + Int(-1) + Int(5) + Int(-2) + Text("m") +
                         Text("Item:") + Int(1) + Int(1) + Int(3) + Zeros(9) + Int(1) + Int(0);
    std::string alice =
        Int(3) + Int(1) + Int(0) + Text("2") + Text("Alice") + Text("^1Alice") + Int(1) + Int(1) +
        Int(3725) + Text("0:01") + Text("1:06") +
        // totals: gauntlet, machinegun, rocket, grenade, plasma, BFG, railgun, shotgun, lightning
        Int(10) + Int(11) + Int(13) + Int(14) + Int(16) + Int(18) + Int(17) + Int(12) + Int(15) +
        Int(4) + Int(5) + Zeros(19) +  // game 1: nothing
        // game 2: BFG, lightning, plasma, rocket, grenade, railgun, machinegun, shotgun, gauntlet
        Int(28) + Int(25) + Int(26) + Int(23) + Int(24) + Int(27) + Int(21) + Int(22) + Int(20) +
        Int(3) + Int(1) + Int(0) + Int(65) + Float(1.5f) + Float(0.5f) + Float(0) + Int(1) +
        Int(6) + Int(7);
    std::string bob = Zeros(3) + Text("") + Text("Bob") + Text("") + Int(1) + Zeros(2) + Text("") +
                      Text("") + Zeros(9 + 2 + 2 * 19);
    std::string emptyGame = Int(20) + Int(15) + Text("q3dm1") + Int(emptyGameIsServerLog) + Int(1) +
                            Text("Free For All") + Int(0) + Zeros(10);
    // Cells [0][1] (a rocket kill) and [1][1] (a suicide); the rest are zero.
    std::string cell01 = Int(1) + Zeros(3) + Int(1) + Zeros(5);
    std::string cell11 = Int(1) + Zeros(9);
    std::string duel = Int(0) + Int(0) + Text("q3dm17") + Int(1) + Int(0) + Text("Tournament") +
                       Int(duelPlayers) + Zeros(10) + cell01 + Zeros(10) +  // row 0
                       Zeros(10) + cell11 + Zeros(10) +                     // row 1
                       Zeros(30);                                           // row 2
    std::string presence = Zeros(3) + Zeros(3) + Int(0) + Int(1) + Int(1);
    return header + client + server + alice + bob + emptyGame + duel + presence + trailing;
  }
};

// Key fields of a document and its selection, and all its statistics as saved.
std::string Fingerprint(const VexoriumDoc& doc, const LogSelection& selection) {
  return StringPrintf(
             "names %d players %d games %d shown %d vars %d/%d flags %d%d%d%d%d%d%d "
             "screen %d log '%s' index '%s' selection %d '%s' '%s'\n",
             doc.nameCount, doc.playerCount, doc.gameCount, doc.displayedGameCount,
             doc.clientVarCount, doc.serverVarCount, doc.teamArenaSet, doc.clientLogSeen,
             doc.serverLogAbsent, doc.storageAllocated, doc.refresh, doc.startupPending,
             selection.dataAvailable, doc.currentScreen, doc.currentLogPath.c_str(),
             doc.reportIndexPath.c_str(), selection.selectedFileCount,
             selection.selectedLogPath.c_str(), selection.selectedLogFiles[0].c_str()) +
         doc.players[1].timeText + SavedBytes(doc);
}

void ExpectSamePlayers(const VexoriumDoc& a, const VexoriumDoc& b) {
  for (int32_t p = 1; p <= a.nameCount; ++p) {
    const PlayerRecord& x = a.players[static_cast<size_t>(p)];
    const PlayerRecord& y = b.players[static_cast<size_t>(p)];
    SCOPED_TRACE(x.name);
    EXPECT_EQ(
        std::tie(x.frags, x.deaths, x.suicides, x.gamesPlayed, x.totalSeconds, x.timeCreditFactor,
                 x.connectTime, x.disconnectTime, x.name, x.rawName, x.clientSlot, x.weaponFrags),
        std::tie(y.frags, y.deaths, y.suicides, y.gamesPlayed, y.totalSeconds, y.timeCreditFactor,
                 y.connectTime, y.disconnectTime, y.name, y.rawName, y.clientSlot, y.weaponFrags));
    for (int v = 1; v <= a.clientVarCount; ++v)
      EXPECT_EQ(x.clientVarTotals[v], y.clientVarTotals[v]);
    for (int v = 1; v <= a.serverVarCount; ++v)
      EXPECT_EQ(x.serverVarTotals[v], y.serverVarTotals[v]);
    for (int32_t g = 1; g <= a.gameCount; ++g) {
      const PlayerGame& m = x.games.Get(g);
      const PlayerGame& n = y.games.Get(g);
      EXPECT_EQ(std::tie(m.frags, m.deaths, m.suicides, m.seconds, m.team, m.fragsPerHour,
                         m.deathsPerHour, m.suicidesPerHour, m.weaponFrags),
                std::tie(n.frags, n.deaths, n.suicides, n.seconds, n.team, n.fragsPerHour,
                         n.deathsPerHour, n.suicidesPerHour, n.weaponFrags))
          << "game " << g;
      for (int v = 1; v <= a.clientVarCount; ++v)
        EXPECT_EQ(m.ClientVar(v), n.ClientVar(v));
      for (int v = 1; v <= a.serverVarCount; ++v)
        EXPECT_EQ(m.ServerVar(v), n.ServerVar(v));
    }
  }
}

void ExpectSameGames(const VexoriumDoc& a, const VexoriumDoc& b) {
  for (int32_t g = 1; g <= a.gameCount; ++g) {
    const GameRecord& x = a.games[static_cast<size_t>(g)];
    const GameRecord& y = b.games[static_cast<size_t>(g)];
    SCOPED_TRACE(g);
    EXPECT_EQ(std::tie(x.playerNumber, x.fragLimit, x.timeLimit, x.serverLogGame, x.mapName,
                       x.gameTypeName, x.shortGame),
              std::tie(y.playerNumber, y.fragLimit, y.timeLimit, y.serverLogGame, y.mapName,
                       y.gameTypeName, y.shortGame));
    for (int t = 0; t < KillTables::kTableCount; ++t) {
      for (int32_t k = 0; k <= x.playerNumber; ++k) {
        for (int32_t v = 0; v <= x.playerNumber; ++v) {
          EXPECT_EQ(x.kills.Get(t, k, v), y.kills.Get(t, k, v)) << t << " " << k << " " << v;
        }
      }
    }
  }
  for (int32_t g = 0; g <= a.gameCount; ++g) {
    for (int32_t n = 0; n <= a.nameCount; ++n)
      EXPECT_EQ(a.presence.Get(g, n), b.presence.Get(g, n));
  }
}

class DataFileTest : public test::LoadFixture, public ::testing::Test {
 protected:
  DataFileTest() { doc.RebuildPlayerIndexes(); }

  // Three client and five server variables, then a server log of four games: a three-player
  // deathmatch, a short duel, a team game nobody joined and a game of two.
  void LoadSample() {
    doc.clientVarCount = 3;
    for (int v = 1; v <= 3; ++v)
      doc.clientVars[static_cast<size_t>(v)].name = "client" + std::to_string(v);
    doc.serverVarCount = 5;
    for (int v = 1; v <= 5; ++v) {
      ServerVariable& variable = doc.serverVars[static_cast<size_t>(v)];
      variable.name = "server" + std::to_string(v);
      variable.id1 = -1;
      variable.idstring = "Item:";
      variable.p2Change2 = 1;
      variable.p2Target2 = v;
      variable.p2Value2 = -v;
    }
    ASSERT_TRUE(LoadText(Lines({
        InitGame("0:00", "q3dm17", 0, 20, 15),
        Connect("0:00", 2, "Alice"),
        Connect("0:00", 3, "^4Bob"),
        Connect("0:00", 4, "Carol"),
        At("0:30", "Kill: 2 3 10: Alice killed ^4Bob by MOD_RAILGUN"),
        At("0:40", "Kill: 3 2 7: ^4Bob killed Alice by MOD_ROCKET_SPLASH"),
        At("0:50", "Kill: 1022 4 22: <world> killed Carol by MOD_TRIGGER_HURT"),
        At("1:00", "Kill: 4 2 3: Carol killed Alice by MOD_MACHINEGUN"),
        At("2:00", "ShutdownGame:"),
        InitGame("0:00", "q3tourney2", 1, 10, 10),
        Connect("0:00", 2, "Alice"),
        Connect("0:00", 5, "Dave"),
        At("0:05", "Kill: 5 2 1: Dave killed Alice by MOD_SHOTGUN"),
        At("0:10", "ShutdownGame:"),
        InitGame("0:00", "q3dm6", 3),
        At("1:00", "ShutdownGame:"),
        InitGame("0:00", "q3dm7", 0),
        Connect("0:00", 3, "^4Bob"),
        Connect("0:00", 4, "Carol"),
        At("0:40", "Kill: 3 4 13: ^4Bob killed Carol by MOD_BFG"),
        At("3:00", "ShutdownGame:"),
    })));
    // The log passes do not match custom variables here: give some players counts by hand.
    PlayerRecord& alice = doc.players[static_cast<size_t>(PlayerNumber("Alice"))];
    alice.clientVarTotals[2] = 9;
    alice.games.At(1).ClientVarRef(2) = 9;
    PlayerRecord& bob = doc.players[static_cast<size_t>(PlayerNumber("Bob"))];
    bob.serverVarTotals[5] = -3;
    bob.games.At(4).ServerVarRef(5) = -3;
  }

  std::string Save(const VexoriumDoc& from, const std::string& name) {
    std::string path = folder.File(name);
    std::string error;
    EXPECT_TRUE(SaveDataFile(from, path, &error)) << error;
    EXPECT_EQ(error, "");
    return path;
  }

  bool Open(VexoriumDoc& into, LogSelection& intoSelection, const std::string& path,
            bool writeReport = false) {
    if (!writeReport) return OpenDataFile(into, intoSelection, prompter, folder.Path(), path);
    DocumentOperations operations(into, intoSelection, prompter, folder.Path());
    return operations.OpenDataFile(path);
  }

  // Opening the bytes as a file must fail, name the file once and change nothing.
  void ExpectRefused(const std::string& bytes, const std::string& what) {
    SCOPED_TRACE(what);
    std::string path = folder.Write("damaged.vdf", bytes);
    std::string before = Fingerprint(doc, selection);
    prompter.Clear();
    EXPECT_FALSE(Open(doc, selection, path));
    EXPECT_EQ(Fingerprint(doc, selection), before);
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].caption, "Warning!");
    EXPECT_NE(prompter.Messages()[0].text.find("\"" + path + "\""), std::string::npos);
  }

  // A loaded log with the flags a successful load leaves.
  void LoadSomethingFirst() {
    ASSERT_TRUE(LoadText(
        Lines({InitGame("0:00", "q3dm3"), Connect("0:00", 1, "Zed"), Connect("0:00", 2, "Yan"),
               Connect("0:00", 3, "Xu"), At("0:30", "Kill: 1 2 10: Zed killed Yan by MOD_RAILGUN"),
               At("2:00", "ShutdownGame:")})));
    doc.storageAllocated = true;
    doc.currentScreen = 1;
    doc.refresh = false;
    selection.dataAvailable = true;
    selection.selectedFileCount = 1;
    selection.selectedLogPath = selection.selectedLogFiles[0] = folder.File("games.log");
  }
};

TEST_F(DataFileTest, SmallDocumentSavesFieldByField) {
  BuildSmall(doc);
  EXPECT_EQ(SavedBytes(doc), SmallFile{}.Bytes());
}

TEST_F(DataFileTest, LoadedLogRoundTripsToTheSameStatisticsAndBytes) {
  LoadSample();
  ASSERT_EQ(doc.nameCount, 4);
  ASSERT_EQ(doc.gameCount, 4);
  doc.reportIndexPath = folder.File("html/games.htm");  // as a load sets it
  std::string first = Save(doc, "first.vdf");

  VexoriumDoc opened;
  LogSelection openedSelection;
  ASSERT_TRUE(Open(opened, openedSelection, first));
  EXPECT_TRUE(prompter.Messages().empty());
  EXPECT_EQ(
      std::tie(opened.nameCount, opened.playerCount, opened.gameCount, opened.displayedGameCount,
               opened.teamArenaSet, opened.clientLogSeen, opened.serverLogAbsent),
      std::tie(doc.nameCount, doc.nameCount, doc.gameCount, doc.displayedGameCount,
               doc.teamArenaSet, doc.clientLogSeen, doc.serverLogAbsent));
  EXPECT_EQ(opened.clientVarCount, 3);
  EXPECT_EQ(opened.serverVarCount, 5);
  EXPECT_EQ(opened.clientVars, doc.clientVars);
  EXPECT_EQ(opened.serverVars, doc.serverVars);
  ExpectSamePlayers(doc, opened);
  ExpectSameGames(doc, opened);
  EXPECT_EQ(ReadFile(Save(opened, "second.vdf")), ReadFile(first));

  // The indexes follow the opened records.
  EXPECT_EQ(opened.FindPlayer("Carol", 1, opened.nameCount), PlayerNumber("Carol"));
  EXPECT_EQ(opened.FindName("Dave"), PlayerNumber("Dave"));
  EXPECT_EQ(opened.FirstPlayerInSlot("-99", opened.nameCount), 0);
}

TEST_F(DataFileTest, OpeningKeepsOnlyGamesAndCellsWithValues) {
  BuildSmall(doc);
  std::string path = Save(doc, "small.vdf");
  VexoriumDoc opened;
  LogSelection openedSelection;
  ASSERT_TRUE(Open(opened, openedSelection, path));
  EXPECT_EQ(opened.players[1].games.EntryCount(), 1u);
  EXPECT_EQ(opened.players[1].games.GameAt(0), 2);
  EXPECT_EQ(opened.players[2].games.EntryCount(), 0u);
  EXPECT_EQ(opened.games[2].kills.CellCount(), 2u);
  EXPECT_EQ(opened.games[2].kills.Get(kRocket, 0, 1), 1);
  EXPECT_EQ(opened.games[1].kills.CellCount(), 0u);
  EXPECT_EQ(opened.presence.Get(2, 2), 1);
  EXPECT_EQ(opened.presence.Get(1, 2), 0);
  EXPECT_EQ(opened.serverVars[1].reserved, 0);
  EXPECT_EQ(opened.players[1].games.Get(2).ClientVar(1), 6);
  EXPECT_EQ(opened.players[1].games.Get(2).ServerVar(1), 7);
}

TEST_F(DataFileTest, KillTablesTakeTenValuesPerCell) {
  BuildSmall(doc);
  size_t withDuel = SavedBytes(doc).size();
  doc.games[2].playerNumber = 0;  // 1 cell instead of 9
  EXPECT_EQ(withDuel - SavedBytes(doc).size(), (9 - 1) * 10 * 4u);
  doc.games[2].playerNumber = 2;
  doc.games[1].playerNumber = 2;  // 9 cells instead of 1
  EXPECT_EQ(SavedBytes(doc).size() - withDuel, 80 * 4u);
}

TEST_F(DataFileTest, NothingLoadedSavesAHeaderAndOnePresenceValue) {
  std::string path = Save(doc, "empty.vdf");
  EXPECT_EQ(ReadFile(path), Text("") + Zeros(8) + Zeros(1));  // header, presence[0][0]
  LoadSomethingFirst();
  ASSERT_TRUE(Open(doc, selection, path));
  EXPECT_EQ(std::tie(doc.nameCount, doc.gameCount, doc.players[1].name), std::make_tuple(0, 0, ""));
}

TEST_F(DataFileTest, StoredFlagsOtherThanOneReadAsFalse) {
  SmallFile file;
  file.emptyGameIsServerLog = 2;
  file.clientLogSeen = 2;
  std::string path = folder.Write("twos.vdf", file.Bytes());
  ASSERT_TRUE(Open(doc, selection, path));
  EXPECT_EQ(doc.games[1].serverLogGame, 0);
  EXPECT_FALSE(doc.clientLogSeen);
  EXPECT_EQ(doc.players[1].totalSeconds, 3725);
}

TEST_F(DataFileTest, OpeningRebuildsTimesAndTheLoadState) {
  LoadSomethingFirst();
  doc.options.groupSize = 7;
  doc.options.weaponDisplay[3] = 0;
  doc.logDirectory = "/logs";
  doc.currentScreen = 2;
  doc.startupPending = true;
  Options options = doc.options;
  std::string path = folder.Write("small.vdf", SmallFile{}.Bytes());
  ASSERT_TRUE(Open(doc, selection, path, true));
  EXPECT_TRUE(prompter.Messages().empty());

  EXPECT_EQ(doc.players[1].timeText, "1h 2m 5s");
  EXPECT_EQ(std::tie(doc.players[1].hours, doc.players[1].minutes, doc.players[1].seconds),
            std::make_tuple(1, 2, 5));
  EXPECT_EQ(doc.players[2].timeText, "0h 0m 0s");
  EXPECT_EQ(selection.selectedFileCount, 1);
  EXPECT_EQ(selection.selectedLogPath, path);
  EXPECT_EQ(selection.selectedLogFiles[0], path);
  EXPECT_EQ(doc.currentLogPath, path);
  EXPECT_EQ(doc.reportIndexPath, folder.File("html/games.htm"));
  EXPECT_TRUE(selection.dataAvailable);
  EXPECT_TRUE(doc.storageAllocated);
  EXPECT_TRUE(doc.refresh);
  EXPECT_FALSE(doc.startupPending);
  EXPECT_EQ(doc.options, options);
  EXPECT_EQ(doc.logDirectory, "/logs");
  EXPECT_EQ(doc.currentScreen, 2);
  // Only game 2 is listed: it is game 1 of the report.
  EXPECT_NE(test::ReadFile(folder.File("html/games.htm")).find("q3dm17"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(folder.File("html/games/game1.htm")));

  // Nothing of the earlier, bigger load is left behind.
  EXPECT_EQ(doc.players[3].name, "");
  EXPECT_EQ(doc.players[3].frags, 0);
  EXPECT_EQ(doc.FindName("Xu"), -1);
  EXPECT_EQ(doc.FindName("Bob"), 2);
  EXPECT_EQ(doc.FindPlayer("Zed", 0, VexoriumDoc::kMaxPlayers), -1);
  EXPECT_EQ(doc.FindPlayer("Alice", 1, 2), 1);
  EXPECT_EQ(doc.LastPlayerInSlot("2", 0, 2), 1);
  EXPECT_EQ(doc.games[3].mapName, "");
}

TEST_F(DataFileTest, ClientLogFileOpensWithoutTimes) {
  SmallFile file;
  file.clientLogSeen = 1;
  ASSERT_TRUE(Open(doc, selection, folder.Write("client.vdf", file.Bytes())));
  const PlayerRecord& alice = doc.players[1];
  EXPECT_TRUE(doc.clientLogSeen);
  EXPECT_EQ(alice.totalSeconds, 0);
  EXPECT_EQ(alice.timeText, "0h 0m 0s");
  EXPECT_EQ(alice.connectTime, "");
  EXPECT_EQ(alice.disconnectTime, "");
  EXPECT_EQ(alice.games.Get(2).fragsPerHour, 0.0f);
  EXPECT_EQ(alice.games.Get(2).seconds, 65);
}

TEST_F(DataFileTest, DamagedFilesChangeNothing) {
  LoadSomethingFirst();
  auto with = [](auto change) {
    SmallFile file;
    change(file);
    return file.Bytes();
  };
  const struct {
    const char* what;
    std::string bytes;
  } damaged[] = {
      {"empty file", ""},
      {"too many players", with([](SmallFile& f) { f.names = 2501; })},
      {"negative players", with([](SmallFile& f) { f.names = -1; })},
      {"huge players", with([](SmallFile& f) { f.names = INT32_MAX; })},
      {"more players than stored", with([](SmallFile& f) { f.names = 3; })},
      {"too many games", with([](SmallFile& f) { f.games = 5001; })},
      {"negative games", with([](SmallFile& f) { f.games = INT32_MIN; })},
      {"a game fewer", with([](SmallFile& f) { f.games = 1; })},
      {"displayed above games", with([](SmallFile& f) { f.displayed = 3; })},
      {"negative displayed", with([](SmallFile& f) { f.displayed = -1; })},
      {"50 client variables", with([](SmallFile& f) { f.clientVars = 50; })},
      {"negative server variables", with([](SmallFile& f) { f.serverVars = -1; })},
      {"player number above the names", with([](SmallFile& f) { f.duelPlayers = 3; })},
      {"negative player number", with([](SmallFile& f) { f.duelPlayers = -1; })},
      {"huge player number", with([](SmallFile& f) { f.duelPlayers = 2500; })},
      {"overlong text", with([](SmallFile& f) { f.reportPath = "\xFF\xFF\xFF" + Int(-1); })},
      {"trailing bytes", with([](SmallFile& f) { f.trailing = "x"; })},
  };
  for (const auto& d : damaged)
    ExpectRefused(d.bytes, d.what);

  std::string whole = SmallFile{}.Bytes();
  for (size_t size = 0; size < whole.size(); ++size) {
    ExpectRefused(whole.substr(0, size), "cut at " + std::to_string(size));
  }
}

TEST_F(DataFileTest, TruncatedLoadedLogFileChangesNothing) {
  LoadSample();
  std::string whole = ReadFile(Save(doc, "sample.vdf"));
  for (size_t size = 0; size < whole.size(); size += 97) {
    ExpectRefused(whole.substr(0, size), "cut at " + std::to_string(size));
  }
  ExpectRefused(whole.substr(0, whole.size() - 1), "last byte missing");
}

TEST_F(DataFileTest, MissingFileChangesNothing) {
  LoadSomethingFirst();
  std::string before = Fingerprint(doc, selection);
  std::string path = folder.File("nowhere.vdf");
  EXPECT_FALSE(Open(doc, selection, path, true));
  EXPECT_EQ(Fingerprint(doc, selection), before);
  ASSERT_EQ(prompter.Messages().size(), 1u);
  EXPECT_EQ(prompter.Messages()[0].text, "The data file \"" + path +
                                             "\" cannot be opened: it does not exist or cannot be "
                                             "read. The statistics were not changed.");
  EXPECT_FALSE(std::filesystem::exists(folder.File("html/games.htm")));
}

TEST_F(DataFileTest, SaveIntoMissingFolderFailsWithoutAFile) {
  BuildSmall(doc);
  std::string path = folder.File("missing/data.vdf");
  std::string error;
  EXPECT_FALSE(SaveDataFile(doc, path, &error));
  EXPECT_NE(error.find("\"" + path + "\""), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(folder.File("missing")));
}

TEST_F(DataFileTest, FailedSaveKeepsTheOldFile) {
  BuildSmall(doc);
  std::string path = folder.Write("data.vdf", "old");
  // Writes past 100 bytes fail (EFBIG) while the limit holds.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 100;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string error;
  bool savedOk = SaveDataFile(doc, path, &error);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_FALSE(savedOk);
  EXPECT_NE(error.find("\"" + path + "\""), std::string::npos) << error;
  EXPECT_EQ(ReadFile(path), "old");
  std::filesystem::directory_iterator files(folder.Path());
  EXPECT_EQ(std::distance(files, std::filesystem::directory_iterator()), 1);  // no temporary file
}

}  // namespace
}  // namespace vexor

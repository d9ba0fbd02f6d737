#include "stats/CsvExport.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <vector>

#include "base/AtomicFile.h"
#include "stats/GameFamily.h"
#include "stats/VexoriumDoc.h"
#include "stats/Weapons.h"

namespace vexor {
namespace {

// Output is handed to the file in blocks of about this size.
constexpr size_t kBlockSize = 256 * 1024;

// The fixed values that follow the name on a line: some counts of the record, its weapon frags
// in a fixed weapon order (Quake III's nine; a load of other games has their weapons after them,
// or in their place), then some more counts.
template <typename Record, size_t Before, size_t After>
struct FixedColumns {
  std::array<int32_t Record::*, Before> before;
  const WeaponOrder& weapons;
  std::array<int32_t Record::*, After> after;
};

// A player line: frags, deaths, suicides, total seconds, games played, then the weapon frag
// totals (gauntlet, machinegun, rocket, grenade, plasma, BFG, railgun, shotgun, lightning).
const FixedColumns<PlayerRecord, 5, 0> kPlayerColumns = {
    {&PlayerRecord::frags, &PlayerRecord::deaths, &PlayerRecord::suicides,
     &PlayerRecord::totalSeconds, &PlayerRecord::gamesPlayed},
    kTotalsOrder,
    {}};

// A game line: frags, deaths, suicides, the frags once more, the game's weapon frags
// (gauntlet, machinegun, shotgun, rocket, grenade, lightning, plasma, railgun, BFG), then the
// seconds played in the game.
const FixedColumns<PlayerGame, 4, 1> kGameColumns = {
    {&PlayerGame::frags, &PlayerGame::deaths, &PlayerGame::suicides, &PlayerGame::frags},
    kPerGameOrder,
    {&PlayerGame::seconds}};

// The numbers of the variables of a set that are visible in statistics, in order.
template <typename Set>
std::vector<int> VisibleVariables(const Set& set, int32_t count) {
  std::vector<int> visible;
  int last = std::clamp(count, 0, kMaxVariables);
  for (int v = 1; v <= last; ++v) {
    if (set[static_cast<size_t>(v)].visible != 0) visible.push_back(v);
  }
  return visible;
}

// A player's total of variable v; a total the player's series does not reach reads 0.
int32_t TotalAt(const std::vector<int32_t>& totals, int v) {
  return static_cast<size_t>(v) < totals.size() ? totals[static_cast<size_t>(v)] : 0;
}

void AppendNumber(std::string* out, int32_t value) {
  size_t at = out->size();
  out->resize(at + 11);  // room for "-2147483648"
  auto result = std::to_chars(out->data() + at, out->data() + out->size(), value);
  out->resize(static_cast<size_t>(result.ptr - out->data()));
}

class CsvWriter {
 public:
  CsvWriter(const VexoriumDoc& doc, AtomicFile& file)
      : m_file(file),
        m_clientColumns(VisibleVariables(doc.clientVars, doc.clientVarCount)),
        m_serverColumns(VisibleVariables(doc.serverVars, doc.serverVarCount)),
        m_playerWeapons(WeaponsInLoad(doc, kPlayerColumns.weapons)),
        m_gameWeapons(WeaponsInLoad(doc, kGameColumns.weapons)),
        m_lastGame(std::min(doc.gameCount, VexoriumDoc::kMaxGames)) {
    m_out.reserve(kBlockSize + 4096);
  }

  void WritePlayerLine(const PlayerRecord& player) {
    AppendCsvField(&m_out, player.name);
    m_out.append(", ");
    AppendFixed(kPlayerColumns, m_playerWeapons, player);
    for (int v : m_clientColumns)
      AppendValue(TotalAt(player.clientVarTotals, v));
    for (int v : m_serverColumns)
      AppendValue(TotalAt(player.serverVarTotals, v));
    EndLine();
  }

  // One line for each game of the load in which the player played, labelled with the player's
  // own count of games so far.
  void WriteGameLines(const PlayerRecord& player) {
    const GameSeries& series = player.games;
    int32_t n = 0;
    for (size_t e = 0; e < series.EntryCount(); ++e) {
      int32_t g = series.GameAt(e);
      const PlayerGame& game = series.ValueAt(e);
      if (g < 1 || g > m_lastGame || game.seconds <= 0) continue;
      ++n;
      m_label.assign(player.name);
      m_label.append(": Game ");
      AppendNumber(&m_label, n);
      AppendCsvField(&m_out, m_label);
      m_out.append(", ");
      AppendFixed(kGameColumns, m_gameWeapons, game);
      for (int v : m_clientColumns)
        AppendValue(game.ClientVar(v));
      for (int v : m_serverColumns)
        AppendValue(game.ServerVar(v));
      EndLine();
    }
  }

  void Flush() {
    m_file.Write(m_out);
    m_out.clear();
  }

 private:
  template <typename Record, size_t Before, size_t After>
  void AppendFixed(const FixedColumns<Record, Before, After>& columns,
                   const std::vector<WeaponId>& weapons, const Record& record) {
    for (int32_t Record::*field : columns.before)
      AppendValue(record.*field);
    for (WeaponId weapon : weapons)
      AppendValue(record.WeaponFrags(weapon));
    for (int32_t Record::*field : columns.after)
      AppendValue(record.*field);
  }

  void AppendValue(int32_t value) {
    AppendNumber(&m_out, value);
    m_out.append(", ");
  }

  // Every value is followed by ", " but the last of the line, which ends it.
  void EndLine() {
    m_out.resize(m_out.size() - 2);
    m_out.append("\r\n");
    if (m_out.size() >= kBlockSize) Flush();
  }

  AtomicFile& m_file;
  const std::vector<int> m_clientColumns;
  const std::vector<int> m_serverColumns;
  const std::vector<WeaponId> m_playerWeapons;
  const std::vector<WeaponId> m_gameWeapons;
  const int32_t m_lastGame;
  std::string m_out;
  std::string m_label;
};

}  // namespace

void AppendCsvField(std::string* out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out->append(field);
    return;
  }
  out->push_back('"');
  for (char c : field) {
    if (c == '"') out->push_back('"');
    out->push_back(c);
  }
  out->push_back('"');
}

bool ExportCsv(const VexoriumDoc& doc, const std::string& path, bool gameByGame,
               std::string* error) {
  AtomicFile file(true);
  if (!file.Open(path)) {
    if (error != nullptr) *error = file.Error();
    return false;
  }
  CsvWriter writer(doc, file);
  int32_t lastPlayer = std::min(doc.nameCount, static_cast<int32_t>(doc.players.size()) - 1);
  for (int32_t p = 1; p <= lastPlayer; ++p) {
    const PlayerRecord& player = doc.players[static_cast<size_t>(p)];
    writer.WritePlayerLine(player);
    if (gameByGame) writer.WriteGameLines(player);
  }
  writer.Flush();
  if (!file.Commit()) {
    if (error != nullptr) *error = file.Error();
    return false;
  }
  return true;
}

}  // namespace vexor

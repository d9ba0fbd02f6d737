#include "report/HtmlPageWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <utility>

#include "base/StringPrintf.h"
#include "report/HtmlText.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

constexpr std::string_view kTableAttributes =
    "border=\"1\" cellspacing=\"0\" bordercolorlight=\"#000000\" bordercolordark=\"#000000\" "
    "bordercolor=\"#000000\"";
constexpr std::string_view kKillChartAttributes =
    "border=\"1\" cellspacing=\"0\" bgcolor=\"#606060\" bordercolorlight=\"#000000\" "
    "bordercolordark=\"#000000\" bordercolor=\"#000000\"";
constexpr std::string_view kHeaderCellTag = "<td bgcolor=\"#003173\">";
constexpr std::string_view kUnknownType = "Unknown";
constexpr int32_t kLowestScore = -10000;
constexpr size_t kVariablesPerTable = 6;

// Data rows alternate their colour, counting from row 0.
std::string_view RowCellTag(size_t row) {
  return row % 2 == 0 ? "<td bgcolor=\"#808080\">" : "<td bgcolor=\"#606060\">";
}

int32_t Score(const PlayerGame& values) {
  return static_cast<int32_t>(static_cast<uint32_t>(values.frags) -
                              static_cast<uint32_t>(values.suicides));
}

float Skill(const PlayerGame& values) {
  int64_t losses = int64_t{values.deaths} + values.suicides;
  if (losses <= 0) return 0.0f;
  return static_cast<float>(values.frags) / static_cast<float>(losses);
}

std::string FragsPerMinute(const PlayerGame& values) {
  if (values.seconds == 0) return "0.00";
  return StringPrintf(
      "%.2f", static_cast<float>(values.frags) * 60.0f / static_cast<float>(values.seconds));
}

// Seconds per life: play time over deaths, suicides and the life that was still going.
std::string AverageLife(const PlayerGame& values) {
  int64_t lives = int64_t{values.deaths} + values.suicides + 1;
  if (lives < 1) lives = 1;
  return FormatMinutes(static_cast<int32_t>(values.seconds / lives));
}

std::string TeamMark(int32_t team) {
  if (team == 1) return "<center><font color=\"#0000FF\">B</font></center>";
  if (team == 2) return "<center><font color=\"#FF0000\">R</font></center>";
  return "<center><font color=\"#FFFFFF\">-</font></center>";
}

// What one row of a players table shows.
struct PlayerRow {
  size_t row;
  int32_t player;
  const std::string& htmlName;
  const PlayerGame& values;
};

struct PlayerColumn {
  const char* heading;
  bool teamColumn;  // shown only when the game has teams
  std::string (*cell)(const PlayerRow&);
};

// As "%i" writes it; without a format, for the thousands of counter cells of a page.
std::string Number(int32_t value) {
  std::string text;
  AppendDecimal(&text, value);
  return text;
}

constexpr PlayerColumn kServerColumns[] = {
    {"Pl Num", false, [](const PlayerRow& r) { return Number(r.player); }},
    {"Name", false,
     [](const PlayerRow& r) { return StringPrintf("<b>%s</b>", r.htmlName.c_str()); }},
    {"Team", true, [](const PlayerRow& r) { return TeamMark(r.values.team); }},
    {"Skill", false, [](const PlayerRow& r) { return StringPrintf("%.2f", Skill(r.values)); }},
    {"Score", false, [](const PlayerRow& r) { return Number(Score(r.values)); }},
    {"Frags", false, [](const PlayerRow& r) { return Number(r.values.frags); }},
    {"FPM", false, [](const PlayerRow& r) { return FragsPerMinute(r.values); }},
    {"Deaths", false, [](const PlayerRow& r) { return Number(r.values.deaths); }},
    {"Suicides", false, [](const PlayerRow& r) { return Number(r.values.suicides); }},
    {"Avg. life", false, [](const PlayerRow& r) { return AverageLife(r.values); }},
    {"Playtime", false, [](const PlayerRow& r) { return FormatHours(r.values.seconds); }},
};

// Client logs carry no play time; the first column is the row's place in the score order.
constexpr PlayerColumn kClientColumns[] = {
    {"Pl Num", false, [](const PlayerRow& r) { return Number(static_cast<int32_t>(r.row)); }},
    {"Name", false,
     [](const PlayerRow& r) { return StringPrintf("<b>%s</b>", r.htmlName.c_str()); }},
    {"Skill", false, [](const PlayerRow& r) { return StringPrintf("%.2f", Skill(r.values)); }},
    {"Score", false, [](const PlayerRow& r) { return Number(Score(r.values)); }},
    {"Frags", false, [](const PlayerRow& r) { return Number(r.values.frags); }},
    {"Deaths", false, [](const PlayerRow& r) { return Number(r.values.deaths); }},
    {"Suicides", false, [](const PlayerRow& r) { return Number(r.values.suicides); }},
};

struct KillChart {
  int table;
  const char* title;
};

constexpr KillChart kKillCharts[] = {
    {KillTables::kAllWeapons, "<b>Killchart (All weapons)</b>"},
    {KillTables::TableOf(Weapon::kGauntlet), "<b>Killchart (Gauntlet Kills)</b>"},
    {KillTables::TableOf(Weapon::kMachinegun), "<b>Killchart (Machinegun Kills)</b>"},
    {KillTables::TableOf(Weapon::kShotgun), "<b>Killchart (Shotgun Kills)</b>"},
    {KillTables::TableOf(Weapon::kRocket), "<b>Killchart (Rocket Kills)</b>"},
    {KillTables::TableOf(Weapon::kGrenade), "<b>Killchart (Grenade Kills)</b>"},
    {KillTables::TableOf(Weapon::kLightning), "<b>Killchart (Lightning Kills)</b>"},
    {KillTables::TableOf(Weapon::kRailgun), "<b>Killchart (Railgun Kills)</b>"},
    {KillTables::TableOf(Weapon::kPlasma), "<b>Killchart (Plasma Kills)</b>"},
    {KillTables::TableOf(Weapon::kBfg), "<b>Killchart (BFG Kills)</b>"},
};

// A custom variable shown in the report: its number in its set and its name.
struct ShownVariable {
  int index;
  const std::string* name;
};

template <typename Set>
std::vector<ShownVariable> VisibleVariables(const Set& set, int32_t count) {
  std::vector<ShownVariable> shown;
  int last = std::clamp(count, 0, kMaxVariables);
  for (int v = 1; v <= last; ++v) {
    if (set[static_cast<size_t>(v)].visible != 0)
      shown.push_back({v, &set[static_cast<size_t>(v)].name});
  }
  return shown;
}

void AddTo(int32_t* total, int32_t amount) {
  *total = static_cast<int32_t>(static_cast<uint32_t>(*total) + static_cast<uint32_t>(amount));
}

// Cells of numbers, most of a game page's bytes (the kill charts' counts, the variables'):
// made side by side on the stack and written a few dozen at a time.
class NumberCells {
 public:
  // close: the text after each number.
  NumberCells(HtmlWriter& writer, std::string_view close) : m_writer(writer), m_close(close) {}
  NumberCells(const NumberCells&) = delete;
  NumberCells& operator=(const NumberCells&) = delete;

  // open: the text before the number.
  void Add(std::string_view open, int32_t value) {
    size_t longest = open.size() + kLongestNumber + m_close.size();
    if (longest > m_text.size()) {
      Flush();
      m_writer.Write(open);
      m_writer.WriteNumber(value);
      m_writer.Write(m_close);
      return;
    }
    if (m_text.size() - m_size < longest) Flush();
    char* at = m_text.data() + m_size;
    std::memcpy(at, open.data(), open.size());
    at = std::to_chars(at + open.size(), at + open.size() + kLongestNumber, value).ptr;
    std::memcpy(at, m_close.data(), m_close.size());
    m_size = static_cast<size_t>(at + m_close.size() - m_text.data());
  }
  void Flush() {
    m_writer.Write(std::string_view(m_text.data(), m_size));
    m_size = 0;
  }

 private:
  static constexpr size_t kLongestNumber = 11;  // "-2147483648"

  HtmlWriter& m_writer;
  std::string_view m_close;
  std::array<char, 4096> m_text;
  size_t m_size = 0;
};

}  // namespace

HtmlPageWriter::HtmlPageWriter(const VexoriumDoc& doc) : m_doc(doc), m_present(doc) {
  int32_t last = std::clamp(doc.nameCount, 0, VexoriumDoc::kMaxPlayers);
  m_htmlNames.resize(static_cast<size_t>(last) + 1);
  for (int32_t p = 1; p <= last; ++p) {
    m_htmlNames[static_cast<size_t>(p)] =
        ColourCodesToHtml(doc.players[static_cast<size_t>(p)].rawName);
  }
}

const std::string& HtmlPageWriter::HtmlName(int32_t player) const {
  return m_htmlNames[static_cast<size_t>(player)];
}

void HtmlPageWriter::SortPlayersByScore(int32_t game) {
  std::vector<std::pair<int32_t, int32_t>> ranked;  // (score, player)
  for (int32_t p : m_present.In(game)) {
    int32_t score = Score(m_doc.players[static_cast<size_t>(p)].games.Get(game));
    if (score >= kLowestScore) ranked.emplace_back(score, p);
  }
  // Highest score first; on equal scores the higher player number comes first.
  std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a > b; });
  m_order.clear();
  for (const auto& entry : ranked)
    m_order.push_back(entry.second);
}

void HtmlPageWriter::WriteIndexEntry(int32_t game, int32_t displayNumber) {
  const GameRecord& record = m_doc.games[static_cast<size_t>(game)];
  std::string map = EscapeAngleBrackets(record.mapName);
  Write("<p>");
  if (record.serverLogGame == 0) {
    Write(
        StringPrintf("<b><font size=\"4\"><a href=\"games/game%i.htm\"><font "
                     "color=\"#003173\">Game %i (Client Log)</font></a><br>(%s)</font></b>",
                     displayNumber, displayNumber, map.c_str()));
  } else if (record.gameTypeName != kUnknownType) {
    Write(
        StringPrintf("<b><font size=\"4\"><a href=\"games/game%i.htm\"><font "
                     "color=\"#003173\">Game %i (%s)</font></a><br>(%s)</font></b>",
                     displayNumber, displayNumber, map.c_str(),
                     EscapeAngleBrackets(record.gameTypeName).c_str()));
  } else {
    Write(
        StringPrintf("<b><font size=\"4\"><a href=\"games/game%i.htm\"><font "
                     "color=\"#003173\">Game %i (%s)</font></a><br></font></b>",
                     displayNumber, displayNumber, map.c_str()));
  }
  Write("</p>");
  if (record.serverLogGame == 0) {
    WriteClientPlayers(game);
    if (m_doc.clientVarCount > 0) WriteVariableTables(game, VariableSide::kClient);
  } else {
    WriteServerPlayers(game);
    if (m_doc.serverVarCount > 0) WriteVariableTables(game, VariableSide::kServer);
  }
}

void HtmlPageWriter::WriteGamePage(int32_t game, int32_t displayNumber) {
  if (File() == nullptr) return;
  const GameRecord& record = m_doc.games[static_cast<size_t>(game)];
  bool server = record.serverLogGame != 0;
  WritePageHeader(*File(), 1);
  Write("<p>");
  if (!server) {
    Write(StringPrintf("<b><font color=\"#003173\" size=\"4\">Game %i (Client Log)</font></b>",
                       displayNumber));
  } else if (record.gameTypeName != kUnknownType) {
    Write(StringPrintf("<b><font color=\"#003173\" size=\"4\">Game %i (%s)</font></b>",
                       displayNumber, EscapeAngleBrackets(record.gameTypeName).c_str()));
  } else {
    Write(StringPrintf("<b><font color=\"#003173\" size=\"4\">Game %i</font></b>", displayNumber));
  }
  Write("</p>");
  WriteGameInfo(game);
  if (server) {
    WriteServerPlayers(game);
    if (m_doc.serverVarCount > 0) WriteVariableTables(game, VariableSide::kServer);
  } else {
    WriteClientPlayers(game);
    if (m_doc.clientVarCount > 0) WriteVariableTables(game, VariableSide::kClient);
  }
  WriteKillCharts(game);
  // Both kinds of page link to the index pages that exist: those of the listed games.
  WritePageFooter(*File(), m_doc.displayedGameCount, 1,
                  server ? FooterVariant::kServer : FooterVariant::kClient, m_doc.serverLogAbsent);
}

void HtmlPageWriter::WriteGameInfo(int32_t game) {
  const GameRecord& record = m_doc.games[static_cast<size_t>(game)];
  auto row = [this](const char* heading, const std::string& value) {
    Write("<tr>\r\n");
    SetCellTag(kHeaderCellTag);
    WriteBoldCell(heading);
    SetCellTag("<td bgcolor=\"#808080\">");
    WriteCell(StringPrintf("<p align=\"right\">%s</p>", value.c_str()));
    Write("</tr>\r\n");
  };
  WriteParagraph("<b>Game info</b>");
  OpenTable(kTableAttributes);
  row("Map", EscapeAngleBrackets(record.mapName));
  if (record.serverLogGame != 0) {
    row("Timelimit", Number(record.timeLimit));
    row("Fraglimit", Number(record.fragLimit));
  }
  CloseTable();
}

bool HtmlPageWriter::TeamColumnOn(int32_t game) const {
  const std::string& type = m_doc.games[static_cast<size_t>(game)].gameTypeName;
  if (type == "Free For All" || type == "Tournament") return false;
  return (m_doc.clientVarCount == 0 && m_doc.serverVarCount == 0) || m_doc.teamArenaSet;
}

void HtmlPageWriter::WriteServerPlayers(int32_t game) {
  bool team = TeamColumnOn(game);
  WriteParagraph("<b>Players (sorted by score)</b>");
  OpenTable(kTableAttributes);
  Write("<tr>\r\n");
  SetCellTag(kHeaderCellTag);
  for (const PlayerColumn& column : kServerColumns) {
    if (!column.teamColumn || team) WriteBoldCell(column.heading);
  }
  Write("</tr>\r\n");
  SortPlayersByScore(game);
  for (size_t r = 0; r < m_order.size(); ++r) {
    int32_t p = m_order[r];
    PlayerRow row{r, p, HtmlName(p), m_doc.players[static_cast<size_t>(p)].games.Get(game)};
    SetCellTag(RowCellTag(r));
    Write("<tr>\r\n");
    for (const PlayerColumn& column : kServerColumns) {
      if (!column.teamColumn || team) WriteCell(column.cell(row));
    }
    Write("</tr>\r\n");
  }
  CloseTable();
}

void HtmlPageWriter::WriteClientPlayers(int32_t game) {
  WriteParagraph("<b>Players (sorted by score)</b>");
  OpenTable(kTableAttributes);
  Write("<font color=\"#FFFFFF\">");
  Write("<tr>\r\n");
  SetCellTag(kHeaderCellTag);
  for (const PlayerColumn& column : kClientColumns)
    WriteBoldCell(column.heading);
  Write("</tr>\r\n");
  SortPlayersByScore(game);
  for (size_t r = 0; r < m_order.size(); ++r) {
    int32_t p = m_order[r];
    PlayerRow row{r, p, HtmlName(p), m_doc.players[static_cast<size_t>(p)].games.Get(game)};
    SetCellTag(RowCellTag(r));
    Write("<tr>\r\n");
    for (const PlayerColumn& column : kClientColumns)
      WriteCell(column.cell(row));
    Write("</tr>\r\n");
  }
  Write("</font>");
  CloseTable();
}

void HtmlPageWriter::WriteVariableTables(int32_t game, VariableSide side) {
  bool server = side == VariableSide::kServer;
  std::vector<ShownVariable> shown = server
                                         ? VisibleVariables(m_doc.serverVars, m_doc.serverVarCount)
                                         : VisibleVariables(m_doc.clientVars, m_doc.clientVarCount);
  // The counts' cells as WriteCell writes them, on rows of either colour.
  std::string rowCellOpens[2];
  for (size_t r = 0; r < 2; ++r)
    rowCellOpens[r].append(RowCellTag(r)).append(kCellFontOpen);
  for (size_t first = 0; first < shown.size(); first += kVariablesPerTable) {
    size_t end = std::min(first + kVariablesPerTable, shown.size());
    WriteParagraph("<b>User Variables</b>");
    OpenTable(kTableAttributes);
    Write("<font color=\"#FFFFFF\">");
    Write("<tr>\r\n");
    SetCellTag(kHeaderCellTag);
    WriteBoldCell("Pl Num");
    WriteBoldCell("Name");
    for (size_t v = first; v < end; ++v)
      WriteBoldCell(*shown[v].name);
    Write("</tr>\r\n");
    // These rows have always been written without a row start; browsers supply it.
    for (size_t r = 0; r < m_order.size(); ++r) {
      int32_t p = m_order[r];
      const PlayerGame& values = m_doc.players[static_cast<size_t>(p)].games.Get(game);
      SetCellTag(RowCellTag(r));
      WriteCell(Number(static_cast<int32_t>(r)));
      WriteBoldCell(HtmlName(p));
      NumberCells counts(*this, kCellClose);
      for (size_t v = first; v < end; ++v) {
        int index = shown[v].index;
        counts.Add(rowCellOpens[r % 2], server ? values.ServerVar(index) : values.ClientVar(index));
      }
      counts.Flush();
      Write("</tr>\r\n");
    }
    Write("</font>");
    CloseTable();
  }
}

void HtmlPageWriter::WriteKillCharts(int32_t game) {
  for (const KillChart& chart : kKillCharts)
    WriteKillChart(game, chart.table, chart.title);
  // The weapons of the other games, named as their players name them.
  for (int table : m_doc.games[static_cast<size_t>(game)].kills.OtherTables()) {
    std::string title = StringPrintf("<b>Killchart (%s Kills)</b>",
                                     std::string(WeaponInfoOf(table - 1).name).c_str());
    WriteKillChart(game, table, title.c_str());
  }
}

void HtmlPageWriter::WriteKillChart(int32_t game, int table, const char* title) {
  const KillTables& kills = m_doc.games[static_cast<size_t>(game)].kills;
  if (!kills.AnyPositive(table)) return;
  std::span<const int32_t> present = m_present.In(game);
  SetCellTag("<td>");
  WriteParagraph(title);
  OpenTable(kKillChartAttributes);
  Write("<tr>\r\n");
  WriteCell("&nbsp;");
  WriteCell("&nbsp;");
  // Thousands of numbers a page: their cells are built in one reused text, without a format.
  std::string text;
  auto numberCell = [&text](int32_t p) -> const std::string& {
    text.assign("<p align=\"center\"><font color=\"#003173\"><b>");
    AppendDecimal(&text, p);
    text.append("</b></font></p>");
    return text;
  };
  auto totalCell = [&text](int32_t total) -> const std::string& {
    text.assign("<p align=\"right\"><b>");
    AppendDecimal(&text, total);
    text.append("</b></p>");
    return text;
  };
  for (int32_t p : present)
    WriteCell(numberCell(p));
  WriteCell("<b>KILLS</b>");
  Write("</tr>\r\n");
  // The k-th present player is row and column k of the kill table.
  std::vector<int32_t> deaths(present.size(), 0);
  int32_t all = 0;
  for (size_t k = 0; k < present.size(); ++k) {
    const std::string& name = HtmlName(present[k]);
    if (name.empty()) {
      Write("<tr>\r\n<td>&nbsp;</td>\r\n");
    } else {
      Write("<tr>\r\n<td><b><font color=\"#FFFFFF\">");
      Write(name);
      Write("</font></b></td>\r\n");
    }
    SetCellTag("<td width=\"20\">");
    WriteCell(numberCell(present[k]));
    KillTableRow row(kills, table, static_cast<int32_t>(k));
    SetCellTag("<td>");
    int32_t rowKills = 0;
    NumberCells counts(*this, "</font></p></td>\r\n");
    for (size_t v = 0; v < present.size(); ++v) {
      int32_t count = row.Next(static_cast<int32_t>(v));
      // The diagonal (suicides) in the dark colour.
      counts.Add(k == v ? "<td width=\"20\"><p align=\"right\"><font color=\"#003173\">"
                        : "<td width=\"20\"><p align=\"right\"><font color=\"#FFFFFF\">",
                 count);
      AddTo(&rowKills, count);
      AddTo(&deaths[v], count);
      AddTo(&all, count);
    }
    counts.Flush();
    WriteCell(totalCell(rowKills));
    Write("</tr>\r\n");
  }
  Write("<tr>\r\n<td><b><font color=\"#FFFFFF\">DEATHS</font></b></td>\r\n");
  WriteCell("&nbsp;");
  for (int32_t column : deaths)
    WriteCell(totalCell(column));
  WriteCell(totalCell(all));
  Write("</tr>\r\n");
  CloseTable();
  Write("<p>");
  Write("</p>");
}

}  // namespace vexor

#include "ui/PrintTables.h"

#include <algorithm>

#include "base/StringPrintf.h"
#include "stats/DerivedValues.h"
#include "stats/GameFamily.h"
#include "stats/JsonExport.h"
#include "stats/VexoriumDoc.h"
#include "stats/Weapons.h"

namespace vexor {

const std::array<PrintChoiceInfo, kPrintChoiceCount> kPrintChoices = {{
    {0, 1085, "Main Stats", "Default Stats", "main"},
    {1, 1084, "Weapon Stats", "Default Stats", "weapons"},
    {2, 1087, "User Vars 1-9", "Client Side User Variables", "client1"},
    {3, 1083, "User Vars 10-18", "Client Side User Variables", "client2"},
    {4, 1088, "User Vars 19-27", "Client Side User Variables", "client3"},
    {5, 1086, "User Vars 28-36", "Client Side User Variables", "client4"},
    {6, 1089, "User Vars 37-45", "Client Side User Variables", "client5"},
    {7, 1081, "User Vars 46-50", "Client Side User Variables", "client6"},
    {8, 1092, "User Vars 1-9", "Server Side User Variables", "server1"},
    {9, 1090, "User Vars 10-18", "Server Side User Variables", "server2"},
    {10, 1093, "User Vars 19-27", "Server Side User Variables", "server3"},
    {11, 1091, "User Vars 28-36", "Server Side User Variables", "server4"},
    {12, 1094, "User Vars 37-45", "Server Side User Variables", "server5"},
    {13, 1082, "User Vars 46-50", "Server Side User Variables", "server6"},
}};

namespace {

constexpr const char* kNotAvailable = "N / A";

constexpr std::array<const char*, 9> kMainHeadings = {"FRGS", "DTHS", "SCDS", "SKLL", "GAPL",
                                                      "TIME", "FPH",  "DPH",  "SPH"};

// Quake III's weapons in the printed table, each headed by its four letters (kWeaponCatalogue).
constexpr WeaponOrder kPrintWeaponOrder = {Weapon::kGauntlet, Weapon::kMachinegun, Weapon::kShotgun,
                                           Weapon::kRocket,   Weapon::kGrenade,    Weapon::kPlasma,
                                           Weapon::kRailgun,  Weapon::kLightning,  Weapon::kBfg};

std::string Number(int32_t value) {
  return StringPrintf("%d", value);
}
std::string Fixed2(float value) {
  return StringPrintf("%.2f", static_cast<double>(value));
}

bool IsContinuationByte(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The player's label: position from 1, then the name, cut to `cut` bytes. The name is appended,
// not formatted, so any byte of it comes out unchanged. A name in UTF-8 is cut before a
// character the cut would split: half a character would make the whole name read as Latin-1.
std::string Label(size_t position, const std::string& name, size_t cut) {
  std::string label = StringPrintf("%zu. ", position);
  size_t length = std::min(cut, name.size());
  if (length < name.size() && IsValidUtf8(name)) {
    while (length > 0 && IsContinuationByte(name[length]))
      --length;
  }
  label.append(name, 0, length);
  return label;
}

// The play-time text without its last three characters (the seconds); a text of fewer than
// three characters leaves nothing.
std::string PlayTimeCell(const std::string& timeText) {
  return timeText.substr(0, timeText.size() >= 3 ? timeText.size() - 3 : 0);
}

std::vector<std::string> MainCells(const PlayerRecord& player, bool clientLog) {
  float skill = player.skill;
  std::vector<std::string> cells = {
      Number(player.frags),       Number(player.deaths),
      Number(player.suicides),    Fixed2(skill),
      Number(player.gamesPlayed), clientLog ? kNotAvailable : PlayTimeCell(player.timeText),
  };
  if (clientLog) {
    cells.insert(cells.end(), 3, kNotAvailable);
    return cells;
  }
  for (float rate : {player.fragsPerHour, player.deathsPerHour, player.suicidesPerHour}) {
    cells.push_back(Fixed2(rate));
  }
  return cells;
}

// One row per player in print order: the label with the name cut to `cut` bytes, then the
// cells that cellsOf(player record) gives.
template <typename CellsOf>
void AddRows(const VexoriumDoc& doc, size_t cut, CellsOf cellsOf, PrintTable* table) {
  std::vector<int32_t> order = PrintOrder(doc);
  table->rows.reserve(order.size());
  for (size_t r = 0; r < order.size(); ++r) {
    const PlayerRecord& player = doc.players[static_cast<size_t>(order[r])];
    table->rows.push_back({order[r], Label(r + 1, player.name, cut), cellsOf(player)});
  }
}

// A block of up to nine visible variables: the block's first column is the visible variable
// after the first 9 x block visible ones. Player names are not cut.
void BuildVariableBlock(const VexoriumDoc& doc, const std::vector<VisibleVariable>& side, int block,
                        PrintTable* table) {
  size_t first = std::min(side.size(), static_cast<size_t>(kPrintBlockColumns * block));
  size_t end = std::min(side.size(), first + kPrintBlockColumns);
  for (size_t c = first; c < end; ++c) {
    table->headings.push_back(side[c].name->substr(0, kPrintVariableHeadingCut));
  }
  auto cells = [&](const PlayerRecord& player) {
    std::vector<std::string> row;
    for (size_t c = first; c < end; ++c) {
      row.push_back(Number(side[c].TotalOf(player)));
    }
    return row;
  };
  AddRows(doc, std::string::npos, cells, table);
}

// A cell as the text table shows it: without trailing blanks (the play time cut before its
// seconds may end in one), so right-aligned columns end at the same place on every line.
std::string_view ShownText(const std::string& text) {
  std::string_view shown = text;
  while (!shown.empty() && shown.back() == ' ')
    shown.remove_suffix(1);
  return shown;
}

void AppendPadded(std::string* line, std::string_view text, size_t width, bool right) {
  size_t shown = TextColumns(text);
  size_t pad = width > shown ? width - shown : 0;
  if (right) line->append(pad, ' ');
  line->append(text);
  if (!right) line->append(pad, ' ');
}

}  // namespace

size_t TextColumns(std::string_view text) {
  if (!IsValidUtf8(text)) return text.size();
  return static_cast<size_t>(
      std::count_if(text.begin(), text.end(), [](char byte) { return !IsContinuationByte(byte); }));
}

bool PrintChoiceFromTableName(std::string_view name, int* code) {
  for (const PrintChoiceInfo& choice : kPrintChoices) {
    if (name == choice.tableName) {
      *code = choice.code;
      return true;
    }
  }
  return false;
}

std::array<bool, kPrintChoiceCount> EnabledPrintChoices(const VexoriumDoc& doc) {
  std::array<bool, kPrintChoiceCount> enabled{};
  enabled[kPrintMainStats] = true;
  enabled[kPrintWeaponStats] = true;
  int32_t client = VisibleClientVariableCount(doc);
  int32_t server = VisibleServerVariableCount(doc);
  for (int block = 0; block < kPrintBlockCount; ++block) {
    int32_t needed = kPrintBlockColumns * block + 1;  // the first number of the block's range
    enabled[static_cast<size_t>(kPrintFirstClientBlock + block)] = client >= needed;
    enabled[static_cast<size_t>(kPrintFirstServerBlock + block)] = server >= needed;
  }
  return enabled;
}

std::vector<int32_t> PrintOrder(const VexoriumDoc& doc) {
  int32_t last = std::clamp(doc.nameCount, 0, VexoriumDoc::kMaxPlayers);
  std::vector<int32_t> order;
  order.reserve(static_cast<size_t>(last));
  for (int32_t p = 1; p <= last; ++p) {
    order.push_back(p);
  }
  // A player's place is the number of others whose name compares greater, taken from the
  // largest down, the higher player number first among equals: names ascending by byte value
  // (std::string compares as unsigned bytes), equal names by descending number.
  std::sort(order.begin(), order.end(), [&doc](int32_t a, int32_t b) {
    int compared =
        doc.players[static_cast<size_t>(a)].name.compare(doc.players[static_cast<size_t>(b)].name);
    return compared != 0 ? compared < 0 : a > b;
  });
  return order;
}

bool BuildPrintTable(const VexoriumDoc& doc, int code, PrintTable* table) {
  if (code < 0 || code >= kPrintChoiceCount) return false;
  *table = PrintTable{};
  if (code == kPrintMainStats) {
    table->headings.assign(kMainHeadings.begin(), kMainHeadings.end());
    bool clientLog = doc.clientLogSeen;
    AddRows(
        doc, kPrintNameCut, [clientLog](const PlayerRecord& p) { return MainCells(p, clientLog); },
        table);
  } else if (code == kPrintWeaponStats) {
    std::vector<WeaponId> weapons = WeaponsInLoad(doc, kPrintWeaponOrder);
    for (WeaponId weapon : weapons) {
      table->headings.emplace_back(WeaponInfoOf(weapon).print);
    }
    auto cells = [&weapons](const PlayerRecord& player) {
      std::vector<std::string> row;
      for (WeaponId weapon : weapons) {
        row.push_back(Number(player.WeaponFrags(weapon)));
      }
      return row;
    };
    AddRows(doc, kPrintNameCut, cells, table);
  } else if (code < kPrintFirstServerBlock) {
    BuildVariableBlock(doc, VisibleClientVariables(doc), code - kPrintFirstClientBlock, table);
  } else {
    BuildVariableBlock(doc, VisibleServerVariables(doc), code - kPrintFirstServerBlock, table);
  }
  return true;
}

std::vector<PrintTable> PrintBlocks(const PrintTable& table) {
  size_t columns = table.headings.size();
  if (columns <= kPrintBlockColumns) return {table};
  std::vector<PrintTable> blocks;
  for (size_t first = 0; first < columns; first += kPrintBlockColumns) {
    size_t end = std::min(columns, first + kPrintBlockColumns);
    PrintTable block;
    block.headings.assign(table.headings.begin() + static_cast<std::ptrdiff_t>(first),
                          table.headings.begin() + static_cast<std::ptrdiff_t>(end));
    block.rows.reserve(table.rows.size());
    for (const PrintRow& row : table.rows) {
      PrintRow part{row.player, row.label, {}};
      for (size_t c = first; c < end && c < row.cells.size(); ++c) {
        part.cells.push_back(row.cells[c]);
      }
      block.rows.push_back(std::move(part));
    }
    blocks.push_back(std::move(block));
  }
  return blocks;
}

std::string FormatTextTable(const PrintTable& table) {
  const std::string kNameHeading = "NAME";
  size_t columns = table.headings.size();
  size_t labelWidth = kNameHeading.size();
  std::vector<size_t> widths(columns, 0);
  for (size_t c = 0; c < columns; ++c) {
    widths[c] = TextColumns(ShownText(table.headings[c]));
  }
  for (const PrintRow& row : table.rows) {
    labelWidth = std::max(labelWidth, TextColumns(row.label));
    for (size_t c = 0; c < columns && c < row.cells.size(); ++c) {
      widths[c] = std::max(widths[c], TextColumns(ShownText(row.cells[c])));
    }
  }
  const std::string kNoCell;
  auto appendLine = [&](std::string* out, const std::string& first, auto&& cell) {
    AppendPadded(out, first, columns == 0 ? 0 : labelWidth, false);
    for (size_t c = 0; c < columns; ++c) {
      out->append("  ");
      AppendPadded(out, ShownText(cell(c)), widths[c], true);
    }
    out->push_back('\n');
  };
  std::string out;
  appendLine(&out, kNameHeading, [&](size_t c) -> const std::string& { return table.headings[c]; });
  for (const PrintRow& row : table.rows) {
    appendLine(&out, row.label, [&](size_t c) -> const std::string& {
      return c < row.cells.size() ? row.cells[c] : kNoCell;
    });
  }
  return out;
}

}  // namespace vexor

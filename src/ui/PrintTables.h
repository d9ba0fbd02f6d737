// The printed statistics tables as data: for each of the fourteen print choices, the column
// headings and one row per player, with the texts the printed page shows. The page geometry and
// the printer are the GUI's; the command line lays the same table out as text.
//
// Print choices: 0 main statistics, 1 weapon statistics (the load's weapons: Quake III's nine
// where the load has them, then the other games'), 2 to 7 the client-side custom
// variables in blocks of nine visible variables (1-9, 10-18, ... 46-50), 8 to 13 the server-side
// ones likewise.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/VisibleVariables.h"

namespace vexor {

class VexoriumDoc;

constexpr int kPrintChoiceCount = 14;
constexpr int kPrintMainStats = 0;
constexpr int kPrintWeaponStats = 1;
constexpr int kPrintFirstClientBlock = 2;
constexpr int kPrintFirstServerBlock = 8;
constexpr int kPrintBlockCount = 6;    // blocks per side
constexpr int kPrintBlockColumns = 9;  // visible variables per block
constexpr size_t kPrintNameCut = 15;   // names in the main and weapon tables
constexpr size_t kPrintVariableHeadingCut = 5;

// One button of the print-choice dialog and the command line's name for its table.
struct PrintChoiceInfo {
  int code;
  int controlId;
  const char* caption;
  const char* groupBox;
  const char* tableName;  // as given to "vexor --table"
};

// The fourteen choices, indexed by code.
extern const std::array<PrintChoiceInfo, kPrintChoiceCount> kPrintChoices;

// The code of a command-line table name ("main", "weapons", "client1".."client6",
// "server1".."server6"); false for any other name.
bool PrintChoiceFromTableName(std::string_view name, int* code);

// Which choices the print-choice dialog enables: the main and weapon tables always; a block of
// custom variables once the side's visible count reaches the first number of its range ("1-9"
// needs 1 visible, "10-18" needs 10, ..., "46-50" needs 46).
std::array<bool, kPrintChoiceCount> EnabledPrintChoices(const VexoriumDoc& doc);

struct PrintRow {
  int32_t player = 0;              // the player's number
  std::string label;               // "%d. %s": position from 1 and the (cut) name
  std::vector<std::string> cells;  // one per heading
};

struct PrintTable {
  std::vector<std::string> headings;  // the columns after the player column ("NAME")
  std::vector<PrintRow> rows;
};

// Players 1 to the name count in print order: by name ascending by byte value; players with
// equal names, the higher player number first.
std::vector<int32_t> PrintOrder(const VexoriumDoc& doc);

// Builds the table of a print choice. The main statistics show each player's skill and, unless a
// client log was read (its cells are "N / A"), the hourly rates stored in the player records
// (stats/DerivedValues.h), as the statistics view does. A custom-variable block whose range lies
// beyond the visible variables has no columns. False (table untouched) for a code outside 0 to 13.
bool BuildPrintTable(const VexoriumDoc& doc, int code, PrintTable* table);

// The table in blocks of at most kPrintBlockColumns columns, each with every row, as a page
// holds them: one block for a table of nine columns or fewer (the weapon table of a load with
// other games' weapons has more).
std::vector<PrintTable> PrintBlocks(const PrintTable& table);

// The columns a text takes on a terminal: its characters when it is valid UTF-8, otherwise its
// bytes (Latin-1 and other one-byte texts).
size_t TextColumns(std::string_view text);

// The table as text: a heading line "NAME" and the headings, then one line per row. The player
// column is left-aligned and padded to its widest text; every other column is right-aligned to
// its widest text, trailing blanks of a cell left out; columns are separated by two blanks;
// every line ends in "\n". Widths count the columns each text takes (TextColumns), so a name in
// UTF-8 lines up with the others. A table without columns has no padding after the player
// column.
std::string FormatTextTable(const PrintTable& table);

}  // namespace vexor

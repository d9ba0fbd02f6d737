// The two statistics lists of the logged data and graph selection screens, without a toolkit:
// their headings, their rows with the texts the lists show, their sort state and the selection
// table a click leaves. The GUI's item model shows the texts and forwards clicks.
//
// The main statistics list shows a player's totals, skill, play time and hourly rates; the
// weapon statistics list the frags of each weapon whose display flag is set and the totals of
// the visible custom variables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexor {

class VexoriumDoc;
struct PlayerRecord;

enum class StatList { kMain, kWeapon };

// One statistics list: its headings and rows (texts exactly as the list shows them) and its sort
// state. Both lists start sorted on column 0 in the default order.
class StatisticsList {
 public:
  explicit StatisticsList(StatList kind);
  StatList Kind() const { return m_kind; }

  // Headings for the document's current options and variables, and one row per player 1 to the
  // name count in player order. Skill and the hourly rates are those stored in the player records
  // (stats/DerivedValues.h). Cells: counts "%d", skill "%.2f", rates "%.4f", play time the
  // record's time text; with a client log, "N / A" for the play time and the three rates.
  // Numbers are written with a decimal point whatever the process's locale.
  void Fill(const VexoriumDoc& doc);

  // Rebuilds the rows in the order of the sort state, which stays as it is. The order is the
  // players' rank order on the sort column's key:
  //   main list: 0 name, 1 frags, 2 deaths, 3 suicides, 4 skill, 5 total seconds, 6 games
  //   played, 7 to 9 frags, deaths and suicides per hour (skill and the rates as stored in
  //   the records);
  //   weapon list: 0 name, then each shown weapon's frags, then each visible variable's total.
  // Names: A to Z by byte value in the default order, Z to A otherwise. Numbers: largest first
  // in the default order, smallest first otherwise; equal numbers by name A to Z in both.
  // Players with equal keys and names: the higher player number first. A column the list does
  // not have (a sort state left from other options) keys every player alike, so the rows come
  // by name A to Z.
  // A key that is not a number (no load or data file makes one) precedes no player and
  // is preceded by none: such players share the last place with the last players of the others
  // (those with the last key and name), among whom the higher player number comes first.
  void Sort(const VexoriumDoc& doc);

  // A click on the heading of a column: the order is reversed when the column is already the
  // sort column in the default order, otherwise it becomes the default one; the column becomes
  // the sort column; then Sort. The very first click on "Player Name" thus gives Z to A.
  void ColumnClick(const VexoriumDoc& doc, int column);
  // Sets the sort state without sorting.
  void SetSortState(int column, bool defaultOrder);

  void Clear();  // no rows; the headings stay
  const std::vector<std::string>& Headings() const { return m_headings; }
  int RowCount() const { return static_cast<int>(m_players.size()); }
  int ColumnCount() const { return static_cast<int>(m_headings.size()); }
  // The text of a cell; row and column must be in range.
  const std::string& Cell(int row, int column) const;
  // The number of the player shown in a row; row must be in range.
  int32_t PlayerAt(int row) const { return m_players[static_cast<size_t>(row)]; }
  int SortColumn() const { return m_sortColumn; }
  bool DefaultOrder() const { return m_defaultOrder; }
  // Whether the rows are in the sort state's order: true after Sort (and ColumnClick), false
  // after Fill and Clear, whose rows are in player order.
  bool Sorted() const { return m_sorted; }
  // Whether the sort state's order runs from small to large: names A to Z, numbers smallest
  // first. The default order is ascending for the name column (0) and descending for numbers.
  bool Ascending() const { return (m_sortColumn == 0) == m_defaultOrder; }

 private:
  struct Column;

  std::vector<Column> Columns(const VexoriumDoc& doc) const;
  void Rebuild(const VexoriumDoc& doc, const std::vector<int32_t>& order);
  void AppendMainCells(const PlayerRecord& player, bool clientLog);
  void AppendWeaponCells(const PlayerRecord& player, const std::vector<Column>& columns);
  std::vector<int32_t> SortedPlayers(const VexoriumDoc& doc) const;

  StatList m_kind;
  std::vector<std::string> m_headings;
  std::vector<std::string> m_cells;  // row by row, ColumnCount() a row
  std::vector<int32_t> m_players;    // the player of each row
  int m_sortColumn = 0;
  bool m_defaultOrder = true;
  bool m_sorted = false;
  std::string m_scratch;
};

// The selection table after a mouse click in a list: VexoriumDoc::kPlayerSlots entries; for
// each selected row (rows outside the list are passed over), entry q is 1 for the first player
// q from 0 to the name count whose name equals the row's first cell byte for byte; all others
// are 0. Of players with equal names only the first is ever selected.
std::vector<int32_t> SelectionTable(const VexoriumDoc& doc, const StatisticsList& list,
                                    const std::vector<int>& selectedRows);

// What an update of the statistics (a followed log loaded again) keeps of a list: its order and
// the players selected in it, by name, since an update may number the players anew.
struct KeptList {
  bool sorted = false;
  std::vector<std::string> selectedNames;
};
KeptList KeepList(const StatisticsList& list, const std::vector<int>& selectedRows);

// After the list was filled from the updated document: sorts it by its sort state again when it
// was sorted and is not, and returns the rows (ascending) that show the kept names.
std::vector<int> RestoreList(VexoriumDoc& doc, StatisticsList& list, const KeptList& kept);

}  // namespace vexor

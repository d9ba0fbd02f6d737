// The statistics view: the right-hand pane, showing one of the five screens (start, logged data,
// graph selection, game by game, about). Where every control sits, which screen shows and what
// the lists hold come from the core (LayoutView, StatisticsList); this widget places the
// controls, paints the pictures and texts, and forwards clicks.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <map>
#include <vector>

#include "ui/StatisticsList.h"
#include "ui/ViewScreens.h"

class QCheckBox;
class QFontMetrics;
class QPushButton;
class QTableView;
class QWebEngineView;

namespace vexor {

class VexoriumDoc;
class MainFrame;
class StatisticsModel;

class VexoriumView : public QWidget {
  Q_OBJECT

 public:
  VexoriumView(MainFrame& frame, QWidget* parent);

  // Lays the view out for the document's current screen and rebuilds what the refresh flag
  // asks for. While the frame is busy the document is not read: the start screen shows.
  void UpdateFromDocument();

  // The document was replaced by a followed load of the same logs: shows it on the same screen,
  // each list in its order with the same players selected (by name), the report page reloaded
  // where it is; an open graph redraws.
  void ShowUpdate();

  // The selection tables of the last mouse click in each list (2501 entries).
  const std::vector<int32_t>& MainSelection() const { return m_mainSelection; }
  const std::vector<int32_t>& WeaponSelection() const { return m_weaponSelection; }
  // Whether the statistic or option box with this control id is ticked.
  bool BoxChecked(int controlId) const;
  // While a print job is prepared and drawn, the view draws no screen (its controls stay).
  void SetPrinting(bool printing);
  bool Printing() const { return m_printing; }
  // Whether the box of the slot-th visible custom variable (from 1) is ticked; false when the
  // slot has no box. Client and server variable k share a control id; the slot tells them apart.
  bool VariableBoxChecked(int slot) const;

  QTableView* MainList() const { return m_mainList; }
  QTableView* WeaponList() const { return m_weaponList; }
  QWebEngineView* Browser() const { return m_browser; }
  const ViewLayout& Layout() const { return m_layout; }
  const StatisticsList& MainRows() const { return m_main; }
  const StatisticsList& WeaponRows() const { return m_weapon; }

 signals:
  void drawGraphRequested();
  // A check box was ticked or unticked, or the selection of a list changed: what an open graph
  // shows has changed.
  void graphChoiceChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QTableView* MakeList(StatisticsModel* model, const char* name);
  QCheckBox* MakeBox();
  void ApplyLayout();
  void PlaceBox(QCheckBox* box, const Rect& place);
  void PlaceFixedBoxes();
  void PlaceVariableBoxes();
  void RefreshLists(bool sort);
  int ClientWidth(QTableView* list) const;
  void SetColumnWidths(QTableView* list, const StatisticsList& rows, int otherWidth);
  void ShowReport();
  void ListClicked(StatisticsList& rows, std::vector<int32_t>& selection, QTableView* list);
  void ColumnClicked(StatisticsList& rows, StatisticsModel* model, QTableView* list, int column);
  // After ShowUpdate refilled a list: its order and selection as kept.
  void RestoreList(StatisticsList& rows, StatisticsModel* model, QTableView* list,
                   const KeptList& kept, std::vector<int32_t>& selection);
  static void ShowSortOrder(QTableView* list, const StatisticsList& rows);
  int RoomForText(int x, int y) const;
  QString ShownLabel(const QFontMetrics& metrics, int x, int y, const QString& text) const;
  LabelHit LabelAtPoint(const QPoint& at) const;
  void DrawText(QPainter& painter, int x, int y, const QString& text, int fontHeight);

  MainFrame& m_frame;
  ViewLayout m_layout;
  StatisticsList m_main{StatList::kMain};
  StatisticsList m_weapon{StatList::kWeapon};
  StatisticsModel* m_mainModel = nullptr;
  StatisticsModel* m_weaponModel = nullptr;
  QTableView* m_mainList = nullptr;
  QTableView* m_weaponList = nullptr;
  QWebEngineView* m_browser = nullptr;
  QPushButton* m_drawGraph = nullptr;
  std::map<int, QCheckBox*> m_fixedBoxes;     // by control id
  std::map<int, QCheckBox*> m_variableBoxes;  // by slot
  std::vector<int32_t> m_mainSelection;
  std::vector<int32_t> m_weaponSelection;
  QPixmap m_background;
  QPixmap m_logo;
  bool m_printing = false;
  LabelHit m_pressedLabel;  // the label the mouse was pressed on
};

}  // namespace vexor

#include "app/gui/VexoriumView.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QItemSelection>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QUrl>
#include <QWebEngineView>
#include <algorithm>

#include "app/gui/GuiText.h"
#include "app/gui/MainFrame.h"
#include "app/gui/Pictures.h"
#include "app/gui/StatisticsModel.h"
#include "stats/LogSelection.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

const QColor kTextColour(0, 49, 115);  // the house colour
const QColor kBoxFrameColour(90, 120, 168);

void Place(QWidget* widget, const Rect& rect) {
  widget->setGeometry(rect.x, rect.y, rect.w, rect.h);
  widget->setVisible(!rect.Collapsed());
}

// The view's bold font whose character cell is height pixels high: Trebuchet MS where it is
// installed, otherwise a sans-serif of about its width.
QFont ViewFont(int height) {
  QFont font;
  font.setFamilies({QString::fromLatin1(kViewFontFamily), QStringLiteral("Liberation Sans"),
                    QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setBold(true);
  int size = height;
  font.setPixelSize(size);
  while (size > 6 && QFontMetrics(font).height() > height)
    font.setPixelSize(--size);
  return font;
}

// The rows selected in a list, ascending.
std::vector<int> SelectedRows(QTableView* list) {
  std::vector<int> rows;
  for (const QModelIndex& index : list->selectionModel()->selectedRows())
    rows.push_back(index.row());
  std::ranges::sort(rows);
  return rows;
}

}  // namespace

VexoriumView::VexoriumView(MainFrame& frame, QWidget* parent)
    : QWidget(parent),
      m_frame(frame),
      m_mainSelection(VexoriumDoc::kPlayerSlots, 0),
      m_weaponSelection(VexoriumDoc::kPlayerSlots, 0),
      m_background(BackgroundPicture()),
      m_logo(LogoPicture()) {
  setObjectName(QStringLiteral("StatisticsView"));
  setAccessibleName(QStringLiteral("Statistics"));
  m_mainModel = new StatisticsModel(m_main, this);
  m_weaponModel = new StatisticsModel(m_weapon, this);
  m_mainList = MakeList(m_mainModel, "Main statistics");
  m_weaponList = MakeList(m_weaponModel, "Weapon statistics");
  connect(m_mainList, &QTableView::clicked, this,
          [this] { ListClicked(m_main, m_mainSelection, m_mainList); });
  connect(m_weaponList, &QTableView::clicked, this,
          [this] { ListClicked(m_weapon, m_weaponSelection, m_weaponList); });
  connect(m_mainList->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { ColumnClicked(m_main, m_mainModel, m_mainList, column); });
  connect(m_weaponList->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { ColumnClicked(m_weapon, m_weaponModel, m_weaponList, column); });
  m_drawGraph = new QPushButton(QStringLiteral("Draw Graph"), this);
  m_drawGraph->setVisible(false);
  connect(m_drawGraph, &QPushButton::clicked, this, &VexoriumView::drawGraphRequested);
  for (const FixedBoxInfo& info : kFixedBoxes) {
    // The view draws the box's label itself: the box carries it as its name for assistive
    // technology, and the longer caption as its tool tip.
    QCheckBox* box = MakeBox();
    box->setAccessibleName(QString::fromLatin1(info.label));
    box->setToolTip(QString::fromLatin1(info.caption));
    connect(box, &QCheckBox::toggled, this, &VexoriumView::graphChoiceChanged);
    m_fixedBoxes[info.controlId] = box;
  }
}

// A box of the graph selection screen. Its frame is drawn in a colour of the window's palette:
// a darker one than the dialogs' grey keeps an unticked box plain on the pale background.
QCheckBox* VexoriumView::MakeBox() {
  auto* box = new QCheckBox(this);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Window, kBoxFrameColour);
  box->setPalette(palette);
  box->setVisible(false);
  return box;
}

QTableView* VexoriumView::MakeList(StatisticsModel* model, const char* name) {
  auto* list = new QTableView(this);
  list->setObjectName(QString::fromLatin1(name));
  list->setAccessibleName(QString::fromLatin1(name));
  list->setModel(model);
  list->setShowGrid(true);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setSortingEnabled(false);
  list->verticalHeader()->setVisible(false);
  list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
  list->horizontalHeader()->setSectionsClickable(true);
  list->horizontalHeader()->setHighlightSections(false);
  list->setStyleSheet(
      QStringLiteral("QTableView { background: white; gridline-color: #c8c8c8; }"
                     "QTableView::item:selected:!active { background: #cfd8e8; color: black; }"));
  list->setVisible(false);
  return list;
}

void VexoriumView::UpdateFromDocument() {
  VexoriumDoc& doc = m_frame.Doc();
  const LogSelection& selection = m_frame.Selection();
  if (m_frame.Busy()) {
    // The document belongs to the work until it ends: show the start screen without reading it.
    static const VexoriumDoc kEmpty;
    m_layout = LayoutView(kEmpty, ViewInputs{}, width(), height());
    ApplyLayout();
    update();
    return;
  }
  ViewInputs inputs;
  inputs.currentScreen = doc.currentScreen;
  inputs.dataAvailable = selection.dataAvailable;
  inputs.clientLogSeen = doc.clientLogSeen;
  inputs.graphWindowOpen = m_frame.GraphWindowOpen();
  inputs.nameCount = doc.nameCount;
  inputs.gameCount = doc.gameCount;
  inputs.selectedFileCount = selection.selectedFileCount;
  m_layout = LayoutView(doc, inputs, width(), height());
  m_frame.setWindowTitle(ToQString(m_layout.title));
  ApplyLayout();
  if (m_layout.fillLists) RefreshLists(m_layout.sortAfterFill);
  if (m_layout.screen == Screen::kLoggedData || m_layout.fillLists) {
    int other = OtherColumnWidth(m_layout.screen, ClientWidth(m_mainList), width());
    SetColumnWidths(m_mainList, m_main, other);
    SetColumnWidths(m_weaponList, m_weapon, other);
  }
  if (m_layout.navigateBrowser || m_layout.refreshBrowser) ShowReport();
  if (m_layout.clearRefresh) doc.refresh = false;
  update();
}

void VexoriumView::ApplyLayout() {
  if (m_layout.clearListRows) {
    m_main.Clear();
    m_weapon.Clear();
    m_mainModel->Reload();
    m_weaponModel->Reload();
    ShowSortOrder(m_mainList, m_main);
    ShowSortOrder(m_weaponList, m_weapon);
  }
  Place(m_mainList, m_layout.mainList);
  Place(m_weaponList, m_layout.weaponList);
  Place(m_drawGraph, m_layout.drawGraph);
  m_drawGraph->setEnabled(m_layout.drawGraphEnabled);
  if (m_browser) Place(m_browser, m_layout.browser);
  PlaceFixedBoxes();
  PlaceVariableBoxes();
}

// A box goes where the screen puts it, grown and centred there when the style draws it larger
// than the place: the whole box shows, not a clipped corner of it.
void VexoriumView::PlaceBox(QCheckBox* box, const Rect& place) {
  if (place.Collapsed()) {
    Place(box, place);
    return;
  }
  int w = box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box);
  int h = box->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, box);
  Place(box, CheckBoxWidgetRect(place, w, h));
}

void VexoriumView::PlaceFixedBoxes() {
  for (auto& [id, box] : m_fixedBoxes)
    box->setVisible(false);
  for (const CheckBoxPlace& place : m_layout.fixedBoxes) {
    auto found = m_fixedBoxes.find(place.controlId);
    if (found == m_fixedBoxes.end()) continue;
    PlaceBox(found->second, place.box);
    found->second->setEnabled(place.enabled);
  }
}

// A variable's box exists only while the graph selection screen shows; a box already made for
// a slot keeps its tick.
void VexoriumView::PlaceVariableBoxes() {
  std::map<int, QCheckBox*> kept;
  for (const VariableBoxPlace& place : m_layout.variableBoxes) {
    QCheckBox*& box = m_variableBoxes[place.slot];
    if (!box) {
      box = MakeBox();
      connect(box, &QCheckBox::toggled, this, &VexoriumView::graphChoiceChanged);
    }
    box->setAccessibleName(ToQString(place.label));
    box->setToolTip(ToQString(place.label));
    box->setProperty("controlId", place.controlId);
    PlaceBox(box, place.box);
    kept[place.slot] = box;
    m_variableBoxes.erase(place.slot);
  }
  for (auto& [slot, box] : m_variableBoxes)
    delete box;
  m_variableBoxes = std::move(kept);
}

void VexoriumView::RefreshLists(bool sort) {
  VexoriumDoc& doc = m_frame.Doc();
  m_main.Fill(doc);
  m_weapon.Fill(doc);
  if (sort) {
    m_main.Sort(doc);
    m_weapon.Sort(doc);
  }
  m_mainModel->Reload();
  m_weaponModel->Reload();
  ShowSortOrder(m_mainList, m_main);
  ShowSortOrder(m_weaponList, m_weapon);
}

// The header's arrow shows the order of the rows, and only while they are in a column's order:
// a list filled without sorting shows none.
void VexoriumView::ShowSortOrder(QTableView* list, const StatisticsList& rows) {
  QHeaderView* header = list->horizontalHeader();
  header->setSortIndicatorShown(rows.Sorted());
  if (rows.Sorted()) {
    header->setSortIndicator(rows.SortColumn(),
                             rows.Ascending() ? Qt::AscendingOrder : Qt::DescendingOrder);
  }
}

// The list's client width: inside its frame and, once its rows are taller than the list, beside
// its vertical scroll bar. Asked right after a fill, before Qt has laid the list out again.
int VexoriumView::ClientWidth(QTableView* list) const {
  int inner = list->height() - 2 * list->frameWidth() - list->horizontalHeader()->height();
  int rows = list->model()->rowCount() * list->verticalHeader()->defaultSectionSize();
  int scrollBar = rows > inner ? list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
  return list->width() - 2 * list->frameWidth() - scrollBar;
}

void VexoriumView::SetColumnWidths(QTableView* list, const StatisticsList& rows, int otherWidth) {
  for (int c = 0; c < rows.ColumnCount(); ++c)
    list->setColumnWidth(c, c == 0 ? kFirstColumnWidth : otherWidth);
}

void VexoriumView::ShowReport() {
  if (!m_browser) {
    m_browser = new QWebEngineView(this);
    m_browser->setObjectName(QStringLiteral("Report"));
    m_browser->setAccessibleName(QStringLiteral("Game by game report"));
    Place(m_browser, m_layout.browser);
  }
  if (m_layout.navigateBrowser) {
    m_browser->setUrl(QUrl::fromLocalFile(PathToQString(m_layout.browserPath)));
  } else {
    m_browser->reload();
  }
}

void VexoriumView::ListClicked(StatisticsList& rows, std::vector<int32_t>& selection,
                               QTableView* list) {
  selection = SelectionTable(m_frame.Doc(), rows, SelectedRows(list));
  emit graphChoiceChanged();
}

void VexoriumView::ShowUpdate() {
  KeptList main = KeepList(m_main, SelectedRows(m_mainList));
  KeptList weapon = KeepList(m_weapon, SelectedRows(m_weaponList));
  VexoriumDoc& doc = m_frame.Doc();
  // The report's screen reloads the page it shows rather than going back to the games index.
  doc.refresh = doc.currentScreen != 3;
  UpdateFromDocument();
  if (m_layout.fillLists) {
    RestoreList(m_main, m_mainModel, m_mainList, main, m_mainSelection);
    RestoreList(m_weapon, m_weaponModel, m_weaponList, weapon, m_weaponSelection);
  }
  emit graphChoiceChanged();
}

void VexoriumView::RestoreList(StatisticsList& rows, StatisticsModel* model, QTableView* list,
                               const KeptList& kept, std::vector<int32_t>& selection) {
  std::vector<int> selected = vexor::RestoreList(m_frame.Doc(), rows, kept);
  model->Reload();
  QItemSelection rowsToSelect;
  for (int row : selected)
    rowsToSelect.select(model->index(row, 0), model->index(row, model->columnCount() - 1));
  list->selectionModel()->select(rowsToSelect, QItemSelectionModel::ClearAndSelect);
  selection = SelectionTable(m_frame.Doc(), rows, selected);
}

void VexoriumView::ColumnClicked(StatisticsList& rows, StatisticsModel* model, QTableView* list,
                                 int column) {
  if (m_frame.Busy()) return;
  rows.ColumnClick(m_frame.Doc(), column);
  model->Reload();
  ShowSortOrder(list, rows);
}

bool VexoriumView::BoxChecked(int controlId) const {
  auto found = m_fixedBoxes.find(controlId);
  if (found != m_fixedBoxes.end()) return found->second->isChecked();
  for (const auto& [slot, box] : m_variableBoxes) {
    if (box->property("controlId").toInt() == controlId) return box->isChecked();
  }
  return false;
}

bool VexoriumView::VariableBoxChecked(int slot) const {
  auto found = m_variableBoxes.find(slot);
  return found != m_variableBoxes.end() && found->second->isChecked();
}

// The room a text has before the next check box on its line; the whole width when none follows.
int VexoriumView::RoomForText(int x, int y) const {
  int limit = width();
  auto narrow = [&](const Rect& box) {
    if (box.y == y && box.x > x && !box.Collapsed()) limit = std::min(limit, box.x - 4);
  };
  for (const CheckBoxPlace& place : m_layout.fixedBoxes)
    narrow(place.box);
  for (const VariableBoxPlace& place : m_layout.variableBoxes)
    narrow(place.box);
  return limit - x;
}

// What of a label is drawn: the text, cut with an ellipsis to its room.
QString VexoriumView::ShownLabel(const QFontMetrics& metrics, int x, int y,
                                 const QString& text) const {
  return metrics.elidedText(text, Qt::ElideRight, std::max(0, RoomForText(x, y)));
}

// The label at a point of the view: which box it belongs to.
LabelHit VexoriumView::LabelAtPoint(const QPoint& at) const {
  QFontMetrics metrics(ViewFont(kGraphFontHeight));
  return LabelAt(m_layout, at.x(), at.y(), metrics.height(),
                 [&](const std::string& label, int x, int y) {
                   return metrics.horizontalAdvance(ShownLabel(metrics, x, y, ToQString(label)));
                 });
}

// A click on a box's drawn label (pressed and released on it) toggles the box, as a click on a
// check box's own text does.
void VexoriumView::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  bool left = event->button() == Qt::LeftButton && !m_printing;
  m_pressedLabel = left ? LabelAtPoint(event->position().toPoint()) : LabelHit{};
}

void VexoriumView::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  LabelHit pressed = m_pressedLabel;
  m_pressedLabel = LabelHit{};
  LabelHit hit = LabelAtPoint(event->position().toPoint());
  if (event->button() != Qt::LeftButton || !pressed.found || !hit.found ||
      hit.variable != pressed.variable || hit.key != pressed.key) {
    return;
  }
  std::map<int, QCheckBox*>& boxes = hit.variable ? m_variableBoxes : m_fixedBoxes;
  auto found = boxes.find(hit.key);
  if (found == boxes.end() || !found->second->isEnabled()) return;
  found->second->setFocus(Qt::MouseFocusReason);
  found->second->click();
}

// A label too wide for its place (a font wider than the one the screen was laid out for) is
// cut with an ellipsis rather than written over the next box; its box's accessible name keeps
// the whole text.
void VexoriumView::DrawText(QPainter& painter, int x, int y, const QString& text, int fontHeight) {
  painter.setFont(ViewFont(fontHeight));
  QFontMetrics metrics(painter.font());
  painter.drawText(x, y + metrics.ascent(), ShownLabel(metrics, x, y, text));
}

void VexoriumView::SetPrinting(bool printing) {
  m_printing = printing;
  update();
}

void VexoriumView::paintEvent(QPaintEvent*) {
  if (m_printing) return;
  QPainter painter(this);
  // The background is a soft wash: smooth scaling keeps it free of blocks.
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(rect(), m_background);
  if (m_layout.drawLogo) painter.drawPixmap(m_layout.logoX, m_layout.logoY, m_logo);
  painter.setPen(kTextColour);
  for (const ViewText& text : m_layout.texts) {
    DrawText(painter, text.x, text.y, ToQString(text.text), text.fontHeight);
  }
}

void VexoriumView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // Every resize refills the lists (and sorts them again when auto-sort is on).
  if (!m_frame.Busy()) m_frame.Doc().refresh = true;
  UpdateFromDocument();
}

}  // namespace vexor

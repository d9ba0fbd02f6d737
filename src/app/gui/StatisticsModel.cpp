#include "app/gui/StatisticsModel.h"

#include "app/gui/GuiText.h"
#include "ui/StatisticsList.h"

namespace vexor {

StatisticsModel::StatisticsModel(const StatisticsList& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list) {}

void StatisticsModel::Reload() {
  beginResetModel();
  endResetModel();
}

int StatisticsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_list.RowCount();
}

int StatisticsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_list.ColumnCount();
}

QVariant StatisticsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= m_list.RowCount() ||
      index.column() >= m_list.ColumnCount()) {
    return {};
  }
  if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole) {
    return ToQString(m_list.Cell(index.row(), index.column()));
  }
  if (role == Qt::TextAlignmentRole && index.column() > 0) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  return {};
}

QVariant StatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= m_list.ColumnCount()) return {};
  if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
    return ToQString(m_list.Headings()[static_cast<size_t>(section)]);
  }
  return {};
}

}  // namespace vexor

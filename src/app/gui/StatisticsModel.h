// The item model of a statistics list: the rows and headings of a StatisticsList, exactly as the
// core wrote them. The list is sorted by the core (the program's own rank order), never by Qt.
#pragma once

#include <QAbstractTableModel>

namespace vexor {

class StatisticsList;

class StatisticsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  StatisticsModel(const StatisticsList& list, QObject* parent);

  // The list was refilled, sorted or cleared.
  void Reload();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const StatisticsList& m_list;
};

}  // namespace vexor

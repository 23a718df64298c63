// The rows of VocabListView: a model that reads the program's VocabList in
// place (no copies of the texts), so lists of any size fill at once. A cell
// shows at most ShownLineLength characters of its text, so a pair of any
// length paints at once.
//
// The model shows as many rows as the program has put into the list view;
// the program changes the list first and then tells the model, so a row is
// only ever read while its pair exists.
#pragma once

#include <QAbstractTableModel>

namespace zl {

class ListRows;

class VocabTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit VocabTableModel(const ListRows& list, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void removeAllRows();
  // Shows `count` more rows for pairs already appended to the list.
  void appendRows(int count);
  void updateRow(int row);
  void removeRow(int row);

 private:
  const ListRows& list_;
  int shownRows_ = 0;
};

}  // namespace zl

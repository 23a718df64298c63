#include "qt/vocab_table_model.h"

#include "platform/list_rows.h"
#include "qt/cp1252_qt.h"
#include "state/window_rules.h"

namespace zl {

VocabTableModel::VocabTableModel(const ListRows& list, QObject* parent) : QAbstractTableModel(parent), list_(list) {}

int VocabTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shownRows_; }

int VocabTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant VocabTableModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shownRows_) return {};
  return toShownQString(list_.rowText(index.row(), index.column()), ShownLineLength);
}

QVariant VocabTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  // Column 1 carries a caption, though the list never shows its header.
  if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section == 1) return QStringLiteral("Übersetzung");
  return {};
}

void VocabTableModel::appendRows(int count) {
  if (count <= 0) return;
  beginInsertRows(QModelIndex(), shownRows_, shownRows_ + count - 1);
  shownRows_ += count;
  endInsertRows();
}

void VocabTableModel::updateRow(int row) {
  if (row >= 0 && row < shownRows_) emit dataChanged(index(row, 0), index(row, 1));
}

void VocabTableModel::removeRow(int row) {
  if (row < 0 || row >= shownRows_) return;
  beginRemoveRows(QModelIndex(), row, row);
  --shownRows_;
  endRemoveRows();
}

void VocabTableModel::removeAllRows() {
  beginResetModel();
  shownRows_ = 0;
  endResetModel();
}

}  // namespace zl

#include "found_list_model.h"

#include <utility>

#include "gbk_qt.h"

namespace lexomir {

FoundListModel::FoundListModel(QObject* parent)
    : QAbstractTableModel(parent), m_found(std::make_shared<FoundList>()) {}

void FoundListModel::show(std::shared_ptr<const FoundList> found, GridLayout layout) {
    beginResetModel();
    m_found = found ? std::move(found) : std::make_shared<FoundList>();
    m_layout = layout;
    endResetModel();
}

const FoundEntry* FoundListModel::entryAt(int row, int column) const {
    const auto k = cellListIndex(m_layout.columns, column, row, m_found->size());
    if (!k || row >= m_layout.rows) return nullptr;
    return &(*m_found)[*k];
}

int FoundListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_layout.rows;
}

int FoundListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_layout.columns;
}

QVariant FoundListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const FoundEntry* entry = entryAt(index.row(), index.column());
    return entry ? fromGbk(entry->text) : QString();
}

Qt::ItemFlags FoundListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace lexomir

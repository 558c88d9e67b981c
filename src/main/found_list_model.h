// A found list as a table model: the cells are its entries row by row, so a
// view asks only for the cells it draws, and the rest stay empty.
#pragma once

#include <QAbstractTableModel>
#include <memory>

#include "found_list.h"
#include "grid_layout.h"

namespace lexomir {

class FoundListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit FoundListModel(QObject* parent = nullptr);

    // Lays the list out in layout.columns columns; the view is reset.
    void show(std::shared_ptr<const FoundList> found, GridLayout layout);
    const std::shared_ptr<const FoundList>& found() const { return m_found; }
    // The entry in cell (row, column); none for an empty cell.
    const FoundEntry* entryAt(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    std::shared_ptr<const FoundList> m_found;
    GridLayout m_layout;
};

}  // namespace lexomir

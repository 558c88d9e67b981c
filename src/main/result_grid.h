// A result grid: a table view over the found list of the last search, its
// cells drawn on demand. Enter on a cell asks for the entry as a double click
// does, and Tab moves on to the next control instead of through the cells.
#pragma once

#include <QTableView>
#include <cstdint>
#include <memory>
#include <optional>

#include "found_list_model.h"

namespace lexomir {

class ResultGrid : public QTableView {
    Q_OBJECT

  public:
    explicit ResultGrid(QWidget* parent = nullptr);

    void showFound(std::shared_ptr<const FoundList> found, GridLayout layout);
    const std::shared_ptr<const FoundList>& shownFound() const { return m_model.found(); }

    int rowCount() const { return m_model.rowCount(); }
    int columnCount() const { return m_model.columnCount(); }
    int defaultColumnWidth() const;
    int currentRow() const { return currentIndex().row(); }
    int currentColumn() const { return currentIndex().column(); }
    void setCurrentCell(int row, int column);
    QString cellText(int row, int column) const;
    // The entry behind the current cell, if any.
    const FoundEntry* currentEntry() const;

  signals:
    void entryRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    FoundListModel m_model;
};

}  // namespace lexomir

using lexomir::ResultGrid;

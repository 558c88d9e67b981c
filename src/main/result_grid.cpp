#include "result_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPalette>
#include <utility>

namespace lexomir {

ResultGrid::ResultGrid(QWidget* parent) : QTableView(parent) {
    setModel(&m_model);
    setTabKeyNavigation(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Blue text by the palette: a style sheet would be consulted for every
    // cell painted, which costs more than the search.
    QPalette blueText = palette();
    blueText.setColor(QPalette::Text, Qt::blue);
    setPalette(blueText);
}

void ResultGrid::showFound(std::shared_ptr<const FoundList> found, GridLayout layout) {
    m_model.show(std::move(found), layout);
}

int ResultGrid::defaultColumnWidth() const {
    return horizontalHeader()->defaultSectionSize();
}

void ResultGrid::setCurrentCell(int row, int column) {
    setCurrentIndex(m_model.index(row, column));
}

QString ResultGrid::cellText(int row, int column) const {
    return m_model.data(m_model.index(row, column), Qt::DisplayRole).toString();
}

const FoundEntry* ResultGrid::currentEntry() const {
    return m_model.entryAt(currentRow(), currentColumn());
}

void ResultGrid::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain && currentIndex().isValid()) {
        emit entryRequested();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace lexomir

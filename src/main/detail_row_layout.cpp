#include "detail_row_layout.h"

#include <QWidget>
#include <algorithm>

namespace lexomir {

DetailRowLayout::DetailRowLayout(QWidget* text, QWidget* panel, QWidget* parent) : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
    setSpacing(2);
    addWidget(text);
    addWidget(panel);
}

DetailRowLayout::~DetailRowLayout() {
    qDeleteAll(m_items);
}

void DetailRowLayout::addItem(QLayoutItem* item) {
    m_items.append(item);
}

QLayoutItem* DetailRowLayout::takeAt(int index) {
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

// The panel counts at its least size: it takes more only when the row is high.
QSize DetailRowLayout::sizeFrom(QSize textSize) const {
    QSize size = textSize;
    if (const QLayoutItem* side = panel(); side && !side->isEmpty()) {
        const QSize least = side->minimumSize();
        size = QSize(size.width() + spacing() + least.width(),
                     std::max(size.height(), least.height()));
    }
    const QMargins margins = contentsMargins();
    return size.grownBy(margins);
}

QSize DetailRowLayout::minimumSize() const {
    return sizeFrom(text() && !text()->isEmpty() ? text()->minimumSize() : QSize());
}

QSize DetailRowLayout::sizeHint() const {
    return sizeFrom(text() && !text()->isEmpty() ? text()->sizeHint() : QSize());
}

void DetailRowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const QRect area = contentsRect();
    QLayoutItem* side = panel();
    if (!side || side->isEmpty()) {
        if (text()) text()->setGeometry(area);
        return;
    }
    const int least = side->minimumSize().width();
    const int textLeast = text() && !text()->isEmpty() ? text()->minimumSize().width() : 0;
    const int widest = std::max(least, std::min(static_cast<int>(area.width() * kLargestPanelShare),
                                                area.width() - spacing() - textLeast));
    const int width = std::clamp(area.height(), least, widest);
    side->setGeometry(QRect(area.right() + 1 - width, area.top(), width, area.height()));
    if (text())
        text()->setGeometry(
            QRect(area.left(), area.top(), area.width() - width - spacing(), area.height()));
}

}  // namespace lexomir

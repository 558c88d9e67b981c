#include "splitter_bar.h"

#include <QMouseEvent>
#include <algorithm>

#include "grid_layout.h"

namespace lexomir {

SplitterBar::SplitterBar(QWidget* parent) : QFrame(parent) {
    setCursor(Qt::SizeVerCursor);
}

void SplitterBar::setPanes(QWidget* above, QWidget* below) {
    m_above = above;
    m_below = below;
}

void SplitterBar::moveBy(int dy) {
    if (m_above && m_below) resizeAbove(m_above->height(), m_below->height(), dy);
}

void SplitterBar::resizeAbove(int startHeight, int belowHeight, int dy) {
    // A pane laid out by a layout of its own tells its least height by its hint.
    const int lowestBelow = std::max(
        {kMinimumPaneHeight, m_below->minimumHeight(), m_below->minimumSizeHint().height()});
    const int tallest = std::max(kMinimumPaneHeight, startHeight + belowHeight - lowestBelow);
    // The panes above are laid out at a fixed height, so the memo takes up the difference.
    m_above->setFixedHeight(std::clamp(startHeight + dy, kMinimumPaneHeight, tallest));
}

void SplitterBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_above || !m_below)
        return QFrame::mousePressEvent(event);
    m_dragging = true;
    m_pressY = event->globalPosition().toPoint().y();
    m_startHeight = m_above->height();
    m_startBelowHeight = m_below->height();
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) return QFrame::mouseMoveEvent(event);
    resizeAbove(m_startHeight, m_startBelowHeight,
                event->globalPosition().toPoint().y() - m_pressY);
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_dragging = false;
    QFrame::mouseReleaseEvent(event);
}

}  // namespace lexomir

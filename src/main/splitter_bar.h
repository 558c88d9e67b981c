// A thin bar under a result grid: dragging it changes the grid's height, and
// the memo below gives way.
#pragma once

#include <QFrame>

namespace lexomir {

class SplitterBar : public QFrame {
    Q_OBJECT

  public:
    explicit SplitterBar(QWidget* parent = nullptr);

    void setPanes(QWidget* above, QWidget* below);
    // Moves the bar by dy pixels, as a drag would.
    void moveBy(int dy);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void resizeAbove(int startHeight, int belowHeight, int dy);

    QWidget* m_above = nullptr;
    QWidget* m_below = nullptr;
    bool m_dragging = false;
    int m_pressY = 0;
    int m_startHeight = 0;
    int m_startBelowHeight = 0;
};

}  // namespace lexomir

using lexomir::SplitterBar;

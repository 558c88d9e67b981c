// A row of two widgets: a text that takes what is left, and at its right a
// panel as wide as the row is high (a square beside the text), never
// narrower than it needs nor wider than a share of the row, so that the
// panel grows and shrinks with the row and the text keeps most of it.
#pragma once

#include <QLayout>
#include <QList>

namespace lexomir {

class DetailRowLayout : public QLayout {
  public:
    // The widest the panel gets, as a share of the row's width.
    static constexpr double kLargestPanelShare = 1.0 / 3;

    DetailRowLayout(QWidget* text, QWidget* panel, QWidget* parent = nullptr);
    ~DetailRowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return static_cast<int>(m_items.size()); }
    QLayoutItem* itemAt(int index) const override { return m_items.value(index); }
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal | Qt::Vertical; }
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

  private:
    // Text first, then the panel; either may have been taken out.
    QLayoutItem* text() const { return m_items.value(0); }
    QLayoutItem* panel() const { return m_items.value(1); }
    QSize sizeFrom(QSize textSize) const;

    QList<QLayoutItem*> m_items;
};

}  // namespace lexomir

#include "looked_up_list.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>
#include <utility>

#include "gbk_qt.h"
#include "song_font.h"

namespace lexomir {

// The entries as rows of three columns: the character or idiom, its reading
// and its brief explanation.
class LookedUpList::Model : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void setEntries(std::vector<LookedUpEntry> entries) {
        beginResetModel();
        m_entries = std::move(entries);
        endResetModel();
    }
    const std::vector<LookedUpEntry>& entries() const { return m_entries; }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        const LookedUpEntry& entry = m_entries[static_cast<std::size_t>(index.row())];
        return fromGbk(index.column() == 0   ? entry.text
                       : index.column() == 1 ? entry.reading
                                             : entry.brief);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        const char* const titles[] = {"词条", "拼音", "简介"};
        return QString::fromUtf8(titles[section]);
    }

  private:
    std::vector<LookedUpEntry> m_entries;
};

LookedUpList::LookedUpList(const QString& title, const char* listName, QWidget* parent)
    : QDialog(parent), m_model(new Model(this)), m_view(new QTableView(this)) {
    setWindowTitle(title);
    setFont(songFont(15));
    m_view->setObjectName(QLatin1String(listName));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    const auto choose = [this](const QModelIndex& index) {
        if (!index.isValid()) return;
        // A copy: opening the entry may refill the list.
        const LookedUpEntry entry = entries()[static_cast<std::size_t>(index.row())];
        emit entryChosen(entry);
    };
    connect(m_view, &QTableView::clicked, this, choose);
    connect(m_view, &QTableView::activated, this, choose);
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_view);
    m_buttons = new QHBoxLayout;
    m_buttons->addStretch(1);
    column->addLayout(m_buttons);
    resize(520, 420);
    placeBeside(*parent);
}

// Beside the main window where the screen has room, so that the entry
// opened from the list shows.
void LookedUpList::placeBeside(const QWidget& window) {
    const QRect main = window.frameGeometry();
    const QScreen* screen = window.screen();
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    const QPoint corner(main.right() + 8, main.top());
    if (room.contains(QRect(corner, frameSize()).adjusted(0, 0, 30, 30))) move(corner);
}

LookedUpList::~LookedUpList() = default;

void LookedUpList::setEntries(std::vector<LookedUpEntry> entries) {
    m_model->setEntries(std::move(entries));
    m_view->resizeColumnToContents(0);
    m_view->resizeColumnToContents(1);
}

const std::vector<LookedUpEntry>& LookedUpList::entries() const {
    return m_model->entries();
}

QPushButton* LookedUpList::addButton(const QString& text, const char* name) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    m_buttons->addWidget(button);
    return button;
}

}  // namespace lexomir

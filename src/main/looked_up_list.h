// A window listing looked-up entries (the history, or the word list): each
// with its reading and brief explanation, and one click opens it in the main
// window. It is not modal, so that it can stay open beside the main window
// while the user goes through the list.
#pragma once

#include <QDialog>
#include <vector>

#include "looked_up_entry.h"

class QHBoxLayout;
class QPushButton;
class QTableView;

namespace lexomir {

class LookedUpList : public QDialog {
    Q_OBJECT

  public:
    // The view is named listName, so that tests find it.
    LookedUpList(const QString& title, const char* listName, QWidget* parent);
    ~LookedUpList() override;

    void setEntries(std::vector<LookedUpEntry> entries);
    const std::vector<LookedUpEntry>& entries() const;
    QTableView* view() const { return m_view; }
    // A button under the list, right-aligned.
    QPushButton* addButton(const QString& text, const char* name);

  signals:
    void entryChosen(const LookedUpEntry& entry);

  private:
    void placeBeside(const QWidget& window);

    class Model;
    Model* m_model;
    QTableView* m_view;
    QHBoxLayout* m_buttons;
};

}  // namespace lexomir

// The bar above a detail box: back and forward through what its page showed,
// ★ to put the shown entry into the word list or take it out, and the two
// lists. The buttons take no focus: the keys Alt+Left, Alt+Right and Ctrl+D
// do the same from anywhere on the page.
#pragma once

#include <QWidget>
#include <optional>

class QToolButton;

namespace lexomir {

class DetailBar : public QWidget {
    Q_OBJECT

  public:
    explicit DetailBar(QWidget* parent = nullptr);

    // isWord: whether the shown entry is in the word list; nothing when the
    // page shows no entry yet.
    void showState(bool canGoBack, bool canGoForward, std::optional<bool> isWord);

  signals:
    void backClicked();
    void forwardClicked();
    void wordClicked();
    void historyClicked();
    void wordsClicked();

  private:
    QToolButton* addButton(const char* name, const QString& tip, void (DetailBar::*clicked)());

    QToolButton* m_back;
    QToolButton* m_forward;
    QToolButton* m_word;
};

}  // namespace lexomir

using lexomir::DetailBar;

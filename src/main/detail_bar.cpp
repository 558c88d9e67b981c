#include "detail_bar.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace lexomir {
namespace {

const QString kInWordList = QStringLiteral("★");
const QString kNotInWordList = QStringLiteral("☆");

}  // namespace

DetailBar::DetailBar(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(3, 1, 3, 1);
    row->setSpacing(2);
    m_back = addButton("BtnBack", QStringLiteral("后退 (Alt+Left)"), &DetailBar::backClicked);
    m_back->setText(QStringLiteral("◀"));
    m_forward =
        addButton("BtnForward", QStringLiteral("前进 (Alt+Right)"), &DetailBar::forwardClicked);
    m_forward->setText(QStringLiteral("▶"));
    m_word =
        addButton("BtnWord", QStringLiteral("加入或移出生词本 (Ctrl+D)"), &DetailBar::wordClicked);
    m_word->setCheckable(true);
    addButton("BtnHistory", QStringLiteral("历史 (Ctrl+H)"), &DetailBar::historyClicked)
        ->setText(QStringLiteral("历史"));
    addButton("BtnWords", QStringLiteral("生词本 (Ctrl+B)"), &DetailBar::wordsClicked)
        ->setText(QStringLiteral("生词本"));
    row->addStretch(1);
    showState(false, false, std::nullopt);
}

QToolButton* DetailBar::addButton(const char* name, const QString& tip,
                                  void (DetailBar::*clicked)()) {
    auto* button = new QToolButton(this);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(tip);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, clicked);
    layout()->addWidget(button);
    return button;
}

void DetailBar::showState(bool canGoBack, bool canGoForward, std::optional<bool> isWord) {
    m_back->setEnabled(canGoBack);
    m_forward->setEnabled(canGoForward);
    m_word->setEnabled(isWord.has_value());
    m_word->setChecked(isWord.value_or(false));
    m_word->setText(isWord.value_or(false) ? kInWordList : kNotInWordList);
}

}  // namespace lexomir

#include "tfrm_about.h"

#include <QTextDocument>
#include <algorithm>

#include "fixed_dialog.h"
#include "song_font.h"

namespace {

// The box shows its whole text without wrapping or scrolling.
void fitToText(QPlainTextEdit& memo) {
    const QFontMetrics metrics(memo.font());
    const QStringList lines = memo.toPlainText().split(QLatin1Char('\n'));
    int widest = 0;
    for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
    const int margins =
        static_cast<int>(2 * memo.document()->documentMargin()) + 2 * memo.frameWidth();
    // QPlainTextEdit keeps a few pixels for its cursor beside the text.
    constexpr int kCursorRoom = 4;
    memo.setFixedSize(widest + margins + kCursorRoom,
                      static_cast<int>(lines.size()) * metrics.lineSpacing() + margins);
}

}  // namespace

TFrmAbout::TFrmAbout(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setFont(lexomir::songFont(13));
    QFont caption = lexomir::songFont(24);
    caption.setBold(true);
    Panel1->setFont(caption);
    LabelVersion->setText(QStringLiteral("版本 ") + QLatin1String(LEXOMIR_VERSION));
    Memo1->setFont(lexomir::songFont(16));
    fitToText(*Memo1);
    // The licence wraps at the credits' width, every line of it shown.
    LabelLicence->setFixedSize(Memo1->width(), LabelLicence->heightForWidth(Memo1->width()));
    lexomir::makeFixedDialog(*this, sizeHint());
    connect(Button1, &QPushButton::clicked, this, &TFrmAbout::Button1Click);
}

void TFrmAbout::Button1Click() {
    close();
}

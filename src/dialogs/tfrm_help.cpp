#include "tfrm_help.h"

#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "fixed_dialog.h"
#include "song_font.h"

namespace {

constexpr QSize kFormSize(678, 542);

// The height at which the box shows all its lines wrapped at its width,
// laid out as the box lays out its text; with a line to spare, and wrapped as
// if a scroll bar took its room, lest rounding bring the scroll bar in.
int heightForWholeText(const QPlainTextEdit& memo, int width) {
    const int margins =
        static_cast<int>(2 * memo.document()->documentMargin()) + 2 * memo.frameWidth();
    const int scrollBar = memo.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QTextOption option;
    option.setWrapMode(memo.wordWrapMode());
    qreal height = margins + QFontMetrics(memo.font()).lineSpacing();
    for (const QString& text : memo.toPlainText().split(QLatin1Char('\n'))) {
        QTextLayout layout(text, memo.font());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width - margins - scrollBar);
            height += line.height();
        }
        layout.endLayout();
    }
    return static_cast<int>(std::ceil(height));
}

}  // namespace

// The form's size, made taller where the fonts at hand need more room than
// its 542 pixels to show every line; a scroll bar remains for a screen too low.
TFrmHelp::TFrmHelp(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    setFont(lexomir::songFont(13));
    Memo1->setFont(lexomir::songFont(16));
    int height = std::max(kFormSize.height(), heightForWholeText(*Memo1, kFormSize.width()));
    if (const QScreen* place = screen())
        height = std::min(height, place->availableGeometry().height() - 40);
    Memo1->setFixedSize(kFormSize.width(), height);
    lexomir::makeFixedDialog(*this, {kFormSize.width(), height});
}

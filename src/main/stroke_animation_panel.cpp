#include "stroke_animation_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "stroke_path.h"

namespace lexomir {
namespace {

namespace hw = handwriting;

constexpr int kTickMilliseconds = 30;
constexpr int kTicksPerStroke = 20;  // 0.6 s a stroke
// Wide enough for the centre line, widened, to cover the broadest stroke.
constexpr qreal kBrushWidth = 160;

QPointF toQt(hw::Point point) {
    return {point.x, point.y};
}

}  // namespace

QPainterPath outlinePath(std::string_view svgPath) {
    QPainterPath path;
    for (const hw::PathCommand& command : hw::parseStrokePath(svgPath)) {
        const auto& p = command.points;
        switch (command.kind) {
            case hw::PathCommandKind::Move:
                path.moveTo(toQt(p[0]));
                break;
            case hw::PathCommandKind::Line:
                path.lineTo(toQt(p[0]));
                break;
            case hw::PathCommandKind::Quad:
                path.quadTo(toQt(p[0]), toQt(p[1]));
                break;
            case hw::PathCommandKind::Cubic:
                path.cubicTo(toQt(p[0]), toQt(p[1]), toQt(p[2]));
                break;
            case hw::PathCommandKind::Close:
                path.closeSubpath();
                break;
        }
    }
    return path;
}

StrokeAnimationCanvas::StrokeAnimationCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName("StrokeAnimationCanvas");
    setMinimumSize(64, 64);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void StrokeAnimationCanvas::setStrokes(std::vector<Stroke> strokes) {
    m_strokes = std::move(strokes);
    m_finished = 0;
    m_progress = 0;
    update();
}

void StrokeAnimationCanvas::setProgress(int finished, qreal progress) {
    m_finished = finished;
    m_progress = progress;
    update();
}

QPainterPath StrokeAnimationCanvas::partialCentreLine(const Stroke& stroke, qreal share) const {
    QPainterPath line;
    if (stroke.centreLine.empty()) return line;
    const qreal wanted = stroke.centreLength * share;
    line.moveTo(stroke.centreLine.front());
    qreal walked = 0;
    for (std::size_t i = 1; i < stroke.centreLine.size(); ++i) {
        const QPointF a = stroke.centreLine[i - 1];
        const QPointF b = stroke.centreLine[i];
        const qreal length = std::hypot(b.x() - a.x(), b.y() - a.y());
        if (walked + length >= wanted) {
            const qreal t = length > 0 ? (wanted - walked) / length : 0;
            line.lineTo(a + (b - a) * t);
            return line;
        }
        line.lineTo(b);
        walked += length;
    }
    return line;
}

void StrokeAnimationCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    const qreal side = std::min(width(), height());
    const qreal scale = side / hw::kGlyphBoxSize;
    // The glyph box, y up with its baseline at 900, centred in the widget.
    painter.translate((width() - side) / 2, (height() - side) / 2 + hw::kGlyphBaseline * scale);
    painter.scale(scale, -scale);
    painter.setPen(Qt::NoPen);
    for (const Stroke& stroke : m_strokes)
        painter.fillPath(stroke.outline, QColor(0xdd, 0xdd, 0xdd));
    for (int i = 0; i < m_finished && i < static_cast<int>(m_strokes.size()); ++i)
        painter.fillPath(m_strokes[static_cast<std::size_t>(i)].outline, Qt::black);
    if (m_finished < static_cast<int>(m_strokes.size()) && m_progress > 0) {
        const Stroke& current = m_strokes[static_cast<std::size_t>(m_finished)];
        QPainterPathStroker brush;
        brush.setWidth(kBrushWidth);
        brush.setCapStyle(Qt::RoundCap);
        brush.setJoinStyle(Qt::RoundJoin);
        painter.setClipPath(brush.createStroke(partialCentreLine(current, m_progress)));
        painter.fillPath(current.outline, QColor(0xc0, 0x10, 0x10));
    }
}

StrokeAnimationPanel::StrokeAnimationPanel(QWidget* parent)
    : QWidget(parent),
      m_canvas(new StrokeAnimationCanvas(this)),
      m_replay(new QPushButton(QString::fromUtf8("重播"), this)),
      m_step(new QPushButton(QString::fromUtf8("下一笔"), this)),
      m_note(new QLabel(this)) {
    setObjectName("StrokeAnimationPanel");
    m_replay->setObjectName("BtnStrokeReplay");
    m_step->setObjectName("BtnStrokeStep");
    m_note->setObjectName("LabelStrokeNote");
    m_note->setWordWrap(true);
    m_note->setAlignment(Qt::AlignCenter);
    // The note takes the drawing's place and never asks the panel for more room.
    m_note->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_note->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_replay);
    buttons->addWidget(m_step);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_canvas, 1);
    layout->addWidget(m_note, 1);
    layout->addLayout(buttons);
    m_timer.setInterval(kTickMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &StrokeAnimationPanel::advance);
    connect(m_replay, &QPushButton::clicked, this, &StrokeAnimationPanel::replay);
    connect(m_step, &QPushButton::clicked, this, &StrokeAnimationPanel::step);
    // As wide without its buttons as with them, so that a note keeps the layout as it was.
    setMinimumWidth(layout->minimumSize().width());
    showNote(QString());
}

void StrokeAnimationPanel::showCharacter(const handwriting::CharacterStrokes& strokes) {
    std::vector<StrokeAnimationCanvas::Stroke> shown;
    try {
        for (std::size_t i = 0; i < strokes.outlines.size(); ++i) {
            StrokeAnimationCanvas::Stroke stroke{outlinePath(strokes.outlines[i]), {}, 0};
            if (i < strokes.medians.size()) {
                for (const hw::Point point : strokes.medians[i]) {
                    const QPointF at = toQt(point);
                    if (!stroke.centreLine.empty()) {
                        const QPointF last = stroke.centreLine.back();
                        stroke.centreLength += std::hypot(at.x() - last.x(), at.y() - last.y());
                    }
                    stroke.centreLine.push_back(at);
                }
            }
            shown.push_back(std::move(stroke));
        }
    } catch (const hw::PathSyntaxError& error) {
        showNote(QString::fromUtf8("笔画数据有误：") + QString::fromUtf8(error.what()));
        return;
    }
    m_note->hide();
    m_canvas->show();
    m_canvas->setStrokes(std::move(shown));
    for (QPushButton* button : {m_replay, m_step}) {
        button->setEnabled(true);
        button->show();
    }
    replay();
}

void StrokeAnimationPanel::showNote(const QString& note) {
    m_timer.stop();
    m_canvas->setStrokes({});
    // A file's path may wrap at each folder.
    m_note->setText(QString(note).replace(QLatin1Char('/'), QStringLiteral("/\u200b")));
    m_note->setToolTip(note);
    m_note->setVisible(!note.isEmpty());
    m_canvas->setVisible(note.isEmpty());
    // With nothing to replay the buttons give the note their room.
    for (QPushButton* button : {m_replay, m_step}) {
        button->setEnabled(false);
        button->hide();
    }
}

int StrokeAnimationPanel::strokeCount() const {
    return static_cast<int>(m_canvas->strokes().size());
}

int StrokeAnimationPanel::finishedStrokes() const {
    return m_canvas->finished();
}

void StrokeAnimationPanel::replay() {
    if (strokeCount() == 0) return;
    m_canvas->setProgress(0, 0);
    m_timer.start();
}

void StrokeAnimationPanel::step() {
    if (strokeCount() == 0) return;
    m_timer.stop();
    const int next = m_canvas->finished() >= strokeCount() ? 1 : m_canvas->finished() + 1;
    m_canvas->setProgress(next, 0);
}

void StrokeAnimationPanel::advance() {
    qreal progress = m_canvas->progress() + 1.0 / kTicksPerStroke;
    int finished = m_canvas->finished();
    if (progress >= 1) {
        ++finished;
        progress = 0;
    }
    m_canvas->setProgress(finished, progress);
    if (finished >= strokeCount()) m_timer.stop();
}

}  // namespace lexomir

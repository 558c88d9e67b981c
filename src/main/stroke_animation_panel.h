// A panel that shows how a character is written: every stroke's outline in
// grey, then each stroke filling in along its centre line, one after the
// other, about 0.6 s a stroke. Replay starts again; step shows one more
// stroke at a time. The drawing scales with the panel.
#pragma once

#include <QPainterPath>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <vector>

#include "stroke_database.h"

class QLabel;
class QPushButton;

namespace lexomir {

class StrokeAnimationCanvas;

class StrokeAnimationPanel : public QWidget {
    Q_OBJECT
  public:
    explicit StrokeAnimationPanel(QWidget* parent = nullptr);

    // Starts the animation of these strokes (outlines as SVG paths in the
    // stroke data's box, with their centre lines); a path the parser refuses
    // shows the note instead.
    void showCharacter(const handwriting::CharacterStrokes& strokes);
    // Shows no character, only the note (e.g. why there is none).
    void showNote(const QString& note);

    // For tests and the controls: how many strokes are drawn in full, and
    // whether a stroke is filling in now.
    int strokeCount() const;
    int finishedStrokes() const;
    bool isAnimating() const { return m_timer.isActive(); }

  public slots:
    void replay();
    // Stops the animation and shows one stroke more (all of them again
    // after the last).
    void step();

  private:
    void advance();

    StrokeAnimationCanvas* m_canvas;
    QPushButton* m_replay;
    QPushButton* m_step;
    QLabel* m_note;
    QTimer m_timer;
};

// The drawing itself, in the stroke data's box scaled into the widget.
class StrokeAnimationCanvas : public QWidget {
    Q_OBJECT
  public:
    struct Stroke {
        QPainterPath outline;  // glyph box, y up
        std::vector<QPointF> centreLine;
        qreal centreLength = 0;
    };

    explicit StrokeAnimationCanvas(QWidget* parent = nullptr);
    void setStrokes(std::vector<Stroke> strokes);
    const std::vector<Stroke>& strokes() const { return m_strokes; }
    // finished strokes drawn in full, then the next one up to progress (0..1).
    void setProgress(int finished, qreal progress);
    int finished() const { return m_finished; }
    qreal progress() const { return m_progress; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPainterPath partialCentreLine(const Stroke& stroke, qreal share) const;

    std::vector<Stroke> m_strokes;
    int m_finished = 0;
    qreal m_progress = 0;
};

// The outline of a path string as a QPainterPath; throws PathSyntaxError.
QPainterPath outlinePath(std::string_view svgPath);

}  // namespace lexomir

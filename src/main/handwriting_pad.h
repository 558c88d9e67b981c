// A pad to write a character on with the mouse or a pen. After each stroke
// the ten likeliest characters show as buttons; a click on one emits it.
// Recognition runs on a worker thread, so drawing never waits for it; the
// templates are loaded once, in the background, when the pad is first shown.
#pragma once

#include <QDialog>
#include <QFutureWatcher>
#include <QStringList>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <vector>

#include "ink.h"
#include "recogniser.h"

class QLabel;
class QPushButton;

namespace lexomir {

// The writing surface: strokes as drawn, in widget coordinates.
class InkCanvas : public QWidget {
    Q_OBJECT
  public:
    explicit InkCanvas(QWidget* parent = nullptr);
    const handwriting::Ink& ink() const { return m_ink; }
    void undoStroke();
    void clearInk();

  signals:
    void inkChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    handwriting::Ink m_ink;
    bool m_drawing = false;
};

class HandwritingPad : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kCandidateCount = 10;

    explicit HandwritingPad(std::filesystem::path dataFolder, QWidget* parent = nullptr);
    ~HandwritingPad() override;

    // The candidates shown now, best first.
    QStringList candidates() const;
    bool templatesReady() const { return m_recogniser != nullptr; }

  public slots:
    // Ready for the next character.
    void clearInk();

  signals:
    // A candidate was clicked: one character, UTF-8 in a QString.
    void characterChosen(const QString& character);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    struct LoadResult {
        std::shared_ptr<const handwriting::Recogniser> recogniser;
        QString error;
    };

    void loadTemplates();
    void templatesLoaded();
    void setWritable(bool writable);
    void recognise();
    void recognised();
    void showCandidates(const QStringList& characters);

    std::filesystem::path m_dataFolder;
    InkCanvas* m_canvas;
    QPushButton* m_undo;
    QPushButton* m_clear;
    QLabel* m_note;
    std::vector<QPushButton*> m_candidateButtons;
    std::shared_ptr<const handwriting::Recogniser> m_recogniser;
    QFutureWatcher<LoadResult> m_loading;
    QFutureWatcher<QStringList> m_recognising;
    bool m_loadStarted = false;
    bool m_inkChangedMeanwhile = false;  // recognise again when the running one ends
};

}  // namespace lexomir

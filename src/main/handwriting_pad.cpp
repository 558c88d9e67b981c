#include "handwriting_pad.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "gbk_codec.h"
#include "stroke_database.h"
#include "template_loading.h"

namespace lexomir {
namespace {

namespace hw = handwriting;

QStringList recogniseInk(std::shared_ptr<const hw::Recogniser> recogniser, hw::Ink ink) {
    QStringList found;
    for (const std::string& gbk :
         recogniser->recognise(ink, static_cast<std::size_t>(HandwritingPad::kCandidateCount)))
        found << QString::fromStdString(gbkToUtf8(gbk));
    return found;
}

}  // namespace

InkCanvas::InkCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName("InkCanvas");
    setMinimumSize(200, 200);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setCursor(Qt::CrossCursor);
}

void InkCanvas::undoStroke() {
    if (m_ink.empty()) return;
    m_ink.pop_back();
    m_drawing = false;
    update();
    emit inkChanged();
}

void InkCanvas::clearInk() {
    m_ink.clear();
    m_drawing = false;
    update();
    emit inkChanged();
}

void InkCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Grey while there is nothing to recognise with.
    painter.fillRect(rect(), isEnabled() ? QColor(Qt::white) : palette().color(QPalette::Window));
    // A 米 grid helps to place the strokes.
    painter.setPen(QPen(QColor(0xe0, 0xc0, 0xc0), 1, Qt::DashLine));
    painter.drawLine(0, height() / 2, width(), height() / 2);
    painter.drawLine(width() / 2, 0, width() / 2, height());
    painter.drawLine(0, 0, width(), height());
    painter.drawLine(width(), 0, 0, height());
    painter.setPen(QPen(Qt::black, std::max(3, std::min(width(), height()) / 60), Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    for (const hw::Stroke& stroke : m_ink) {
        if (stroke.size() == 1) painter.drawPoint(QPointF(stroke[0].x, stroke[0].y));
        for (std::size_t i = 1; i < stroke.size(); ++i)
            painter.drawLine(QPointF(stroke[i - 1].x, stroke[i - 1].y),
                             QPointF(stroke[i].x, stroke[i].y));
    }
}

void InkCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPointF at = event->position();
    m_ink.push_back({{static_cast<float>(at.x()), static_cast<float>(at.y())}});
    m_drawing = true;
    update();
}

void InkCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!m_drawing || m_ink.empty()) return;
    const QPointF at = event->position();
    m_ink.back().push_back({static_cast<float>(at.x()), static_cast<float>(at.y())});
    update();
}

void InkCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_drawing) return;
    m_drawing = false;
    emit inkChanged();
}

HandwritingPad::HandwritingPad(std::filesystem::path dataFolder, QWidget* parent)
    : QDialog(parent),
      m_dataFolder(std::move(dataFolder)),
      m_canvas(new InkCanvas(this)),
      m_undo(new QPushButton(QString::fromUtf8("撤销一笔"), this)),
      m_clear(new QPushButton(QString::fromUtf8("清除"), this)),
      m_note(new QLabel(this)) {
    setObjectName("HandwritingPad");
    setWindowTitle(QString::fromUtf8("手写输入"));
    m_note->setObjectName("LabelPadNote");
    m_note->setWordWrap(true);
    m_undo->setObjectName("BtnUndoStroke");
    m_clear->setObjectName("BtnClearInk");
    auto* tools = new QHBoxLayout;
    tools->addWidget(m_undo);
    tools->addWidget(m_clear);
    tools->addStretch(1);
    auto* candidates = new QGridLayout;
    for (int i = 0; i < kCandidateCount; ++i) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString("BtnCandidate%1").arg(i));
        QFont font = button->font();
        font.setPixelSize(24);
        button->setFont(font);
        button->setMinimumSize(40, 40);
        // The writing surface keeps its size when candidates come and go.
        QSizePolicy policy = button->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        button->setSizePolicy(policy);
        button->setVisible(false);
        candidates->addWidget(button, i / 5, i % 5);
        connect(button, &QPushButton::clicked, this,
                [this, button] { emit characterChosen(button->text()); });
        m_candidateButtons.push_back(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_canvas, 1);
    layout->addLayout(tools);
    layout->addLayout(candidates);
    layout->addWidget(m_note);
    connect(m_undo, &QPushButton::clicked, m_canvas, &InkCanvas::undoStroke);
    connect(m_clear, &QPushButton::clicked, m_canvas, &InkCanvas::clearInk);
    connect(m_canvas, &InkCanvas::inkChanged, this, &HandwritingPad::recognise);
    connect(&m_loading, &QFutureWatcher<LoadResult>::finished, this,
            &HandwritingPad::templatesLoaded);
    connect(&m_recognising, &QFutureWatcher<QStringList>::finished, this,
            &HandwritingPad::recognised);
    resize(360, 480);
}

HandwritingPad::~HandwritingPad() {
    // The workers hold their own references to what they use; wait so that
    // none outlives the watchers.
    m_loading.waitForFinished();
    m_recognising.waitForFinished();
}

QStringList HandwritingPad::candidates() const {
    QStringList shown;
    for (const QPushButton* button : m_candidateButtons)
        if (button->isVisibleTo(this)) shown << button->text();
    return shown;
}

void HandwritingPad::clearInk() {
    m_canvas->clearInk();
}

void HandwritingPad::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    loadTemplates();
}

void HandwritingPad::loadTemplates() {
    if (m_loadStarted) return;
    m_loadStarted = true;
    setWritable(true);
    m_note->setText(QString::fromUtf8("正在载入笔画数据……"));
    m_loading.setFuture(QtConcurrent::run([folder = m_dataFolder]() -> LoadResult {
        try {
            return {std::make_shared<const hw::Recogniser>(hw::loadRecogniser(folder)), {}};
        } catch (const std::exception& error) {
            return {nullptr, QString::fromUtf8(error.what())};
        }
    }));
}

void HandwritingPad::templatesLoaded() {
    const LoadResult result = m_loading.result();
    if (!result.recogniser) {
        m_note->setText(QString::fromUtf8("无法使用手写输入：没有可用的笔画数据（") + result.error +
                        QString::fromUtf8("）"));
        // Nothing to write on; the next opening tries again, so that a file put right is read.
        m_canvas->clearInk();
        setWritable(false);
        m_loadStarted = false;
        return;
    }
    m_recogniser = result.recogniser;
    m_note->setText(QString::fromUtf8("请在上面书写一个汉字"));
    recognise();
}

void HandwritingPad::setWritable(bool writable) {
    for (QWidget* tool : {static_cast<QWidget*>(m_canvas), static_cast<QWidget*>(m_undo),
                          static_cast<QWidget*>(m_clear)})
        tool->setEnabled(writable);
}

void HandwritingPad::recognise() {
    if (!m_recogniser) return;
    if (m_recognising.isRunning()) {
        m_inkChangedMeanwhile = true;
        return;
    }
    m_inkChangedMeanwhile = false;
    if (m_canvas->ink().empty()) {
        showCandidates({});
        return;
    }
    m_recognising.setFuture(QtConcurrent::run(recogniseInk, m_recogniser, m_canvas->ink()));
}

void HandwritingPad::recognised() {
    if (m_inkChangedMeanwhile) {
        recognise();
        return;
    }
    showCandidates(m_recognising.result());
}

void HandwritingPad::showCandidates(const QStringList& characters) {
    for (int i = 0; i < kCandidateCount; ++i) {
        QPushButton* button = m_candidateButtons[static_cast<std::size_t>(i)];
        const bool shown = i < characters.size();
        button->setText(shown ? characters[i] : QString());
        button->setVisible(shown);
    }
}

}  // namespace lexomir

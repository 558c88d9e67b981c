// The stroke animation panel and the handwriting pad on their own, offscreen,
// found by object name.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <sstream>

#include "fixture_files.h"
#include "handwriting_pad.h"
#include "index_record_format.h"
#include "named_case.h"
#include "stroke_animation_panel.h"
#include "strokes_builder.h"
#include "window_fixture.h"

namespace lexomir {
namespace {

using testing::TempFolder;

handwriting::CharacterStrokes strokesOf(const char* utf8) {
    std::istringstream in(testing::fixtureStrokeTable());
    const auto table = strokes::readStrokeTable(in);
    for (const auto& row : table.rows)
        if (row.zi == utf8)
            return {handwriting::splitOutlines(row.outlines),
                    handwriting::parseCentreLines(row.medians)};
    return {};
}

template <typename T>
T* child(QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The box around every pixel that is not white.
QRect inkedBox(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != Qt::white) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(StrokeAnimationPanel, FillsEachStrokeInTurnAndSteps) {
    StrokeAnimationPanel panel;
    panel.resize(200, 240);
    panel.show();
    panel.showCharacter(strokesOf("口"));
    EXPECT_EQ(panel.strokeCount(), 3);
    EXPECT_TRUE(panel.isAnimating());
    QTRY_COMPARE_WITH_TIMEOUT(panel.finishedStrokes(), 1, 3000);
    QTRY_COMPARE_WITH_TIMEOUT(panel.finishedStrokes(), 3, 5000);
    EXPECT_FALSE(panel.isAnimating());

    QTest::mouseClick(child<QPushButton>(panel, "BtnStrokeStep"), Qt::LeftButton);
    EXPECT_EQ(panel.finishedStrokes(), 1);  // after the last, from the first again
    QTest::mouseClick(child<QPushButton>(panel, "BtnStrokeStep"), Qt::LeftButton);
    EXPECT_EQ(panel.finishedStrokes(), 2);
    QTest::mouseClick(child<QPushButton>(panel, "BtnStrokeReplay"), Qt::LeftButton);
    EXPECT_TRUE(panel.isAnimating());
    EXPECT_EQ(panel.finishedStrokes(), 0);
    QTest::mouseClick(child<QPushButton>(panel, "BtnStrokeStep"), Qt::LeftButton);
    EXPECT_FALSE(panel.isAnimating());
    EXPECT_EQ(panel.finishedStrokes(), 1);
}

TEST(StrokeAnimationPanel, DrawingScalesWithThePanel) {
    StrokeAnimationPanel panel;
    panel.show();
    panel.showCharacter(strokesOf("十"));
    panel.step();
    panel.step();
    auto* canvas = child<QWidget>(panel, "StrokeAnimationCanvas");
    const auto sideAndBox = [&](QSize size) {
        panel.resize(size);
        QApplication::processEvents();
        return std::pair(std::min(canvas->width(), canvas->height()), inkedBox(canvas));
    };
    const auto [smallSide, small] = sideAndBox({160, 200});
    const auto [largeSide, large] = sideAndBox({480, 520});
    ASSERT_FALSE(small.isEmpty());
    ASSERT_GT(largeSide, 2 * smallSide);
    // 十 spans 800 of the box's 1024 units across, at any size.
    EXPECT_NEAR(small.width(), smallSide * 800.0 / 1024, 4);
    EXPECT_NEAR(large.width(), largeSide * 800.0 / 1024, 4);
}

TEST(StrokeAnimationPanel, NoteInsteadOfAnUnreadableCharacter) {
    StrokeAnimationPanel panel;
    panel.show();
    handwriting::CharacterStrokes broken = strokesOf("十");
    broken.outlines[1] = "M 1 2 X";
    panel.showCharacter(broken);
    auto* note = child<QLabel>(panel, "LabelStrokeNote");
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().startsWith(QString::fromUtf8("笔画数据有误")));
    EXPECT_EQ(panel.strokeCount(), 0);
    EXPECT_FALSE(child<QPushButton>(panel, "BtnStrokeReplay")->isEnabled());
}

class HandwritingPadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::writeXinHuaIndex(folder / "XinHua.dat",
                                  {{"口", "kou", "口", 3}, {"十", "shi", "十", 2}},
                                  xinhua_record::kRecordCount);
        testing::writeFixtureStrokeData(folder / "Strokes.db");
    }
    // A stroke through these points in the canvas, as the mouse draws it.
    static void draw(QWidget* canvas, std::initializer_list<QPoint> points) {
        QTest::mousePress(canvas, Qt::LeftButton, {}, *points.begin());
        for (const QPoint& point : points) QTest::mouseMove(canvas, point);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, *(points.end() - 1));
    }
    TempFolder folder;
};

TEST_F(HandwritingPadTest, CandidatesAfterEachStrokeAndAClickEmitsOne) {
    HandwritingPad pad(folder.path());
    pad.show();
    QTRY_VERIFY_WITH_TIMEOUT(pad.templatesReady(), 5000);
    QSignalSpy chosen(&pad, &HandwritingPad::characterChosen);
    auto* canvas = child<QWidget>(pad, "InkCanvas");
    draw(canvas, {{40, 100}, {120, 100}, {200, 101}});
    QTRY_COMPARE_WITH_TIMEOUT(pad.candidates().value(0), QString::fromUtf8("十"), 3000);
    draw(canvas, {{120, 30}, {120, 110}, {121, 190}});
    QTRY_COMPARE_WITH_TIMEOUT(pad.candidates(), (QStringList{"十", "口"}), 3000);

    QTest::mouseClick(child<QPushButton>(pad, "BtnCandidate0"), Qt::LeftButton);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0][0].toString(), QString::fromUtf8("十"));
    EXPECT_FALSE(child<QPushButton>(pad, "BtnCandidate2")->isVisible());

    QTest::mouseClick(child<QPushButton>(pad, "BtnUndoStroke"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(pad.candidates().size(), 2, 3000);
    QTest::mouseClick(child<QPushButton>(pad, "BtnClearInk"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(pad.candidates().isEmpty(), 3000);
}

struct BrokenDataCase : testing::NamedCase {
    void (*breakData)(const std::filesystem::path& strokesDb);
};

class HandwritingPadWithoutDataTest : public HandwritingPadTest,
                                      public ::testing::WithParamInterface<BrokenDataCase> {};

TEST_P(HandwritingPadWithoutDataTest, TheNoteSaysSoAndThereIsNothingToWriteOn) {
    GetParam().breakData(folder / "Strokes.db");
    HandwritingPad pad(folder.path());
    pad.show();
    auto* note = child<QLabel>(pad, "LabelPadNote");
    QTRY_VERIFY_WITH_TIMEOUT(note->text().contains(QString::fromUtf8("没有可用的笔画数据")), 5000);
    EXPECT_TRUE(note->text().contains("Strokes.db")) << note->text().toStdString();
    auto* canvas = child<InkCanvas>(pad, "InkCanvas");
    EXPECT_FALSE(canvas->isEnabled());
    draw(canvas, {{40, 100}, {200, 100}});
    QApplication::processEvents();
    EXPECT_EQ(canvas->ink().size(), 0u);
    EXPECT_TRUE(pad.candidates().isEmpty());
    EXPECT_FALSE(pad.templatesReady());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HandwritingPadWithoutDataTest,
    ::testing::Values(BrokenDataCase{{"Missing"},
                                     [](const auto& file) { std::filesystem::remove(file); }},
                      BrokenDataCase{{"NotADatabase"},
                                     [](const auto& file) {
                                         testing::writeFileBytes(file, std::string(9000, '\x7f'));
                                     }},
                      BrokenDataCase{{"CentreLinesGarbled"},
                                     [](const auto& file) {
                                         testing::executeSql(file,
                                                             "UPDATE strokes SET medians = 'x'");
                                     }}),
    testing::CaseName());

}  // namespace
}  // namespace lexomir

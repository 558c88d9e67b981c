// The character page's stroke panel beside Memo1 and the handwriting pad
// opened from beside LedtPinYin, in the real window, found by object name.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "detail_row_layout.h"
#include "handwriting_pad.h"
#include "stroke_animation_panel.h"
#include "window_fixture.h"

namespace lexomir::testing {
namespace {

class StrokesInWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        folder.writeStrokeData();
        openWindow();
    }
    StrokeAnimationPanel* panel() { return control<StrokeAnimationPanel>("StrokeAnimationPanel"); }
    QString note() { return control<QLabel>("LabelStrokeNote")->text(); }
};

struct ShownCase {
    const char* typed;  // a character search shows its first hit
    int strokes;        // 0: the note tells why there are none
    const char* noted;
};

void PrintTo(const ShownCase& c, std::ostream* out) {
    *out << c.typed;
}

class EntryShownTest : public StrokesInWindowTest,
                       public ::testing::WithParamInterface<ShownCase> {};

TEST_P(EntryShownTest, ThePanelFollowsTheEntryInMemo1) {
    const ShownCase& c = GetParam();
    typedSearch("口");  // something else shown before
    typedSearch(c.typed);
    EXPECT_TRUE(
        memo("Memo1").startsWith(QString::fromUtf8("\n汉字：") + QString::fromUtf8(c.typed)))
        << memo("Memo1").toStdString();
    EXPECT_EQ(panel()->strokeCount(), c.strokes);
    EXPECT_EQ(panel()->isAnimating(), c.strokes > 0);
    EXPECT_EQ(control<QLabel>("LabelStrokeNote")->isVisible(), c.strokes == 0);
    EXPECT_TRUE(note().contains(QString::fromUtf8(c.noted))) << note().toStdString();
    EXPECT_TRUE(errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Characters, EntryShownTest,
                         ::testing::Values(ShownCase{"一", 1, ""}, ShownCase{"口", 3, ""},
                                           ShownCase{"中", 0, "没有“中”"}));

TEST_F(StrokesInWindowTest, ADoubleClickedEntryIsDrawnToo) {
    typedSearch("k");
    EXPECT_EQ(panel()->strokeCount(), 0) << "a pinyin search shows no entry";
    doubleClickCell("GridXinHua", 0, 0);
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：口")));
    EXPECT_EQ(panel()->strokeCount(), 3);
}

TEST_F(StrokesInWindowTest, AnEntryReopenedFromTheHistoryIsDrawnToo) {
    typedSearch("口");
    typedSearch("一");
    activateWindow();
    press(Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：口")));
    EXPECT_EQ(panel()->strokeCount(), 3);
}

// A candidate's click appends it to the characters in 拼音或汉字, or takes
// the place of pinyin, and searches as 查找 does.
TEST_F(StrokesInWindowTest, APadCandidateIsAppendedAndSearched) {
    QTest::mouseClick(control<QAbstractButton>("BtnShouXie"), Qt::LeftButton);
    auto* pad = control<HandwritingPad>("HandwritingPad");
    ASSERT_NE(pad, nullptr);
    EXPECT_TRUE(pad->isVisible());
    EXPECT_FALSE(pad->isModal());
    QTRY_VERIFY_WITH_TIMEOUT(pad->templatesReady(), 5000);
    const auto writeAndChooseYi = [&] {
        auto* canvas = pad->findChild<QWidget*>("InkCanvas");
        QTest::mousePress(canvas, Qt::LeftButton, {}, {30, 100});
        for (int x = 30; x <= 190; x += 40) QTest::mouseMove(canvas, {x, 100});
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, {190, 100});
        QTRY_COMPARE_WITH_TIMEOUT(pad->candidates().value(0), QString::fromUtf8("一"), 3000);
        QTest::mouseClick(pad->findChild<QPushButton*>("BtnCandidate0"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(pad->candidates().isEmpty(), 3000);  // ready for the next one
    };
    control<QLineEdit>("LedtPinYin")->setText(QString::fromUtf8("中"));
    writeAndChooseYi();
    EXPECT_EQ(control<QLineEdit>("LedtPinYin")->text(), QString::fromUtf8("中一"));
    EXPECT_EQ(window->foundCharacters(), (std::vector<std::int32_t>{1, 5}));
    EXPECT_EQ(cell("GridXinHua", 0, 1), QString::fromUtf8("一"));
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：中")));

    control<QLineEdit>("LedtPinYin")->setText(QStringLiteral("zh"));
    writeAndChooseYi();
    EXPECT_EQ(control<QLineEdit>("LedtPinYin")->text(), QString::fromUtf8("一"));
    EXPECT_EQ(window->foundCharacters(), (std::vector<std::int32_t>{5}));

    QTest::mouseClick(control<QAbstractButton>("BtnShouXie"), Qt::LeftButton);
    EXPECT_EQ(window->findChildren<HandwritingPad*>().size(), 1);
    closeWindow();
    EXPECT_FALSE(pad->isVisible());
}

struct RowCase {
    QSize row;
    int panelWidth;
};

void PrintTo(const RowCase& c, std::ostream* out) {
    *out << c.row.width() << "x" << c.row.height();
}

class DetailRowTest : public ::testing::TestWithParam<RowCase> {};

// A panel at least 100 wide beside a text at least 80 wide, 2 apart.
TEST_P(DetailRowTest, ThePanelIsAsWideAsTheRowIsHighWithinItsBounds) {
    QWidget row;
    auto* text = new QWidget;
    auto* side = new QWidget;
    text->setMinimumSize(80, 50);
    side->setMinimumSize(100, 60);
    auto* layout = new DetailRowLayout(text, side, &row);
    EXPECT_EQ(layout->minimumSize(), QSize(182, 60));
    row.resize(GetParam().row);
    row.show();
    layout->activate();
    EXPECT_EQ(side->geometry(), QRect(GetParam().row.width() - GetParam().panelWidth, 0,
                                      GetParam().panelWidth, GetParam().row.height()));
    EXPECT_EQ(text->geometry(), QRect(0, 0, GetParam().row.width() - GetParam().panelWidth - 2,
                                      GetParam().row.height()));
}

INSTANTIATE_TEST_SUITE_P(Sizes, DetailRowTest,
                         ::testing::Values(RowCase{{900, 150}, 150},   // square
                                           RowCase{{900, 70}, 100},    // its least width
                                           RowCase{{600, 500}, 200},   // its share of the row
                                           RowCase{{200, 300}, 100}),  // its least before its share
                         [](const auto& info) {
                             return std::to_string(info.param.row.width()) + "x" +
                                    std::to_string(info.param.row.height());
                         });

}  // namespace
}  // namespace lexomir::testing

// The idiom page: the pattern search, the grid, Memo2 and the count.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "result_grid.h"
#include "window_fixture.h"

namespace lexomir::testing {
namespace {

class IdiomPageTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        openWindow();
        control<QTabWidget>("Page1")->setCurrentIndex(1);
    }
    QStringList found() {
        QStringList texts = gridTexts("GridChengYu");
        texts.removeAll(QString());
        return texts;
    }
};

struct PatternCase {
    const char* typed;
    std::vector<const char*> found;
};

void PrintTo(const PatternCase& c, std::ostream* out) {
    *out << '"' << c.typed << '"';
}

class PatternTest : public IdiomPageTest, public ::testing::WithParamInterface<PatternCase> {};

TEST_P(PatternTest, FindsTheIdiomsThatBeginWithThePattern) {
    idiomSearch(GetParam().typed);
    EXPECT_EQ(found(), utf8List(GetParam().found));
    EXPECT_EQ(control<QProgressBar>("ProgChengYu")->value(), 13000);
    EXPECT_TRUE(control<QPushButton>("BtnChengYu")->isEnabled());
    EXPECT_TRUE(messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Patterns, PatternTest,
                         ::testing::Values(PatternCase{"百战不=", {"百战不殆", "百战不殆之师"}},
                                           PatternCase{"百戰不＝", {"百战不殆", "百战不殆之师"}},
                                           PatternCase{"  爱 ", {"爱不释手", "爱屋及乌"}},
                                           PatternCase{"=心=意", {"一心一意"}},
                                           PatternCase{"百战不殆之师啊",
                                                       {}},  // longer than every idiom
                                           PatternCase{"ai", {}}, PatternCase{"百 战", {}}));

TEST_F(IdiomPageTest, TheFirstMatchIsSelectedFocusedAndShown) {
    idiomSearch("百战不=");
    auto* grid = control<ResultGrid>("GridChengYu");
    EXPECT_EQ(grid->currentRow(), 0);
    EXPECT_EQ(grid->currentColumn(), 0);
    EXPECT_EQ(window->focusWidget(), grid);
    const QString dashes(49, QLatin1Char('-'));
    EXPECT_EQ(memo("Memo2"), QString::fromUtf8("\n成语：百战不殆(bǎi zhàn bù dài)\n") + dashes +
                                 QString::fromUtf8("\n【释义】：每次打仗都不会失败。\n") + dashes +
                                 QString::fromUtf8("\n【出处】：《孙子·谋攻》\n") + dashes +
                                 QString::fromUtf8("\n【例子】：知己知彼，百战不殆。\n\n"));
}

TEST_F(IdiomPageTest, ADoubleClickShowsThatIdiomWithBrUnchanged) {
    idiomSearch("爱");
    doubleClickCell("GridChengYu", 0, 1);
    EXPECT_TRUE(memo("Memo2").startsWith(QString::fromUtf8("\n成语：爱屋及乌(")));
    doubleClickCell("GridChengYu", 0, 0);
    EXPECT_TRUE(memo("Memo2").contains(QString::fromUtf8("【例子】：他拿着书<br>爱不释手。")));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(IdiomPageTest, AnEntryWithoutValuesShowsTheBareFrame) {
    idiomSearch("百战不殆之");
    EXPECT_TRUE(memo("Memo2").startsWith(QString::fromUtf8("\n成语：百战不殆之师()\n")));
}

TEST_F(IdiomPageTest, EmptyInputIsRefusedWithFocusOnTheEdit) {
    idiomSearch(" ");
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("请输入成语，可以用“=”代替不知道的文字。")});
    EXPECT_EQ(window->focusWidget(), control<QLineEdit>("LedtChengYu"));
    EXPECT_TRUE(control<QPushButton>("BtnChengYu")->isEnabled());
}

TEST_F(IdiomPageTest, NoMatchLeavesMemo2AndOneEmptyRow) {
    idiomSearch("爱");
    const QString shown = memo("Memo2");
    idiomSearch("不");
    EXPECT_EQ(memo("Memo2"), shown);
    EXPECT_EQ(control<ResultGrid>("GridChengYu")->rowCount(), 1);
    EXPECT_TRUE(found().isEmpty());
}

TEST_F(IdiomPageTest, TheColumnsFollowTheGridWidth) {
    auto* grid = control<ResultGrid>("GridChengYu");
    // Six idioms in six columns: a second, empty row.
    window->resize(window->width() - grid->width() + 6 * 200 + 50, window->height());
    QCoreApplication::processEvents();
    idiomSearch("=");
    EXPECT_EQ(grid->columnCount(), 6);
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(cell("GridChengYu", 0, 3), QString::fromUtf8("爱屋及乌"));
    EXPECT_EQ(cell("GridChengYu", 1, 0), QString());
    window->resize(window->width() + 200, window->height());
    QCoreApplication::processEvents();
    idiomSearch("=");
    EXPECT_EQ(grid->columnCount(), 7);
    EXPECT_EQ(grid->rowCount(), 1);
}

TEST_F(IdiomPageTest, ARightClickTellsHowManyWereFound) {
    auto* viewport = control<ResultGrid>("GridChengYu")->viewport();
    QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(5, 5));
    idiomSearch("百战");
    QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(messages, (QStringList{QString::fromUtf8("共找到 0 个成语！"),
                                     QString::fromUtf8("共找到 3 个成语！")}));
}

TEST_F(IdiomPageTest, AMissingIndexFileIsNamedInAMessage) {
    window.reset();
    std::filesystem::remove(folder.dat() / "ChengYu.dat");
    openWindow();
    idiomSearch("爱");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(
        messages[0].contains(QString::fromStdString((folder.dat() / "ChengYu.dat").string())));
    EXPECT_TRUE(control<QPushButton>("BtnChengYu")->isEnabled());
}

}  // namespace
}  // namespace lexomir::testing

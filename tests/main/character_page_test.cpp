// The character page: each search from its controls to the grid, the detail
// view in Memo1 and the count on a right click.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "index_record_format.h"
#include "result_grid.h"
#include "window_fixture.h"

namespace lexomir::testing {
namespace {

class CharacterPageTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        openWindow();
    }
    // The item of the list that shows the text.
    int itemOf(const char* list, const char* utf8Text) {
        const int index = control<QComboBox>(list)->findText(QString::fromUtf8(utf8Text));
        EXPECT_GE(index, 0) << utf8Text;
        return index;
    }
    // The filled cells, in grid order; they must come before every empty one.
    QStringList found() {
        QStringList texts = gridTexts("GridXinHua");
        const auto firstEmpty = std::find(texts.begin(), texts.end(), QString());
        EXPECT_TRUE(
            std::all_of(firstEmpty, texts.end(), [](const QString& t) { return t.isEmpty(); }));
        texts.erase(firstEmpty, texts.end());
        return texts;
    }
    void rightClick(const char* grid) {
        QTest::mouseClick(control<ResultGrid>(grid)->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    }
};

struct TypedCase {
    const char* typed;
    std::vector<const char*> found;
};

void PrintTo(const TypedCase& c, std::ostream* out) {
    *out << '"' << c.typed << '"';
}

class TypedSearchTest : public CharacterPageTest,
                        public ::testing::WithParamInterface<TypedCase> {};

TEST_P(TypedSearchTest, FindsTheRecordsInFileOrder) {
    typedSearch(GetParam().typed);
    EXPECT_EQ(found(), utf8List(GetParam().found));
    EXPECT_EQ(control<QProgressBar>("ProgXinHua")->value(), 20823);
    EXPECT_TRUE(control<QPushButton>("Btn1")->isEnabled());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(errors.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    PinyinAndCharacters, TypedSearchTest,
    ::testing::Values(TypedCase{"  zh\t",
                                {"中", "张", "长"}},  // blanks trimmed; a second reading counts
                      TypedCase{"zhang", {"张", "长"}}, TypedCase{"zhangg", {}},
                      TypedCase{"h", {"行", "火", "好"}}, TypedCase{"Zh", {"中", "张", "长"}},
                      TypedCase{"zhāng", {"张"}},  // 长 reads cháng
                      TypedCase{"国中", {"中", "国"}}, TypedCase{"中中", {"中"}},
                      TypedCase{"3水a", {"水"}}, TypedCase{"a中", {}}, TypedCase{"A中", {"中"}}));

TEST_F(CharacterPageTest, APinyinSearchLeavesMemo1AsItWas) {
    control<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("kept"));
    typedSearch("zh");
    EXPECT_EQ(memo("Memo1"), QStringLiteral("kept"));
}

TEST_F(CharacterPageTest, ACharacterSearchShowsTheFirstFoundEntryAtOnce) {
    typedSearch("国中");
    const QString dashes(49, QLatin1Char('-'));
    EXPECT_EQ(memo("Memo1"),
              QString::fromUtf8("\n汉字：中(zhōng  zhong)(部首：丨)(笔画数：4)(五笔：khk)\n") +
                  dashes + QString::fromUtf8("\n简介：中间；当中。\n") + dashes +
                  QString::fromUtf8("\n详解：和四方、上下距离相等的地位，如水中。\n\n"));
    auto* grid = control<ResultGrid>("GridXinHua");
    EXPECT_EQ(grid->currentRow(), 0);
    EXPECT_EQ(grid->currentColumn(), 0);
    EXPECT_EQ(window->focusWidget(), grid);
}

TEST_F(CharacterPageTest, ACharacterSearchThatFindsNothingLeavesMemo1) {
    control<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("kept"));
    typedSearch("Zh!");
    EXPECT_EQ(memo("Memo1"), QStringLiteral("kept"));
    EXPECT_EQ(control<ResultGrid>("GridXinHua")->rowCount(), 1);
}

TEST_F(CharacterPageTest, EmptyInputIsRefusedAndKeepsThePreviousResult) {
    typedSearch("zh");
    typedSearch(" \t ");
    EXPECT_EQ(messages, utf8List({"请输入！"}));
    EXPECT_EQ(window->focusWidget(), control<QLineEdit>("LedtPinYin"));
    EXPECT_EQ(found(), utf8List({"中", "张", "长"}));
    EXPECT_TRUE(control<QPushButton>("Btn1")->isEnabled());
}

TEST_F(CharacterPageTest, TheRadicalSearchNeedsARadicalNotAStrokeHeader) {
    control<QRadioButton>("RdoBuShou")->setChecked(true);
    control<QPushButton>("Btn1")->click();  // 1画 is selected after start-up
    radicalSearch(itemOf("CboBuShou", "10画"), 0);
    EXPECT_EQ(messages, utf8List({"必须选择一个笔画！", "必须选择一个笔画！"}));
    EXPECT_TRUE(control<QPushButton>("Btn1")->isEnabled());
}

struct RadicalCase {
    const char* radical;
    int remaining;
    std::vector<const char*> found;
};

void PrintTo(const RadicalCase& c, std::ostream* out) {
    *out << c.radical << " + " << c.remaining;
}

class RadicalSearchTest : public CharacterPageTest,
                          public ::testing::WithParamInterface<RadicalCase> {};

TEST_P(RadicalSearchTest, FindsByRadicalAndRemainingStrokes) {
    radicalSearch(itemOf("CboBuShou", GetParam().radical), GetParam().remaining);
    EXPECT_EQ(found(), utf8List(GetParam().found));
    EXPECT_TRUE(messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Radicals, RadicalSearchTest,
                         ::testing::Values(RadicalCase{"口", 0, {"口", "叶"}},
                                           RadicalCase{"口", 2, {"叶"}},  // group 3 + 2 = 5 strokes
                                           RadicalCase{"一", 1, {"丁"}}, RadicalCase{"一", 3, {}},
                                           RadicalCase{"女", 3, {"好"}}));

TEST_F(CharacterPageTest, TheStrokeSearchFindsTheTotalChosen) {
    strokeSearch(3);
    EXPECT_EQ(found(), utf8List({"中", "长", "水", "火"}));
}

struct CombinedCase {
    int letter, radical, minStrokes, meaning;
    const char* keywords;
    std::vector<const char*> found;
};

void PrintTo(const CombinedCase& c, std::ostream* out) {
    *out << "items " << c.letter << ' ' << c.radical << ' ' << c.minStrokes << ' ' << c.meaning
         << " \"" << c.keywords << '"';
}

class CombinedSearchTest : public CharacterPageTest,
                           public ::testing::WithParamInterface<CombinedCase> {};

TEST_P(CombinedSearchTest, FindsWhatMeetsEveryCriterionInUse) {
    const CombinedCase c = GetParam();
    control<QComboBox>("CboZiMu2")->setCurrentIndex(c.letter);
    control<QComboBox>("CboBuShou2")->setCurrentIndex(c.radical);
    control<QComboBox>("CboBiHua2")->setCurrentIndex(c.minStrokes);
    control<QComboBox>("CboZiYi")->setCurrentIndex(c.meaning);
    control<QLineEdit>("LedtZiYi")->setText(QString::fromUtf8(c.keywords));
    control<QPushButton>("Btn2")->click();
    EXPECT_EQ(found(), utf8List(c.found));
    EXPECT_EQ(messages,
              c.meaning ? utf8List({"选择了字意查询，速度会比较慢，请耐心等待！"}) : QStringList());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(control<QPushButton>("Btn2")->isEnabled());
}

constexpr int kLetterH = 8;      // "h" in CboZiMu2
constexpr int kRadicalKou = 55;  // 口: cell 54 of the table, after "不使用"

INSTANTIATE_TEST_SUITE_P(
    Criteria, CombinedSearchTest,
    ::testing::Values(
        CombinedCase{0,
                     0,
                     0,
                     0,
                     "",
                     {"中", "国", "张", "长", "一", "丁", "口", "叶", "行", "水", "火", "好"}},
        CombinedCase{kLetterH, 0, 0, 0, "", {"行", "火", "好"}},
        CombinedCase{0, kRadicalKou, 0, 0, "", {"口", "叶"}},
        CombinedCase{0, 0, 6, 0, "", {"国", "张", "行", "好"}},
        CombinedCase{kLetterH, 0, 5, 0, "", {"行", "好"}},
        CombinedCase{0, 0, 0, 1, "水  火", {"水", "火"}},
        CombinedCase{0, 0, 0, 2, " 水 火 ", {"中", "水", "火"}},
        CombinedCase{0, 0, 0, 2, "水\xe3\x80\x80火", {}}));  // a full-width blank does not separate

TEST_F(CharacterPageTest, TheRadicalListIndexMatchesTheTable) {
    EXPECT_EQ(control<QComboBox>("CboBuShou2")->itemText(kRadicalKou), QString::fromUtf8("口"));
    EXPECT_EQ(control<QComboBox>("CboZiMu2")->itemText(kLetterH), QStringLiteral("h"));
}

TEST_F(CharacterPageTest, TheCombinedSearchRefusesAHeaderAndMissingKeywords) {
    control<QComboBox>("CboBuShou2")->setCurrentIndex(1);  // 1画
    control<QPushButton>("Btn2")->click();
    control<QComboBox>("CboBuShou2")->setCurrentIndex(0);
    control<QComboBox>("CboZiYi")->setCurrentIndex(1);
    control<QLineEdit>("LedtZiYi")->setText(QStringLiteral("   "));
    control<QPushButton>("Btn2")->click();
    EXPECT_EQ(messages,
              utf8List({"必须选择一个笔画！",
                        "如果选择了字意查询，请输入包含的关键字，多个关键字用空格隔开！"}));
    EXPECT_EQ(window->focusWidget(), control<QLineEdit>("LedtZiYi"));
    EXPECT_TRUE(control<QPushButton>("Btn2")->isEnabled());
    EXPECT_EQ(cell("GridXinHua", 0, 0), QString());
}

TEST_F(CharacterPageTest, ADoubleClickShowsTheEntryOfThatCell) {
    typedSearch("h");
    doubleClickCell("GridXinHua", 0, 2);  // 好: <br> becomes a line break, <BR> stays
    const QStringList lines = memo("Memo1").split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines[1], QString::fromUtf8("汉字：好(hǎo  hao)(部首：女)(笔画数：6)(五笔：vbg)"));
    EXPECT_EQ(lines[3], QString::fromUtf8("简介：优点多的"));
    EXPECT_EQ(lines[4], QString::fromUtf8("使人满意的"));
    EXPECT_EQ(lines[6], QString::fromUtf8("详解：友爱<BR>和睦"));
    doubleClickCell("GridXinHua", 0, 0);  // replaces, never appends
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：行(")));
    EXPECT_EQ(memo("Memo1").count(QString::fromUtf8("汉字：")), 1);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(CharacterPageTest, ADoubleClickOnAnEmptyCellDoesNothing) {
    typedSearch("h");
    control<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("kept"));
    doubleClickCell("GridXinHua", 0, 3);
    EXPECT_EQ(memo("Memo1"), QStringLiteral("kept"));
}

// The grid is as wide as the page, and the window no narrower than its
// controls, so a result long enough for several rows is written for these.
class CharacterGridLayoutTest : public CharacterPageTest {
  protected:
    // A grid gridWidth wide over an index of `records` records, the fixture's
    // characters over and over; returns the column count the rule gives.
    int reopenWith(int gridWidth, int records) {
        window.reset();
        std::vector<XinHuaIndexRecord> index;
        for (int k = 0; k < records; ++k)
            index.push_back(fixtureCharacters()[k % fixtureCharacters().size()]);
        writeXinHuaIndex(folder.dat() / "XinHua.dat", index, xinhua_record::kRecordCount);
        openWindow();
        auto* grid = control<ResultGrid>("GridXinHua");
        window->resize(window->width() - grid->width() + gridWidth, window->height());
        QCoreApplication::processEvents();
        EXPECT_EQ(grid->width(), gridWidth);
        return gridWidth / 35 - 2;
    }
    QString fixtureCharacter(int k) {
        const auto& characters = fixtureCharacters();
        return QString::fromUtf8(characters[k % characters.size()].character);
    }
};

TEST_F(CharacterGridLayoutTest, TheCellsFollowTheGridWidthRowByRow) {
    const int columns = reopenWith(33 * 35 + 5, 20);  // 31 columns
    control<QPushButton>("Btn2")->click();            // every criterion off
    auto* grid = control<ResultGrid>("GridXinHua");
    EXPECT_EQ(grid->columnCount(), columns);
    EXPECT_EQ(grid->rowCount(), 1);
    window->resize(window->width() + 35, window->height());
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->columnCount(), columns) << "only a search lays the grid out again";

    reopenWith(33 * 35 + 5, 2 * columns + 3);
    control<QPushButton>("Btn2")->click();
    grid = control<ResultGrid>("GridXinHua");
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(cell("GridXinHua", 1, 2), fixtureCharacter(columns + 2));
    EXPECT_EQ(cell("GridXinHua", 2, 2), fixtureCharacter(2 * columns + 2));
    EXPECT_EQ(cell("GridXinHua", 2, 3), QString());
    doubleClickCell("GridXinHua", 0, 2);
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：张(")));

    typedSearch("zh");  // fewer results clear the cells of the longer one
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(static_cast<std::size_t>(found().count()), window->foundCharacters().size());
}

TEST_F(CharacterGridLayoutTest, AnExactMultipleOfTheColumnsLeavesAnEmptyLastRow) {
    const int columns = reopenWith(32 * 35, 2 * 30);  // 30 columns
    ASSERT_EQ(columns, 30);
    control<QPushButton>("Btn2")->click();
    auto* grid = control<ResultGrid>("GridXinHua");
    EXPECT_EQ(grid->columnCount(), 30);
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(gridTexts("GridXinHua").mid(60), QStringList(30, QString()));
}

TEST_F(CharacterPageTest, ARightClickTellsHowManyWereFound) {
    rightClick("GridXinHua");
    typedSearch("zh");
    rightClick("GridXinHua");
    QTest::mouseClick(control<ResultGrid>("GridXinHua")->viewport(), Qt::LeftButton, {},
                      QPoint(5, 5));
    typedSearch("Zh!");
    rightClick("GridXinHua");
    EXPECT_EQ(messages, utf8List({"共找到 0 个汉字！", "共找到 3 个汉字！", "共找到 0 个汉字！"}));
}

TEST_F(CharacterPageTest, AMissingIndexFileIsNamedInAMessage) {
    window.reset();
    std::filesystem::remove(folder.dat() / "XinHua.dat");
    openWindow();
    typedSearch("zh");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(
        messages[0].contains(QString::fromStdString((folder.dat() / "XinHua.dat").string())))
        << messages[0].toStdString();
    EXPECT_TRUE(control<QPushButton>("Btn1")->isEnabled());
}

TEST_F(CharacterPageTest, AShortIndexFileIsReportedAndWhatWasReadIsShown) {
    window.reset();
    std::filesystem::resize_file(folder.dat() / "XinHua.dat", 57 * 5 + 20);
    openWindow();
    typedSearch("zh");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("XinHua.dat")));
    EXPECT_EQ(found(), utf8List({"中", "张", "长"}));
}

TEST_F(CharacterPageTest, ADatabaseErrorIsShownAndTheProgramGoesOn) {
    std::filesystem::remove(folder.dat() / "XinHua.db");
    typedSearch("国");  // the first entry is shown at once, from the missing database
    ASSERT_EQ(errors.size(), 1);
    EXPECT_FALSE(errors[0].isEmpty());
    EXPECT_TRUE(control<QPushButton>("Btn1")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("Btn2")->isEnabled());
    EXPECT_EQ(found(), utf8List({"国"}));
    folder.writeDictionaries();
    doubleClickCell("GridXinHua", 0, 0);
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：国(")));
}

}  // namespace
}  // namespace lexomir::testing

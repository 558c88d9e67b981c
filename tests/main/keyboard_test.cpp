// The window from the keyboard: where the focus starts and where Tab takes
// it, Enter in each field and on a found entry, search as you type, the menu
// keys, and the size of the detail boxes' text.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "result_grid.h"
#include "window_fixture.h"

namespace lexomir::testing {
namespace {

class KeyboardTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        openWindow();
        activateWindow();
    }
    QString focused() const {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }
    int detailTextPixels(const char* memoName) {
        return control<QPlainTextEdit>(memoName)->font().pixelSize();
    }
};

struct EnterCase {
    const char* field;
    const char* typed;
    bool idioms;
    std::vector<std::int32_t> found;
};

void PrintTo(const EnterCase& c, std::ostream* out) {
    *out << c.field << ' ' << c.typed;
}

class EnterInAFieldTest : public KeyboardTest, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(EnterInAFieldTest, SearchesAsItsButtonDoes) {
    const EnterCase& c = GetParam();
    EXPECT_EQ(focused(), QStringLiteral("LedtPinYin")) << "the focus starts in 拼音或汉字";
    control<QComboBox>("CboZiYi")->setCurrentIndex(1);
    auto* field = control<QLineEdit>(c.field);
    field->setFocus();
    field->setText(QString::fromUtf8(c.typed));
    press(Qt::Key_Return);
    EXPECT_EQ(c.idioms ? window->foundIdioms() : window->foundCharacters(), c.found);
}

INSTANTIATE_TEST_SUITE_P(Fields, EnterInAFieldTest,
                         ::testing::Values(EnterCase{"LedtPinYin", "zh", false, {1, 3, 4}},
                                           EnterCase{"LedtZiYi", "水", false, {10}},
                                           EnterCase{"LedtChengYu", "百战", true, {1, 2, 6}}));

class SearchAsYouTypeTest : public KeyboardTest, public ::testing::WithParamInterface<EnterCase> {};

// No Enter either; the focus stays in the field for the next keystroke.
TEST_P(SearchAsYouTypeTest, APauseInTypingRunsTheFieldsSearch) {
    const EnterCase& c = GetParam();
    auto* field = control<QLineEdit>(c.field);
    control<QTabWidget>("Page1")->setCurrentIndex(c.idioms ? 1 : 0);
    field->setFocus();
    typeInto(field, c.typed);
    const auto found = [&] { return c.idioms ? window->foundIdioms() : window->foundCharacters(); };
    EXPECT_TRUE(found().empty()) << "before the pause";
    EXPECT_TRUE(QTest::qWaitFor([&] { return found() == c.found; }, 2000));
    EXPECT_EQ(focused(), QLatin1String(c.field));
}

INSTANTIATE_TEST_SUITE_P(Fields, SearchAsYouTypeTest,
                         ::testing::Values(EnterCase{"LedtPinYin", "zh", false, {1, 3, 4}},
                                           EnterCase{"LedtPinYin", "国", false, {2}},
                                           EnterCase{"LedtChengYu", "百战", true, {1, 2, 6}}));

TEST_F(KeyboardTest, TabRunsThroughBothGroupsInReadingOrderAndPassesOverTheGrid) {
    typedSearch("zh");
    control<QLineEdit>("LedtPinYin")->setFocus();
    QStringList order;
    for (int i = 0; i < 20 && focused() != QLatin1String("Memo1"); ++i) {
        press(Qt::Key_Tab);
        order.append(focused());
    }
    const auto at = [&](const char* name) { return order.indexOf(QLatin1String(name)); };
    ASSERT_GE(at("LedtZiYi"), 0) << order.join(' ').toStdString();
    EXPECT_EQ(at("BtnShouXie"), 0) << "the handwriting pad's button beside 拼音或汉字";
    EXPECT_LT(at("CboBuShou"), at("CboAllBiHua"));
    EXPECT_LT(at("Btn1"), at("CboZiYi"));
    EXPECT_LT(at("CboZiYi"), at("CboBiHua2"));
    EXPECT_LT(at("CboBiHua2"), at("LedtZiYi"));
    EXPECT_EQ(at("Btn2"), at("LedtZiYi") + 1);
    // One Tab into the grid and the next out of it, not from cell to cell.
    EXPECT_EQ(at("GridXinHua"), at("Btn2") + 1);
    EXPECT_EQ(at("Memo1"), at("GridXinHua") + 1) << order.join(' ').toStdString();
}

TEST_F(KeyboardTest, EnterOnAFoundEntryShowsItAndCtrlCCopiesIt) {
    typedSearch("zh");
    auto* grid = control<ResultGrid>("GridXinHua");
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    press(Qt::Key_Return);
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：张(")))
        << memo("Memo1").toStdString();
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("张"));
    grid->setCurrentCell(0, 5);  // past the found entries
    press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：张(")));
}

// F1 opens the instructions; Esc closes them, and the About box too.
TEST_F(KeyboardTest, F1OpensTheInstructionsAndEscClosesTheDialogs) {
    QStringList closedByEsc;
    const auto escapeTheDialog = [&] {
        QTimer::singleShot(0, window.get(), [&] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            QTest::keyClick(modal, Qt::Key_Escape);
            if (!modal->isVisible()) closedByEsc.append(modal->windowTitle());
        });
    };
    escapeTheDialog();
    press(Qt::Key_F1);
    escapeTheDialog();
    control<QAction>("N2")->trigger();
    EXPECT_EQ(closedByEsc, utf8List({"使用说明", "关于软件"}));
}

TEST_F(KeyboardTest, CtrlQClosesTheWindowAndWritesTheSettings) {
    press(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
    for (const char* key : {"left", "top", "width", "height", "state", "GridXinHua", "GridChengYu"})
        EXPECT_FALSE(settingsValue(folder.settingsFile(), QString::fromLatin1(key)).isEmpty())
            << key;
}

TEST_F(KeyboardTest, TheDetailTextGrowsShrinksAndIsRememberedApartFromTheWindowKeys) {
    press(Qt::Key_Equal, Qt::ControlModifier);
    press(Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    press(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(detailTextPixels("Memo1"), 20);
    EXPECT_EQ(detailTextPixels("Memo2"), 20);
    closeWindow();
    EXPECT_NE(folder.readSettings().find("[detail]\ntextPixels=20"), std::string::npos)
        << folder.readSettings();

    window.reset();
    openWindow();
    EXPECT_EQ(detailTextPixels("Memo1"), 20);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    press(Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(detailTextPixels("Memo2"), 19);
    closeWindow();
    EXPECT_NE(folder.readSettings().find("textPixels=19"), std::string::npos);
    EXPECT_EQ(settingsValue(folder.settingsFile(), QStringLiteral("textPixels")), QString())
        << "not one of the window's keys";
}

}  // namespace
}  // namespace lexomir::testing

// Start-up and close: the lists FormShow fills, Qt's texts in Chinese and
// dat/set.ini.
#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTest>

#include "grid_layout.h"
#include "result_grid.h"
#include "splitter_bar.h"
#include "window_fixture.h"

namespace lexomir::testing {
namespace {

using StartupTest = WindowTest;

TEST_F(StartupTest, FormShowFillsTheSevenListsAndSelectsTheirFirstItems) {
    openWindow();
    struct Expected {
        const char* list;
        int count;
        const char* first;
        const char* last;
    };
    for (const Expected& e :
         {Expected{"CboBuShou", 294, "1画", "龠"}, Expected{"CboBuShou2", 295, "不使用", "龠"},
          Expected{"CboZiMu2", 27, "不使用", "z"}, Expected{"CboBiHua", 70, "0", "69"},
          Expected{"CboBiHua2", 70, "不使用", "69"}, Expected{"CboAllBiHua", 69, "1", "69"},
          Expected{"CboZiYi", 3, "不使用", "大范围"}}) {
        auto* list = control<QComboBox>(e.list);
        EXPECT_EQ(list->count(), e.count) << e.list;
        EXPECT_EQ(list->currentIndex(), 0) << e.list;
        EXPECT_EQ(list->itemText(0), QString::fromUtf8(e.first)) << e.list;
        EXPECT_EQ(list->itemText(list->count() - 1), QString::fromUtf8(e.last)) << e.list;
        EXPECT_FALSE(list->isEditable()) << e.list;
    }
    // Item i of the radical list is cell i of the table: 一 opens group 1, 十 group 2.
    auto* radicals = control<QComboBox>("CboBuShou");
    EXPECT_EQ(radicals->itemText(1), QString::fromUtf8("一"));
    EXPECT_EQ(radicals->itemText(9), QString::fromUtf8("2画"));
    EXPECT_EQ(radicals->itemText(10), QString::fromUtf8("十"));
    EXPECT_EQ(control<QComboBox>("CboBuShou2")->itemText(11), QString::fromUtf8("十"));
    EXPECT_EQ(control<QComboBox>("CboZiMu2")->itemText(1), QStringLiteral("a"));
}

TEST_F(StartupTest, TheCaptionIsTheTitleAndTheWebAddress) {
    openWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Lexomir https://lexomir.example.org/ "));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Lexomir"));
}

TEST(QtTexts, TheStandardButtonsOfAMessageBoxReadChinese) {
    QMessageBox box(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Ok);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QString::fromUtf8("确定"))
        << "Qt's qtbase_zh_CN translation (Debian qt6-translations-l10n) is not loaded";
}

TEST_F(StartupTest, FormShowSetsTheProgressRanges) {
    openWindow();
    EXPECT_EQ(control<QProgressBar>("ProgXinHua")->minimum(), 1);
    EXPECT_EQ(control<QProgressBar>("ProgXinHua")->maximum(), 20823);
    EXPECT_EQ(control<QProgressBar>("ProgChengYu")->minimum(), 1);
    EXPECT_EQ(control<QProgressBar>("ProgChengYu")->maximum(), 13000);
}

// The named controls of the page shown that the window's edge cuts, that
// are squeezed below the least size their layout promises them, or that
// overlap another control.
QStringList cutControls(QWidget& window) {
    struct Shown {
        QWidget* control;
        QRect place;
    };
    std::vector<Shown> shown;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisible() || control->objectName().isEmpty() ||
            control->objectName().startsWith(QLatin1String("qt_")) || control->isWindow())
            continue;
        shown.push_back({control, QRect(control->mapTo(&window, QPoint(0, 0)), control->size())});
    }
    // As a layout takes it: the size hint where the policy lets nothing
    // shrink below it, an explicit minimum before either.
    const auto least = [](const QWidget& control) {
        const QSizePolicy policy = control.sizePolicy();
        const QSize hint = control.sizeHint();
        const QSize minimumHint = control.minimumSizeHint();
        QSize size(policy.horizontalPolicy() & QSizePolicy::ShrinkFlag ? minimumHint.width()
                                                                       : hint.width(),
                   policy.verticalPolicy() & QSizePolicy::ShrinkFlag ? minimumHint.height()
                                                                     : hint.height());
        if (control.minimumWidth() > 0) size.setWidth(control.minimumWidth());
        if (control.minimumHeight() > 0) size.setHeight(control.minimumHeight());
        return size.boundedTo(control.maximumSize());
    };
    QStringList cut;
    for (const Shown& s : shown) {
        const QSize needed = least(*s.control);
        const bool squeezed =
            s.place.width() < needed.width() || s.place.height() < needed.height();
        const bool overlaps = std::any_of(shown.begin(), shown.end(), [&](const Shown& other) {
            return other.control != s.control && !other.control->isAncestorOf(s.control) &&
                   !s.control->isAncestorOf(other.control) && other.place.intersects(s.place);
        });
        if (!window.rect().contains(s.place) || squeezed || overlaps)
            cut.append(s.control->objectName());
    }
    return cut;
}

TEST_F(StartupTest, FirstStartShowsEveryControlWholeAndCloseWritesAllSevenKeys) {
    openWindow();
    EXPECT_EQ(window->pos(), QPoint(10, 10));
    // The defaults, 400 by 400, are raised to the least size at which every
    // control shows.
    EXPECT_EQ(window->size(), window->minimumSize());
    EXPECT_GT(window->minimumWidth(), 400);
    EXPECT_GT(window->minimumHeight(), 400);
    EXPECT_TRUE(cutControls(*window).isEmpty()) << cutControls(*window).join(' ').toStdString();
    control<QTabWidget>("Page1")->setCurrentIndex(1);
    EXPECT_TRUE(cutControls(*window).isEmpty()) << cutControls(*window).join(' ').toStdString();
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(control<ResultGrid>("GridXinHua")->height(), 160);
    EXPECT_EQ(control<ResultGrid>("GridChengYu")->height(), 160);
    const QSize least = window->minimumSize();
    closeWindow();
    const std::string ini = folder.readSettings();
    EXPECT_NE(ini.find("[window]"), std::string::npos);
    for (const std::string& line :
         {std::string("left=10"), std::string("top=10"), "width=" + std::to_string(least.width()),
          "height=" + std::to_string(least.height()), std::string("state=0"),
          std::string("GridXinHua=160"), std::string("GridChengYu=160")}) {
        EXPECT_NE(ini.find(line), std::string::npos) << line << " in\n" << ini;
    }
    EXPECT_EQ(ini.find("[detail]"), std::string::npos) << "the text size was never changed";
    EXPECT_TRUE(messages.isEmpty());
}

// Without Strokes.db the stroke panel beside Memo1 says why in its note,
// which must show whole too, at the least size for each text size.
TEST_F(StartupTest, TheStrokeNoteAndEveryControlShowWholeAtTheLeastSizeForAnyTextSize) {
    openWindow();
    typedSearch("中");
    auto* note = control<QLabel>("LabelStrokeNote");
    ASSERT_TRUE(note->isVisible());
    for (const char* textSize : {"ActSmallerText", "ActDefaultText", "ActLargerText"}) {
        for (int i = 0; i < 6; ++i) control<QAction>(textSize)->trigger();
        window->resize(window->minimumSize());
        QCoreApplication::processEvents();
        EXPECT_TRUE(cutControls(*window).isEmpty())
            << textSize << ": " << cutControls(*window).join(' ').toStdString();
        EXPECT_LE(note->heightForWidth(note->width()), note->height())
            << textSize << ": " << note->text().toStdString();
    }
}

TEST_F(StartupTest, EachDetailBoxKeepsFiveLinesInView) {
    openWindow();
    for (const char* name : {"Memo1", "Memo2"}) {
        auto* memo = control<QPlainTextEdit>(name);
        EXPECT_GE(memo->minimumHeight(), 5 * memo->fontMetrics().lineSpacing()) << name;
    }
    control<SplitterBar>("Splitter1")->moveBy(10000);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_GE(control<QPlainTextEdit>("Memo1")->height(),
              5 * control<QPlainTextEdit>("Memo1")->fontMetrics().lineSpacing());
}

TEST_F(StartupTest, SavedGeometryAndGridHeightsComeBack) {
    folder.writeSettings(
        "[window]\nleft=40\ntop=50\nwidth=1200\nheight=700\nstate=0\nGridXinHua=210\nGridChengYu="
        "190\n");
    openWindow();
    EXPECT_EQ(window->pos(), QPoint(40, 50));
    EXPECT_EQ(window->size(), QSize(1200, 700));
    EXPECT_EQ(control<ResultGrid>("GridXinHua")->height(), 210);
    EXPECT_EQ(control<ResultGrid>("GridChengYu")->height(), 190);
    closeWindow();
    for (const auto& [key, value] : {std::pair{"left", "40"},
                                     {"top", "50"},
                                     {"width", "1200"},
                                     {"height", "700"},
                                     {"GridXinHua", "210"},
                                     {"GridChengYu", "190"}}) {
        EXPECT_EQ(settingsValue(folder.settingsFile(), QString::fromLatin1(key)),
                  QString::fromLatin1(value))
            << key;
    }
}

struct GridHeightCase {
    const char* stored;
    int shown;
};

// Test names carry the stored text rather than the bytes of a pointer.
void PrintTo(const GridHeightCase& c, std::ostream* out) {
    *out << "GridXinHua=" << c.stored;
}

class GridHeightFloorTest : public WindowTest,
                            public ::testing::WithParamInterface<GridHeightCase> {};

TEST_P(GridHeightFloorTest, AStoredHeightOf30OrLessShowsAs30) {
    const GridHeightCase c = GetParam();
    folder.writeSettings(std::string("[window]\nGridXinHua=") + c.stored +
                         "\nGridChengYu=" + c.stored + "\n");
    openWindow();
    EXPECT_EQ(control<ResultGrid>("GridXinHua")->height(), c.shown);
    EXPECT_EQ(control<ResultGrid>("GridChengYu")->height(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Heights, GridHeightFloorTest,
                         ::testing::Values(GridHeightCase{"30", 30}, GridHeightCase{"0", 30},
                                           GridHeightCase{"-12", 30}, GridHeightCase{"31", 31},
                                           GridHeightCase{"tall", 160}, GridHeightCase{"", 160}));

TEST_F(StartupTest, ClosingMaximisedWritesTheSizeTheWindowReturnsTo) {
    folder.writeSettings("[window]\nleft=40\ntop=50\nwidth=1200\nheight=700\nstate=2\n");
    openWindow();
    EXPECT_TRUE(window->isMaximized());
    control<SplitterBar>("Splitter1")->moveBy(25);
    closeWindow();
    const auto value = [&](const char* key) {
        return settingsValue(folder.settingsFile(), QString::fromLatin1(key));
    };
    EXPECT_EQ(value("state"), QStringLiteral("2"));
    EXPECT_EQ(value("GridXinHua"), QStringLiteral("185"));
    EXPECT_EQ(value("GridChengYu"), QStringLiteral("160"));
    EXPECT_EQ(value("left"), QStringLiteral("40"));
    EXPECT_EQ(value("top"), QStringLiteral("50"));
    EXPECT_EQ(value("width"), QStringLiteral("1200"));
    EXPECT_EQ(value("height"), QStringLiteral("700"));
}

// Shown normal and resized, then maximised: the close writes the size the
// user gave, not the maximised one.
TEST_F(StartupTest, ASizeGivenBeforeMaximisingIsTheOneWritten) {
    openWindow();
    window->resize(window->width() + 45, window->height() + 70);
    QTest::qWait(500);  // the size kept a moment
    const QSize given = window->size();
    window->showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window->isMaximized());
    closeWindow();
    EXPECT_EQ(settingsValue(folder.settingsFile(), QStringLiteral("width")),
              QString::number(given.width()));
    EXPECT_EQ(settingsValue(folder.settingsFile(), QStringLiteral("height")),
              QString::number(given.height()));
    EXPECT_EQ(settingsValue(folder.settingsFile(), QStringLiteral("state")), QStringLiteral("2"));
}

TEST_F(StartupTest, AnUnknownStateReadsAsNormal) {
    folder.writeSettings("[window]\nstate=7\n");
    openWindow();
    EXPECT_FALSE(window->isMaximized());
    EXPECT_FALSE(window->isMinimized());
    closeWindow();
    EXPECT_EQ(settingsValue(folder.settingsFile(), QStringLiteral("state")), QStringLiteral("0"));
}

TEST_F(StartupTest, GeometryThatWouldHideTheTitleBarFallsBackToTheDefaults) {
    folder.writeSettings(
        "[window]\nleft=20000\ntop=-9000\nwidth=1100\nheight=700\nGridXinHua=150\n");
    openWindow();
    EXPECT_EQ(window->pos(), QPoint(10, 10));
    EXPECT_EQ(window->size(), window->minimumSize());
    EXPECT_EQ(control<ResultGrid>("GridXinHua")->height(), 150);
}

TEST_F(StartupTest, AMissingDataFolderIsReportedOnceAtCloseAndTheWindowStillCloses) {
    std::filesystem::remove_all(folder.dat());
    openWindow();
    closeWindow();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Unable to write to ") +
                               QString::fromStdString(folder.settingsFile().string()));
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(std::filesystem::exists(folder.dat()));
}

TEST_F(StartupTest, ASettingsFileThatCannotBeWrittenIsReportedOnce) {
    std::filesystem::create_directory(folder.settingsFile());  // in the way of the file
    openWindow();
    closeWindow();
    EXPECT_EQ(messages, QStringList{QStringLiteral("Unable to write to ") +
                                    QString::fromStdString(folder.settingsFile().string())});
    EXPECT_FALSE(window->isVisible());
}

TEST_F(StartupTest, DraggingASplitterMovesHeightBetweenGridAndMemo) {
    folder.writeSettings("[window]\nheight=600\n");
    openWindow();
    auto* grid = control<ResultGrid>("GridXinHua");
    auto* memo = control<QPlainTextEdit>("Memo1");
    const auto settle = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest); };
    settle();
    const int total = grid->height() + memo->height();
    control<SplitterBar>("Splitter1")->moveBy(40);
    settle();
    EXPECT_EQ(grid->height(), 200);
    EXPECT_EQ(grid->height() + memo->height(), total);
    // The memo keeps a usable strip; the grid never folds away.
    control<SplitterBar>("Splitter1")->moveBy(10000);
    settle();
    EXPECT_EQ(memo->height(), memo->minimumHeight());
    control<SplitterBar>("Splitter1")->moveBy(-10000);
    settle();
    EXPECT_EQ(grid->height(), kMinimumPaneHeight);
}

TEST_F(StartupTest, ResizingTheWindowChangesOnlyTheMemoHeights) {
    openWindow();
    auto* grid = control<ResultGrid>("GridXinHua");
    auto* memo = control<QPlainTextEdit>("Memo1");
    const int memoBefore = memo->height();
    window->resize(window->width() + 100, window->height() + 120);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->height(), 160);
    EXPECT_EQ(memo->height(), memoBefore + 120);
    EXPECT_EQ(grid->width(), control<QWidget>("Memo1Row")->width());
}

}  // namespace
}  // namespace lexomir::testing

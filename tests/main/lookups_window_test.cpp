// What the window keeps of what it shows: back and forward on each page, the
// history and word lists, ★ across runs and the export; a stale search as you
// type stopped; the clipboard lookup, off until the user switches it on.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "detail_bar.h"
#include "looked_up_list.h"
#include "result_grid.h"
#include "window_fixture.h"

namespace lexomir::testing {
namespace {

class LookupsTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        openWindow();
        activateWindow();
    }
    QToolButton* barButton(const char* bar, const char* name) {
        return control<DetailBar>(bar)->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    // The first column of a list window's rows, after opening it.
    QStringList listed(const char* action, const char* listName) {
        control<QAction>(action)->trigger();
        const QAbstractItemModel* rows = control<QTableView>(listName)->model();
        QStringList texts;
        for (int row = 0; row < rows->rowCount(); ++row)
            texts.append(rows->index(row, 0).data().toString());
        return texts;
    }
    void clickListed(const char* listName, int row) {
        auto* list = control<QTableView>(listName);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    }
};

TEST_F(LookupsTest, AltLeftAndRightWalkWhatEachPageShowedAndTheHistoryReopensAnEntry) {
    typedSearch("zh");
    doubleClickCell("GridXinHua", 0, 0);
    doubleClickCell("GridXinHua", 0, 1);
    press(Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：中(")))
        << memo("Memo1").toStdString();
    EXPECT_FALSE(barButton("DetailBar1", "BtnBack")->isEnabled());
    barButton("DetailBar1", "BtnForward")->click();
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：张(")));
    idiomSearch("百战");
    control<QTabWidget>("Page1")->setCurrentIndex(1);
    press(Qt::Key_Left, Qt::AltModifier);  // the idiom page has shown one entry only
    EXPECT_TRUE(memo("Memo2").startsWith(QString::fromUtf8("\n成语：百战不殆(")));

    EXPECT_EQ(listed("ActHistory", "HistoryList"), utf8List({"百战不殆", "张", "中", "张", "中"}));
    clickListed("HistoryList", 2);
    EXPECT_EQ(control<QTabWidget>("Page1")->currentIndex(), 0);
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：中(")));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(LookupsTest, AStarredEntryIsListedAtTheNextStartAndExportedWithItsReading) {
    typedSearch("中");
    press(Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(barButton("DetailBar1", "BtnWord")->isChecked());
    idiomSearch("一心");
    barButton("DetailBar2", "BtnWord")->click();
    closeWindow();
    window.reset();
    openWindow();

    EXPECT_EQ(listed("ActWords", "WordList"), utf8List({"中", "一心一意"}));
    clickListed("WordList", 0);
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：中(")));
    EXPECT_TRUE(barButton("DetailBar1", "BtnWord")->isChecked());
    const std::filesystem::path file = folder.root() / "words.txt";
    window->findChild<LookupControls*>()->setExportFileChooser([&](QWidget*) {
        return LookupControls::ExportTarget{file, WordListFormat::Text};
    });
    control<QPushButton>("BtnExportWords")->click();
    EXPECT_EQ(readFileBytes(file),
              "中\tzhōng\t中间；当中。\n一心一意\tyī xīn yī yì\t只有一个心眼儿。\n");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// Typing on during a scan stops it: the grid is filled once, for the newest text.
TEST_F(LookupsTest, AKeystrokeDuringTheScanStopsItAndOnlyTheNewestTextIsSearched) {
    auto* field = control<QLineEdit>("LedtPinYin");
    int fills = 0;
    QObject::connect(control<ResultGrid>("GridXinHua")->model(), &QAbstractItemModel::modelReset,
                     [&] { ++fills; });
    window->forceEventPasses(1, 2);
    QTimer typeOn;
    typeOn.setInterval(0);
    QObject::connect(&typeOn, &QTimer::timeout, [&] {
        if (!window->isScanning()) return;
        typeOn.stop();
        typeInto(field, "e");
    });
    typeOn.start();
    typeInto(field, "y");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return window->foundCharacters() == std::vector<std::int32_t>{8}; }, 3000));
    EXPECT_EQ(fills, 1);
}

TEST_F(LookupsTest, WatchedCopiesAreLookedUpOnTheirPageAndTheChoiceIsKeptInItsOwnSection) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8("中"));
    QTest::qWait(2 * SearchAsYouType::kPause.count());
    EXPECT_TRUE(window->foundCharacters().empty()) << "off by default";
    control<QAction>("ActWatchClipboard")->trigger();
    for (const auto& [copied, idioms, found] :
         {std::tuple{"中国", false, std::vector<std::int32_t>{1, 2}},
          std::tuple{" 百战不殆\n", true, std::vector<std::int32_t>{1, 6}},
          std::tuple{"愛不釋手", true, std::vector<std::int32_t>{3}}}) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(copied));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return (idioms ? window->foundIdioms() : window->foundCharacters()) == found; },
            2000))
            << copied;
        EXPECT_EQ(control<QTabWidget>("Page1")->currentIndex(), idioms ? 1 : 0) << copied;
    }
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：中(")));
    closeWindow();
    EXPECT_NE(folder.readSettings().find("[clipboard]\nwatch=1"), std::string::npos)
        << folder.readSettings();
    EXPECT_EQ(settingsValue(folder.settingsFile(), QStringLiteral("watch")), QString());
    window.reset();
    openWindow();
    EXPECT_TRUE(control<QAction>("ActWatchClipboard")->isChecked());
}

}  // namespace
}  // namespace lexomir::testing

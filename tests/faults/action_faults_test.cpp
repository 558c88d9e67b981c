// What the user may do while a scan runs. A scan processes events before
// every record, so any handler can run in the middle of one; each kind of
// scan is tried, because they end differently: some show the first entry,
// one reads the database for every record, one reads the other index file.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <ostream>

#include "fault_fixture.h"
#include "gbk_qt.h"
#include "index_record_format.h"
#include "messages.h"
#include "open_files.h"
#include "result_grid.h"
#include "search_plans.h"

namespace lexomir::testing {
namespace {

enum class ScanKind {
    Pinyin,
    TypedCharacters,
    Radical,
    TotalStrokes,
    Combined,
    CombinedWithMeaning,
    Idiom,
};

constexpr ScanKind kEveryScan[] = {
    ScanKind::Pinyin,   ScanKind::TypedCharacters,     ScanKind::Radical, ScanKind::TotalStrokes,
    ScanKind::Combined, ScanKind::CombinedWithMeaning, ScanKind::Idiom};

std::string nameOf(ScanKind kind) {
    switch (kind) {
        case ScanKind::Pinyin:
            return "Pinyin";
        case ScanKind::TypedCharacters:
            return "TypedCharacters";
        case ScanKind::Radical:
            return "Radical";
        case ScanKind::TotalStrokes:
            return "TotalStrokes";
        case ScanKind::Combined:
            return "Combined";
        case ScanKind::CombinedWithMeaning:
            return "CombinedWithMeaning";
        case ScanKind::Idiom:
            return "Idiom";
    }
    return "Unknown";
}

void PrintTo(ScanKind kind, std::ostream* out) {
    *out << nameOf(kind);
}

std::string scanName(const ::testing::TestParamInfo<ScanKind>& info) {
    return nameOf(info.param);
}

// What a scan leaves on its page: the found list, the grid and the memo.
struct ScanResult {
    std::vector<std::int32_t> found;
    QStringList grid;
    QString memo;
    bool operator==(const ScanResult&) const = default;
};

void PrintTo(const ScanResult& result, std::ostream* out) {
    *out << result.found.size() << " found; grid ["
         << result.grid.join(QLatin1Char(' ')).toStdString() << "]; memo \""
         << result.memo.left(40).toStdString() << "\"";
}

QString utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Runs an action once, from the first event processing inside a scan at
// which the condition holds.
class ScanProbe {
  public:
    ScanProbe(const TFrmMain& window, std::function<bool()> condition,
              std::function<void()> action) {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this, &window, condition, action] {
            if (!window.isScanning() || !condition()) return;
            m_timer.stop();
            m_fired = true;
            action();
        });
        m_timer.start();
    }
    ~ScanProbe() { EXPECT_TRUE(m_fired) << "the scan ended before the probe's moment"; }
    ScanProbe(const ScanProbe&) = delete;
    ScanProbe& operator=(const ScanProbe&) = delete;

  private:
    QTimer m_timer;
    bool m_fired = false;
};

class ScanFaultTest : public FaultTest {
  protected:
    void SetUp() override {
        FaultTest::SetUp();
        openWindow();
        // The fixture's records are all at the start of the files: the scan
        // stops at each of them, so that the probes act part-way.
        window->forceEventPasses(1, kFixtureRecords);
    }
    static constexpr std::int32_t kFixtureRecords = 20;

    virtual ScanKind kind() const = 0;
    bool scansIdioms() const { return kind() == ScanKind::Idiom; }
    bool readsTheDatabase() const { return kind() == ScanKind::CombinedWithMeaning; }
    const char* scannedGrid() const { return scansIdioms() ? "GridChengYu" : "GridXinHua"; }
    const char* otherGrid() const { return scansIdioms() ? "GridXinHua" : "GridChengYu"; }
    const char* scannedMemo() const { return scansIdioms() ? "Memo2" : "Memo1"; }
    const char* otherMemo() const { return scansIdioms() ? "Memo1" : "Memo2"; }
    std::vector<std::int32_t> foundSoFar() const {
        return scansIdioms() ? window->foundIdioms() : window->foundCharacters();
    }

    // The search of this kind, started the way the user starts it; returns
    // when the handler ends.
    void startScan() {
        switch (kind()) {
            case ScanKind::Pinyin:
                return typedSearch("zh");
            case ScanKind::TypedCharacters:
                return typedSearch("中国");
            case ScanKind::Radical:
                return radicalSearch(
                    control<QComboBox>("CboBuShou")->findText(QString::fromUtf8("口")), 0);
            case ScanKind::TotalStrokes:
                return strokeSearch(3);
            case ScanKind::Combined:
                control<QComboBox>("CboZiMu2")->setCurrentIndex(8);  // h
                control<QComboBox>("CboZiYi")->setCurrentIndex(0);
                control<QPushButton>("Btn2")->click();
                return;
            case ScanKind::CombinedWithMeaning:
                control<QComboBox>("CboZiMu2")->setCurrentIndex(0);
                return meaningSearch("水 火");
            case ScanKind::Idiom:
                return idiomSearch("爱");
        }
    }

    ScanResult result() {
        return ScanResult{foundSoFar(), gridTexts(scannedGrid()), memo(scannedMemo())};
    }

    // Both pages show a result unlike any scan's, and both memos a text of
    // their own, so a refilled grid or a stale entry shows.
    void showOtherResults() {
        typedSearch("guo");
        idiomSearch("百");
        control<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("kept 1"));
        control<QPlainTextEdit>("Memo2")->setPlainText(QStringLiteral("kept 2"));
    }

    // From a start of showOtherResults(), with nothing else going on.
    ScanResult resultAlone() {
        showOtherResults();
        startScan();
        ScanResult alone = result();
        EXPECT_GE(alone.found.size(), 2u) << "the probes need a scan that finds several";
        showOtherResults();
        messages.clear();
        return alone;
    }

    // The meaning search tells the user it is slow before it starts.
    QStringList noticesOfTheScan() const {
        return readsTheDatabase() ? QStringList{utf8(messages::kMeaningSearchIsSlow)}
                                  : QStringList{};
    }

    // At the first event processing after the scan found its first entry:
    // the list is part-way, and the next match is at most a few records on.
    std::unique_ptr<ScanProbe> onceTheScanFoundOne(std::function<void()> action) {
        return std::make_unique<ScanProbe>(
            *window, [this] { return !foundSoFar().empty(); }, std::move(action));
    }

    void expectSearchButtonsEnabled(bool enabled) {
        for (const char* name : {"Btn1", "Btn2", "BtnChengYu"})
            EXPECT_EQ(control<QPushButton>(name)->isEnabled(), enabled) << name;
    }

    std::vector<std::filesystem::path> dataFiles() const {
        std::vector<std::filesystem::path> files;
        for (const char* name : {"XinHua.dat", "ChengYu.dat", "XinHua.db", "ChengYu.db"})
            files.push_back(folder.dat() / name);
        return files;
    }
};

class EachScan : public ScanFaultTest, public ::testing::WithParamInterface<ScanKind> {
  protected:
    ScanKind kind() const override { return GetParam(); }
};

// Closing the window mid-scan: the scan reads no further record, the window
// closes as it always does, and the next start finds everything in order.
using ClosingDuringScanFault = EachScan;

TEST_P(ClosingDuringScanFault, StopsTheScanAtOnceAndClosesCleanly) {
    const FolderSnapshot before = FolderSnapshot::withoutLookups(folder.root());
    showOtherResults();
    const QStringList shownGrid = gridTexts(scannedGrid());
    const QString shownMemo = memo(scannedMemo());
    messages.clear();
    std::size_t foundAtClose = 0;
    {
        const auto probe = onceTheScanFoundOne([&] {
            foundAtClose = foundSoFar().size();
            closeWindow();
        });
        startScan();
    }
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->isScanning());
    EXPECT_EQ(foundSoFar().size(), foundAtClose) << "records were read after the close";
    EXPECT_EQ(gridTexts(scannedGrid()), shownGrid);
    EXPECT_EQ(memo(scannedMemo()), shownMemo);
    EXPECT_EQ(messages, noticesOfTheScan());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    expectSearchButtonsEnabled(true);
    for (const char* key : {"left", "top", "width", "height", "state", "GridXinHua", "GridChengYu"})
        EXPECT_FALSE(settingsValue(folder.settingsFile(), QString::fromLatin1(key)).isEmpty())
            << key;
    EXPECT_EQ(openDescriptorsOn(dataFiles()), 0);
    EXPECT_EQ(FolderSnapshot::changes(before, FolderSnapshot::withoutLookups(folder.root())),
              std::vector<std::string>{"dat/set.ini"});

    window.reset();
    openWindow();
    expectBothPagesWork();
}

INSTANTIATE_TEST_SUITE_P(EachScan, ClosingDuringScanFault, ::testing::ValuesIn(kEveryScan),
                         scanName);

// Every other search the user might start mid-scan, from the buttons and as
// a handler call a queued event would make: none runs, and the scan ends as
// it would have alone.
using SearchDuringScanFault = EachScan;

TEST_P(SearchDuringScanFault, NoOtherSearchStartsAndTheScanEndsAsAlone) {
    const ScanResult alone = resultAlone();
    const QStringList otherShown = gridTexts(otherGrid());
    std::vector<bool> enabledDuring;
    {
        const auto probe = onceTheScanFoundOne([&] {
            const std::vector<std::int32_t> foundBefore = foundSoFar();
            for (const char* name : {"Btn1", "Btn2", "BtnChengYu"})
                enabledDuring.push_back(control<QPushButton>(name)->isEnabled());
            // Inputs that would each give a result of their own.
            control<QLineEdit>("LedtPinYin")->setText(QString::fromUtf8("行"));
            control<QLineEdit>("LedtZiYi")->setText(QString::fromUtf8("嘴"));
            control<QLineEdit>("LedtChengYu")->setText(QString::fromUtf8("一"));
            const auto tryBoth = [this](const char* button, void (TFrmMain::*handler)()) {
                QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
                (window.get()->*handler)();
            };
            for (const char* radio : {"RdoPinYin", "RdoBuShou", "RdoBiHua"}) {
                control<QRadioButton>(radio)->setChecked(true);
                tryBoth("Btn1", &TFrmMain::Btn1Click);
            }
            for (int meaningRange : {0, 1, 2}) {
                control<QComboBox>("CboZiYi")->setCurrentIndex(meaningRange);
                tryBoth("Btn2", &TFrmMain::Btn2Click);
            }
            tryBoth("BtnChengYu", &TFrmMain::BtnChengYuClick);
            EXPECT_TRUE(window->isScanning());
            EXPECT_EQ(foundSoFar(), foundBefore) << "another scan ran in between";
        });
        startScan();
    }
    EXPECT_EQ(enabledDuring, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(result(), alone);
    EXPECT_EQ(gridTexts(otherGrid()), otherShown);
    EXPECT_EQ(memo(otherMemo()),
              scansIdioms() ? QStringLiteral("kept 1") : QStringLiteral("kept 2"));
    EXPECT_EQ(messages, noticesOfTheScan());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    expectSearchButtonsEnabled(true);
    expectBothPagesWork();
}

INSTANTIATE_TEST_SUITE_P(EachScan, SearchDuringScanFault, ::testing::ValuesIn(kEveryScan),
                         scanName);

// Double and right clicks on both grids mid-scan. The grid being rebuilt
// still shows the last result, which no longer matches the list, so its
// detail is refused; the other grid's detail works, except on the idiom page
// while a meaning scan holds the database.
using ClicksDuringScanFault = EachScan;

TEST_P(ClicksDuringScanFault, DetailsAreRefusedOrRightAndCountsAreSoFar) {
    const ScanResult alone = resultAlone();
    const std::size_t otherCount =
        (scansIdioms() ? window->foundCharacters() : window->foundIdioms()).size();
    // What the other grid's first cell shows when nothing scans.
    doubleClickCell(otherGrid(), 0, 0);
    const QString otherEntry = memo(otherMemo());
    ASSERT_FALSE(otherEntry.isEmpty());
    showOtherResults();
    messages.clear();

    const auto rightClick = [this](const char* grid) {
        QTest::mouseClick(control<ResultGrid>(grid)->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    };
    const auto directRightClick = [this](const char* grid) {
        if (std::string_view(grid) == "GridChengYu")
            return window->GridChengYuMouseUp(Qt::RightButton);
        window->GridXinHuaMouseUp(Qt::RightButton);
    };
    std::size_t countSoFar = 0;
    QString scannedMemoDuring, otherMemoDuring;
    {
        const auto probe = onceTheScanFoundOne([&] {
            doubleClickCell(scannedGrid(), 0, 0);
            control<ResultGrid>(scannedGrid())->setCurrentCell(0, 1);
            scansIdioms() ? window->GridChengYuDblClick() : window->GridXinHuaDblClick();
            scannedMemoDuring = memo(scannedMemo());
            doubleClickCell(otherGrid(), 0, 0);
            otherMemoDuring = memo(otherMemo());
            countSoFar = foundSoFar().size();
            rightClick(scannedGrid());
            directRightClick(scannedGrid());
            rightClick(otherGrid());
        });
        startScan();
    }
    EXPECT_EQ(scannedMemoDuring,
              scansIdioms() ? QStringLiteral("kept 2") : QStringLiteral("kept 1"));
    EXPECT_EQ(otherMemoDuring, readsTheDatabase() ? QStringLiteral("kept 2") : otherEntry);
    EXPECT_EQ(result(), alone);
    EXPECT_GE(countSoFar, 1u);
    EXPECT_LT(countSoFar, alone.found.size());
    const auto countMessage = [](bool ofIdioms, std::size_t count) {
        return fromGbk(ofIdioms ? idiomsFoundMessage(count) : charactersFoundMessage(count));
    };
    const QStringList counts{countMessage(scansIdioms(), countSoFar),
                             countMessage(scansIdioms(), countSoFar),
                             countMessage(!scansIdioms(), otherCount)};
    EXPECT_EQ(messages, noticesOfTheScan() + counts);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    expectSearchButtonsEnabled(true);
    expectBothPagesWork();
}

INSTANTIATE_TEST_SUITE_P(EachScan, ClicksDuringScanFault, ::testing::ValuesIn(kEveryScan),
                         scanName);

// Switching pages and the Help menu's modal windows mid-scan: a modal window
// holds the scan in its own event loop until it closes, then the scan goes on.
enum class Interruption { SwitchPage, Help, About };

using DialogCase = std::tuple<Interruption, ScanKind>;

const char* nameOf(Interruption interruption) {
    const char* names[] = {"SwitchPage", "Help", "About"};
    return names[static_cast<int>(interruption)];
}

void PrintTo(Interruption interruption, std::ostream* out) {
    *out << nameOf(interruption);
}

std::string dialogCaseName(const ::testing::TestParamInfo<DialogCase>& info) {
    return std::string(nameOf(std::get<0>(info.param))) + "During" +
           nameOf(std::get<1>(info.param));
}

class DialogDuringScanFault : public ScanFaultTest,
                              public ::testing::WithParamInterface<DialogCase> {
  protected:
    ScanKind kind() const override { return std::get<1>(GetParam()); }
    Interruption interruption() const { return std::get<0>(GetParam()); }
};

TEST_P(DialogDuringScanFault, TheScanGoesOnToTheSameResult) {
    const ScanResult alone = resultAlone();
    auto* pages = control<QTabWidget>("Page1");
    pages->setCurrentWidget(
        control<QWidget>(scansIdioms() ? "TabSheet2" : "TabSheet1"));  // where the user started it
    QString dialogTitle;
    bool scanHeldUnderTheDialog = false;
    {
        const auto probe = onceTheScanFoundOne([&] {
            if (interruption() == Interruption::SwitchPage) {
                pages->setCurrentIndex(1 - pages->currentIndex());
                return;
            }
            QTimer::singleShot(0, window.get(), [&] {
                QWidget* modal = QApplication::activeModalWidget();
                ASSERT_NE(modal, nullptr);
                dialogTitle = modal->windowTitle();
                scanHeldUnderTheDialog = window->isScanning();
                modal->close();
            });
            control<QAction>(interruption() == Interruption::Help ? "N1" : "N2")->trigger();
        });
        startScan();
    }
    EXPECT_EQ(result(), alone);
    if (interruption() == Interruption::SwitchPage) {
        // The page the user went to stays; the entry is shown without the focus.
        EXPECT_EQ(pages->currentWidget(),
                  control<QWidget>(scansIdioms() ? "TabSheet1" : "TabSheet2"));
        EXPECT_NE(window->focusWidget(), control<ResultGrid>(scannedGrid()));
    } else {
        EXPECT_EQ(dialogTitle, QString::fromUtf8(
                                   interruption() == Interruption::Help ? "使用说明" : "关于软件"));
        EXPECT_TRUE(scanHeldUnderTheDialog);
        EXPECT_TRUE(window->findChildren<QDialog*>().isEmpty());
    }
    EXPECT_EQ(messages, noticesOfTheScan());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    expectSearchButtonsEnabled(true);
    expectBothPagesWork();
}

INSTANTIATE_TEST_SUITE_P(
    EachInterruption, DialogDuringScanFault,
    ::testing::Combine(::testing::Values(Interruption::SwitchPage, Interruption::Help,
                                         Interruption::About),
                       ::testing::Values(ScanKind::TypedCharacters, ScanKind::CombinedWithMeaning,
                                         ScanKind::Idiom)),
    dialogCaseName);

// Closing at the scan's last event pass, with a long result all found: the
// first entry, which the two searches show when they end, is not shown to a
// closed window.
enum class FilledGrid { Characters, Idioms };

void PrintTo(FilledGrid grid, std::ostream* out) {
    *out << (grid == FilledGrid::Idioms ? "Idioms" : "Characters");
}

class ClosingAtTheLastEventPassFault : public FaultTest,
                                       public ::testing::WithParamInterface<FilledGrid> {
  protected:
    static constexpr int kFound = 5000;

    void SetUp() override {
        FaultTest::SetUp();
        const std::vector<XinHuaIndexRecord> characters(kFound, {"一", "yi", "一", 1});
        writeXinHuaIndex(folder.dat() / "XinHua.dat", characters, xinhua_record::kRecordCount);
        const std::vector<std::string> idioms(kFound, "一心一意");
        writeChengYuIndex(folder.dat() / "ChengYu.dat", idioms, chengyu_record::kRecordCount);
        std::filesystem::remove(folder.dat() / "XinHua.db");
        std::filesystem::remove(folder.dat() / "ChengYu.db");
        writeXinHuaDatabase(folder.dat() / "XinHua.db",
                            {{1, "一", "yi", "yī", "一", 1, "ggll", "数目字。", "同一。"}});
        writeChengYuDatabase(folder.dat() / "ChengYu.db",
                             {{1, "一心一意", "yī xīn yī yì", "只有一个心眼儿。", "", ""}});
        openWindow();
        window->forceEventPasses(lastRecord(), lastRecord());
    }
    bool ofIdioms() const { return GetParam() == FilledGrid::Idioms; }
    std::int32_t lastRecord() const {
        return ofIdioms() ? chengyu_record::kRecordCount : xinhua_record::kRecordCount;
    }
    const char* grid() const { return ofIdioms() ? "GridChengYu" : "GridXinHua"; }
    const char* memoOfPage() const { return ofIdioms() ? "Memo2" : "Memo1"; }
    void search() { ofIdioms() ? idiomSearch("一") : typedSearch("一"); }
    QString expectedEntryStart() const {
        return QString::fromUtf8(ofIdioms() ? "\n成语：一心一意(" : "\n汉字：一(");
    }
};

TEST_P(ClosingAtTheLastEventPassFault, TheWindowClosesAndShowsNoEntry) {
    auto* bar = control<QProgressBar>(ofIdioms() ? "ProgChengYu" : "ProgXinHua");
    bool allFound = false;
    {
        ScanProbe probe(
            *window, [&] { return bar->value() == lastRecord(); },
            [&] {
                allFound =
                    static_cast<int>(ofIdioms() ? window->foundIdioms().size()
                                                : window->foundCharacters().size()) == kFound;
                closeWindow();
            });
        search();
    }
    EXPECT_TRUE(allFound);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(memo(memoOfPage()).isEmpty()) << memo(memoOfPage()).toStdString();
    EXPECT_FALSE(settingsValue(folder.settingsFile(), QStringLiteral("GridChengYu")).isEmpty());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();

    window.reset();
    openWindow();
    search();
    EXPECT_EQ(gridTexts(grid()).count(QString::fromUtf8(ofIdioms() ? "一心一意" : "一")), kFound);
    EXPECT_TRUE(memo(memoOfPage()).startsWith(expectedEntryStart()))
        << memo(memoOfPage()).toStdString();
}

INSTANTIATE_TEST_SUITE_P(EachGrid, ClosingAtTheLastEventPassFault,
                         ::testing::Values(FilledGrid::Characters, FilledGrid::Idioms),
                         [](const ::testing::TestParamInfo<FilledGrid>& info) {
                             return info.param == FilledGrid::Idioms ? "Idioms" : "Characters";
                         });

}  // namespace
}  // namespace lexomir::testing

// What the window does when the user acts in the middle of a scan: the scan
// processes events for every record, so handlers can run inside it.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "result_grid.h"
#include "window_fixture.h"

namespace lexomir::testing {
namespace {

class GuardTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        openWindow();
    }
};

TEST_F(GuardTest, NoOtherSearchStartsWhileOneScans) {
    typedSearch("zh");
    std::vector<bool> enabled;
    duringNextScan([&] {
        for (const char* name : {"Btn1", "Btn2", "BtnChengYu"})
            enabled.push_back(control<QPushButton>(name)->isEnabled());
        window->Btn2Click();
        control<QLineEdit>("LedtChengYu")->setText(QString::fromUtf8("爱"));
        window->BtnChengYuClick();
    });
    typedSearch("g");
    EXPECT_EQ(enabled, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(gridTexts("GridXinHua").first(), QString::fromUtf8("国"));
    EXPECT_TRUE(window->foundIdioms().empty());
    EXPECT_EQ(window->foundCharacters(), std::vector<std::int32_t>{2});
    for (const char* name : {"Btn1", "Btn2", "BtnChengYu"})
        EXPECT_TRUE(control<QPushButton>(name)->isEnabled()) << name;
}

TEST_F(GuardTest, ADoubleClickOnTheGridBeingRebuiltIsIgnored) {
    typedSearch("zh");
    control<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("kept"));
    duringNextScan([&] {
        // The cell still shows 长 while the new list is being built.
        control<ResultGrid>("GridXinHua")->setCurrentCell(0, 2);
        window->GridXinHuaDblClick();
    });
    typedSearch("guo");
    EXPECT_EQ(control<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("kept"));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(GuardTest, ClosingDuringAScanStopsItAndStillWritesTheSettings) {
    typedSearch("zh");
    duringNextScan([&] { window->close(); });
    typedSearch("g");
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->isScanning());
    EXPECT_LT(control<QProgressBar>("ProgXinHua")->value(), 20823);
    EXPECT_EQ(
        gridTexts("GridXinHua").mid(0, 3),
        (QStringList{QString::fromUtf8("中"), QString::fromUtf8("张"), QString::fromUtf8("长")}));
    EXPECT_EQ(settingsValue(folder.settingsFile(), QStringLiteral("GridXinHua")),
              QStringLiteral("160"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(GuardTest, ClosingDuringAnIdiomScanStopsIt) {
    duringNextScan([&] { window->close(); });
    idiomSearch("爱");
    EXPECT_TRUE(window->foundIdioms().empty());
    EXPECT_LT(control<QProgressBar>("ProgChengYu")->value(), 13000);
    EXPECT_FALSE(folder.readSettings().empty());
}

TEST_F(GuardTest, TheIdiomDetailWaitsUntilAMeaningScanIsOver) {
    idiomSearch("爱");
    control<ResultGrid>("GridChengYu")->setCurrentCell(0, 1);
    const QString first = control<QPlainTextEdit>("Memo2")->toPlainText();
    control<QComboBox>("CboZiYi")->setCurrentIndex(1);
    control<QLineEdit>("LedtZiYi")->setText(QString::fromUtf8("水"));
    duringNextScan([&] { window->GridChengYuDblClick(); });
    control<QPushButton>("Btn2")->click();
    EXPECT_EQ(control<QPlainTextEdit>("Memo2")->toPlainText(), first);
    EXPECT_EQ(gridTexts("GridXinHua").first(), QString::fromUtf8("水"));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    window->GridChengYuDblClick();
    EXPECT_TRUE(control<QPlainTextEdit>("Memo2")->toPlainText().startsWith(
        QString::fromUtf8("\n成语：爱屋及乌(")));
}

TEST_F(GuardTest, TheCharacterDetailMayRunDuringAnIdiomScan) {
    typedSearch("guo");
    control<ResultGrid>("GridXinHua")->setCurrentCell(0, 0);
    duringNextScan([&] { window->GridXinHuaDblClick(); });
    idiomSearch("爱");
    EXPECT_TRUE(control<QPlainTextEdit>("Memo1")->toPlainText().startsWith(
        QString::fromUtf8("\n汉字：国(")));
    EXPECT_TRUE(control<QPlainTextEdit>("Memo2")->toPlainText().startsWith(
        QString::fromUtf8("\n成语：爱不释手(")));
}

TEST_F(GuardTest, AfterSwitchingPagesTheEntryIsShownWithoutTakingTheFocus) {
    auto* page = control<QTabWidget>("Page1");
    duringNextScan([&] { page->setCurrentIndex(1); });
    typedSearch("国");
    EXPECT_NE(window->focusWidget(), control<ResultGrid>("GridXinHua"));
    EXPECT_TRUE(control<QPlainTextEdit>("Memo1")->toPlainText().startsWith(
        QString::fromUtf8("\n汉字：国(")));
}

TEST_F(GuardTest, TheCountDuringAScanIsTheCountSoFar) {
    QStringList during;
    typedSearch("zh");
    duringNextScan([&] { window->GridXinHuaMouseUp(Qt::RightButton); });
    typedSearch("zh");
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("共找到 0 个汉字！")});
}

}  // namespace
}  // namespace lexomir::testing

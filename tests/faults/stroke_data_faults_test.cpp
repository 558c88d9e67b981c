// A missing or damaged Strokes.db in the real window: the entry still shows,
// the stroke panel says why it draws nothing, the handwriting pad says it has
// no data and offers nothing to write on, the rest of the window works,
// nothing is written, and once the file is put right the next entry is drawn
// and the pad, opened again, recognises.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "fault_fixture.h"
#include "handwriting_pad.h"
#include "open_files.h"
#include "stroke_animation_panel.h"

namespace lexomir::testing {
namespace {

struct StrokeDataCase {
    const char* name;
    void (*damage)(const std::filesystem::path& strokesDb);
    const char* noted;   // in the stroke panel's note
    bool padRecognises;  // the pad reads only the centre lines
};

void PrintTo(const StrokeDataCase& c, std::ostream* out) {
    *out << c.name;
}

class StrokeDataFault : public FaultTest, public ::testing::WithParamInterface<StrokeDataCase> {
  protected:
    std::filesystem::path strokesDb() const { return folder.dat() / "Strokes.db"; }
    StrokeAnimationPanel* panel() { return control<StrokeAnimationPanel>("StrokeAnimationPanel"); }
    QString note() { return control<QLabel>("LabelStrokeNote")->text(); }
};

TEST_P(StrokeDataFault, TheEntryShowsWithANoteTheRestWorksAndOncePutRightItIsDrawn) {
    const StrokeDataCase& c = GetParam();
    folder.writeStrokeData();
    const std::string intact = readFileBytes(strokesDb());
    const FolderSnapshot before = FolderSnapshot::of(folder.dat());
    c.damage(strokesDb());
    openWindow();

    typedSearch("口");
    EXPECT_TRUE(memo("Memo1").startsWith(QString::fromUtf8("\n汉字：口(")))
        << memo("Memo1").toStdString();
    EXPECT_EQ(panel()->strokeCount(), 0);
    EXPECT_TRUE(control<QLabel>("LabelStrokeNote")->isVisible());
    EXPECT_TRUE(note().contains(QString::fromUtf8(c.noted))) << note().toStdString();
    EXPECT_FALSE(control<QPushButton>("BtnStrokeReplay")->isEnabled());
    EXPECT_EQ(openFilesNamed("Strokes.db"), 0) << "the file is closed after each entry";

    QTest::mouseClick(control<QAbstractButton>("BtnShouXie"), Qt::LeftButton);
    auto* pad = control<HandwritingPad>("HandwritingPad");
    ASSERT_NE(pad, nullptr);
    auto* padNote = pad->findChild<QLabel*>("LabelPadNote");
    QTRY_VERIFY_WITH_TIMEOUT(
        pad->templatesReady() || padNote->text().contains(QString::fromUtf8("没有可用的笔画数据")),
        5000);
    EXPECT_EQ(pad->templatesReady(), c.padRecognises) << padNote->text().toStdString();
    EXPECT_EQ(pad->findChild<QWidget*>("InkCanvas")->isEnabled(), c.padRecognises);
    pad->close();

    expectBothPagesWork();
    std::filesystem::remove_all(strokesDb());
    writeFileBytes(strokesDb(), intact);
    typedSearch("口");
    EXPECT_EQ(panel()->strokeCount(), 3);
    EXPECT_FALSE(control<QLabel>("LabelStrokeNote")->isVisible());
    QTest::mouseClick(control<QAbstractButton>("BtnShouXie"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(pad->templatesReady(), 5000);
    EXPECT_TRUE(pad->findChild<QWidget*>("InkCanvas")->isEnabled());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    closeWindow();
    EXPECT_EQ(FolderSnapshot::changes(before, FolderSnapshot::of(folder.dat())),
              (std::vector<std::string>{"lookups.db", "set.ini"}));
}

INSTANTIATE_TEST_SUITE_P(
    EachDamage, StrokeDataFault,
    ::testing::Values(
        StrokeDataCase{"Missing", [](const auto& file) { std::filesystem::remove(file); },
                       "the stroke data file is missing", false},
        StrokeDataCase{"AFolderInItsPlace",
                       [](const auto& file) {
                           std::filesystem::remove(file);
                           std::filesystem::create_directory(file);
                       },
                       "the stroke data file is missing", false},
        StrokeDataCase{"RandomBytes",
                       [](const auto& file) { writeFileBytes(file, std::string(9000, '\x5a')); },
                       "file is not a database", false},
        StrokeDataCase{
            "TableMissing",
            [](const auto& file) { executeSql(file, "ALTER TABLE strokes RENAME TO gone"); },
            "no such table: strokes", false},
        StrokeDataCase{"DamagedPage", [](const auto& file) { spoilTheRootPageOf(file, "strokes"); },
                       "database disk image is malformed", false},
        StrokeDataCase{
            "CentreLinesGarbled",
            [](const auto& file) { executeSql(file, "UPDATE strokes SET medians = '1,2 x'"); },
            "a centre line holds something other than numbers", false},
        StrokeDataCase{"OutlinesGarbled",
                       [](const auto& file) {
                           executeSql(file,
                                      "UPDATE strokes SET outlines = 'M 1 2 X;M 1 2 X;M 1 2 X'");
                       },
                       "笔画数据有误", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lexomir::testing

#include "window_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <sstream>
#include <stdexcept>

#include "index_record_format.h"
#include "lexomir_application.h"
#include "result_grid.h"
#include "strokes_builder.h"

namespace lexomir::testing {
namespace {

// Record k of both index files is entry k - 1 of the fixture lists; the rest
// of the records are zeros, up to the real record counts.
void writeDictionaryFiles(const std::filesystem::path& dat) {
    std::vector<XinHuaIndexRecord> records;
    std::vector<XinHuaRow> rows;
    std::int32_t id = 1;
    for (const CharacterFixture& c : fixtureCharacters()) {
        records.push_back(c);
        rows.push_back({id++, c.character, c.toned, c.pinyin, c.radical,
                        static_cast<std::int32_t>(c.strokes), c.wubi, c.jijie, c.xiangjie});
    }
    writeXinHuaIndex(dat / "XinHua.dat", records, xinhua_record::kRecordCount);
    writeXinHuaDatabase(dat / "XinHua.db", rows);

    std::vector<std::string> idioms;
    std::vector<ChengYuRow> idiomRows;
    id = 1;
    for (const IdiomFixture& i : fixtureIdioms()) {
        idioms.push_back(i.ChengYu);
        idiomRows.push_back({id++, i.ChengYu, i.PinYin, i.DianGu, i.ChuChu, i.LiZi});
    }
    writeChengYuIndex(dat / "ChengYu.dat", idioms, chengyu_record::kRecordCount);
    writeChengYuDatabase(dat / "ChengYu.db", idiomRows);
}

}  // namespace

const std::vector<CharacterFixture>& fixtureCharacters() {
    static const std::vector<CharacterFixture> characters = {
        {"中", "zhong", "丨", 4, "zhōng", "khk", "中间；当中。",
         "和四方、上下距离相等的地位，如水中。"},
        {"国", "guo", "囗", 8, "guó", "lgyi", "国家。", "一个国家。"},
        {"张", "zhang", "弓", 7, "zhāng", "xtay", "张开。", "展开。"},
        {"长", "chang,zhang", "长", 4, "cháng", "tayi", "两端的距离大。", "生长。"},
        {"一", "yi", "一", 1, "yī", "ggll", "数目字，最小的正整数。", "同一。"},
        {"丁", "ding", "一", 2, "dīng", "sgh", "天干的第四位。", "成年男子。"},
        {"口", "kou", "口", 3, "kǒu", "kkkk", "嘴。", "出入通过的地方。"},
        {"叶", "ye,xie", "口", 5, "yè", "kfh", "植物的叶子。", "时期。"},
        {"行", "xing,hang", "行", 6, "xíng", "tfhh", "走。", "行列。"},
        {"水", "shui", "水", 4, "shuǐ", "iiii", "河流里的水。", "江河湖海。"},
        {"火", "huo", "火", 4, "huǒ", "oooo", "火焰。", "燃烧。"},
        {"好", "hao", "女", 6, "hǎo", "vbg", "优点多的<br>使人满意的", "友爱<BR>和睦"},
    };
    return characters;
}

const std::vector<IdiomFixture>& fixtureIdioms() {
    static const std::vector<IdiomFixture> idioms = {
        {"百战不殆", "bǎi zhàn bù dài", "每次打仗都不会失败。", "《孙子·谋攻》",
         "知己知彼，百战不殆。"},
        {"百战百胜", "bǎi zhàn bǎi shèng", "每战必胜。", "《孙子·谋攻》", "百战百胜之师。"},
        {"爱不释手", "ài bù shì shǒu", "喜爱得舍不得放手。", "南朝·梁·萧统",
         "他拿着书<br>爱不释手。"},
        {"爱屋及乌", "ài wū jí wū", "爱一个人而连带爱他屋上的乌鸦。", "《尚书大传》", ""},
        {"一心一意", "yī xīn yī yì", "只有一个心眼儿。", "《三国志》", "一心一意地工作。"},
        {"百战不殆之师", "", "", "", ""},
    };
    return idioms;
}

const std::string& fixtureStrokeTable() {
    static const std::string table =
        "#source\ttest data\nzi\tstrokes\toutlines\tmedians\n"
        "一\t1\tM 100 420 L 900 420 L 900 480 L 100 480 Z\t100,450 900,450\n"
        "十\t2\tM 100 420 L 900 420 L 900 480 L 100 480 Z;M 470 850 L 530 850 L 530 0 L 470 0 Z\t"
        "100,450 900,450;500,850 500,0\n"
        "口\t3\tM 180 720 L 220 720 L 220 180 L 180 180 Z;"
        "M 180 720 L 820 720 L 820 180 L 780 180 L 780 680 L 180 680 Z;"
        "M 200 220 L 800 220 L 800 180 L 200 180 Z\t"
        "200,700 200,200;200,700 800,700 800,200;200,200 800,200\n";
    return table;
}

void writeFixtureStrokeData(const std::filesystem::path& strokesDb) {
    std::istringstream in(fixtureStrokeTable());
    strokes::writeStrokesDb(strokes::readStrokeTable(in), strokesDb);
}

AppFolder::AppFolder() {
    std::filesystem::create_directory(dat());
}

void AppFolder::writeDictionaries() const {
    for (const char* name : {"XinHua.dat", "ChengYu.dat", "XinHua.db", "ChengYu.db"})
        std::filesystem::remove(dat() / name);
    writeDictionaryFiles(dat());
}

void AppFolder::writeStrokeData() const {
    writeFixtureStrokeData(dat() / "Strokes.db");
}

void AppFolder::writeSettings(const std::string& text) const {
    writeFileBytes(settingsFile(), text);
}

std::string AppFolder::readSettings() const {
    return readFileBytes(settingsFile());
}

QStringList utf8List(std::initializer_list<const char*> texts) {
    return utf8List(std::vector<const char*>(texts));
}

QStringList utf8List(const std::vector<const char*>& texts) {
    QStringList list;
    for (const char* text : texts) list.append(QString::fromUtf8(text));
    return list;
}

QString settingsValue(const std::filesystem::path& file, const QString& key) {
    QSettings settings(QString::fromStdString(file.string()), QSettings::IniFormat);
    return settings.value(QStringLiteral("window/") + key).toString();
}

void WindowTest::SetUp() {
    folder.writeDictionaries();
    if (auto* application = dynamic_cast<LexomirApplication*>(QCoreApplication::instance()))
        application->setErrorDisplay([this](const QString& text) { errors.append(text); });
}

TFrmMain& WindowTest::openWindow() {
    window = std::make_unique<TFrmMain>(folder.root());
    window->setMessageSink([this](const QString& text) { messages.append(text); });
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return *window;
}

void WindowTest::closeWindow() {
    window->close();
}

QStringList WindowTest::gridTexts(const char* gridName) {
    auto* grid = control<ResultGrid>(gridName);
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row)
        for (int column = 0; column < grid->columnCount(); ++column)
            texts.append(cell(gridName, row, column));
    return texts;
}

QString WindowTest::cell(const char* gridName, int row, int column) {
    return control<ResultGrid>(gridName)->cellText(row, column);
}

}  // namespace lexomir::testing

namespace lexomir::testing {

void WindowTest::doubleClickCell(const char* gridName, int row, int column) {
    auto* grid = control<ResultGrid>(gridName);
    const QPoint centre = grid->visualRect(grid->model()->index(row, column)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);
}

void WindowTest::typedSearch(const char* utf8) {
    control<QRadioButton>("RdoPinYin")->setChecked(true);
    control<QLineEdit>("LedtPinYin")->setText(QString::fromUtf8(utf8));
    control<QPushButton>("Btn1")->click();
}

void WindowTest::radicalSearch(int radicalItem, int remainingStrokes) {
    control<QRadioButton>("RdoBuShou")->setChecked(true);
    control<QComboBox>("CboBuShou")->setCurrentIndex(radicalItem);
    control<QComboBox>("CboBiHua")->setCurrentIndex(remainingStrokes);
    control<QPushButton>("Btn1")->click();
}

void WindowTest::strokeSearch(int strokesItem) {
    control<QRadioButton>("RdoBiHua")->setChecked(true);
    control<QComboBox>("CboAllBiHua")->setCurrentIndex(strokesItem);
    control<QPushButton>("Btn1")->click();
}

void WindowTest::meaningSearch(const char* utf8Keywords) {
    control<QComboBox>("CboZiYi")->setCurrentIndex(1);
    control<QLineEdit>("LedtZiYi")->setText(QString::fromUtf8(utf8Keywords));
    control<QPushButton>("Btn2")->click();
}

void WindowTest::idiomSearch(const char* utf8Pattern) {
    control<QLineEdit>("LedtChengYu")->setText(QString::fromUtf8(utf8Pattern));
    control<QPushButton>("BtnChengYu")->click();
}

void WindowTest::activateWindow() {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

void WindowTest::press(int key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
}

void WindowTest::typeInto(QWidget* widget, const char* utf8) {
    for (const QChar c : QString::fromUtf8(utf8))
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void WindowTest::duringNextScan(std::function<void()> action) {
    window->forceEventPasses(1, 1);
    QTimer::singleShot(0, window.get(), [this, action = std::move(action)] {
        EXPECT_TRUE(window->isScanning());
        action();
    });
}

QString WindowTest::memo(const char* name) {
    return control<QPlainTextEdit>(name)->toPlainText();
}

}  // namespace lexomir::testing

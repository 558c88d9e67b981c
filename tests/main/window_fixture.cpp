#include "window_fixture.h"

#include <sqlite3.h>
#include <stdlib.h>

#include <QSettings>
#include <QTableWidget>
#include <QTest>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "gbk_codec.h"
#include "index_record_format.h"
#include "lexomir_application.h"

namespace lexomir::testing {
namespace {

void copyField(std::string& record, std::size_t offset, const std::string& gbkText) {
    record.replace(offset, gbkText.size(), gbkText);
}

void writeXinHuaIndex(const std::filesystem::path& file) {
    namespace f = xinhua_record;
    std::ofstream out(file, std::ios::binary);
    const std::string zeros(f::kSize, '\0');
    for (std::int32_t k = 1; k <= f::kRecordCount; ++k) {
        std::string record = zeros;
        if (static_cast<std::size_t>(k) <= fixtureCharacters().size()) {
            const CharacterFixture& c = fixtureCharacters()[k - 1];
            copyField(record, f::kCharacterOffset, utf8ToGbk(c.character));
            copyField(record, f::kPinyinOffset, c.pinyin);
            copyField(record, f::kRadicalOffset, utf8ToGbk(c.radical));
            record[f::kStrokesOffset] = static_cast<char>(c.strokes);
        }
        out.write(record.data(), static_cast<std::streamsize>(record.size()));
    }
}

void writeChengYuIndex(const std::filesystem::path& file) {
    namespace f = chengyu_record;
    std::ofstream out(file, std::ios::binary);
    for (std::int32_t k = 1; k <= f::kRecordCount; ++k) {
        std::string record(f::kSize, '\0');
        if (static_cast<std::size_t>(k) <= fixtureIdioms().size())
            copyField(record, 0, utf8ToGbk(fixtureIdioms()[k - 1].ChengYu));
        out.write(record.data(), static_cast<std::streamsize>(record.size()));
    }
}

class Database {
  public:
    explicit Database(const std::filesystem::path& file) {
        if (sqlite3_open(file.c_str(), &m_db) != SQLITE_OK) throw std::runtime_error("sqlite open");
    }
    ~Database() { sqlite3_close(m_db); }

    void execute(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error ? error : "sqlite error";
            sqlite3_free(error);
            throw std::runtime_error(message);
        }
    }
    // Inserts one row; every value is bound as text except integers.
    void insert(const std::string& sql, const std::vector<std::string>& texts, int id,
                int number = -1) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr);
        int column = 1;
        sqlite3_bind_int(statement, column++, id);
        for (const std::string& text : texts)
            sqlite3_bind_text(statement, column++, text.c_str(), -1, SQLITE_TRANSIENT);
        if (number >= 0) sqlite3_bind_int(statement, column, number);
        const int rc = sqlite3_step(statement);
        sqlite3_finalize(statement);
        if (rc != SQLITE_DONE) throw std::runtime_error("sqlite insert");
    }

  private:
    sqlite3* m_db = nullptr;
};

void writeXinHuaDatabase(const std::filesystem::path& file) {
    Database db(file);
    db.execute(
        "CREATE TABLE xhzd(id INTEGER PRIMARY KEY, zi, pinyin, py, bushou, wubi, jijie, xiangjie, "
        "bihua INTEGER)");
    int id = 1;
    for (const CharacterFixture& c : fixtureCharacters()) {
        db.insert(
            "INSERT INTO xhzd(id, zi, pinyin, py, bushou, wubi, jijie, xiangjie, bihua) "
            "VALUES(?,?,?,?,?,?,?,?,?)",
            {c.character, c.pinyin, c.py, c.radical, c.wubi, c.jijie, c.xiangjie}, id++,
            static_cast<int>(c.strokes));
    }
}

void writeChengYuDatabase(const std::filesystem::path& file) {
    Database db(file);
    db.execute(
        "CREATE TABLE ChengYu(id INTEGER PRIMARY KEY, ChengYu, PinYin, DianGu, ChuChu, LiZi)");
    int id = 1;
    for (const IdiomFixture& i : fixtureIdioms()) {
        db.insert("INSERT INTO ChengYu VALUES(?,?,?,?,?,?)",
                  {i.ChengYu, i.PinYin, i.DianGu, i.ChuChu, i.LiZi}, id++);
    }
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

AppFolder::AppFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "lexomir-window-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_root = pattern;
    std::filesystem::create_directory(dat());
}

AppFolder::~AppFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

void AppFolder::writeDictionaries() const {
    for (const char* name : {"XinHua.dat", "ChengYu.dat", "XinHua.db", "ChengYu.db"})
        std::filesystem::remove(dat() / name);
    writeXinHuaIndex(dat() / "XinHua.dat");
    writeChengYuIndex(dat() / "ChengYu.dat");
    writeXinHuaDatabase(dat() / "XinHua.db");
    writeChengYuDatabase(dat() / "ChengYu.db");
}

void AppFolder::writeSettings(const std::string& text) const {
    std::ofstream(settingsFile()) << text;
}

std::string AppFolder::readSettings() const {
    std::ifstream in(settingsFile());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
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
    auto* grid = control<QTableWidget>(gridName);
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row)
        for (int column = 0; column < grid->columnCount(); ++column)
            texts.append(cell(gridName, row, column));
    return texts;
}

QString WindowTest::cell(const char* gridName, int row, int column) {
    const QTableWidgetItem* item = control<QTableWidget>(gridName)->item(row, column);
    return item ? item->text() : QString();
}

}  // namespace lexomir::testing

namespace lexomir::testing {

void WindowTest::doubleClickCell(const char* gridName, int row, int column) {
    auto* grid = control<QTableWidget>(gridName);
    const QPoint centre = grid->visualRect(grid->model()->index(row, column)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);
}

}  // namespace lexomir::testing

// A folder with dat/ of small fixture files, and the real main window shown
// over it offscreen, with its message boxes captured.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "fixture_files.h"
#include "tfrm_main.h"

namespace lexomir::testing {

// One record of XinHua.dat with the rest of its row of xhzd; text in UTF-8.
// The row's pinyin is the tone-marked reading, its py the record's pinyin.
struct CharacterFixture : XinHuaIndexRecord {
    std::string toned, wubi, jijie, xiangjie;
};

struct IdiomFixture {
    std::string ChengYu, PinYin, DianGu, ChuChu, LiZi;
};

// Record k of the fixture index files is entry k - 1 of these lists.
const std::vector<CharacterFixture>& fixtureCharacters();
const std::vector<IdiomFixture>& fixtureIdioms();

// The strokes of 一, 十 and 口 in the stroke data's box (y up, baseline 900),
// as the table extract-strokes.mjs writes, and Strokes.db made from it.
const std::string& fixtureStrokeTable();
void writeFixtureStrokeData(const std::filesystem::path& strokesDb);

class AppFolder {
  public:
    AppFolder();

    const std::filesystem::path& root() const { return m_root.path(); }
    std::filesystem::path dat() const { return root() / "dat"; }
    std::filesystem::path settingsFile() const { return dat() / "set.ini"; }

    // Both index files at their full record counts, and both databases.
    void writeDictionaries() const;
    // dat/Strokes.db of the fixture strokes; no test folder has it otherwise.
    void writeStrokeData() const;
    void writeSettings(const std::string& text) const;
    std::string readSettings() const;

  private:
    TempFolder m_root;
};

// UTF-8 literals as the texts a widget shows.
QStringList utf8List(std::initializer_list<const char*> texts);
QStringList utf8List(const std::vector<const char*>& texts);

// The value of key in section [window], or empty when it is not there.
QString settingsValue(const std::filesystem::path& file, const QString& key);

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;

    // Builds and shows the window; FormShow runs.
    TFrmMain& openWindow();
    // Closes it the way the user does; FormClose runs.
    void closeWindow();

    template <typename Widget>
    Widget* control(const char* name) {
        auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // Texts of the grid's cells, row by row, empty cells included.
    QStringList gridTexts(const char* gridName);
    QString cell(const char* gridName, int row, int column);
    // A click, then a double click: the view only takes a double click on the
    // cell it saw pressed first.
    void doubleClickCell(const char* gridName, int row, int column);

    // Edits and clicks as the user does; each returns when the handler ends.
    void typedSearch(const char* utf8);
    void radicalSearch(int radicalItem, int remainingStrokes);
    void strokeSearch(int strokesItem);
    // Meaning range 1 (small) over the keywords.
    void meaningSearch(const char* utf8Keywords);
    void idiomSearch(const char* utf8Pattern);
    // Makes the window the active one, as the user's is, so that its keys
    // (menu shortcuts among them) reach it.
    void activateWindow();
    // A key to the control that has the focus.
    static void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // A key press per character into the widget, as typing gives it.
    static void typeInto(QWidget* widget, const char* utf8);
    // Runs action from the first event processing of the next scan.
    void duringNextScan(std::function<void()> action);
    QString memo(const char* name);

    AppFolder folder;
    std::unique_ptr<TFrmMain> window;
    QStringList messages;
    QStringList errors;
};

}  // namespace lexomir::testing

// The main window: the character page, the idiom page and the Help menu. Each
// handler reads its controls, asks the dictionary core, and shows the result.
#pragma once

#include <QMainWindow>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data_folder.h"
#include "dictionary_database.h"
#include "index_file.h"
#include "scan_session.h"
#include "search_plans.h"
#include "traditional_chinese.h"
#include "ui_tfrm_main.h"
#include "window_settings.h"

class QPlainTextEdit;
class QSettings;
class QTableWidget;

class TFrmMain : public QMainWindow, private Ui::TFrmMain {
    Q_OBJECT

  public:
    using MessageSink = std::function<void(const QString& text)>;

    // appFolder holds dat/; tests point it at a folder of their own.
    explicit TFrmMain(const std::filesystem::path& appFolder = lexomir::executableDirectory(),
                      QWidget* parent = nullptr);
    ~TFrmMain() override;

    // Every plain message box goes through the sink; by default a modal box.
    void setMessageSink(MessageSink sink);
    bool isScanning() const { return m_session.isScanning(); }
    const std::vector<std::int32_t>& foundCharacters() const { return VecXinHua; }
    const std::vector<std::int32_t>& foundIdioms() const { return VecChengYu; }

  public slots:
    void FormShow();
    void FormClose();
    void Btn1Click();
    void Btn2Click();
    void BtnChengYuClick();
    void GridXinHuaDblClick();
    void GridXinHuaMouseUp(Qt::MouseButton button);
    void GridChengYuDblClick();
    void GridChengYuMouseUp(Qt::MouseButton button);
    void N1Click();
    void N2Click();
    void Image1Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool ScanXinHua(const lexomir::CharacterFilter& filter, bool readsDatabase = false);
    void FillGridXinHua();
    void FindPinYin(const lexomir::CharacterSearch& search);
    void FindHanZi(const lexomir::CharacterFilter& filter);
    void FindBuShou(const lexomir::CharacterFilter& filter);
    void FindBiHua(const lexomir::CharacterFilter& filter);
    void FindZuHe(const lexomir::CharacterSearch& search);
    // A scan whose filter may read the character database.
    void scanWithDatabase(const lexomir::CharacterSearch& search);
    void fillGridChengYu(const std::vector<std::string>& idioms);
    void showIndexFileError(const lexomir::IndexFileError& error);

    void runHandler(const std::function<void()>& handler);
    void applyFonts();
    void connectHandlers();
    void fillLists();
    void applySettings(lexomir::WindowSettings values);
    void placeFrameAt(QPoint corner);
    // The top-left corner of the window with its frame, on the screen.
    QPoint framePosition() const;
    std::filesystem::path dataFolder() const;
    bool refused(const lexomir::Refusal* refusal);
    void showFirstFound(QTableWidget* grid, QWidget* page, void (TFrmMain::*showDetail)());
    // The entry of the found record behind the grid's current cell, if any.
    void showEntryOfCurrentCell(const QTableWidget& grid, const std::vector<std::int32_t>& found,
                                lexomir::DictionaryDatabase database, QPlainTextEdit& memo,
                                std::string (*entryText)(const lexomir::Query& row));
    void showMessage(std::string_view gbkText);

    std::unique_ptr<QSettings> IniSet;
    std::string AppPath;
    std::vector<std::int32_t> VecXinHua;
    lexomir::IndexFile HdlXinHua;
    std::vector<std::int32_t> VecChengYu;
    lexomir::IndexFile HdlChengYu;
    std::string StrXinHua;
    lexomir::Connection Aconn;
    lexomir::Query Aquery;
    lexomir::TraditionalToSimplified m_toSimplified;

    MessageSink m_showMessage;
    bool m_formShown = false;
    lexomir::ScanSession m_session;
};

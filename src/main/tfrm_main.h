// The main window: the character page, the idiom page and the menus. Each
// handler reads its controls, asks the dictionary core, and shows the result.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "clipboard_lookup.h"
#include "data_folder.h"
#include "dictionary_database.h"
#include "found_list.h"
#include "index_file.h"
#include "lookup_controls.h"
#include "scan_session.h"
#include "search_as_you_type.h"
#include "search_plans.h"
#include "traditional_chinese.h"
#include "ui_tfrm_main.h"
#include "window_settings.h"

class QPlainTextEdit;
class QSettings;
class QToolButton;

namespace lexomir {
class HandwritingPad;
class StrokeAnimationPanel;
}  // namespace lexomir

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
    // The record numbers of the last search's list; during a scan, found so far.
    std::vector<std::int32_t> foundCharacters() const { return lexomir::recordNumbers(*VecXinHua); }
    std::vector<std::int32_t> foundIdioms() const { return lexomir::recordNumbers(*VecChengYu); }
    // For tests: the scans also process events before each of these records.
    void forceEventPasses(std::int32_t first, std::int32_t last) {
        m_session.forceEventPasses(first, last);
    }

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
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool ScanXinHua(const lexomir::CharacterFilter& filter, bool readsDatabase = false);
    void FillGridXinHua();
    int widthOnItsPage(ResultGrid& grid, QWidget& page);
    void FindPinYin(const lexomir::CharacterSearch& search);
    void FindHanZi(const lexomir::CharacterFilter& filter);
    void FindBuShou(const lexomir::CharacterFilter& filter);
    void FindBiHua(const lexomir::CharacterFilter& filter);
    void FindZuHe(const lexomir::CharacterSearch& search);
    // A scan whose filter may read the character database.
    void scanWithDatabase(const lexomir::CharacterSearch& search);
    void showIndexFileError(const lexomir::IndexFileError& error);

    void runHandler(const std::function<void()>& handler);
    void applyFonts();
    void connectHandlers();
    void connectKeyboard();
    void fillLists();
    void applySettings(lexomir::WindowSettings values);
    // The least client size at which every control shows whole.
    QSize leastClientSize();
    void placeFrameAt(QPoint corner);
    // The top-left corner of the window with its frame, on the screen.
    QPoint framePosition() const;
    // Kept while the window is neither maximised nor minimised, so that a
    // maximised close can write the place and size the window returns to.
    void noteNormalGeometry();
    std::filesystem::path dataFolder() const;
    bool refused(const lexomir::Refusal* refusal);
    void showFirstFound(ResultGrid* grid, QWidget* page, void (TFrmMain::*openEntry)());
    // The entry of the found record behind the grid's current cell, if any.
    void showEntryOfCurrentCell(const ResultGrid& grid, lexomir::EntryKind page,
                                QPlainTextEdit& memo);
    void showDetail(QPlainTextEdit& memo, const std::string& gbkEntry,
                    const lexomir::LookedUpEntry& entry);
    void setDetailTextPixels(int pixels);
    // The history, the word list, search as you type and the clipboard.
    void connectLookups();
    lexomir::EntryKind shownPage() const;
    lexomir::LookupControls::Shown showLookedUp(const lexomir::LookedUpEntry& entry);
    // Puts text into the page's field and searches it as typed text is.
    void searchFor(lexomir::EntryKind page, const QString& text);
    void searchAsYouType(void (TFrmMain::*search)());
    void lookUpCopied(const QString& text);
    void raiseWindow();
    void showMessage(std::string_view gbkText);

    // How the character shown is written, beside Memo1, and the pad to write
    // one with, opened from beside LedtPinYin.
    void placeStrokePanel();
    void placeHandwritingButton();
    void showStrokesOf(const std::string& gbkCharacter);
    void openHandwritingPad();
    void searchHandwrittenCharacter(const QString& character);

    std::unique_ptr<QSettings> IniSet;
    std::string AppPath;
    // The list the grid shows, or during a scan the one being found; the grid
    // keeps the last list until the scan fills it with the new one.
    std::shared_ptr<const lexomir::FoundList> VecXinHua;
    lexomir::IndexFile HdlXinHua;
    std::shared_ptr<const lexomir::FoundList> VecChengYu;
    lexomir::IndexFile HdlChengYu;
    lexomir::Connection Aconn;
    lexomir::Query Aquery;
    lexomir::TraditionalToSimplified m_toSimplified;

    MessageSink m_showMessage;
    bool m_formShown = false;
    lexomir::ScanSession m_session;
    lexomir::NormalGeometry m_normalGeometry;
    QTimer m_normalGeometryTimer;
    int m_detailTextPixels = lexomir::kDefaultDetailTextPixels;
    bool m_detailTextSaved = false;  // the file holds a size, so a change back is written
    lexomir::StrokeAnimationPanel* m_strokePanel = nullptr;
    QToolButton* BtnShouXie = nullptr;
    lexomir::HandwritingPad* m_handwritingPad = nullptr;  // made when first opened
    std::unique_ptr<lexomir::LookupControls> m_lookups;
    lexomir::SearchAsYouType* m_pinyinAsYouType = nullptr;  // owned by its field
    lexomir::SearchAsYouType* m_idiomAsYouType = nullptr;
    bool m_searchingAsYouType = false;  // the focus stays in the field
    lexomir::ClipboardLookup m_clipboard;
    bool m_clipboardWatchSaved = false;
};

// The history and the word list in the window, over a LookupKeeper: the bar
// above each detail box, the two list windows and the export of the word
// list. The window tells what its detail views show and shows the entries
// handed back. lookups.db never stops the window: its first failure is told
// once, and the lists then live in memory for the run.
#pragma once

#include <QObject>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "lookup_keeper.h"
#include "word_list_export.h"

class QWidget;

namespace lexomir {

class DetailBar;
class LookedUpList;

class LookupControls : public QObject {
    Q_OBJECT

  public:
    enum class Shown {
        Yes,
        OtherEntryThere,  // the data was rebuilt since the entry was kept
        Failed,           // the window has told why
    };
    // What the window does for these controls.
    struct Window {
        // Whether an entry may be shown now (not during a scan).
        std::function<bool()> mayShow;
        // Shows the entry on its page, read from the dictionary by its
        // record number.
        std::function<Shown(const LookedUpEntry& entry)> show;
        // Finds the entry by its text, as a search does, and shows it.
        std::function<void(const LookedUpEntry& entry)> search;
        std::function<void(const QString& message)> tell;
    };
    struct ExportTarget {
        std::filesystem::path file;
        WordListFormat format = WordListFormat::Text;
    };
    // Asks the user where to export; nothing when the user cancels.
    using ExportFileChooser = std::function<std::optional<ExportTarget>(QWidget* parent)>;

    LookupControls(QWidget& window, DetailBar& characterBar, DetailBar& idiomBar, Window calls);
    ~LookupControls() override;

    // Uses lookups.db at file, creating it when it is missing.
    void open(const std::filesystem::path& file);
    // A detail view showed this entry: a search, the grid, a list.
    void shown(const LookedUpEntry& entry);
    void back(EntryKind page);
    void forward(EntryKind page);
    void toggleWord(EntryKind page);
    void showHistory();
    void showWords();
    void exportWords();
    void closeLists();
    void setExportFileChooser(ExportFileChooser chooser) {
        m_chooseExportFile = std::move(chooser);
    }

  private:
    void reopen(const LookedUpEntry& entry);
    void showFromTrail(EntryKind page,
                       std::optional<LookedUpEntry> (LookupKeeper::*step)(EntryKind));
    // After any change: the page's bar, the open lists, a failure told.
    void changed(EntryKind page);
    void showList(std::unique_ptr<LookedUpList>& list);
    // Whether it made the list now.
    bool makeList(std::unique_ptr<LookedUpList>& list, const QString& title, const char* windowName,
                  const char* listName);
    void tellStoreError();
    DetailBar& bar(EntryKind page) {
        return page == EntryKind::Character ? m_characterBar : m_idiomBar;
    }

    QWidget& m_window;
    DetailBar& m_characterBar;
    DetailBar& m_idiomBar;
    Window m_calls;
    ExportFileChooser m_chooseExportFile;
    std::unique_ptr<LookupStore> m_store;
    std::unique_ptr<LookupKeeper> m_keeper;
    std::unique_ptr<LookedUpList> m_history;
    std::unique_ptr<LookedUpList> m_words;
};

}  // namespace lexomir

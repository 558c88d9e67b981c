#include "lookup_controls.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <utility>

#include "detail_bar.h"
#include "looked_up_list.h"
#include "messages.h"

namespace lexomir {
namespace {

std::optional<LookupControls::ExportTarget> askForExportFile(QWidget* parent) {
    const QString textFiles = QStringLiteral("文本文件 (*.txt)");
    const QString csvFiles = QStringLiteral("CSV 文件 (*.csv)");
    QString chosenFilter;
    QString file = QFileDialog::getSaveFileName(
        parent, QStringLiteral("导出生词本"), QDir::home().filePath(QStringLiteral("生词本.txt")),
        textFiles + QStringLiteral(";;") + csvFiles, &chosenFilter);
    if (file.isEmpty()) return std::nullopt;
    if (QFileInfo(file).suffix().isEmpty())
        file += chosenFilter == csvFiles ? QStringLiteral(".csv") : QStringLiteral(".txt");
    const bool csv =
        QFileInfo(file).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
    return LookupControls::ExportTarget{file.toStdString(),
                                        csv ? WordListFormat::Csv : WordListFormat::Text};
}

}  // namespace

LookupControls::LookupControls(QWidget& window, DetailBar& characterBar, DetailBar& idiomBar,
                               Window calls)
    : QObject(&window),
      m_window(window),
      m_characterBar(characterBar),
      m_idiomBar(idiomBar),
      m_calls(std::move(calls)),
      m_chooseExportFile(askForExportFile) {
    setObjectName(QStringLiteral("LookupControls"));
    for (const EntryKind page : {EntryKind::Character, EntryKind::Idiom}) {
        DetailBar& pageBar = bar(page);
        connect(&pageBar, &DetailBar::backClicked, this, [this, page] { back(page); });
        connect(&pageBar, &DetailBar::forwardClicked, this, [this, page] { forward(page); });
        connect(&pageBar, &DetailBar::wordClicked, this, [this, page] { toggleWord(page); });
        connect(&pageBar, &DetailBar::historyClicked, this, &LookupControls::showHistory);
        connect(&pageBar, &DetailBar::wordsClicked, this, &LookupControls::showWords);
    }
}

LookupControls::~LookupControls() = default;

void LookupControls::open(const std::filesystem::path& file) {
    m_store = std::make_unique<LookupStore>(file, StoreAccess::ReadWrite);
    m_keeper = std::make_unique<LookupKeeper>(*m_store);
}

void LookupControls::shown(const LookedUpEntry& entry) {
    if (!m_keeper) return;
    m_keeper->shown(entry);
    changed(entry.kind);
}

void LookupControls::back(EntryKind page) {
    showFromTrail(page, &LookupKeeper::back);
}

void LookupControls::forward(EntryKind page) {
    showFromTrail(page, &LookupKeeper::forward);
}

void LookupControls::showFromTrail(EntryKind page,
                                   std::optional<LookedUpEntry> (LookupKeeper::*step)(EntryKind)) {
    if (!m_keeper || !m_calls.mayShow()) return;
    if (const std::optional<LookedUpEntry> entry = ((*m_keeper).*step)(page)) m_calls.show(*entry);
    changed(page);
}

void LookupControls::toggleWord(EntryKind page) {
    if (!m_keeper) return;
    m_keeper->toggleWord(page);
    changed(page);
}

// An entry of an earlier run may have another record number in rebuilt data;
// it is then found by its text.
void LookupControls::reopen(const LookedUpEntry& entry) {
    if (!m_calls.mayShow()) return;
    const Shown outcome = m_calls.show(entry);
    if (outcome == Shown::Yes) shown(entry);
    if (outcome == Shown::OtherEntryThere) m_calls.search(entry);
}

void LookupControls::changed(EntryKind page) {
    const std::optional<LookedUpEntry> current = m_keeper->current(page);
    bar(page).showState(m_keeper->canGoBack(page), m_keeper->canGoForward(page),
                        current ? std::optional<bool>(m_keeper->isWord(page)) : std::nullopt);
    if (m_history && m_history->isVisible()) m_history->setEntries(m_store->history());
    if (m_words && m_words->isVisible()) m_words->setEntries(m_store->words());
    tellStoreError();
}

void LookupControls::tellStoreError() {
    if (!m_store) return;
    if (const std::optional<StoreError> error = m_store->takeError()) {
        m_calls.tell(QString::fromStdString(
            messages::cannotKeepLookups(error->file, error->reason, !m_store->keepsFile())));
    }
}

bool LookupControls::makeList(std::unique_ptr<LookedUpList>& list, const QString& title,
                              const char* windowName, const char* listName) {
    if (list) return false;
    list = std::make_unique<LookedUpList>(title, listName, &m_window);
    list->setObjectName(QLatin1String(windowName));
    connect(list.get(), &LookedUpList::entryChosen, this, &LookupControls::reopen);
    return true;
}

void LookupControls::showList(std::unique_ptr<LookedUpList>& list) {
    list->setEntries(list == m_history ? m_store->history() : m_store->words());
    list->show();
    list->raise();
    list->activateWindow();
    tellStoreError();
}

void LookupControls::showHistory() {
    if (!m_store) return;
    makeList(m_history, QStringLiteral("历史"), "HistoryWindow", "HistoryList");
    showList(m_history);
}

void LookupControls::showWords() {
    if (!m_store) return;
    if (makeList(m_words, QStringLiteral("生词本"), "WordsWindow", "WordList")) {
        connect(m_words->addButton(QStringLiteral("导出…"), "BtnExportWords"),
                &QPushButton::clicked, this, &LookupControls::exportWords);
    }
    showList(m_words);
}

void LookupControls::exportWords() {
    if (!m_store) return;
    QWidget* parent = m_words && m_words->isVisible() ? m_words.get() : &m_window;
    const std::optional<ExportTarget> target = m_chooseExportFile(parent);
    if (!target) return;
    const std::vector<LookedUpEntry> words = m_store->words();
    tellStoreError();
    if (const std::optional<StoreError> error = exportWordList(target->file, words, target->format))
        m_calls.tell(
            QString::fromStdString(messages::cannotExportWords(error->file, error->reason)));
}

void LookupControls::closeLists() {
    for (LookedUpList* list : {m_history.get(), m_words.get()})
        if (list) list->close();
}

}  // namespace lexomir

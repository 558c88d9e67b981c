#include "tfrm_main.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <QToolButton>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <optional>
#include <utility>
#include <variant>

#include "app_identity.h"
#include "detail_row_layout.h"
#include "entry_text.h"
#include "gbk_qt.h"
#include "grid_layout.h"
#include "handwriting_pad.h"
#include "idiom_search.h"
#include "index_record_format.h"
#include "lexomir_application.h"
#include "radical_table.h"
#include "settings_location.h"
#include "song_font.h"
#include "stroke_animation_panel.h"
#include "stroke_database.h"
#include "stroke_tables.h"
#include "tfrm_about.h"
#include "tfrm_help.h"

using namespace lexomir;

namespace {

// The memo keeps one kind of line end; the entries come with CR LF.
void showEntry(QPlainTextEdit& memo, const std::string& gbkEntry) {
    QString text = fromGbk(gbkEntry);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    memo.setPlainText(text);
}

// The grids are laid out at a fixed height, which is the one the user set.
int gridHeight(const QWidget& grid) {
    return grid.maximumHeight();
}

// A detail box shows at least this many lines of its text.
constexpr int kLeastDetailLines = 5;

int heightForLines(const QPlainTextEdit& memo, int lines) {
    const int margins = static_cast<int>(2 * memo.document()->documentMargin());
    return lines * memo.fontMetrics().lineSpacing() + margins + 2 * memo.frameWidth();
}

constexpr std::chrono::milliseconds kNormalGeometrySettles(300);

std::shared_ptr<const FoundList> emptyList() {
    return std::make_shared<const FoundList>();
}

// A record's entry: the text its detail box shows and what the history keeps.
struct ShownDetail {
    std::string text;
    LookedUpEntry lookedUp;
};

ShownDetail readDetail(Connection& connection, Query& query, EntryKind page, std::int32_t record) {
    const bool characters = page == EntryKind::Character;
    const DatabaseUse databaseUse(
        connection, query, characters ? DictionaryDatabase::XinHua : DictionaryDatabase::ChengYu);
    query.lookUp(record);
    if (characters) {
        const CharacterEntry entry = readCharacterEntry(query);
        return {formatCharacterEntry(entry), lookedUpCharacter(record, entry)};
    }
    const IdiomEntry entry = readIdiomEntry(query);
    return {formatIdiomEntry(entry), lookedUpIdiom(record, entry)};
}

}  // namespace

TFrmMain::TFrmMain(const std::filesystem::path& appFolder, QWidget* parent)
    : QMainWindow(parent),
      AppPath((appFolder / "").string()),
      VecXinHua(emptyList()),
      VecChengYu(emptyList()),
      Aconn(std::filesystem::path(AppPath) / "dat"),
      Aquery(Aconn) {
    Q_INIT_RESOURCE(lexomir);
    setupUi(this);
    // An installed program shows the icon of its menu entry.
    setWindowIcon(QIcon::fromTheme(QString::fromLatin1(kApplicationId), windowIcon()));
    m_session.setSearchButtons({Btn1, Btn2, BtnChengYu});
    placeStrokePanel();
    placeHandwritingButton();
    Splitter2->setPanes(GridChengYu, Memo2);
    GridXinHua->setFixedHeight(GridXinHua->maximumHeight());
    GridChengYu->setFixedHeight(GridChengYu->maximumHeight());
    // The cells the form gives each grid before its first search.
    GridXinHua->showFound(VecXinHua, {20, 5});
    GridChengYu->showFound(VecChengYu, {6, 3});
    m_normalGeometryTimer.setSingleShot(true);
    m_normalGeometryTimer.setInterval(kNormalGeometrySettles);
    connect(&m_normalGeometryTimer, &QTimer::timeout, this, &TFrmMain::noteNormalGeometry);
    applyFonts();
    setDetailTextPixels(kDefaultDetailTextPixels);
    connectHandlers();
    connectKeyboard();
    connectLookups();
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::setMessageSink(MessageSink sink) {
    m_showMessage = std::move(sink);
}

void TFrmMain::showMessage(std::string_view gbkText) {
    const QString text = fromGbk(gbkText);
    if (m_showMessage) return m_showMessage(text);
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, this);
    box.exec();
}

void TFrmMain::applyFonts() {
    setFont(songFont(13));
    struct PixelFont {
        QWidget* widget;
        int pixels;
    };
    for (const PixelFont& entry :
         {PixelFont{RdoPinYin, 13}, PixelFont{RdoBuShou, 13}, PixelFont{RdoBiHua, 13},
          PixelFont{CboBuShou, 24}, PixelFont{CboBuShou2, 24}, PixelFont{GridXinHua, 20},
          PixelFont{GridChengYu, 19}, PixelFont{LedtChengYu, 19}}) {
        entry.widget->setFont(songFont(entry.pixels));
    }
}

// Errors are caught where the handler is entered: they must not unwind through Qt's frames.
void TFrmMain::runHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        showTopLevelError(errorText(error));
    } catch (...) {
        showTopLevelError(QString());
    }
}

void TFrmMain::connectHandlers() {
    const auto bind = [this](void (TFrmMain::*handler)()) {
        return [this, handler] { runHandler([this, handler] { (this->*handler)(); }); };
    };
    connect(Btn1, &QPushButton::clicked, this, bind(&TFrmMain::Btn1Click));
    connect(Btn2, &QPushButton::clicked, this, bind(&TFrmMain::Btn2Click));
    connect(BtnChengYu, &QPushButton::clicked, this, bind(&TFrmMain::BtnChengYuClick));
    connect(GridXinHua, &QTableView::doubleClicked, this, bind(&TFrmMain::GridXinHuaDblClick));
    connect(GridChengYu, &QTableView::doubleClicked, this, bind(&TFrmMain::GridChengYuDblClick));
    connect(N1, &QAction::triggered, this, bind(&TFrmMain::N1Click));
    connect(N2, &QAction::triggered, this, bind(&TFrmMain::N2Click));
    GridXinHua->viewport()->installEventFilter(this);
    GridChengYu->viewport()->installEventFilter(this);
    Image1->installEventFilter(this);
}

// Enter in a field runs its group's search, as its button does, and Enter on
// a found entry shows it, as a double click does.
void TFrmMain::connectKeyboard() {
    connect(LedtPinYin, &QLineEdit::returnPressed, Btn1, &QPushButton::click);
    connect(LedtZiYi, &QLineEdit::returnPressed, Btn2, &QPushButton::click);
    connect(LedtChengYu, &QLineEdit::returnPressed, BtnChengYu, &QPushButton::click);
    connect(GridXinHua, &ResultGrid::entryRequested, this,
            [this] { runHandler([this] { GridXinHuaDblClick(); }); });
    connect(GridChengYu, &ResultGrid::entryRequested, this,
            [this] { runHandler([this] { GridChengYuDblClick(); }); });

    N1->setShortcut(QKeySequence::HelpContents);
    ActQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    ActLargerText->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)});
    ActSmallerText->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    ActDefaultText->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(ActQuit, &QAction::triggered, this, &QWidget::close);
    connect(ActLargerText, &QAction::triggered, this,
            [this] { setDetailTextPixels(m_detailTextPixels + 1); });
    connect(ActSmallerText, &QAction::triggered, this,
            [this] { setDetailTextPixels(m_detailTextPixels - 1); });
    connect(ActDefaultText, &QAction::triggered, this,
            [this] { setDetailTextPixels(kDefaultDetailTextPixels); });
}

// Both detail boxes at this text size, each still showing five lines.
void TFrmMain::setDetailTextPixels(int pixels) {
    m_detailTextPixels = std::clamp(pixels, kSmallestDetailTextPixels, kLargestDetailTextPixels);
    for (QPlainTextEdit* memo : {Memo1, Memo2}) {
        memo->setFont(songFont(m_detailTextPixels));
        memo->setMinimumHeight(heightForLines(*memo, kLeastDetailLines));
        // The layouts above would learn of it only at the next event pass,
        // after the window's least size below had been taken.
        for (QWidget* above = memo->parentWidget(); above && above != this;
             above = above->parentWidget())
            above->updateGeometry();
    }
    if (m_formShown) setMinimumSize(leastClientSize());
}

// Each a class of its own; wired here to the controls and the keys, which
// act on the page shown.
void TFrmMain::connectLookups() {
    m_lookups = std::make_unique<LookupControls>(
        *this, *DetailBar1, *DetailBar2,
        LookupControls::Window{
            [this] { return !m_session.isScanning() && !m_session.isWindowClosed(); },
            [this](const LookedUpEntry& entry) {
                LookupControls::Shown shown = LookupControls::Shown::Failed;
                runHandler([&] { shown = showLookedUp(entry); });
                return shown;
            },
            [this](const LookedUpEntry& entry) { searchFor(entry.kind, fromGbk(entry.text)); },
            [this](const QString& text) { showMessage(toGbk(text)); }});
    ActBack->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    ActForward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    ActToggleWord->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    ActHistory->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    ActWords->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    LookupControls* lookups = m_lookups.get();
    connect(ActBack, &QAction::triggered, lookups, [=, this] { lookups->back(shownPage()); });
    connect(ActForward, &QAction::triggered, lookups, [=, this] { lookups->forward(shownPage()); });
    connect(ActToggleWord, &QAction::triggered, lookups,
            [=, this] { lookups->toggleWord(shownPage()); });
    connect(ActHistory, &QAction::triggered, lookups, &LookupControls::showHistory);
    connect(ActWords, &QAction::triggered, lookups, &LookupControls::showWords);
    connect(ActExportWords, &QAction::triggered, lookups, &LookupControls::exportWords);

    m_pinyinAsYouType =
        new SearchAsYouType(*LedtPinYin, m_session, ScanSession::Grid::Characters, [this] {
            RdoPinYin->setChecked(true);
            searchAsYouType(&TFrmMain::Btn1Click);
        });
    m_idiomAsYouType = new SearchAsYouType(*LedtChengYu, m_session, ScanSession::Grid::Idioms,
                                           [this] { searchAsYouType(&TFrmMain::BtnChengYuClick); });
    connect(Btn1, &QPushButton::clicked, m_pinyinAsYouType, &SearchAsYouType::cancel);
    connect(BtnChengYu, &QPushButton::clicked, m_idiomAsYouType, &SearchAsYouType::cancel);

    connect(ActWatchClipboard, &QAction::toggled, &m_clipboard, &ClipboardLookup::setWatching);
    connect(&m_clipboard, &ClipboardLookup::copied, this, &TFrmMain::lookUpCopied);
}

EntryKind TFrmMain::shownPage() const {
    return Page1->currentWidget() == TabSheet2 ? EntryKind::Idiom : EntryKind::Character;
}

LookupControls::Shown TFrmMain::showLookedUp(const LookedUpEntry& entry) {
    const bool characters = entry.kind == EntryKind::Character;
    const ShownDetail detail = readDetail(Aconn, Aquery, entry.kind, entry.record);
    if (!isSameEntry(detail.lookedUp, entry)) return LookupControls::Shown::OtherEntryThere;
    Page1->setCurrentWidget(characters ? TabSheet1 : TabSheet2);
    showDetail(characters ? *Memo1 : *Memo2, detail.text, detail.lookedUp);
    return LookupControls::Shown::Yes;
}

void TFrmMain::searchFor(EntryKind page, const QString& text) {
    const bool characters = page == EntryKind::Character;
    Page1->setCurrentWidget(characters ? TabSheet1 : TabSheet2);
    if (characters) RdoPinYin->setChecked(true);
    (characters ? LedtPinYin : LedtChengYu)->setText(text);
    (characters ? m_pinyinAsYouType : m_idiomAsYouType)->searchSoon();
}

void TFrmMain::searchAsYouType(void (TFrmMain::*search)()) {
    m_searchingAsYouType = true;
    runHandler([this, search] { (this->*search)(); });
    m_searchingAsYouType = false;
}

// One to three Chinese characters are looked up as characters, four to
// twelve as an idiom; any other text is no lookup.
void TFrmMain::lookUpCopied(const QString& text) {
    if (m_session.isWindowClosed()) return;
    CopiedTextLookup lookup = CopiedTextLookup::Nothing;
    try {
        lookup = copiedTextLookup(toGbk(text));
    } catch (const TextConversionError&) {
        return;  // text that GBK cannot hold is no Chinese the dictionary has
    }
    if (lookup == CopiedTextLookup::Nothing) return;
    searchFor(lookup == CopiedTextLookup::Characters ? EntryKind::Character : EntryKind::Idiom,
              text.trimmed());
    raiseWindow();
}

void TFrmMain::raiseWindow() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    activateWindow();
}

bool TFrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto button = static_cast<QMouseEvent*>(event)->button();
        if (watched == GridXinHua->viewport()) runHandler([&] { GridXinHuaMouseUp(button); });
        if (watched == GridChengYu->viewport()) runHandler([&] { GridChengYuMouseUp(button); });
        if (watched == Image1 && button == Qt::LeftButton) runHandler([this] { Image1Click(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_formShown) return;
    m_formShown = true;
    runHandler([this] { FormShow(); });
}

void TFrmMain::closeEvent(QCloseEvent* event) {
    if (m_formShown && !m_session.isWindowClosed()) runHandler([this] { FormClose(); });
    if (m_handwritingPad) m_handwritingPad->close();
    QMainWindow::closeEvent(event);
}

// A window manager that maximises a window may tell its new size before it
// tells of the new state, so a size counts as normal only once the window has
// kept it a moment in the normal state.
void TFrmMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    m_normalGeometryTimer.start();
}

void TFrmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    m_normalGeometryTimer.start();
}

void TFrmMain::noteNormalGeometry() {
    if (!m_formShown || windowState() != Qt::WindowNoState || !isVisible()) return;
    m_normalGeometry = {framePosition(), size()};
}

std::filesystem::path TFrmMain::dataFolder() const {
    return std::filesystem::path(AppPath) / "dat";
}

void TFrmMain::FormShow() {
    fillLists();
    const std::filesystem::path iniFile = chooseSettingsFile(AppPath, systemSettingsPlaces());
    IniSet =
        std::make_unique<QSettings>(QString::fromStdString(iniFile.string()), QSettings::IniFormat);
    applySettings(readWindowSettings(*IniSet));
    if (const std::optional<int> pixels = readDetailTextPixels(*IniSet)) {
        m_detailTextSaved = true;
        setDetailTextPixels(*pixels);
    }
    ProgXinHua->setRange(1, xinhua_record::kRecordCount);
    ProgChengYu->setRange(1, chengyu_record::kRecordCount);
    if (const std::optional<bool> watch = readClipboardWatch(*IniSet)) {
        m_clipboardWatchSaved = true;
        ActWatchClipboard->setChecked(*watch);
    }
    m_lookups->open(chooseUserFile(dataFolder(), systemSettingsPlaces(), kLookupsFile));
    HdlXinHua = openXinHuaIndex(dataFolder());
    HdlChengYu = openChengYuIndex(dataFolder());
    VecXinHua = emptyList();
    VecChengYu = emptyList();
    LedtPinYin->setFocus();
}

void TFrmMain::fillLists() {
    const QString unused = QStringLiteral("不使用");
    CboZiYi->addItems({unused, QStringLiteral("小范围"), QStringLiteral("大范围")});
    CboZiMu2->addItem(unused);
    for (char letter = 'a'; letter <= 'z'; ++letter)
        CboZiMu2->addItem(QString(QLatin1Char(letter)));
    CboBuShou2->addItem(unused);
    for (const std::string& item : BuShouTable().listItems()) {
        const QString text = fromGbk(item);
        CboBuShou->addItem(text);
        CboBuShou2->addItem(text);
    }
    CboBiHua2->addItem(unused);
    for (int strokes = 0; strokes <= kMostListedStrokes; ++strokes) {
        CboBiHua->addItem(QString::number(strokes));
        if (strokes == 0) continue;
        CboBiHua2->addItem(QString::number(strokes));
        CboAllBiHua->addItem(QString::number(strokes));
    }
    for (QComboBox* list :
         {CboZiYi, CboBuShou, CboBuShou2, CboZiMu2, CboBiHua, CboBiHua2, CboAllBiHua}) {
        list->setCurrentIndex(0);
        // As wide as its longest item: Qt keeps the least width it measured
        // while the list was still empty.
        list->setMinimumWidth(list->sizeHint().width());
    }
}

void TFrmMain::applySettings(WindowSettings values) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens.append(screen->geometry());
    values = fitToScreens(values, screens);
    GridXinHua->setFixedHeight(values.GridXinHua);
    GridChengYu->setFixedHeight(values.GridChengYu);
    // Every control must show, whatever size the file asks for.
    const QSize least = leastClientSize();
    setMinimumSize(least);
    values.width = std::max(values.width, least.width());
    values.height = std::max(values.height, least.height());
    // Laid out now, no later layout pass resizes the window, which would undo
    // the place and the state below.
    layout()->activate();
    resize(values.width, values.height);
    placeFrameAt(QPoint(values.left, values.top));
    m_normalGeometry = {QPoint(values.left, values.top), QSize(values.width, values.height)};
    if (values.state == SavedWindowState::Maximised) setWindowState(Qt::WindowMaximized);
    if (values.state == SavedWindowState::Minimised) setWindowState(Qt::WindowMinimized);
}

QSize TFrmMain::leastClientSize() {
    layout()->activate();
    return minimumSizeHint().expandedTo(layout()->minimumSize());
}

// Called before the window is mapped. A window manager puts its title bar
// above the corner a plain move() asks for; asking for the frame's corner
// lets it place the decorated window there (on X11, north-west gravity).
// The widget's own position must agree, or show() would move the window again.
void TFrmMain::placeFrameAt(QPoint corner) {
    move(corner);
    if (QWindow* native = windowHandle()) native->setFramePosition(corner);
}

QPoint TFrmMain::framePosition() const {
    return windowHandle() ? windowHandle()->framePosition() : pos();
}

void TFrmMain::FormClose() {
    m_session.closeWindow();
    m_lookups->closeLists();
    HdlXinHua.close();
    HdlChengYu.close();
    if (!IniSet) return;
    if (windowState() == Qt::WindowNoState) noteNormalGeometry();
    WindowSettings values;
    // A window closed maximised comes back to the size the user gave it.
    values.left = m_normalGeometry.frameCorner.x();
    values.top = m_normalGeometry.frameCorner.y();
    values.width = m_normalGeometry.clientSize.width();
    values.height = m_normalGeometry.clientSize.height();
    values.state = isMaximized() ? SavedWindowState::Maximised : SavedWindowState::Normal;
    values.GridXinHua = gridHeight(*GridXinHua);
    values.GridChengYu = gridHeight(*GridChengYu);
    bool written = writeWindowSettings(*IniSet, values);
    if (written && (m_detailTextSaved || m_detailTextPixels != kDefaultDetailTextPixels))
        written = writeDetailTextPixels(*IniSet, m_detailTextPixels);
    if (written && (m_clipboardWatchSaved || ActWatchClipboard->isChecked()))
        written = writeClipboardWatch(*IniSet, ActWatchClipboard->isChecked());
    if (!written) showMessage(toGbk(QStringLiteral("Unable to write to ") + IniSet->fileName()));
    IniSet.reset();
}

bool TFrmMain::ScanXinHua(const CharacterFilter& filter, bool readsDatabase) {
    ScanOutcome outcome;
    {
        const ScanSession::Scan scan(m_session, ScanSession::Grid::Characters, readsDatabase);
        auto found = std::make_shared<FoundList>();
        VecXinHua = found;
        try {
            outcome = scanXinHua(HdlXinHua, filter, m_session.progressHook(*ProgXinHua), *found);
        } catch (...) {
            // A database failure inside the filter ends the scan before the
            // grid is refilled; the list goes back to what the grid shows.
            VecXinHua = GridXinHua->shownFound();
            throw;
        }
        if (outcome.end != ScanEnd::Stopped) FillGridXinHua();
        // Out of date: the list goes back to what the grid shows.
        if (m_session.wasStopped()) VecXinHua = GridXinHua->shownFound();
    }
    if (outcome.end == ScanEnd::Failed) showIndexFileError(*outcome.error);
    return outcome.end == ScanEnd::Completed && !m_session.isWindowClosed();
}

void TFrmMain::showIndexFileError(const IndexFileError& error) {
    showMessage(toGbk(QString::fromStdString(error.describeInChinese())));
}

void TFrmMain::FillGridXinHua() {
    GridXinHua->showFound(VecXinHua,
                          characterGridLayout(widthOnItsPage(*GridXinHua, *TabSheet1),
                                              GridXinHua->defaultColumnWidth(), VecXinHua->size()));
}

// A page not shown keeps the size it had when it was last shown, so its grid
// is laid out for the width it will have there.
int TFrmMain::widthOnItsPage(ResultGrid& grid, QWidget& page) {
    const QWidget* shown = Page1->currentWidget();
    if (shown && shown != &page && page.size() != shown->size()) {
        page.resize(shown->size());
        page.layout()->activate();
    }
    return grid.width();
}

void TFrmMain::FindPinYin(const CharacterSearch& search) {
    scanWithDatabase(search);
}

void TFrmMain::FindHanZi(const CharacterFilter& filter) {
    if (ScanXinHua(filter)) showFirstFound(GridXinHua, TabSheet1, &TFrmMain::GridXinHuaDblClick);
}

void TFrmMain::FindBuShou(const CharacterFilter& filter) {
    ScanXinHua(filter);
}

void TFrmMain::FindBiHua(const CharacterFilter& filter) {
    ScanXinHua(filter);
}

void TFrmMain::FindZuHe(const CharacterSearch& search) {
    scanWithDatabase(search);
}

void TFrmMain::scanWithDatabase(const CharacterSearch& search) {
    const DatabaseUse databaseUse(Aconn, Aquery, DictionaryDatabase::XinHua);
    ScanXinHua(search.filter, search.usesDatabase);
}

// Focus only goes to a grid on the page being shown, and never while the user
// is typing; the entry is shown either way.
void TFrmMain::showFirstFound(ResultGrid* grid, QWidget* page, void (TFrmMain::*openEntry)()) {
    if (Page1->currentWidget() == page && !m_searchingAsYouType) grid->setFocus();
    grid->setCurrentCell(0, 0);
    (this->*openEntry)();
}

bool TFrmMain::refused(const Refusal* refusal) {
    if (!refusal) return false;
    showMessage(refusal->message);
    switch (refusal->focus) {
        case InputFocus::LedtPinYin:
            LedtPinYin->setFocus();
            break;
        case InputFocus::LedtZiYi:
            LedtZiYi->setFocus();
            break;
        case InputFocus::LedtChengYu:
            LedtChengYu->setFocus();
            break;
        case InputFocus::None:
            break;
    }
    return true;
}

void TFrmMain::Btn1Click() {
    const ScanSession::Search searchRun(m_session);
    if (!searchRun.started()) return;
    CharacterSearchPlan plan;
    if (RdoPinYin->isChecked()) {
        plan = planTypedSearch(toGbk(LedtPinYin->text()), [this](const PinyinSpelling& spelling) {
            return makeToneFilter(Aquery, spelling);
        });
    } else if (RdoBuShou->isChecked()) {
        plan = planRadicalSearch(CboBuShou->currentIndex(), CboBiHua->currentIndex());
    } else if (RdoBiHua->isChecked()) {
        plan = planStrokeSearch(CboAllBiHua->currentIndex());
    } else {
        return;
    }
    if (refused(std::get_if<Refusal>(&plan))) return;
    const CharacterSearch& search = std::get<CharacterSearch>(plan);
    if (RdoPinYin->isChecked()) {
        search.showsFirstEntry ? FindHanZi(search.filter) : FindPinYin(search);
    } else if (RdoBuShou->isChecked()) {
        FindBuShou(search.filter);
    } else {
        FindBiHua(search.filter);
    }
}

void TFrmMain::Btn2Click() {
    const ScanSession::Search searchRun(m_session);
    if (!searchRun.started()) return;
    const CombinedControls controls{CboZiMu2->currentIndex(), CboBuShou2->currentIndex(),
                                    CboBiHua2->currentIndex(), toGbk(LedtZiYi->text()),
                                    CboZiYi->currentIndex()};
    const CharacterSearchPlan plan = planCombinedSearch(
        controls, [this](const std::vector<std::string>& keywords, int meaningRange) {
            return makeMeaningFilter(Aquery, keywords, meaningRange);
        });
    if (refused(std::get_if<Refusal>(&plan))) return;
    const CharacterSearch& search = std::get<CharacterSearch>(plan);
    if (!search.notice.empty()) showMessage(search.notice);
    if (m_session.isWindowClosed()) return;
    FindZuHe(search);
}

void TFrmMain::GridXinHuaDblClick() {
    if (!m_session.mayShowDetail(ScanSession::Grid::Characters)) return;
    if (toGbk(GridXinHua->cellText(GridXinHua->currentRow(), GridXinHua->currentColumn())).size() !=
        2)
        return;
    showEntryOfCurrentCell(*GridXinHua, EntryKind::Character, *Memo1);
}

void TFrmMain::showEntryOfCurrentCell(const ResultGrid& grid, EntryKind page,
                                      QPlainTextEdit& memo) {
    const FoundEntry* entry = grid.currentEntry();
    if (!entry) return;
    const ShownDetail detail = readDetail(Aconn, Aquery, page, entry->record);
    showDetail(memo, detail.text, detail.lookedUp);
    m_lookups->shown(detail.lookedUp);
}

// Every character entry shown, found or reopened, is drawn beside Memo1 too.
void TFrmMain::showDetail(QPlainTextEdit& memo, const std::string& gbkEntry,
                          const LookedUpEntry& entry) {
    showEntry(memo, gbkEntry);
    if (entry.kind == EntryKind::Character) showStrokesOf(entry.text);
}

void TFrmMain::GridXinHuaMouseUp(Qt::MouseButton button) {
    if (button == Qt::RightButton) showMessage(charactersFoundMessage(VecXinHua->size()));
}

void TFrmMain::BtnChengYuClick() {
    const ScanSession::Search searchRun(m_session);
    if (!searchRun.started()) return;
    const IdiomSearchPlan plan =
        planIdiomSearch(toGbk(LedtChengYu->text()), [this](std::string_view text) {
            return simplifyForIdiomIndex(text, HdlChengYu, m_toSimplified);
        });
    if (refused(std::get_if<Refusal>(&plan))) return;
    ScanOutcome outcome;
    {
        const ScanSession::Scan scan(m_session, ScanSession::Grid::Idioms, false);
        auto found = std::make_shared<FoundList>();
        VecChengYu = found;
        outcome = scanChengYu(HdlChengYu, std::get<std::string>(plan),
                              m_session.progressHook(*ProgChengYu), *found);
        if (outcome.end != ScanEnd::Stopped) {
            GridChengYu->showFound(
                VecChengYu, idiomGridLayout(widthOnItsPage(*GridChengYu, *TabSheet2),
                                            GridChengYu->defaultColumnWidth(), VecChengYu->size()));
        }
        if (m_session.wasStopped()) VecChengYu = GridChengYu->shownFound();
    }
    if (outcome.end == ScanEnd::Failed) return showIndexFileError(*outcome.error);
    if (outcome.end != ScanEnd::Completed || m_session.isWindowClosed()) return;
    if (!VecChengYu->empty())
        showFirstFound(GridChengYu, TabSheet2, &TFrmMain::GridChengYuDblClick);
}

void TFrmMain::GridChengYuDblClick() {
    if (!m_session.mayShowDetail(ScanSession::Grid::Idioms)) return;
    if (GridChengYu->cellText(GridChengYu->currentRow(), GridChengYu->currentColumn()).isEmpty())
        return;
    showEntryOfCurrentCell(*GridChengYu, EntryKind::Idiom, *Memo2);
}

void TFrmMain::GridChengYuMouseUp(Qt::MouseButton button) {
    if (button == Qt::RightButton) showMessage(idiomsFoundMessage(VecChengYu->size()));
}

void TFrmMain::N1Click() {
    TFrmHelp FrmHelp(this);
    FrmHelp.exec();
}

void TFrmMain::N2Click() {
    TFrmAbout FrmAbout(this);
    FrmAbout.exec();
}

void TFrmMain::Image1Click() {
    try {
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(kMakerWebSite)));
    } catch (...) {
        // Not being able to open a browser is no concern of the dictionary.
    }
}

// Memo1 and the stroke panel share the row below the grid, which the splitter resizes.
void TFrmMain::placeStrokePanel() {
    auto* row = new QWidget(TabSheet1);
    row->setObjectName(QStringLiteral("Memo1Row"));
    m_strokePanel = new StrokeAnimationPanel(row);
    delete TabSheet1->layout()->replaceWidget(Memo1, row);
    new DetailRowLayout(Memo1, m_strokePanel, row);
    Splitter1->setPanes(GridXinHua, row);
    setTabOrder(Memo1, m_strokePanel);
}

void TFrmMain::placeHandwritingButton() {
    // A tool button is no wider than its caption, so the row keeps its width.
    BtnShouXie = new QToolButton(Panel1);
    BtnShouXie->setObjectName(QStringLiteral("BtnShouXie"));
    BtnShouXie->setText(QStringLiteral("手写"));
    BtnShouXie->setToolTip(QStringLiteral("手写输入：用鼠标写一个字来查找"));
    BtnShouXie->setFocusPolicy(Qt::StrongFocus);
    PinYinRow->insertWidget(PinYinRow->indexOf(LedtPinYin) + 1, BtnShouXie);
    setTabOrder(LedtPinYin, BtnShouXie);
    connect(BtnShouXie, &QToolButton::clicked, this, &TFrmMain::openHandwritingPad);
}

// The file is opened for each character: that takes well under a millisecond,
// and a file put right, or put in place, is read at the next entry.
void TFrmMain::showStrokesOf(const std::string& gbkCharacter) {
    try {
        const handwriting::StrokeDatabase strokes(dataFolder() / handwriting::kStrokeDataFileName);
        if (const auto found = strokes.lookUp(gbkCharacter))
            return m_strokePanel->showCharacter(*found);
        m_strokePanel->showNote(QStringLiteral("笔画数据里没有“%1”字").arg(fromGbk(gbkCharacter)));
    } catch (const handwriting::StrokeDataError& error) {
        m_strokePanel->showNote(QStringLiteral("无法显示笔顺：") + QString::fromUtf8(error.what()));
    }
}

void TFrmMain::openHandwritingPad() {
    if (!m_handwritingPad) {
        m_handwritingPad = new HandwritingPad(dataFolder(), this);
        connect(m_handwritingPad, &HandwritingPad::characterChosen, this,
                &TFrmMain::searchHandwrittenCharacter);
        // Beside the window, or at the screen's edge, rather than over the grid.
        const QRect screen = this->screen()->availableGeometry();
        const QRect frame = frameGeometry();
        m_handwritingPad->move(
            std::min(frame.right() + 1, screen.right() + 1 - m_handwritingPad->width()),
            std::max(frame.top(), screen.top()));
    }
    m_handwritingPad->show();
    m_handwritingPad->raise();
    m_handwritingPad->activateWindow();
}

// Appended, so that a word is written a character at a time, to characters;
// pinyin, which a character after it would only keep from being found, gives
// way. Then searched as 查找 does.
void TFrmMain::searchHandwrittenCharacter(const QString& character) {
    RdoPinYin->setChecked(true);
    const QString typed = LedtPinYin->text();
    const bool holdsCharacters = std::any_of(
        typed.begin(), typed.end(), [](QChar c) { return c.script() == QChar::Script_Han; });
    LedtPinYin->setText(holdsCharacters ? typed + character : character);
    m_handwritingPad->clearInk();
    runHandler([this] { Btn1Click(); });
}

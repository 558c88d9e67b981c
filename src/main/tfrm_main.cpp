#include "tfrm_main.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <QUrl>
#include <QWindow>
#include <optional>
#include <utility>
#include <variant>

#include "app_identity.h"
#include "entry_text.h"
#include "gbk_qt.h"
#include "grid_layout.h"
#include "idiom_search.h"
#include "index_record_format.h"
#include "lexomir_application.h"
#include "radical_table.h"
#include "settings_location.h"
#include "song_font.h"
#include "tfrm_about.h"
#include "tfrm_help.h"

using namespace lexomir;

namespace {

QString currentCellText(const QTableWidget& grid) {
    const QTableWidgetItem* item = grid.item(grid.currentRow(), grid.currentColumn());
    return item ? item->text() : QString();
}

// The record number behind the grid's current cell; nothing for a cell at or
// beyond the found list.
std::optional<std::int32_t> foundRecordAtCurrentCell(const QTableWidget& grid,
                                                     const std::vector<std::int32_t>& found) {
    const auto k =
        cellListIndex(grid.columnCount(), grid.currentColumn(), grid.currentRow(), found.size());
    if (!k) return std::nullopt;
    return found[*k];
}

// Filling twenty thousand cells takes longer than a frame, so events are
// processed between blocks of cells as they are during the scan.
constexpr std::size_t kCellsBetweenEvents = 2048;

// Lays count entries out row by row; every other cell is left empty.
template <typename TextOf>
void fillGrid(QTableWidget& grid, GridLayout layout, std::size_t count, TextOf textOf) {
    grid.setUpdatesEnabled(false);
    grid.clearContents();
    grid.setColumnCount(layout.columns);
    grid.setRowCount(layout.rows);
    for (std::size_t k = 0; k < count; ++k) {
        if (k > 0 && k % kCellsBetweenEvents == 0) QCoreApplication::processEvents();
        grid.setItem(static_cast<int>(k / layout.columns), static_cast<int>(k % layout.columns),
                     new QTableWidgetItem(textOf(k)));
    }
    grid.setUpdatesEnabled(true);
}

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

}  // namespace

TFrmMain::TFrmMain(const std::filesystem::path& appFolder, QWidget* parent)
    : QMainWindow(parent),
      AppPath((appFolder / "").string()),
      Aconn(std::filesystem::path(AppPath) / "dat"),
      Aquery(Aconn) {
    Q_INIT_RESOURCE(lexomir);
    setupUi(this);
    // An installed program shows the icon of its menu entry.
    setWindowIcon(QIcon::fromTheme(QString::fromLatin1(kApplicationId), windowIcon()));
    m_session.setSearchButtons({Btn1, Btn2, BtnChengYu});
    Splitter1->setPanes(GridXinHua, Memo1);
    Splitter2->setPanes(GridChengYu, Memo2);
    GridXinHua->setFixedHeight(GridXinHua->maximumHeight());
    GridChengYu->setFixedHeight(GridChengYu->maximumHeight());
    for (QTableWidget* grid : {GridXinHua, GridChengYu}) {
        grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    }
    applyFonts();
    connectHandlers();
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
          PixelFont{GridChengYu, 19}, PixelFont{Memo1, 19}, PixelFont{Memo2, 19},
          PixelFont{LedtChengYu, 19}}) {
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
    connect(GridXinHua, &QTableWidget::cellDoubleClicked, this,
            bind(&TFrmMain::GridXinHuaDblClick));
    connect(GridChengYu, &QTableWidget::cellDoubleClicked, this,
            bind(&TFrmMain::GridChengYuDblClick));
    connect(N1, &QAction::triggered, this, bind(&TFrmMain::N1Click));
    connect(N2, &QAction::triggered, this, bind(&TFrmMain::N2Click));
    GridXinHua->viewport()->installEventFilter(this);
    GridChengYu->viewport()->installEventFilter(this);
    Image1->installEventFilter(this);
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
    QMainWindow::closeEvent(event);
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
    ProgXinHua->setRange(1, xinhua_record::kRecordCount);
    ProgChengYu->setRange(1, chengyu_record::kRecordCount);
    HdlXinHua = openXinHuaIndex(dataFolder());
    HdlChengYu = openChengYuIndex(dataFolder());
    VecXinHua.clear();
    VecChengYu.clear();
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
         {CboZiYi, CboBuShou, CboBuShou2, CboZiMu2, CboBiHua, CboBiHua2, CboAllBiHua})
        list->setCurrentIndex(0);
}

void TFrmMain::applySettings(WindowSettings values) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens.append(screen->geometry());
    values = fitToScreens(values, screens);
    GridXinHua->setFixedHeight(values.GridXinHua);
    GridChengYu->setFixedHeight(values.GridChengYu);
    // The grids set the window's least height; laid out now, no later layout
    // pass resizes the window, which would undo the place and the state below.
    layout()->activate();
    resize(values.width, values.height);
    placeFrameAt(QPoint(values.left, values.top));
    if (values.state == SavedWindowState::Maximised) setWindowState(Qt::WindowMaximized);
    if (values.state == SavedWindowState::Minimised) setWindowState(Qt::WindowMinimized);
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
    HdlXinHua.close();
    HdlChengYu.close();
    if (!IniSet) return;
    WindowSettings values;
    values.left = framePosition().x();
    values.top = framePosition().y();
    values.width = width();
    values.height = height();
    values.state = isMaximized() ? SavedWindowState::Maximised : SavedWindowState::Normal;
    values.GridXinHua = gridHeight(*GridXinHua);
    values.GridChengYu = gridHeight(*GridChengYu);
    if (!writeWindowSettings(*IniSet, values, values.state == SavedWindowState::Normal)) {
        showMessage(toGbk(QStringLiteral("Unable to write to ") + IniSet->fileName()));
    }
    IniSet.reset();
}

bool TFrmMain::ScanXinHua(const CharacterFilter& filter, bool readsDatabase) {
    ScanOutcome outcome;
    {
        const ScanSession::Scan scan(m_session, ScanSession::Grid::Characters, readsDatabase);
        // A database failure inside the filter ends the scan before the grid is
        // refilled; the grid still shows the last result, so the lists must
        // go back to it, or a double click would show some other entry.
        // The scan empties both lists first, so they can be moved aside.
        std::vector<std::int32_t> shownRecords = std::move(VecXinHua);
        std::string shownCharacters = std::move(StrXinHua);
        try {
            outcome = scanXinHua(HdlXinHua, filter, m_session.progressHook(*ProgXinHua), VecXinHua,
                                 StrXinHua);
        } catch (...) {
            VecXinHua = std::move(shownRecords);
            StrXinHua = std::move(shownCharacters);
            throw;
        }
        if (outcome.end != ScanEnd::Stopped) FillGridXinHua();
    }
    if (outcome.end == ScanEnd::Failed) showIndexFileError(*outcome.error);
    return outcome.end == ScanEnd::Completed && !m_session.isWindowClosed();
}

void TFrmMain::showIndexFileError(const IndexFileError& error) {
    showMessage(toGbk(QString::fromStdString(error.describeInChinese())));
}

void TFrmMain::FillGridXinHua() {
    const GridLayout layout =
        characterGridLayout(GridXinHua->width(),
                            GridXinHua->horizontalHeader()->defaultSectionSize(), VecXinHua.size());
    // Every found character is one two-byte GBK code, which is one UTF-16 unit.
    const QString characters = fromGbk(StrXinHua);
    const bool oneUnitEach = characters.size() == static_cast<qsizetype>(VecXinHua.size());
    fillGrid(*GridXinHua, layout, VecXinHua.size(), [&](std::size_t k) {
        return oneUnitEach ? QString(characters[static_cast<qsizetype>(k)])
                           : fromGbk(characterCellText(StrXinHua, k));
    });
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

// Focus only goes to a grid on the page being shown; the entry is shown either way.
void TFrmMain::showFirstFound(QTableWidget* grid, QWidget* page, void (TFrmMain::*showDetail)()) {
    if (Page1->currentWidget() == page) grid->setFocus();
    grid->setCurrentCell(0, 0);
    (this->*showDetail)();
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
    if (toGbk(currentCellText(*GridXinHua)).size() != 2) return;
    showEntryOfCurrentCell(
        *GridXinHua, VecXinHua, DictionaryDatabase::XinHua, *Memo1,
        [](const Query& row) { return formatCharacterEntry(readCharacterEntry(row)); });
}

void TFrmMain::showEntryOfCurrentCell(const QTableWidget& grid,
                                      const std::vector<std::int32_t>& found,
                                      DictionaryDatabase database, QPlainTextEdit& memo,
                                      std::string (*entryText)(const Query& row)) {
    const auto record = foundRecordAtCurrentCell(grid, found);
    if (!record) return;
    const DatabaseUse databaseUse(Aconn, Aquery, database);
    Aquery.lookUp(*record);
    showEntry(memo, entryText(Aquery));
}

void TFrmMain::GridXinHuaMouseUp(Qt::MouseButton button) {
    if (button == Qt::RightButton) showMessage(charactersFoundMessage(VecXinHua.size()));
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
        std::vector<std::string> idioms;
        outcome = scanChengYu(HdlChengYu, std::get<std::string>(plan),
                              m_session.progressHook(*ProgChengYu), VecChengYu, idioms);
        if (outcome.end != ScanEnd::Stopped) fillGridChengYu(idioms);
    }
    if (outcome.end == ScanEnd::Failed) return showIndexFileError(*outcome.error);
    if (outcome.end != ScanEnd::Completed || m_session.isWindowClosed()) return;
    if (!VecChengYu.empty()) showFirstFound(GridChengYu, TabSheet2, &TFrmMain::GridChengYuDblClick);
}

void TFrmMain::fillGridChengYu(const std::vector<std::string>& idioms) {
    const GridLayout layout = idiomGridLayout(
        GridChengYu->width(), GridChengYu->horizontalHeader()->defaultSectionSize(), idioms.size());
    fillGrid(*GridChengYu, layout, idioms.size(),
             [&](std::size_t k) { return fromGbk(idioms[k]); });
}

void TFrmMain::GridChengYuDblClick() {
    if (!m_session.mayShowDetail(ScanSession::Grid::Idioms)) return;
    if (currentCellText(*GridChengYu).isEmpty()) return;
    showEntryOfCurrentCell(*GridChengYu, VecChengYu, DictionaryDatabase::ChengYu, *Memo2,
                           [](const Query& row) { return formatIdiomEntry(readIdiomEntry(row)); });
}

void TFrmMain::GridChengYuMouseUp(Qt::MouseButton button) {
    if (button == Qt::RightButton) showMessage(idiomsFoundMessage(VecChengYu.size()));
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

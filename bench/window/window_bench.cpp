// Clicks the search buttons of the real window (offscreen) and times each
// click until its grid is painted. Uses dat/ beside the program when it holds
// the real index files, otherwise a synthetic data set of the same size.
//
// Counters: max_event_gap_ms is the longest time during a click in which no
// event was processed, found the number of entries found, bar the progress
// bar's final value, rss_mb the process's own resident memory after the last
// click. At the end a summary gives
// each search's median CPU time over every click of every repetition beside the median of the core
// pinyin scan measured in the same run, and their ratio.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "character_filters.h"
#include "data_folder.h"
#include "gbk_codec.h"
#include "index_file.h"
#include "index_record_format.h"
#include "lexomir_application.h"
#include "record_scan.h"
#include "search_plans.h"
#include "tfrm_main.h"
#include "xinhua_record.h"

namespace {

namespace fs = std::filesystem;

// Toneless syllables enough to give a pinyin prefix a realistic share of hits.
std::vector<std::string> syllables() {
    const std::array initials = {"b", "p", "m",  "f",  "d",  "t", "n", "l", "g", "k", "h", "j",
                                 "q", "x", "zh", "ch", "sh", "r", "z", "c", "s", "y", "w"};
    const std::array finals = {"a",   "o",   "e",   "i",  "u",  "an", "en",
                               "ang", "eng", "ong", "ai", "ei", "ao", "ou"};
    std::vector<std::string> all;
    for (const char* initial : initials)
        for (const char* final : finals) all.push_back(std::string(initial) + final);
    return all;
}

void writeSyntheticData(const fs::path& dat) {
    namespace x = lexomir::xinhua_record;
    namespace c = lexomir::chengyu_record;
    fs::create_directories(dat);
    const std::vector<std::string> readings = syllables();
    std::ofstream xinhua(dat / lexomir::kXinHuaIndexFile, std::ios::binary);
    for (std::int32_t k = 1; k <= x::kRecordCount; ++k) {
        std::string record(x::kSize, '\0');
        const int code = k % (72 * 94);  // GB2312 level 1 and 2 characters, B0A1 to F7FE
        record[x::kCharacterOffset] = static_cast<char>(0xB0 + code / 94);
        record[x::kCharacterOffset + 1] = static_cast<char>(0xA1 + code % 94);
        std::string pinyin = readings[(k * 11) % readings.size()];
        if (k % 10 == 0) pinyin += "," + readings[(k * 13) % readings.size()];
        record.replace(x::kPinyinOffset, pinyin.size(), pinyin);
        record[x::kRadicalOffset] = static_cast<char>(0xBF);
        record[x::kRadicalOffset + 1] = static_cast<char>(0xDA);
        record[x::kStrokesOffset] = static_cast<char>(1 + k % 30);
        xinhua.write(record.data(), static_cast<std::streamsize>(record.size()));
    }
    std::ofstream chengyu(dat / lexomir::kChengYuIndexFile, std::ios::binary);
    for (std::int32_t k = 1; k <= c::kRecordCount; ++k) {
        std::string record(c::kSize, '\0');
        for (int i = 0; i < 4; ++i) {
            const int code = (k * (i + 3)) % (72 * 94);
            record[2 * i] = static_cast<char>(0xB0 + code / 94);
            record[2 * i + 1] = static_cast<char>(0xA1 + code % 94);
        }
        chengyu.write(record.data(), static_cast<std::streamsize>(record.size()));
    }
    std::ofstream(dat / lexomir::kSettingsFile) << "[window]\nwidth=987\nheight=842\n";
}

bool holdsRealData(const fs::path& dat) {
    std::error_code error;
    return fs::file_size(dat / lexomir::kXinHuaIndexFile, error) ==
           lexomir::xinhua_record::kSize * lexomir::xinhua_record::kRecordCount;
}

// A 1 ms precise timer: it can only fire when events are processed, so the
// longest time between two firings bounds how long any event waited.
class Heartbeat {
  public:
    Heartbeat() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { note(); });
    }
    void start() {
        m_clock.start();
        m_last = 0;
        m_maxGap = 0;
        m_timer.start();
    }
    void stop() {
        note();
        m_timer.stop();
    }
    double maxGapMs() const { return static_cast<double>(m_maxGap) / 1e6; }

  private:
    void note() {
        const std::int64_t now = m_clock.nsecsElapsed();
        m_maxGap = std::max(m_maxGap, now - m_last);
        m_last = now;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    std::int64_t m_last = 0, m_maxGap = 0;
};

struct Session {
    fs::path appFolder;
    bool realData = false;
    std::unique_ptr<TFrmMain> window;
    // CPU milliseconds of every timed click (or core scan), by benchmark.
    std::map<std::string, std::vector<double>> cpuMs;
};

Session& session() {
    static Session s;
    return s;
}

template <typename Widget>
Widget* control(const char* name) {
    return session().window->findChild<Widget*>(QString::fromLatin1(name));
}

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The process's own resident memory in MB, from /proc: anonymous pages, not
// the pages of the files it maps (libraries, the CJK font), which any glyph
// drawn pulls in and the system may drop at will.
double residentMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("RssAnon:", 0) == 0) return std::stod(line.substr(8)) / 1024;
    }
    return 0;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Counts the paint events of a widget.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// Clicks button once per iteration, preparing the controls outside the
// timing, and processes events until the grid has painted its new content.
void timeClicks(benchmark::State& state, const std::string& search, const char* button,
                const char* progress, const char* grid, const std::function<void()>& prepare) {
    Heartbeat heartbeat;
    PaintCounter painted(control<QAbstractScrollArea>(grid)->viewport());
    std::vector<double>& clicks = session().cpuMs[search];
    double worstGap = 0;
    int unpainted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        QCoreApplication::processEvents();
        painted.paints = 0;
        state.ResumeTiming();
        const double start = threadCpuMs();
        heartbeat.start();
        control<QPushButton>(button)->click();
        for (int pass = 0; pass < 10 && painted.paints == 0; ++pass)
            QCoreApplication::processEvents();
        heartbeat.stop();
        clicks.push_back(threadCpuMs() - start);
        if (painted.paints == 0) ++unpainted;
        worstGap = std::max(worstGap, heartbeat.maxGapMs());
    }
    state.counters["max_event_gap_ms"] = worstGap;
    state.counters["bar"] = control<QProgressBar>(progress)->value();
    state.counters["unpainted"] = unpainted;
    state.counters["rss_mb"] = residentMb();
    state.SetLabel(session().realData ? "real dat/" : "synthetic data");
}

void showCharacterPage() {
    control<QTabWidget>("Page1")->setCurrentIndex(0);
}

void BM_PinyinSearch(benchmark::State& state, const char* prefix) {
    showCharacterPage();
    timeClicks(state, std::string("PinyinSearch/") + prefix, "Btn1", "ProgXinHua", "GridXinHua",
               [&] { control<QLineEdit>("LedtPinYin")->setText(QString::fromLatin1(prefix)); });
    state.counters["found"] = static_cast<double>(session().window->foundCharacters().size());
}

// Every criterion off: all records found, the largest grid fill there is.
void BM_CombinedSearchFindingEverything(benchmark::State& state) {
    showCharacterPage();
    timeClicks(state, "CombinedSearchFindingEverything", "Btn2", "ProgXinHua", "GridXinHua", [] {
        control<QComboBox>("CboZiYi")->setCurrentIndex(0);
        control<QLineEdit>("LedtZiYi")->clear();
    });
    state.counters["found"] = static_cast<double>(session().window->foundCharacters().size());
}

// "大范围" with 水 and 火; the notice that the search is slow goes to the
// message sink, which shows nothing here.
void BM_MeaningSearch(benchmark::State& state) {
    showCharacterPage();
    timeClicks(state, "MeaningSearch", "Btn2", "ProgXinHua", "GridXinHua", [] {
        control<QComboBox>("CboZiYi")->setCurrentIndex(2);
        control<QLineEdit>("LedtZiYi")->setText(QString::fromUtf8("水 火"));
    });
    state.counters["found"] = static_cast<double>(session().window->foundCharacters().size());
}

void BM_IdiomSearch(benchmark::State& state) {
    control<QTabWidget>("Page1")->setCurrentIndex(1);
    // A pattern that matches nothing, so the detail view (the database) stays out of the timing.
    timeClicks(state, "IdiomSearch", "BtnChengYu", "ProgChengYu", "GridChengYu",
               [] { control<QLineEdit>("LedtChengYu")->setText(QStringLiteral("zz")); });
}

// A lone wildcard: every idiom, and the first one's entry shown.
void BM_IdiomSearchFindingEverything(benchmark::State& state) {
    control<QTabWidget>("Page1")->setCurrentIndex(1);
    timeClicks(state, "IdiomSearchFindingEverything", "BtnChengYu", "ProgChengYu", "GridChengYu",
               [] { control<QLineEdit>("LedtChengYu")->setText(QStringLiteral("=")); });
    state.counters["found"] = static_cast<double>(session().window->foundIdioms().size());
}

// The scan under the window's pinyin search, without the window: the yardstick
// the searches are measured against.
void BM_CorePinyinScan(benchmark::State& state) {
    lexomir::IndexFile file = lexomir::openXinHuaIndex(session().appFolder / "dat");
    const auto plan = lexomir::planTypedSearch("zhong");
    const lexomir::CharacterFilter& filter = std::get<lexomir::CharacterSearch>(plan).filter;
    std::vector<double>& scans = session().cpuMs["CorePinyinScan"];
    std::vector<std::int32_t> found;
    for (auto _ : state) {
        const double start = threadCpuMs();
        found.clear();
        const auto outcome = lexomir::scanRecords(file, {}, [&](std::int32_t k, const char* bytes) {
            if (filter(k, lexomir::XinHuaRecord(bytes))) found.push_back(k);
        });
        benchmark::DoNotOptimize(found.data());
        scans.push_back(threadCpuMs() - start);
        if (outcome.end != lexomir::ScanEnd::Completed)
            state.SkipWithError("cannot read XinHua.dat");
    }
    state.counters["found"] = static_cast<double>(found.size());
    state.counters["rss_mb"] = residentMb();
}

constexpr int kRepetitions = 5;

BENCHMARK(BM_CorePinyinScan)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_PinyinSearch, zhong, "zhong")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_PinyinSearch, zh, "zh")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_CombinedSearchFindingEverything)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_MeaningSearch)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_IdiomSearch)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_IdiomSearchFindingEverything)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

// Each benchmark's median CPU time per click over all its repetitions, and
// how many core pinyin scans of the same run it comes to.
void printSummary() {
    const std::map<std::string, std::vector<double>>& all = session().cpuMs;
    double core = 0;
    for (const auto& [name, values] : all)
        if (name == "CorePinyinScan") core = median(values);
    std::printf("\n%-44s %12s %10s\n", "CPU time, median of all clicks", "ms", "x core");
    for (const auto& [name, values] : all)
        std::printf("%-44s %12.3f %10.1f\n", name.c_str(), median(values),
                    core > 0 ? median(values) / core : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    lexomir::LexomirApplication application(argc, argv);
    ::benchmark::Initialize(&argc, argv);

    Session& s = session();
    s.appFolder = lexomir::executableDirectory();
    s.realData = holdsRealData(s.appFolder / "dat");
    std::string scratch;
    if (!s.realData) {
        scratch = (fs::temp_directory_path() / "lexomir-window-bench-XXXXXX").string();
        if (!mkdtemp(scratch.data())) return 1;
        s.appFolder = scratch;
        writeSyntheticData(s.appFolder / "dat");
    }
    s.window = std::make_unique<TFrmMain>(s.appFolder);
    s.window->setMessageSink([](const QString&) {});
    s.window->resize(987, 842);
    s.window->show();
    if (!QTest::qWaitForWindowExposed(s.window.get())) return 1;

    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    printSummary();
    s.window.reset();  // not closed: the settings of a real dat/ stay as they were
    if (!scratch.empty()) fs::remove_all(scratch);
    return 0;
}

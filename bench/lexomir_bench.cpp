// Timings of the searches over the real data set in dat/ (beside the
// program, or --data=DIR). The scans run without a per-record hook, so they
// measure the dictionary work alone.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>

#include "data_folder.h"
#include "dictionary_database.h"
#include "gbk_codec.h"
#include "idiom_search.h"
#include "ink_distortion.h"
#include "radical_table.h"
#include "search_plans.h"
#include "stroke_database.h"
#include "stroke_tables.h"
#include "template_loading.h"
#include "xinhua_scan.h"

namespace lexomir {
namespace {

std::filesystem::path& dataFolder() {
    static std::filesystem::path folder = defaultDataFolder();
    return folder;
}

int radicalItem(std::string_view utf8Radical) {
    return BuShouTable().listIndexOf(utf8ToGbk(utf8Radical)).value_or(-1);
}

void runCharacterScan(benchmark::State& state, const CharacterSearchPlan& plan) {
    if (!std::holds_alternative<CharacterSearch>(plan)) {
        state.SkipWithError("the search was refused");
        return;
    }
    const CharacterFilter& filter = std::get<CharacterSearch>(plan).filter;
    IndexFile file = openXinHuaIndex(dataFolder());
    FoundList VecXinHua;
    for (auto _ : state) {
        const ScanOutcome outcome = scanXinHua(file, filter, {}, VecXinHua);
        if (outcome.end != ScanEnd::Completed) {
            state.SkipWithError(outcome.error ? outcome.error->describe().c_str() : "stopped");
            return;
        }
        benchmark::DoNotOptimize(VecXinHua.data());
    }
    state.counters["found"] = static_cast<double>(VecXinHua.size());
}

void BM_ScanPinyin(benchmark::State& state) {
    runCharacterScan(state, planTypedSearch("zhong"));
}
BENCHMARK(BM_ScanPinyin)->Unit(benchmark::kMicrosecond);

void BM_ScanHanzi(benchmark::State& state) {
    runCharacterScan(state, planTypedSearch(utf8ToGbk("中华人民共和国")));
}
BENCHMARK(BM_ScanHanzi)->Unit(benchmark::kMicrosecond);

void BM_ScanRadical(benchmark::State& state) {
    runCharacterScan(state, planRadicalSearch(radicalItem("氵"), 0));
}
BENCHMARK(BM_ScanRadical)->Unit(benchmark::kMicrosecond);

void BM_ScanStrokes(benchmark::State& state) {
    runCharacterScan(state, planStrokeSearch(8 - 1));
}
BENCHMARK(BM_ScanStrokes)->Unit(benchmark::kMicrosecond);

void BM_ScanCombinedWithoutMeaning(benchmark::State& state) {
    CombinedControls controls;
    controls.letterIndex = 'z' - 'a' + 1;
    controls.radicalIndex = radicalItem("口") + 1;
    controls.minStrokesIndex = 5;
    runCharacterScan(state, planCombinedSearch(controls, {}));
}
BENCHMARK(BM_ScanCombinedWithoutMeaning)->Unit(benchmark::kMicrosecond);

// The typed text: the file's own characters, last first, repeated up to
// 32767 characters, so that every record is found.
std::string longTypedText(IndexFile& file) {
    std::string characters;
    const ScanOutcome outcome = scanRecords(file, {}, [&](std::int32_t, const char* bytes) {
        characters.insert(0, XinHuaRecord(bytes).character());
    });
    if (outcome.end != ScanEnd::Completed) return {};
    std::string typed;
    while (typed.size() < 2 * 32767) typed += characters;
    typed.resize(2 * 32767);
    return typed;
}

void BM_FindHanZi32767(benchmark::State& state) {
    IndexFile file = openXinHuaIndex(dataFolder());
    const std::string typed = longTypedText(file);
    if (typed.empty()) {
        state.SkipWithError("cannot read XinHua.dat");
        return;
    }
    runCharacterScan(state, planTypedSearch(typed));
}
BENCHMARK(BM_FindHanZi32767)->Unit(benchmark::kMillisecond);

void BM_IdiomScan(benchmark::State& state) {
    const IdiomSearchPlan plan = planIdiomSearch(utf8ToGbk("百战不="));
    const std::string& pattern = std::get<std::string>(plan);
    IndexFile file = openChengYuIndex(dataFolder());
    FoundList VecChengYu;
    for (auto _ : state) {
        const ScanOutcome outcome = scanChengYu(file, pattern, {}, VecChengYu);
        if (outcome.end != ScanEnd::Completed) {
            state.SkipWithError(outcome.error ? outcome.error->describe().c_str() : "stopped");
            return;
        }
        benchmark::DoNotOptimize(VecChengYu.data());
    }
    state.counters["found"] = static_cast<double>(VecChengYu.size());
}
BENCHMARK(BM_IdiomScan)->Unit(benchmark::kMicrosecond);

// "大范围" with 水 and 火: one lookup per record; the connection opens on the
// first lookup and closes after the scan, as in the window.
void BM_MeaningSearch(benchmark::State& state) {
    IndexFile file = openXinHuaIndex(dataFolder());
    FoundList VecXinHua;
    CombinedControls controls;
    controls.keywordsText = utf8ToGbk("水 火");
    controls.meaningRangeIndex = 2;
    for (auto _ : state) {
        Connection connection(dataFolder());
        Query query(connection);
        const CharacterSearchPlan plan =
            planCombinedSearch(controls, [&](const std::vector<std::string>& keywords, int range) {
                return makeMeaningFilter(query, keywords, range);
            });
        try {
            const DatabaseUse databaseUse(connection, query, DictionaryDatabase::XinHua);
            const ScanOutcome outcome =
                scanXinHua(file, std::get<CharacterSearch>(plan).filter, {}, VecXinHua);
            if (outcome.end != ScanEnd::Completed) {
                state.SkipWithError("scan failed");
                return;
            }
        } catch (const DatabaseError& error) {
            state.SkipWithError(error.what());
            return;
        }
    }
    state.counters["found"] = static_cast<double>(VecXinHua.size());
}
BENCHMARK(BM_MeaningSearch)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same question put to the sqlite3 shell, start-up included. With
// cpuTime the iteration time is the child's CPU time (user + system), which
// other load on the machine disturbs less than the wall clock.
double childCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void runSqlite3Shell(benchmark::State& state, bool cpuTime) {
    const std::string command =
        "sqlite3 '" + (dataFolder() / kXinHuaDatabaseFile).string() +
        "' \"select count(*) from xhzd where jijie like '%水%' or xiangjie like '%水%'"
        " or jijie like '%火%' or xiangjie like '%火%'\" 2>&1";
    long rows = -1;
    for (auto _ : state) {
        const double cpuBefore = childCpuSeconds();
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) {
            state.SkipWithError("cannot start sqlite3");
            return;
        }
        char line[256] = {};
        const bool answered = std::fgets(line, sizeof line, pipe) != nullptr;
        const int status = pclose(pipe);
        if (!answered || status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError(answered ? line : "sqlite3 gave no answer");
            return;
        }
        if (cpuTime) state.SetIterationTime(childCpuSeconds() - cpuBefore);
        rows = std::strtol(line, nullptr, 10);
    }
    state.counters["found"] = static_cast<double>(rows);
}

void BM_Sqlite3Shell(benchmark::State& state) {
    runSqlite3Shell(state, false);
}
BENCHMARK(BM_Sqlite3Shell)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Sqlite3ShellCpu(benchmark::State& state) {
    runSqlite3Shell(state, true);
}
BENCHMARK(BM_Sqlite3ShellCpu)->Unit(benchmark::kMillisecond)->UseManualTime();

// Prints, after the table, how the meaning search compares with the shell:
// wall clock against wall clock, and CPU time against the shell's CPU time.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
            const double iterations = static_cast<double>(run.iterations);
            Seconds& seconds = m_seconds[run.run_name.function_name];
            seconds.real = run.real_accumulated_time / iterations;
            seconds.cpu = run.cpu_accumulated_time / iterations;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        printRatio("wall clock", "BM_MeaningSearch", &Seconds::real, "BM_Sqlite3Shell",
                   &Seconds::real);
        // Under manual time the shell's "real" time is the child's CPU time.
        printRatio("CPU time", "BM_MeaningSearch", &Seconds::cpu, "BM_Sqlite3ShellCpu",
                   &Seconds::real);
    }

  private:
    struct Seconds {
        double real = 0, cpu = 0;
    };

    void printRatio(const char* what, const std::string& ours, double Seconds::*ourTime,
                    const std::string& shell, double Seconds::*shellTime) {
        const auto a = m_seconds.find(ours);
        const auto b = m_seconds.find(shell);
        if (a == m_seconds.end() || b == m_seconds.end() || b->second.*shellTime <= 0) return;
        GetOutputStream() << "meaning search / sqlite3 shell, " << what << ": "
                          << a->second.*ourTime / (b->second.*shellTime) << " ("
                          << a->second.*ourTime * 1e3 << " ms / " << b->second.*shellTime * 1e3
                          << " ms)\n";
    }

    std::map<std::string, Seconds> m_seconds;
};

// Handwriting: the templates of Strokes.db limited to XinHua.dat's
// characters, loaded as the pad loads them once; then one character
// recognised, written from the first 200 common characters' own centre lines
// with mouse-like distortion.
void BM_LoadHandwritingTemplates(benchmark::State& state) {
    std::size_t templates = 0;
    for (auto _ : state) templates = handwriting::loadRecogniser(dataFolder()).templateCount();
    state.counters["templates"] = static_cast<double>(templates);
}
BENCHMARK(BM_LoadHandwritingTemplates)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RecogniseHandwriting(benchmark::State& state) {
    const handwriting::Recogniser recogniser = handwriting::loadRecogniser(dataFolder());
    const std::vector<std::string> characters = handwriting::readDictionaryCharacters(dataFolder());
    const std::vector<std::string> common(characters.begin(), characters.begin() + 200);
    const handwriting::StrokeDatabase database(dataFolder() / handwriting::kStrokeDataFileName);
    std::vector<handwriting::Ink> written;
    strokes::InkDistorter distorter(3);
    for (const auto& entry : database.readTemplates([&](const std::string& gbk) {
             return std::find(common.begin(), common.end(), gbk) != common.end();
         }))
        written.push_back(distorter.write(entry.strokes, strokes::Distortion::MouseLike));
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(recogniser.recognise(written[next], 10));
        next = (next + 1) % written.size();
    }
}
BENCHMARK(BM_RecogniseHandwriting)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lexomir

int main(int argc, char** argv) {
    // --data=DIR is ours; everything else is Google Benchmark's.
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && std::strncmp(argv[i], "--data=", 7) == 0) {
            lexomir::dataFolder() = argv[i] + 7;
        } else {
            args.push_back(argv[i]);
        }
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    std::cout << "data: " << lexomir::dataFolder().string() << "\n";
    lexomir::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

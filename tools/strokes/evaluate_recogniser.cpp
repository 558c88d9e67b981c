// lexomir-evaluate-handwriting: how often the recogniser finds a character
// written from its own centre lines with the distortions of ink_distortion.h.
// The tuning set holds characters outside the 2013 list's first level (the
// records after XinHua.dat's first 3500); the test set is those 3500.
//
//   lexomir-evaluate-handwriting DATA_DIR [--set tuning|common] [--sample N]
//                                [--try name=value,...]
// --try changes the recogniser's settings for one run (missing, extra,
// length, joined, split, swapped, backwards, moved, shortlist, strokeweight).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <unordered_map>

#include "gbk_codec.h"
#include "index_file.h"
#include "index_record_format.h"
#include "ink_distortion.h"
#include "stroke_database.h"
#include "stroke_tables.h"
#include "template_loading.h"

namespace {

using namespace lexomir;
using namespace lexomir::handwriting;

constexpr std::size_t kCommonCount = 3500;

// The radical of each record of XinHua.dat, GBK.
std::unordered_map<std::string, std::string> radicals(const std::filesystem::path& data) {
    IndexFile index = openXinHuaIndex(data);
    std::unordered_map<std::string, std::string> radicalOf;
    if (index.rewind()) return radicalOf;
    for (const char* record = index.nextRecord(); record; record = index.nextRecord())
        radicalOf.emplace(std::string(record + xinhua_record::kCharacterOffset, 2),
                          std::string(record + xinhua_record::kRadicalOffset, 2));
    return radicalOf;
}

struct Tally {
    std::size_t top1 = 0, top5 = 0, top10 = 0, count = 0;
    void add(const std::vector<std::string>& found, const std::string& character) {
        ++count;
        for (std::size_t rank = 0; rank < found.size(); ++rank) {
            if (found[rank] != character) continue;
            top1 += rank < 1;
            top5 += rank < 5;
            top10 += 1;
        }
    }
    void print(const std::string& name) const {
        const double n = static_cast<double>(count) / 100;
        std::printf("%-13s top-1 %5.1f%%  top-5 %5.1f%%  top-10 %5.1f%%  (%zu)\n", name.c_str(),
                    static_cast<double>(top1) / n, static_cast<double>(top5) / n,
                    static_cast<double>(top10) / n, count);
    }
};

struct Options {
    std::filesystem::path data;
    bool tuning = false;
    std::size_t sample = 0;  // 0: the whole set
    std::string trial;       // settings to try, "name=value,..."
};

RecogniserSettings withTrial(RecogniserSettings settings, const std::string& trial) {
    std::size_t start = 0;
    while (start < trial.size()) {
        const std::size_t end = std::min(trial.find(',', start), trial.size());
        const std::string item = trial.substr(start, end - start);
        const std::size_t equals = item.find('=');
        if (equals == std::string::npos) throw std::runtime_error("--try needs name=value");
        const std::string name = item.substr(0, equals);
        const float value = std::stof(item.substr(equals + 1));
        AlignmentPrices& p = settings.prices;
        if (name == "missing")
            p.missingStroke = value;
        else if (name == "extra")
            p.extraStroke = value;
        else if (name == "length")
            p.lengthWeight = value;
        else if (name == "joined")
            p.joinedStrokes = value;
        else if (name == "split")
            p.splitStroke = value;
        else if (name == "swapped")
            p.swappedStrokes = value;
        else if (name == "backwards")
            p.backwards = value;
        else if (name == "moved")
            p.movedComponent = value;
        else if (name == "shortlist")
            settings.shortlistSize = static_cast<std::size_t>(value);
        else if (name == "strokeweight")
            settings.shortlistStrokeWeight = value;
        else
            throw std::runtime_error("--try: unknown setting " + name);
        start = end + 1;
    }
    return settings;
}

Options parse(int argc, char** argv) {
    Options options;
    if (argc < 2) throw std::runtime_error("usage: DATA_DIR [--set tuning|common] [--sample N]");
    options.data = argv[1];
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--set")
            options.tuning = std::string(argv[i + 1]) == "tuning";
        else if (name == "--sample")
            options.sample = std::stoul(argv[i + 1]);
        else if (name == "--try")
            options.trial = argv[i + 1];
        else
            throw std::runtime_error("unknown option " + name);
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const Options options = parse(argc, argv);
        const auto started = std::chrono::steady_clock::now();
        Recogniser recogniser = loadRecogniser(options.data);
        recogniser.setSettings(withTrial(recogniser.settings(), options.trial));
        const double loadSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

        const std::vector<std::string> characters = readDictionaryCharacters(options.data);
        const StrokeDatabase database(options.data / kStrokeDataFileName);
        std::unordered_map<std::string, Ink> templates;
        for (CharacterTemplate& entry :
             database.readTemplates([](const std::string&) { return true; }))
            templates.emplace(entry.character, std::move(entry.strokes));

        std::vector<std::string> set;
        const std::size_t first = options.tuning ? kCommonCount : 0;
        const std::size_t last = options.tuning ? characters.size() : kCommonCount;
        for (std::size_t i = first; i < last; ++i)
            if (templates.contains(characters[i])) set.push_back(characters[i]);
        if (options.sample > 0 && options.sample < set.size()) {
            // Every k-th, so the sample spans the levels and stroke counts.
            std::vector<std::string> sampled;
            const double step =
                static_cast<double>(set.size()) / static_cast<double>(options.sample);
            for (std::size_t k = 0; k < options.sample; ++k)
                sampled.push_back(set[static_cast<std::size_t>(static_cast<double>(k) * step)]);
            set = std::move(sampled);
        }
        std::printf("%s set: %zu characters; %zu templates loaded in %.2f s\n",
                    options.tuning ? "tuning" : "common", set.size(), recogniser.templateCount(),
                    loadSeconds);

        double totalSeconds = 0;
        std::size_t totalRuns = 0;
        strokes::InkDistorter distorter(options.tuning ? 1 : 2);
        for (const strokes::Distortion distortion : strokes::kAllDistortions) {
            Tally tally;
            for (const std::string& character : set) {
                const Ink ink = distorter.write(templates.at(character), distortion);
                const auto before = std::chrono::steady_clock::now();
                tally.add(recogniser.recognise(ink, 10), character);
                totalSeconds +=
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - before)
                        .count();
                ++totalRuns;
            }
            tally.print(std::string(strokes::distortionName(distortion)));
        }
        // 辶 and 廴 written before the rest, mouse-like: the characters of
        // the set filed under them.
        const auto radicalOf = radicals(options.data);
        Tally walkFirst;
        for (const std::string& character : set) {
            const auto radical = radicalOf.find(character);
            if (radical == radicalOf.end()) continue;
            const bool walk = radical->second == utf8ToGbk("辶");
            if (!walk && radical->second != utf8ToGbk("廴")) continue;
            Ink ink = templates.at(character);
            const std::size_t moved = walk ? 3 : 2;
            if (ink.size() < moved + 2) continue;
            std::rotate(ink.begin(), ink.end() - static_cast<long>(moved), ink.end());
            walkFirst.add(
                recogniser.recognise(distorter.write(ink, strokes::Distortion::MouseLike), 10),
                character);
        }
        walkFirst.print("辶/廴 first");
        std::printf("mean time per character %.2f ms (wall clock)\n",
                    totalSeconds / static_cast<double>(totalRuns) * 1000);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lexomir-evaluate-handwriting: %s\n", error.what());
        return 1;
    }
}

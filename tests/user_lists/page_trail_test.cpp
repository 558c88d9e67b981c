// Back and forward through what a page showed, and what the window's keeper
// records and stars on the way.
#include "page_trail.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture_files.h"
#include "lookup_keeper.h"
#include "named_case.h"

namespace lexomir::testing {
namespace {

LookedUpEntry entryNamed(char name) {
    return {EntryKind::Character, name, std::string(1, name), "", ""};
}

// One step: 'A'..'Z' opens that entry, '<' goes back, '>' forward; then the
// entry shown ('-' for none) and whether either way is open.
struct Step {
    char action;
    char shown;
    bool canGoBack, canGoForward;
};

struct TrailCase : NamedCase {
    std::vector<Step> steps;
};

class PageTrailTest : public ::testing::TestWithParam<TrailCase> {};

TEST_P(PageTrailTest, WalksWhatThePageShowed) {
    PageTrail trail;
    int i = 0;
    for (const Step& step : GetParam().steps) {
        if (step.action == '<') {
            trail.back();
        } else if (step.action == '>') {
            trail.forward();
        } else {
            trail.open(entryNamed(step.action));
        }
        const LookedUpEntry* current = trail.current();
        EXPECT_EQ(current ? current->text : "-", std::string(1, step.shown)) << "step " << i;
        EXPECT_EQ(trail.canGoBack(), step.canGoBack) << "step " << i;
        EXPECT_EQ(trail.canGoForward(), step.canGoForward) << "step " << i;
        ++i;
    }
}

INSTANTIATE_TEST_SUITE_P(Walks, PageTrailTest,
                         ::testing::Values(TrailCase{{"BackAndForwardStopAtTheEnds"},
                                                     {{'<', '-', false, false},
                                                      {'A', 'A', false, false},
                                                      {'B', 'B', true, false},
                                                      {'<', 'A', false, true},
                                                      {'<', 'A', false, true},
                                                      {'>', 'B', true, false},
                                                      {'>', 'B', true, false}}},
                                           TrailCase{
                                               {"OpeningAfterGoingBackDropsWhatLayAhead"},
                                               {{'A', 'A', false, false},
                                                {'B', 'B', true, false},
                                                {'C', 'C', true, false},
                                                {'<', 'B', true, true},
                                                {'B', 'B', true, true},  // the entry shown: no step
                                                {'<', 'A', false, true},
                                                {'D', 'D', true, false},
                                                {'<', 'A', false, true}}}),
                         CaseName());

TEST(LookupKeeper, KeepsEachPageApartRecordsEveryEntryShownAndStarsThePagesEntry) {
    TempFolder folder;
    LookupStore store(folder / "lookups.db", StoreAccess::ReadWrite);
    LookupKeeper keeper(store);
    const LookedUpEntry a{EntryKind::Character, 1, "A", "", ""};
    const LookedUpEntry b{EntryKind::Character, 2, "B", "", ""};
    const LookedUpEntry idiom{EntryKind::Idiom, 3, "ABCD", "", ""};
    EXPECT_EQ(keeper.toggleWord(EntryKind::Idiom), std::nullopt);

    keeper.shown(a);
    keeper.shown(idiom);
    keeper.shown(b);
    EXPECT_EQ(keeper.back(EntryKind::Character), a);
    EXPECT_EQ(keeper.back(EntryKind::Character), std::nullopt);
    EXPECT_EQ(keeper.back(EntryKind::Idiom), std::nullopt);
    EXPECT_EQ(keeper.current(EntryKind::Idiom), idiom);
    EXPECT_EQ(keeper.toggleWord(EntryKind::Character), true);
    EXPECT_TRUE(keeper.isWord(EntryKind::Character));
    EXPECT_EQ(keeper.forward(EntryKind::Character), b);
    EXPECT_FALSE(keeper.isWord(EntryKind::Character));

    // Going back showed A again: the history has it once more.
    EXPECT_EQ(store.history(), (std::vector<LookedUpEntry>{b, a, b, idiom, a}));
    EXPECT_EQ(store.words(), std::vector<LookedUpEntry>{a});
}

}  // namespace
}  // namespace lexomir::testing

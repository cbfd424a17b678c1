// The suggestion: word costs from the tiers, variant costs on a handmade dictionary, and
// the lazy k-best search against a brute-force ranking of every variant.
#include "TestUtil.h"

#include "encoding/RankingUnit.h"
#include "encoding/VariantSearchUnit.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <random>

using namespace nb;
using ::testing::ElementsAre;

namespace {

int Groups(const std::string& key) { return 1 + static_cast<int>(std::count(key.begin(), key.end(), '-')); }

std::vector<std::string> Keys(const std::vector<TVariantRec>& rows) {
    std::vector<std::string> keys;
    for (const auto& r : rows) keys.push_back(r.Variant);
    return keys;
}

// A dictionary file of three tiers: line i holds words[i].
struct Dictionary {
    TStringList list{TStringList::Kind::Sorted};
    explicit Dictionary(const std::vector<std::string>& lines) {
        for (size_t i = 0; i < lines.size(); ++i) list.Add(lines[i], static_cast<int32_t>(i));
    }
    int32_t Entry(const std::string& word) const { return static_cast<int32_t>(list.IndexOf(word)); }
};

// Groups with words: the codes of a tiny table, written by hand.
struct Fixture {
    // Lines 0-3 familiar, 4-5 middle, 6-7 rare.
    Dictionary dic{{"aa", "bb", "longlonglo", "longlonglp", "mm", "nn", "rr", "ss"}};
    TWordRanking ranking{dic.list, {"mm", "rr"}};
    std::map<std::string, std::vector<int32_t>> columns;
    std::vector<int32_t> hidden;

    TGroupCost Cost() const {
        return MakeGroupCost([this](const std::string& g) -> const std::vector<int32_t>& { return columns.at(g); },
                             [this](int32_t e) { return std::count(hidden.begin(), hidden.end(), e) > 0; },
                             ranking);
    }
    std::vector<std::string> Ranked(const std::string& digits) const {
        TStringList groups(TStringList::Kind::Sorted);
        for (const auto& [g, entries] : columns) groups.Add(g);
        const TVariantSearch search(groups, TStringList(TStringList::Kind::Sorted));
        return Keys(search.BestOrder(digits, Cost()).Rows);
    }
};

} // namespace

TEST(Ranking, WordCostFollowsTierLineAndLength) {
    Fixture f;
    const auto cost = [&](const char* w) { return f.ranking.WordCost(f.dic.Entry(w)); };
    EXPECT_EQ(cost("aa"), 0);
    EXPECT_EQ(cost("bb"), kLineCost * 1 / 4);
    EXPECT_EQ(cost("longlonglo"), kLineCost * 2 / 4 + 5 * kLetterCost);
    EXPECT_EQ(cost("nn"), kTierCost + kLineCost / 2);
    EXPECT_EQ(cost("ss"), 2 * kTierCost + kLineCost / 2);
    // No tiers named, or their words gone from an edited dictionary: one tier by line.
    const TWordRanking flat(f.dic.list, {});
    EXPECT_EQ(flat.WordCost(f.dic.Entry("rr")), kLineCost * 6 / 8);
    const TWordRanking gone(f.dic.list, {"xx", "rr"});
    EXPECT_EQ(gone.WordCost(f.dic.Entry("mm")), kLineCost * 4 / 6);
    EXPECT_EQ(gone.WordCost(f.dic.Entry("rr")), 2 * kTierCost);
    EXPECT_EQ(ReadTierWords(nbtest::TempDir() / "none.ini").Middle, "");
    // The columns best word first, ties as they were.
    EXPECT_THAT(RankEntries({f.dic.Entry("ss"), f.dic.Entry("bb"), f.dic.Entry("aa")}, f.ranking),
                ElementsAre(f.dic.Entry("aa"), f.dic.Entry("bb"), f.dic.Entry("ss")));
}

TEST(Ranking, FamiliarWordsBeatFewerRareOnesOnlyWhereTheFormulaSays) {
    Fixture f;
    const int32_t aa = f.dic.Entry("aa"), bb = f.dic.Entry("bb"), rr = f.dic.Entry("rr");
    // 12-34 of familiar short words: 2*40 + 0 + 5 = 85 beats 1234 of a rare word: 40 + 60.
    f.columns = {{"12", {aa}}, {"34", {bb}}, {"1234", {rr}}};
    EXPECT_THAT(f.Ranked("1234"), ElementsAre("12-34", "1234"));
    // Long familiar words: 80 + 30 + 35 = 145 loses to the rare one.
    f.columns = {{"12", {f.dic.Entry("longlonglo")}}, {"34", {f.dic.Entry("longlonglp")}}, {"1234", {rr}}};
    EXPECT_THAT(f.Ranked("1234"), ElementsAre("1234", "12-34"));
    // A hidden word does not count: the column's rare word is what it offers.
    f.columns = {{"12", {rr, aa}}, {"34", {bb}}, {"1234", {f.dic.Entry("ss")}}};
    EXPECT_THAT(f.Ranked("1234"), ElementsAre("12-34", "1234"));
    f.hidden = {aa};
    EXPECT_THAT(f.Ranked("1234"), ElementsAre("1234", "12-34"));
    // A column with nothing shown sinks its variants below any with words everywhere.
    f.columns = {{"1", {rr}}, {"2", {rr}}, {"3", {rr}}, {"4", {rr}}, {"12", {aa}}, {"34", {bb}}};
    f.hidden = {aa};
    const auto ranked = f.Ranked("1234");
    ASSERT_EQ(ranked.size(), 4u);
    EXPECT_EQ(ranked.front(), "1-2-34");
    EXPECT_EQ(ranked[1], "1-2-3-4");
    EXPECT_EQ(ranked[2].substr(0, 3), "12-");
}

// Random dictionaries of codes with few distinct costs (many ties): the lazy search must
// list exactly the variants of the search, in the order of a stable sort of search order
// by (cost, count), and a bound must give that order's first rows.
TEST(Ranking, BestOrderIsTheBruteForceRanking) {
    std::mt19937 rng(2207);
    for (int round = 0; round < 400; ++round) {
        TStringList groups(TStringList::Kind::Sorted);
        std::map<std::string, int64_t> cost;
        const int codes = 3 + static_cast<int>(rng() % 12);
        for (int i = 0; i < codes; ++i) {
            std::string code;
            const int len = 1 + static_cast<int>(rng() % 3);
            for (int k = 0; k < len; ++k) code += static_cast<char>('0' + rng() % 3);
            if (cost.count(code)) continue;
            groups.Add(code);
            cost[code] = rng() % 9 == 0 ? kGroupCost + kNoWordCost : kGroupCost + static_cast<int64_t>(rng() % 3);
        }
        std::string digits;
        const int n = 1 + static_cast<int>(rng() % 12);
        for (int k = 0; k < n; ++k) digits += static_cast<char>('0' + rng() % 3);
        const TVariantSearch search(groups, TStringList(TStringList::Kind::Sorted));
        std::vector<std::string> all;
        search.SearchVariants(all, digits);
        const auto sum = [&](const std::string& key) {
            int64_t s = 0;
            for (const auto& g : SplitVariantKey(key)) s += cost.at(g);
            return s;
        };
        std::stable_sort(all.begin(), all.end(), [&](const std::string& a, const std::string& b) {
            return std::pair(sum(a), Groups(a)) < std::pair(sum(b), Groups(b));
        });
        const TGroupCost groupCost = [&](const std::string& g) { return cost.at(g); };
        const auto best = search.BestOrder(digits, groupCost);
        ASSERT_EQ(Keys(best.Rows), all) << digits << " round " << round;
        EXPECT_FALSE(best.Cut);
        for (const auto& row : best.Rows) EXPECT_EQ(row.Count, Groups(row.Variant));
        if (all.size() < 2) continue;
        const size_t k = 1 + rng() % (all.size() - 1);
        const auto first = search.BestOrder(digits, groupCost, k);
        EXPECT_TRUE(first.Cut);
        EXPECT_EQ(Keys(first.Rows), std::vector<std::string>(all.begin(), all.begin() + static_cast<long>(k)));
    }
}

// The encode best first: the remembered variant is selected; one the bound left out comes
// back at the end, where it ranks.
TEST(Ranking, TheRememberedVariantStillWins) {
    Fixture f;
    const int32_t aa = f.dic.Entry("aa"), bb = f.dic.Entry("bb"), rr = f.dic.Entry("rr");
    f.columns = {{"12", {aa}}, {"34", {bb}}, {"1234", {rr}}, {"1", {rr}}, {"2", {rr}}};
    TStringList groups(TStringList::Kind::Sorted);
    for (const auto& [g, entries] : f.columns) groups.Add(g);
    const TVariantSearch search(groups, TStringList(TStringList::Kind::Sorted));
    const TGroupCost cost = f.Cost();
    TStringList notebook(TStringList::Kind::Plain);
    auto r = MakeVariants("1234", {}, search, notebook, kMaxVariantRows, &cost);
    EXPECT_THAT(Keys(r.Rows), ElementsAre("12-34", "1234", "1-2-34")); // 85, 100, 245
    EXPECT_EQ(r.Selected, 0);
    notebook.Add("1234=1-2-34,rr,rr,bb");
    r = MakeVariants("1234", {}, search, notebook, kMaxVariantRows, &cost);
    EXPECT_EQ(r.Selected, 2);
    r = MakeVariants("1234", {}, search, notebook, 1, &cost);
    EXPECT_TRUE(r.Cut);
    EXPECT_THAT(Keys(r.Rows), ElementsAre("12-34", "1-2-34"));
    EXPECT_EQ(r.Selected, 1);
}

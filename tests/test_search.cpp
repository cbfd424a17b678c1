// Variant search: the documented examples, the zero rule, ignored codes, the bound, and
// a differential test against the plain recursion on many random dictionaries.
#include "PlainSearch.h"
#include "TestUtil.h"

#include "encoding/VariantSearchUnit.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <random>

using namespace nb;
using ::testing::ElementsAre;

namespace {

TStringList Sorted(std::initializer_list<const char*> items) {
    TStringList l(TStringList::Kind::Sorted);
    for (const char* s : items) l.Add(s);
    return l;
}

int Groups(const std::string& key) { return 1 + static_cast<int>(std::count(key.begin(), key.end(), '-')); }

// Display order from search order: by group count, ties as found.
std::vector<TVariantRec> PlainDisplay(const std::vector<std::string>& keys) {
    std::vector<TVariantRec> rows;
    for (const auto& k : keys) rows.push_back({k, Groups(k)});
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TVariantRec& a, const TVariantRec& b) { return a.Count < b.Count; });
    return rows;
}

std::vector<std::string> Keys(const std::vector<TVariantRec>& rows) {
    std::vector<std::string> keys;
    for (const auto& r : rows) keys.push_back(r.Variant);
    return keys;
}

} // namespace

TEST(Search, WorkedExample) {
    const auto groups = Sorted({"1", "2", "3", "12", "23", "123"});
    const TStringList none(TStringList::Kind::Sorted);
    const TVariantSearch search(groups, none);
    std::vector<std::string> found;
    EXPECT_TRUE(search.SearchVariants(found, "123"));
    EXPECT_THAT(found, ElementsAre("1-2-3", "1-23", "12-3", "123"));
    const auto display = search.DisplayOrder("123");
    EXPECT_THAT(Keys(display.Rows), ElementsAre("123", "1-23", "12-3", "1-2-3"));
    EXPECT_THAT(display.Rows[1].Count, 2);
    EXPECT_FALSE(display.Cut);

    const TVariantSearch without23(groups, Sorted({"23"}));
    found.clear();
    without23.SearchVariants(found, "123");
    EXPECT_THAT(found, ElementsAre("1-2-3", "12-3", "123"));
}

TEST(Search, IgnoredCodesAreNeverUsedEvenAsTheOnlyWay) {
    const auto groups = Sorted({"5", "52", "7", "70"});
    const TVariantSearch search(groups, Sorted({"70", "x", ""}));
    EXPECT_TRUE(search.DisplayOrder("5270").Rows.empty());
    EXPECT_THAT(Keys(search.DisplayOrder("527").Rows), ElementsAre("52-7"));
    EXPECT_FALSE(search.IsGroup("70"));
    EXPECT_TRUE(search.IsGroup("52"));
}

TEST(Search, DigitsOnlyAndEmptyInput) {
    const auto groups = Sorted({"1", "2", "abc", "1a"});
    const TVariantSearch search(groups, TStringList(TStringList::Kind::Sorted));
    EXPECT_TRUE(search.DisplayOrder("").Rows.empty());
    EXPECT_TRUE(search.DisplayOrder("1a").Rows.empty());
    EXPECT_FALSE(search.IsGroup("abc"));
    EXPECT_THAT(Keys(search.DisplayOrder("12").Rows), ElementsAre("1-2"));
}

TEST(Search, LongKeysAreToldApartWhereTheyDiffer) {
    EXPECT_EQ(DifferingGroupStart("314-15-926", "314-15-926"), 0u);
    EXPECT_EQ(DifferingGroupStart("31-415-926", "314-15-926"), 0u);
    EXPECT_EQ(DifferingGroupStart("314-15-92-6", "314-15-926"), 7u) << "at a group's start";
    EXPECT_EQ(DifferingGroupStart("314-159-26", "314-15-926"), 4u) << "159 is not 15";
    EXPECT_EQ(DifferingGroupStart("314-15", "314-15-926"), 4u);
}

TEST(Search, NormalisingAndZeroRulePadding) {
    EXPECT_EQ(NormaliseNumber("8 (927) 05-6"), "8927056");
    EXPECT_EQ(NormaliseNumber(""), "5270563");
    EXPECT_EQ(NormaliseNumber("abc"), "5270563");
    EXPECT_EQ(NormaliseNumber("+7 ٣"), "7") << "only ASCII digits count";
    EXPECT_EQ(SearchString("123", {TGroupingMode::TwoDigits, true}), "1230");
    EXPECT_EQ(SearchString("1234", {TGroupingMode::TwoDigits, true}), "1234");
    EXPECT_EQ(SearchString("123", {TGroupingMode::TwoDigits, false}), "123");
    EXPECT_EQ(SearchString("123", {TGroupingMode::ThreeDigits, true}), "123");
    EXPECT_EQ(SearchString("123", {TGroupingMode::AllLetters, true}), "123");
}

TEST(MakeVariants, PicksTheRememberedVariantElseTheFirst) {
    const auto groups = Sorted({"1", "2", "3", "12", "23", "123"});
    const TVariantSearch search(groups, TStringList(TStringList::Kind::Sorted));
    TStringList notebook;
    auto r = MakeVariants("1-2-3", {TGroupingMode::AllLetters, false}, search, notebook);
    EXPECT_EQ(r.Number, "123");
    EXPECT_EQ(r.Selected, 0);
    notebook.SetValue("123", "12-3,W1,W2");
    r = MakeVariants("123", {TGroupingMode::AllLetters, false}, search, notebook);
    EXPECT_EQ(r.Rows[static_cast<size_t>(r.Selected)].Variant, "12-3");
    notebook.SetValue("123", "1-2-3-4,A"); // no longer a variant
    EXPECT_EQ(MakeVariants("123", {TGroupingMode::AllLetters, false}, search, notebook).Selected, 0);
    EXPECT_EQ(MakeVariants("9", {TGroupingMode::AllLetters, false}, search, notebook).Selected, -1);
}

TEST(MakeVariants, ZeroRuleLooksUpThePaddedNumber) {
    // Mode 1 with the zero rule: only two-digit groups exist.
    const auto groups = Sorted({"12", "30", "05"});
    const TVariantSearch search(groups, TStringList(TStringList::Kind::Sorted));
    TStringList notebook;
    notebook.SetValue("1230", "12-30,A,B");
    const auto r = MakeVariants("123", {TGroupingMode::TwoDigits, true}, search, notebook);
    EXPECT_EQ(r.Number, "123") << "the field keeps the number as typed";
    EXPECT_EQ(r.SearchString, "1230");
    ASSERT_EQ(r.Rows.size(), 1u);
    EXPECT_EQ(r.Rows[0].Variant, "12-30");
    EXPECT_EQ(r.Selected, 0);
    // Mode 2 with the zero rule: 5 alone has no one-digit group to fall into.
    EXPECT_TRUE(MakeVariants("5", {TGroupingMode::ThreeDigits, true}, search, notebook).Rows.empty());
}

TEST(Bound, CutsAtTheLimitWithFewestGroupsFirst) {
    // Every one- and two-digit code is a group: 20 digits have F(21) = 10946 variants.
    TStringList groups(TStringList::Kind::Sorted);
    for (int i = 0; i < 10; ++i) groups.Add(std::to_string(i));
    for (int i = 0; i < 100; ++i) groups.Add(std::string{char('0' + i / 10), char('0' + i % 10)});
    const TVariantSearch search(groups, TStringList(TStringList::Kind::Sorted));
    const std::string number = "12345678901234567890";
    const auto all = search.DisplayOrder(number);
    EXPECT_EQ(all.Rows.size(), 10946u);
    EXPECT_FALSE(all.Cut);
    EXPECT_EQ(all.Rows.front().Count, 10);
    EXPECT_EQ(all.Rows.back().Count, 20);

    const auto cut = search.DisplayOrder(number, 100);
    EXPECT_TRUE(cut.Cut);
    ASSERT_EQ(cut.Rows.size(), 100u);
    for (size_t i = 0; i < 100; ++i) EXPECT_EQ(cut.Rows[i].Variant, all.Rows[i].Variant);
    const auto exact = search.DisplayOrder(number, 10946);
    EXPECT_FALSE(exact.Cut) << "a list that just fits is not cut";

    std::vector<std::string> found;
    EXPECT_FALSE(search.SearchVariants(found, number, 50));
    EXPECT_EQ(found.size(), 50u);
}

TEST(Bound, LongNumbersAnswerAtOnce) {
    TStringList groups(TStringList::Kind::Sorted);
    for (int i = 0; i < 100; ++i) groups.Add(std::to_string(i));
    groups.Add("123");
    const TVariantSearch search(groups, TStringList(TStringList::Kind::Sorted));
    std::string number;
    for (int i = 0; i < 10000; ++i) number += static_cast<char>('0' + (i * 7 + 3) % 10);
    const auto r = search.DisplayOrder(number, 1000);
    EXPECT_TRUE(r.Cut);
    EXPECT_FALSE(r.Rows.empty());
    for (const auto& row : r.Rows) {
        std::string digits = row.Variant;
        digits.erase(std::remove(digits.begin(), digits.end(), '-'), digits.end());
        EXPECT_EQ(digits, number);
    }
}

TEST(Bound, ARememberedVariantPastTheCutIsKept) {
    TStringList groups(TStringList::Kind::Sorted);
    for (int i = 0; i < 10; ++i) groups.Add(std::to_string(i));
    for (int i = 10; i < 100; ++i) groups.Add(std::to_string(i));
    const TVariantSearch search(groups, TStringList(TStringList::Kind::Sorted));
    TStringList notebook;
    notebook.SetValue("123456", "1-2-3-4-5-6,a,b,c,d,e,f");
    const auto r = MakeVariants("123456", {TGroupingMode::AllLetters, false}, search, notebook, 3);
    ASSERT_GE(r.Selected, 0);
    EXPECT_EQ(r.Rows[static_cast<size_t>(r.Selected)].Variant, "1-2-3-4-5-6");
    for (size_t i = 1; i < r.Rows.size(); ++i) EXPECT_LE(r.Rows[i - 1].Count, r.Rows[i].Count);
}

TEST(Differential, MatchesThePlainRecursionOnRandomInputs) {
    std::mt19937 rng(20261207);
    for (int round = 0; round < 400; ++round) {
        TStringList groups(TStringList::Kind::Sorted), ignored(TStringList::Kind::Sorted);
        const int maxLen = 1 + static_cast<int>(rng() % 4);
        const int count = static_cast<int>(rng() % 40);
        const int alphabet = 2 + static_cast<int>(rng() % 4); // few digits: many variants
        auto randomCode = [&](int len) {
            std::string s;
            for (int i = 0; i < len; ++i) s += static_cast<char>('0' + rng() % alphabet);
            return s;
        };
        for (int i = 0; i < count; ++i) groups.Add(randomCode(1 + static_cast<int>(rng() % maxLen)));
        for (int i = 0; i < 3; ++i)
            if (rng() % 2) ignored.Add(randomCode(1 + static_cast<int>(rng() % maxLen)));
        const std::string number = randomCode(1 + static_cast<int>(rng() % 14));

        std::vector<std::string> expected;
        nbtest::PlainSearch(expected, number, groups, ignored);
        const TVariantSearch search(groups, ignored);
        std::vector<std::string> found;
        EXPECT_TRUE(search.SearchVariants(found, number));
        ASSERT_EQ(found, expected) << "number " << number << " round " << round;

        const auto display = search.DisplayOrder(number);
        const auto plain = PlainDisplay(expected);
        ASSERT_EQ(Keys(display.Rows), Keys(plain)) << "number " << number << " round " << round;
        for (size_t i = 0; i < plain.size(); ++i) ASSERT_EQ(display.Rows[i].Count, plain[i].Count);

        // A bound keeps a prefix of the same order.
        if (plain.size() > 2) {
            const size_t limit = 1 + rng() % (plain.size() - 1);
            const auto cut = search.DisplayOrder(number, limit);
            EXPECT_TRUE(cut.Cut);
            ASSERT_EQ(cut.Rows.size(), limit);
            for (size_t i = 0; i < limit; ++i) ASSERT_EQ(cut.Rows[i].Variant, plain[i].Variant);
        }
    }
}

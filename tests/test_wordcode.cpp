// Word coding, group codes, key letters and the code hint, on the sample table
// (0, н), (1, г), (1, ж), (2, д), (2, т) unless a case says otherwise.
#include "TestUtil.h"

#include "code/WordCodeUnit.h"

#include <gtest/gtest.h>

using namespace nb;
using nbtest::W;

namespace {

TLetterRecArr Table(std::initializer_list<std::pair<int, const char*>> pairs) {
    TLetterRecArr t;
    for (const auto& [d, l] : pairs) t.push_back({d, W(l)[0]});
    return t;
}

const TLetterRecArr kSample = Table({{0, "н"}, {1, "г"}, {1, "ж"}, {2, "д"}, {2, "т"}});

std::string Code(const char* entry) { return WordToCode(W(entry), kSample); }

// The entry with its key letters in brackets.
std::string Marked(const char* entry, int mode, const TLetterRecArr& t = kSample) {
    const std::string e = W(entry);
    const auto marks = MarkKeyLetters(e, t, static_cast<TGroupingMode>(mode));
    std::string out;
    for (size_t i = 0; i < e.size(); ++i)
        out += marks[i] ? "[" + std::string(1, e[i]) + "]" : std::string(1, e[i]);
    return nbtest::U(out);
}

} // namespace

TEST(WordToCode, WordsAndTheirForms) {
    EXPECT_EQ(Code("тот"), "22");
    EXPECT_EQ(Code("Тот"), "22");
    EXPECT_EQ(Code("  тот \t"), "22");
    EXPECT_EQ(Code("гнет"), "102");
    EXPECT_EQ(Code("дот-дот"), "2222");
    EXPECT_EQ(Code("ёж"), "1");
    EXPECT_EQ(Code("ГНЁТ"), "102");
}

TEST(WordToCode, PhrasesGiveOneDigitForTheFirstWord) {
    EXPECT_EQ(Code("гнет тот"), "122");
    EXPECT_EQ(Code("тот 5"), "2") << "the digit goes, the trailing blank makes a phrase";
    EXPECT_EQ(Code("аура тот"), "22") << "a first word without code letters gives nothing";
    EXPECT_EQ(Code("тот  тот"), "222") << "further blanks belong to the tail";
    EXPECT_EQ(Code("5тот"), "22");
}

TEST(WordToCode, NothingToCode) {
    EXPECT_EQ(Code("аура"), "");
    EXPECT_EQ(Code("12345"), "");
    EXPECT_EQ(Code("dog"), "");
    EXPECT_EQ(Code(""), "");
    EXPECT_EQ(Code("   "), "");
    EXPECT_EQ(WordToCode(W("тот"), {}), "") << "an empty table codes nothing";
}

TEST(WordToCode, LettersUnderSeveralDigitsTakeTheFirst) {
    const auto t = Table({{1, "т"}, {3, "т"}, {5, "к"}});
    EXPECT_EQ(WordToCode(W("кот"), t), "51");
    // An item that is a digit itself is applied unchanged, pair by pair in table order.
    TLetterRecArr odd = Table({{1, "т"}});
    odd.push_back({3, '1'});
    EXPECT_EQ(WordToCode(W("тот"), odd), "33");
    EXPECT_EQ(WordToCode(W("Латинская b"), Table({{4, "л"}}) ), "4");
}

TEST(WordToCode, ArbitraryBytesNeverBreakIt) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string code = WordToCode(all, kSample);
    EXPECT_EQ(code.find_first_not_of("0123456789"), std::string::npos);
}

TEST(AdjustCode, FollowsTheTable) {
    struct Row {
        const char* full;
        const char* m0;
        const char* m1;
        const char* m1n;
        const char* m2;
        const char* m2n;
    };
    const Row rows[] = {
        {"", "", "", "", "", ""},
        {"5", "5", "5", "05", "5", "05"},
        {"0", "0", "0", "00", "0", "00"},
        {"52", "52", "52", "52", "52", "52"},
        {"05", "05", "", "", "", ""},
        {"527", "527", "52", "52", "527", "527"},
        {"052", "052", "", "", "", "052"},
        {"5270", "5270", "52", "52", "527", "527"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(AdjustCode(r.full, {TGroupingMode::AllLetters, false}), r.m0) << r.full;
        EXPECT_EQ(AdjustCode(r.full, {TGroupingMode::AllLetters, true}), r.m0) << r.full;
        EXPECT_EQ(AdjustCode(r.full, {TGroupingMode::TwoDigits, false}), r.m1) << r.full;
        EXPECT_EQ(AdjustCode(r.full, {TGroupingMode::TwoDigits, true}), r.m1n) << r.full;
        EXPECT_EQ(AdjustCode(r.full, {TGroupingMode::ThreeDigits, false}), r.m2) << r.full;
        EXPECT_EQ(AdjustCode(r.full, {TGroupingMode::ThreeDigits, true}), r.m2n) << r.full;
    }
    EXPECT_EQ(AdjustCode("0527", {static_cast<TGroupingMode>(7), false}), "0527") << "an unknown mode cuts nothing";
}

TEST(MarkKeyLetters, LimitsByPhraseAndMode) {
    EXPECT_EQ(Marked("гнет тот", 0), "[г]нет [т]о[т]");
    EXPECT_EQ(Marked("тот", 1), "[т]о[т]");
    EXPECT_EQ(Marked("дотдот", 1), "[д]о[т]дот");
    EXPECT_EQ(Marked("дотдот", 2), "[д]о[т][д]от");
    EXPECT_EQ(Marked("дотдот", 0), "[д]о[т][д]о[т]");
    EXPECT_EQ(Marked("Тот", 0), "[Т]о[т]") << "upper-case letters are key letters too";
    EXPECT_EQ(Marked(" тот", 0), " [т]о[т]") << "a leading blank ends the first word at once";
    EXPECT_EQ(Marked("аура", 0), "аура");
}

TEST(MarkKeyLetters, MarksMatchTheCode) {
    // Outside phrases the marked letters spell the code (mode 0).
    for (const char* w : {"гнет", "дот-дот", "ёжик", "надгробие"}) {
        const std::string e = W(w);
        const auto marks = MarkKeyLetters(e, kSample, TGroupingMode::AllLetters);
        size_t n = 0;
        for (bool m : marks) n += m;
        EXPECT_EQ(n, WordToCode(e, kSample).size()) << w;
    }
}

TEST(CodeHint, GroupsDigitsInOrder) {
    EXPECT_EQ(CodeHintText(kSample), W("0 - н     1 - гж     2 - дт"));
    const auto gaps = Table({{9, "р"}, {0, "н"}, {0, "м"}, {0, "н"}});
    EXPECT_EQ(CodeHintText(gaps), W("0 - нмн     9 - р"));
    EXPECT_EQ(CodeHintText({}), "");
}

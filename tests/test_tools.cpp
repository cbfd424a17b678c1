// The logic behind the code table window, the code test and the dictionary editor.
#include "TestUtil.h"

#include "tools/CodeTestUnit.h"
#include "tools/DicEditUnit.h"
#include "tools/TableCodeUnit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>

using namespace nb;
using nbtest::W;
using ::testing::ElementsAre;

namespace {

TLetterRecArr Sample() {
    TLetterRecArr t;
    for (auto [d, l] : {std::pair{0, "н"}, {1, "г"}, {1, "ж"}, {2, "д"}, {2, "т"}})
        t.push_back({d, W(l)[0]});
    return t;
}

TStringList Sorted(std::initializer_list<const char*> utf8) {
    TStringList l(TStringList::Kind::Sorted);
    for (const char* s : utf8) l.Add(W(s));
    return l;
}

// WordCodeList for a dictionary, as the build makes it.
TStringList Codes(const TStringList& dic) {
    TStringList codes;
    const TWordCoder coder(Sample());
    for (size_t i = 0; i < dic.Count(); ++i) {
        const auto c = coder.WordToCode(dic[i]);
        if (!c.empty()) codes.Add(c, static_cast<int32_t>(i));
    }
    return codes;
}

} // namespace

TEST(CodeOrder, ShorterFirstThenBytes) {
    EXPECT_THAT(InCodeOrder({"123", "10", "0", "99", "100", "7", "09"}),
                ElementsAre("0", "7", "09", "10", "99", "100", "123"));
    EXPECT_FALSE(CodeOrderLess("10", "10"));
}

TEST(CodeTableExport, ListsEveryCodeAndOnlyVisibleWords) {
    const auto dic = Sorted({"аура", "гнет", "дот", "тот", "тут", "жд", "нож"});
    const auto codes = Codes(dic);
    // Mode 0: codes 102 (гнет), 22 (дот, тот, тут), 12 (жд), 01 (нож).
    TStringList groups(TStringList::Kind::Sorted);
    for (const char* g : {"01", "102", "12", "22"}) groups.Add(g);
    const auto hidden = Sorted({"тот", "жд", "not in the dictionary"});
    EXPECT_EQ(CodeTableExportText(groups, codes, dic, hidden, {TGroupingMode::AllLetters, false}),
              W("01\r\n  нож\r\n12\r\n22\r\n  дот\r\n  тут\r\n102\r\n  гнет\r\n"))
        << "a code whose words are all hidden is a lone line";

    // Mode 1 without the zero rule: 01 gives an empty group, listed nowhere.
    TStringList groups1(TStringList::Kind::Sorted);
    for (const char* g : {"10", "12", "22"}) groups1.Add(g);
    EXPECT_EQ(CodeTableExportText(groups1, codes, dic, TStringList(TStringList::Kind::Sorted), {TGroupingMode::TwoDigits, false}),
              W("10\r\n  гнет\r\n12\r\n  жд\r\n22\r\n  дот\r\n  тот\r\n  тут\r\n"));
    EXPECT_EQ(CodeTableExportText(TStringList(TStringList::Kind::Sorted), codes, dic, hidden, {TGroupingMode::AllLetters, false}), "");

    TStringList filed(TStringList::Kind::Sorted);
    filed.SetText(W("тут\r\nнож\r\nтот\r\nдот\r\n"));
    EXPECT_EQ(CodeTableExportText(groups, Codes(filed), filed, hidden, {TGroupingMode::AllLetters, false}, true),
              W("01\r\n  нож\r\n12\r\n22\r\n  тут\r\n  дот\r\n102\r\n"))
        << "familiar first: the file's line order";
}

TEST(CodeTest, AsksOnlyEntriesThatQualifyAndUniformly) {
    const auto dic = Sorted({"аура", "гнет", "дот", "тот", "жук", "123"});
    const auto hidden = Sorted({"дот"});
    TStringList ignored(TStringList::Kind::Sorted);
    ignored.Add("1");
    const TWordCoder coder(Sample());
    const TTestWords words(dic, hidden, ignored, coder, {TGroupingMode::AllLetters, false});
    ASSERT_EQ(words.Count(), 2u) << "гнет (102) and тот (22): аура and 123 have no code, дот is "
                                    "hidden, жук's code is ignored";
    std::mt19937 rng(7);
    std::map<std::string, int> seen;
    for (int i = 0; i < 4000; ++i) {
        const auto q = words.Next(rng);
        ASSERT_TRUE(q);
        EXPECT_EQ(q->Expected, coder.WordToCode(q->Word));
        ++seen[nbtest::U(q->Word)];
    }
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_NEAR(seen["гнет"], 2000, 200);
}

TEST(CodeTest, NothingToAskNeverLoops) {
    const TWordCoder coder(Sample());
    const TStringList none(TStringList::Kind::Sorted);
    std::mt19937 rng(1);
    EXPECT_FALSE(TTestWords(none, none, none, coder, {TGroupingMode::AllLetters, false}).Next(rng));
    const auto dic = Sorted({"аура", "тот"});
    EXPECT_TRUE(TTestWords(dic, Sorted({"тот"}), none, coder, {TGroupingMode::AllLetters, false}).Empty());
    TStringList ignored(TStringList::Kind::Sorted);
    ignored.Add("22");
    EXPECT_TRUE(TTestWords(dic, none, ignored, coder, {TGroupingMode::AllLetters, false}).Empty());
}

TEST(CodeTest, ExpectsTheGroupCodeAndChecksAnswers) {
    const auto dic = Sorted({"дотдот"});
    const TStringList none(TStringList::Kind::Sorted);
    std::mt19937 rng(1);
    EXPECT_EQ(TTestWords(dic, none, none, TWordCoder(Sample()), {TGroupingMode::TwoDigits, false}).Next(rng)->Expected, "22");
    EXPECT_TRUE(TestAnswerIsRight(" 123\t", "123"));
    EXPECT_FALSE(TestAnswerIsRight("1 23", "123"));
    EXPECT_FALSE(TestAnswerIsRight("???", "123"));
    EXPECT_EQ(TestHintText(W("0 - н     1 - гж     2 - дт")), W("0 - н  1 - гж  2 - дт"));
    EXPECT_EQ(TestHintText("a          b"), "a    b") << "ten blanks are two runs of five";
}

TEST(DicEditStrip, ShowsTheLineUnderTheCaret) {
    const TWordCoder coder(Sample());
    const std::string text = W("тот\r\n  гнет тот \r\n\r\n   \r\nаура\r\nдот");
    auto help = [&](size_t pos) { return nbtest::U(LineCodeHelp(text, pos, coder, {TGroupingMode::AllLetters, false})); };
    EXPECT_EQ(help(0), "тот: 22") << "caret at the very start";
    EXPECT_EQ(help(3), "тот: 22") << "caret at the end of the line";
    EXPECT_EQ(help(6), "  гнет тот : 122") << "the line unchanged, the phrase coded as such";
    EXPECT_EQ(help(19), "?") << "an empty line";
    EXPECT_EQ(help(22), "?") << "a line of blanks";
    EXPECT_EQ(help(text.find(W("аура")) + 2), "аура: ?");
    EXPECT_EQ(help(text.size()), "дот: 22") << "caret after the last character";
    EXPECT_EQ(nbtest::U(LineCodeHelp(W("дотдот"), 0, coder, {TGroupingMode::TwoDigits, false})), "дотдот: 22");
    EXPECT_EQ(nbtest::U(LineCodeHelp(W("нот"), 0, coder, {TGroupingMode::TwoDigits, false})), "нот: ?") << "02 is emptied";
}

TEST(DicEditImport, ConvertsUtf8AndReportsWhatDoesNotFit) {
    size_t bad = 0;
    char32_t first = 0;
    EXPECT_EQ(ImportedText("кот\r\nёж\r\n", bad, first), W("кот\r\nёж\r\n"));
    EXPECT_EQ(bad, 0u);
    EXPECT_EQ(ImportedText("\xEF\xBB\xBF" "dog?", bad, first), "dog?");
    EXPECT_EQ(ImportedText(W("кот\r\n"), bad, first), W("кот\r\n")) << "Windows-1251 stays as it is";
    EXPECT_EQ(ImportedText("кот 漢 ? ✓", bad, first), W("кот ? ? ?"));
    EXPECT_EQ(bad, 2u);
    EXPECT_EQ(first, U'漢');
}

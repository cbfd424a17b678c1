// Text layer: code page conversion, case mapping, line files, comma lists, sorted
// lists, checksums and atomic file writes.
#include "TestUtil.h"

#include "core/FileUnit.h"
#include "core/TextUnit.h"
#include "dictionary/CRC32.h"
#include "dictionary/StringListUnit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace nb;
using nbtest::TempDir;
using nbtest::U;
using nbtest::W;
using ::testing::ElementsAre;

TEST(CodePage, RoundTripsEveryAssignedByte) {
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue; // the one unassigned byte
        const std::string one(1, static_cast<char>(b));
        std::string back;
        EXPECT_TRUE(Utf8ToCp1251(Cp1251ToUtf8(one), back)) << b;
        EXPECT_EQ(back, one) << b;
    }
    EXPECT_EQ(Cp1251ToUtf8(W("ёЁаяАЯ")), "ёЁаяАЯ");
}

TEST(CodePage, ReportsWhatItCannotHold) {
    std::string out;
    char32_t bad = 0;
    EXPECT_FALSE(Utf8ToCp1251("кот 漢字", out, &bad));
    EXPECT_EQ(bad, U'漢');
    EXPECT_EQ(out, W("кот ??"));
    EXPECT_FALSE(Utf8ToCp1251("\xC3\x28", out)); // broken UTF-8
    EXPECT_FALSE(IsValidUtf8(W("кот")));
    EXPECT_TRUE(IsValidUtf8("кот"));
}

TEST(CodePage, LowerCasesCyrillicLatinAndYo) {
    EXPECT_EQ(LowerCase(W("КОТ Ёж ABC xyz 123")), W("кот ёж abc xyz 123"));
    EXPECT_TRUE(SameTextCp1251(W("Кот"), W("кОТ")));
    EXPECT_FALSE(SameTextCp1251(W("еж"), W("ёж")));
}

TEST(LineFiles, SplitsAtEveryKindOfLineBreak) {
    EXPECT_THAT(SplitLines("a\r\nb\rc\nd"), ElementsAre("a", "b", "c", "d"));
    EXPECT_THAT(SplitLines("a\r\n"), ElementsAre("a"));
    EXPECT_THAT(SplitLines("a\r\n\r\n"), ElementsAre("a", ""));
    EXPECT_THAT(SplitLines("\n\r"), ElementsAre("", ""));
    EXPECT_THAT(SplitLines("a\n\rb"), ElementsAre("a", "", "b"));
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_THAT(SplitLines(std::string("ab\ncd\0ef\ngh", 11)), ElementsAre("ab", "cd"));
}

TEST(CommaList, ReadsByTheRules) {
    EXPECT_THAT(ReadCommaList(W("н,м")), ElementsAre(W("н"), W("м")));
    EXPECT_THAT(ReadCommaList(W("н м")), ElementsAre(W("н"), W("м")));
    EXPECT_THAT(ReadCommaList(W("гж")), ElementsAre(W("гж")));
    EXPECT_THAT(ReadCommaList("  a ,  b  "), ElementsAre("a", "b"));
    EXPECT_THAT(ReadCommaList("\"a b\",c"), ElementsAre("a b", "c"));
    EXPECT_THAT(ReadCommaList("\"say \"\"hi\"\"\""), ElementsAre("say \"hi\""));
    EXPECT_THAT(ReadCommaList("a,,b"), ElementsAre("a", "", "b"));
    EXPECT_THAT(ReadCommaList(",a"), ElementsAre("", "a"));
    EXPECT_THAT(ReadCommaList("a,"), ElementsAre("a", ""));
    EXPECT_THAT(ReadCommaList("\"\""), ElementsAre(""));
    EXPECT_THAT(ReadCommaList("\"open"), ElementsAre("open"));
    EXPECT_TRUE(ReadCommaList("").empty());
    EXPECT_TRUE(ReadCommaList("   ").empty());
    EXPECT_THAT(ReadCommaList("1=5,2=-7"), ElementsAre("1=5", "2=-7"));
}

TEST(CommaList, WritesAndReadsBack) {
    EXPECT_EQ(WriteCommaList({}), "");
    EXPECT_EQ(WriteCommaList({""}), "\"\"");
    EXPECT_EQ(WriteCommaList({"12-34", "W1", "W2"}), "12-34,W1,W2");
    EXPECT_EQ(WriteCommaList({"a", "", "b"}), "a,,b");
    EXPECT_EQ(WriteCommaList({"a b", "c,d", "e\"f"}), "\"a b\",\"c,d\",\"e\"\"f\"");
    const std::vector<std::vector<std::string>> cases = {
        {"12-34", W("кот в сапогах"), "a,b", "\"q\"", "x\ty"},
        {""},
        {"a", "b"},
        {W("ёж"), "=", "a=b"},
    };
    for (const auto& items : cases) EXPECT_EQ(ReadCommaList(WriteCommaList(items)), items);
}

TEST(SortedList, IgnoresCaseDuplicatesAndKeepsTheFirstRead) {
    TStringList list(TStringList::Kind::Sorted);
    list.SetText(W("Кот\r\nкот\r\nКОТ\r\n"));
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list[0], W("Кот"));
    EXPECT_TRUE(list.Contains(W("кОт")));

    list.SetText(W("ёж\r\nеж\r\nЁЖ\r\n"));
    EXPECT_EQ(list.Count(), 2u) << "е and ё are different letters";
}

TEST(SortedList, OrdersByRussianCollationAndDigitsAsText) {
    TStringList words(TStringList::Kind::Sorted);
    words.SetText(W("яма\r\nБык\r\nаист\r\nёлка\r\nель\r\nжук\r\n"));
    EXPECT_THAT(words.Strings(),
                ElementsAre(W("аист"), W("Бык"), W("ёлка"), W("ель"), W("жук"), W("яма")))
        << "ё sorts with е, differing only at the second level";

    TStringList codes(TStringList::Kind::Sorted);
    codes.SetText("10\r\n2\r\n1\r\n");
    EXPECT_THAT(codes.Strings(), ElementsAre("1", "10", "2"));
}

TEST(SortedList, SameLinesInAnyOrderGiveTheSameList) {
    TStringList a(TStringList::Kind::Sorted), b(TStringList::Kind::Sorted);
    a.SetText(W("сом\r\nдом\r\n\r\nкот\r\nдом\r\n"));
    b.SetText(W("кот\r\n\r\n\r\nсом\r\nдом\r\n"));
    EXPECT_EQ(a.Text(), b.Text());
    EXPECT_EQ(a.Count(), 4u) << "one empty item survives";
    EXPECT_EQ(a[0], "");
}

TEST(SortedList, AddKeepsOrderAndIgnoresRepeats) {
    TStringList list(TStringList::Kind::Sorted);
    for (const char* w : {"вол", "аист", "Вол", "бык", "аист"}) list.Add(W(w));
    EXPECT_THAT(list.Strings(), ElementsAre(W("аист"), W("бык"), W("вол")));
    EXPECT_EQ(list.IndexOf(W("БЫК")), 1);
    EXPECT_EQ(list.IndexOf(W("кот")), -1);
    list.Delete(0);
    EXPECT_EQ(list.IndexOf(W("бык")), 0);
}

TEST(PlainList, KeepsOrderRepeatsAndAttachedNumbers) {
    TStringList list;
    list.Add("22", 4);
    list.Add("1", 7);
    list.Add("22", 9);
    EXPECT_THAT(list.Strings(), ElementsAre("22", "1", "22"));
    EXPECT_EQ(list.Object(2), 9);
    EXPECT_EQ(list.Text(), "22\r\n1\r\n22\r\n");
}

TEST(NameValueList, FollowsTheSetRules) {
    TStringList list;
    list.SetValue("1234", "12-34,W1");
    list.SetValue("55", "5-5,A,B");
    list.SetValue("1234", "1-2-34,X,Y,Z");
    EXPECT_THAT(list.Strings(), ElementsAre("1234=1-2-34,X,Y,Z", "55=5-5,A,B"));
    EXPECT_EQ(list.Value("55"), "5-5,A,B");
    EXPECT_EQ(list.Value("99"), "");
    list.SetValue("1234", "");
    EXPECT_THAT(list.Strings(), ElementsAre("55=5-5,A,B"));
    list.SetValue("77", ""); // deleting what is not there changes nothing
    EXPECT_EQ(list.Count(), 1u);

    TStringList hand;
    hand.SetText("no equals sign\r\nKey=v=w\r\n");
    EXPECT_EQ(hand.Value("key"), "v=w") << "names ignore case, the value runs past a second =";
    EXPECT_EQ(hand.Value("no equals sign"), "");
}

TEST(Checksum, MatchesTheDocumentedValues) {
    EXPECT_EQ(Crc32("abc"), 0x352441C2u);
    EXPECT_EQ(TextChecksum("abc"), 891568583);
    EXPECT_EQ(TextChecksum("a"), -390611384);
    EXPECT_EQ(TextChecksumString("abc\r\n"), "-323652537");
    EXPECT_EQ(TextChecksumString("22\r\n"), "166873504");
    EXPECT_EQ(TextChecksumString(""), "5");
    // The wrap-around: a CRC within 5 of 2^32 turns small and positive.
    EXPECT_EQ(static_cast<int32_t>(0xFFFFFFFFu + 5u), 4);
}

TEST(Files, ListFilesRoundTrip) {
    TempDir dir;
    TStringList list(TStringList::Kind::Sorted);
    list.SetText(W("кот в сапогах\r\n\"цитата\"\r\nа,б\r\n"));
    list.SaveToFile(dir / "l.lst");
    EXPECT_EQ(dir.Read("l.lst"), list.Text());
    TStringList back(TStringList::Kind::Sorted);
    back.LoadFromFile(dir / "l.lst");
    EXPECT_EQ(back.Strings(), list.Strings());

    TStringList empty;
    empty.SaveToFile(dir / "e.lst");
    EXPECT_EQ(dir.Read("e.lst"), "");
}

TEST(Files, MissingOrUnwritableFilesRaiseTheirMessages) {
    TempDir dir;
    TStringList list;
    try {
        list.LoadFromFile(dir / "none.lst");
        FAIL();
    } catch (const EError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + (dir / "none.lst") + "\". No such file or directory");
    }
    try {
        list.SaveToFile(dir / "no/such/folder.lst");
        FAIL();
    } catch (const EError& e) {
        EXPECT_THAT(e.what(), ::testing::StartsWith("Cannot create file \"" +
                                                    (dir / "no/such/folder.lst") + "\". "));
    }
}

TEST(Files, AFailedWriteLeavesTheOldFileWhole) {
    TempDir dir;
    dir.Write("keep.lst", "old\r\n");
    ::chmod((dir / "keep.lst").c_str(), 0444);
    EXPECT_THROW(WriteFileAtomic(dir / "keep.lst", "new\r\n"), EError);
    EXPECT_EQ(dir.Read("keep.lst"), "old\r\n");

    dir.Write("full.lst", "old\r\n");
    SetWriteFailureForTesting("full.lst");
    EXPECT_THROW(WriteFileAtomic(dir / "full.lst", "new\r\n"), EError);
    SetWriteFailureForTesting("");
    EXPECT_EQ(dir.Read("full.lst"), "old\r\n");
    WriteFileAtomic(dir / "full.lst", "new\r\n");
    EXPECT_EQ(dir.Read("full.lst"), "new\r\n");
}

TEST(Files, BinaryEmptyAndHugeLinesLoad) {
    TempDir dir;
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) % 255 + 1);
    dir.Write("bin.lst", binary);
    TStringList list(TStringList::Kind::Sorted);
    list.LoadFromFile(dir / "bin.lst");
    EXPECT_GT(list.Count(), 0u);

    dir.Write("empty.lst", "");
    list.LoadFromFile(dir / "empty.lst");
    EXPECT_EQ(list.Count(), 0u);

    const std::string huge(2 * 1024 * 1024, '\xE0');
    dir.Write("huge.lst", huge + "\r\n" + W("кот"));
    list.LoadFromFile(dir / "huge.lst");
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list[0].size(), huge.size()) << "а... sorts before кот";
}

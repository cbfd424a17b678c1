// The user lists and the notebook: loading, the set rules, saving, and never writing a
// list over its file when it was not loaded.
#include "TestUtil.h"

#include "core/FileUnit.h"
#include "dictionary/WordListUnit.h"
#include "notebook/NotebookStoreUnit.h"
#include "notebook/NotebookViewUnit.h"
#include "notebook/ReviewUnit.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace nb;
using nbtest::TempDir;
using nbtest::W;
using ::testing::ElementsAre;

TEST(UserLists, MissingFilesGiveEmptyListsAndAreCreatedAtShutdown) {
    TempDir dir;
    TPaths paths{dir.Path()};
    TUserLists lists;
    lists.Load(paths);
    EXPECT_TRUE(lists.HidedWordList.Empty());
    EXPECT_TRUE(lists.NotebookEntries.Empty());
    dir.Write("Data/.keep", "");
    EXPECT_TRUE(lists.Save(paths).empty());
    for (const char* f : {"Data/HidedWord.lst", "Data/IgnoredCode.lst", "notebook.txt",
                          "notebook_add.txt"})
        EXPECT_EQ(dir.Read(f), "") << f;
}

TEST(UserLists, LoadSortsAndSaveWritesBack) {
    TempDir dir;
    TPaths paths{dir.Path()};
    dir.Write("Data/IgnoredCode.lst", "10\r\n2\r\n1\r\n2\r\n");
    dir.Write("Data/HidedWord.lst", W("Кот\nкот\rдом"));
    dir.Write("notebook.txt", "1234=12-34,W1,W2\r\nhand-written line\r\n\r\n55=5-5\r\n");
    dir.Write("notebook_add.txt", W("1234=заметка, с = и \"кавычками\"\r\n"));
    TUserLists lists;
    lists.Load(paths);
    EXPECT_THAT(lists.IgnoredCodeList.Strings(), ElementsAre("1", "10", "2"));
    EXPECT_THAT(lists.HidedWordList.Strings(), ElementsAre(W("дом"), W("Кот")));
    EXPECT_EQ(lists.NotebookNotes.Value("1234"), W("заметка, с = и \"кавычками\""));
    EXPECT_TRUE(lists.Save(paths).empty());
    EXPECT_EQ(dir.Read("Data/IgnoredCode.lst"), "1\r\n10\r\n2\r\n");
    EXPECT_EQ(dir.Read("notebook.txt"),
              "1234=12-34,W1,W2\r\nhand-written line\r\n\r\n55=5-5\r\n")
        << "lines without = are kept";
}

TEST(UserLists, AFailedLoadNeverOverwritesTheUsersFiles) {
    TempDir dir;
    TPaths paths{dir.Path()};
    dir.Write("Data/HidedWord.lst", W("кот\r\n"));
    dir.Write("notebook.txt", "1=1,A\r\n");
    dir.Write("notebook_add.txt", "1=note\r\n");
    // An ignored-code "file" that cannot be read stops the load after the hidden words.
    ::mkdir((dir / "Data/IgnoredCode.lst").c_str(), 0755);
    TUserLists lists;
    EXPECT_THROW(lists.Load(paths), EError);
    EXPECT_TRUE(lists.HidedWordsLoaded);
    EXPECT_FALSE(lists.NotebookLoaded);
    lists.HidedWordList.Add(W("дом"));
    const auto errors = lists.Save(paths);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(dir.Read("Data/HidedWord.lst"), W("дом\r\nкот\r\n"));
    EXPECT_EQ(dir.Read("notebook.txt"), "1=1,A\r\n");
    EXPECT_EQ(dir.Read("notebook_add.txt"), "1=note\r\n");

    TUserLists never; // start-up failed before any list was read
    never.Save(paths);
    EXPECT_EQ(dir.Read("Data/HidedWord.lst"), W("дом\r\nкот\r\n"));
}

TEST(UserLists, WriteFailuresAreReportedPerFileAndTheRestIsWritten) {
    TempDir dir;
    TPaths paths{dir.Path()};
    TUserLists lists;
    lists.Load(paths);
    lists.NotebookEntries.SetValue("1", "1,A");
    // No Data folder: the two list files fail, the notebook is still written.
    const auto errors = lists.Save(paths);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_THAT(errors[0], ::testing::HasSubstr("HidedWord.lst"));
    EXPECT_THAT(errors[1], ::testing::HasSubstr("IgnoredCode.lst"));
    EXPECT_EQ(dir.Read("notebook.txt"), "1=1,A\r\n");
}

TEST(Notebook, RememberStoresAndReplacesInPlace) {
    TStringList entries, notes;
    RememberEntry(entries, notes, "5-5", {"A"}, "first");
    RememberEntry(entries, notes, "12-34", {"W1", "W2"}, "N");
    EXPECT_THAT(entries.Strings(), ElementsAre("55=5-5,A", "1234=12-34,W1,W2"));
    EXPECT_EQ(RememberedVariant(entries, "1234"), "12-34");

    RememberEntry(entries, notes, "1-234", {"X", "Y"}, "");
    EXPECT_THAT(entries.Strings(), ElementsAre("55=5-5,A", "1234=1-234,X,Y"))
        << "one split per digit string, kept in its place";
    EXPECT_THAT(notes.Strings(), ElementsAre("55=first")) << "an empty note deletes its line";
    EXPECT_EQ(RememberedVariant(entries, "999"), "");
}

TEST(Notebook, WordsWithBlanksCommasAndQuotesRoundTrip) {
    TempDir dir;
    TStringList entries, notes;
    const std::vector<std::string> words{W("кот в сапогах"), "a,b", "say \"hi\"", W("ёж")};
    RememberEntry(entries, notes, "1-2-3-4", words, W("заметка, с запятой"));
    entries.SaveToFile(dir / "notebook.txt");
    TStringList back;
    back.LoadFromFile(dir / "notebook.txt");
    auto items = NotebookItems(back, "1234");
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0], "1-2-3-4");
    EXPECT_EQ(std::vector<std::string>(items.begin() + 1, items.end()), words);
}

TEST(Notebook, RowsListOnlyEntriesWithWordsAndExport) {
    TStringList entries, notes;
    entries.SetText("1234=12-34,W1,W2\r\n77=7-7\r\nbroken\r\n\r\n99=9-9,\"a b\"\r\n");
    notes.SetText("1234=N\r\n99=x - (y)\r\n");
    const auto rows = NotebookRows(entries, notes);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Words, "W1 - W2");
    EXPECT_EQ(NotebookExportText(rows), "12-34 - W1 - W2 - (N)\r\n9-9 - a b - (x - (y))\r\n");
    EXPECT_EQ(NotebookExportText({}), "");
    entries.SetValue("1234", "12-34,W1");
    notes.SetValue("1234", "");
    EXPECT_EQ(NotebookExportText(NotebookRows(entries, notes)).substr(0, 19),
              "12-34 - W1 - ()\r\n9-");
}

// ---- the notebook window's orders, search and next review --------------------------------------

namespace {

TNotebookRec Row(const char* code, const char* words, const char* note = "", int64_t next = kNoDay) {
    TNotebookRec r;
    r.Code = code;
    r.Words = W(words);
    r.Note = W(note);
    r.Key = NotebookKey(code);
    r.NextReview = next;
    return r;
}

std::vector<std::string> Codes(const std::vector<TNotebookRec>& rows, TNotebookColumn column, bool descending) {
    std::vector<std::string> codes;
    for (size_t i : NotebookOrder(rows, column, descending)) codes.push_back(rows[i].Code);
    return codes;
}

} // namespace

TEST(NotebookView, ColumnsSortStablyByNumberCollationAndDate) {
    const std::vector<TNotebookRec> rows = {
        Row("12-34", "Ёж - кот", "Б", 20), Row("5", "арка", "а", kNoDay),   Row("00-12", "еж", "", 10),
        Row("9-9", "Бот", "б", 20),         Row("1-2", "бот", "",  kNoDay), Row("0-12", "арка", "в", 5)};
    // Codes as numbers: 5 before 9-9 before 1-2 (12), leading zeros after the same number.
    EXPECT_THAT(Codes(rows, TNotebookColumn::Code, false), ElementsAre("5", "1-2", "0-12", "00-12", "9-9", "12-34"));
    EXPECT_THAT(Codes(rows, TNotebookColumn::Code, true), ElementsAre("12-34", "9-9", "00-12", "0-12", "1-2", "5"));
    // Letter case ignored, е before ё; equal words keep notebook order in both directions.
    EXPECT_THAT(Codes(rows, TNotebookColumn::Words, false), ElementsAre("5", "0-12", "9-9", "1-2", "00-12", "12-34"));
    EXPECT_THAT(Codes(rows, TNotebookColumn::Words, true), ElementsAre("12-34", "00-12", "9-9", "1-2", "5", "0-12"));
    EXPECT_THAT(Codes(rows, TNotebookColumn::Note, false), ElementsAre("00-12", "1-2", "5", "12-34", "9-9", "0-12"));
    // Dates in time order either way, rows without a date last and in notebook order.
    EXPECT_THAT(Codes(rows, TNotebookColumn::NextReview, false), ElementsAre("0-12", "00-12", "12-34", "9-9", "5", "1-2"));
    EXPECT_THAT(Codes(rows, TNotebookColumn::NextReview, true), ElementsAre("12-34", "9-9", "00-12", "0-12", "5", "1-2"));
    EXPECT_TRUE(NotebookOrder({}, TNotebookColumn::Words, false).empty());
}

TEST(NotebookView, FilterMatchesDigitsWordsNotesAndPlaces) {
    TNotebookRec piece = Row("31-41-59", "кожа - очаг - бор");
    piece.Pieces = {{1, "31-41", W("кожа - очаг"), W("Кухня"), kNoDay, false}};
    const std::vector<TNotebookRec> rows = {Row("52-70-563", "бот - зима - пешка", "Домофон ЛЕНЫ"), piece,
                                            Row("9-9", "царь - урна", "ПИН 27050")};
    auto matching = [&](const char* utf8) {
        const TNotebookFilter filter(W(utf8));
        std::vector<std::string> codes;
        for (const auto& r : rows)
            if (filter.Matches(r)) codes.push_back(r.Code);
        return codes;
    };
    EXPECT_THAT(matching(""), ElementsAre("52-70-563", "31-41-59", "9-9"));
    EXPECT_THAT(matching("   "), ElementsAre("52-70-563", "31-41-59", "9-9"));
    EXPECT_THAT(matching("2705"), ElementsAre("52-70-563", "9-9")) << "digits across groups, or in a note";
    EXPECT_THAT(matching(" 527-05 "), ElementsAre("52-70-563"));
    EXPECT_THAT(matching("27 05"), ElementsAre("52-70-563", "9-9")) << "every word, anywhere";
    EXPECT_THAT(matching("лены 52 зима"), ElementsAre("52-70-563"));
    EXPECT_THAT(matching("лены урна"), ElementsAre());
    EXPECT_THAT(matching("ЗИМА"), ElementsAre("52-70-563"));
    EXPECT_THAT(matching("лены"), ElementsAre("52-70-563"));
    EXPECT_THAT(matching("кухня"), ElementsAre("31-41-59")) << "a piece's place";
    EXPECT_THAT(matching("пин 2"), ElementsAre("9-9"));
    EXPECT_THAT(matching("ёж"), ElementsAre());
    EXPECT_THAT(matching("52-x"), ElementsAre()) << "not digits: matched as text";
}

TEST(NotebookView, NextReviewIsTheEarliestDueDayOfTheReviewedCards) {
    TStringList entries, notes;
    entries.SetText("1234=12-34,W1,W2\r\n56=5-6,A,B\r\n789=7-8-9,X,Y,Z\r\n11=1-1,Q,R\r\n");
    auto card = [](const char* key, TReviewDirection d, int64_t due) {
        TReviewCard c;
        c.Key = key;
        c.Direction = d;
        if (due != kNoDay) c.Due = due, c.First = c.Last = due - 3;
        return c;
    };
    const int64_t day = DaysFromCivil(2026, 12, 9);
    const std::vector<TReviewCard> cards = {
        card("1234", TReviewDirection::NumberToPhrase, day + 4), card("1234", TReviewDirection::PhraseToNumber, kNoDay),
        card("56", TReviewDirection::NumberToPhrase, kNoDay),   card("56", TReviewDirection::PhraseToNumber, kNoDay),
        card("789#2", TReviewDirection::NumberToPhrase, day + 9), card("789#1", TReviewDirection::NumberToPhrase, day + 12),
        card("789#1", TReviewDirection::PhraseToNumber, kNoDay)};
    std::vector<TNotebookRec> rows = NotebookRows(entries, notes, nullptr, &cards);
    ASSERT_EQ(rows.size(), 4u);
    rows[2].Pieces = {{1, "7", "X", "", kNoDay, false}, {2, "8-9", "Y - Z", "", kNoDay, false},
                      {3, "", "", "", kNoDay, false}};
    SetNextReviews(rows, cards);
    auto text = [](int64_t d, bool has) { return nbtest::U(NextReviewText(d, has)); };
    EXPECT_EQ(text(rows[0].NextReview, rows[0].HasCards), "13.12.2026") << "a new sibling does not count";
    EXPECT_EQ(text(rows[1].NextReview, rows[1].HasCards), "новая");
    EXPECT_EQ(text(rows[2].NextReview, rows[2].HasCards), "18.12.2026") << "its pieces' earliest";
    EXPECT_EQ(text(rows[2].Pieces[0].NextReview, rows[2].Pieces[0].HasCards), "21.12.2026");
    EXPECT_EQ(text(rows[2].Pieces[1].NextReview, rows[2].Pieces[1].HasCards), "18.12.2026");
    EXPECT_EQ(text(rows[2].Pieces[2].NextReview, rows[2].Pieces[2].HasCards), "") << "no card of it";
    EXPECT_EQ(text(rows[3].NextReview, rows[3].HasCards), "") << "the deck has no card of it";
}

TEST(Notebook, KeyIsTheDigitsOfTheVariant) {
    EXPECT_EQ(NotebookKey("52-70-563"), "5270563");
    EXPECT_EQ(NotebookKey("12-30"), "1230");
    EXPECT_EQ(NotebookKey(""), "");
}

TEST(ShippedDictionary, IsCleanWindows1251WithOneNounPerLine) {
    const std::string bytes = ReadWholeFile(NUMBRELIA_DATA_DIR "/Data/dic.lst");
    ASSERT_FALSE(bytes.empty());
    for (unsigned char c : bytes)
        ASSERT_TRUE(c >= 0xE0 || c == 0xB8 || c == ' ' || c == '-' || c == '\r' || c == '\n')
            << "byte " << int(c);
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    const auto lines = SplitLines(bytes);
    TStringList dic(TStringList::Kind::Sorted);
    dic.Assign(lines);
    EXPECT_EQ(dic.Count(), lines.size()) << "no line repeats another, case or order aside";
    for (const auto& l : lines) EXPECT_FALSE(l.empty());
    for (const char* w : {"кот", "дом", "стол", "яблоко", "ёж", "часы", "пальто", "тапок", "баобаб"})
        EXPECT_TRUE(dic.Contains(W(w))) << w;
    // Familiar words lead the file: a column may list a code's words in file order.
    const auto line = [&](const char* w) {
        return std::find(lines.begin(), lines.end(), W(w)) - lines.begin();
    };
    EXPECT_LT(line("дом"), 100);
    EXPECT_LT(line("кот"), line("абажур"));
}

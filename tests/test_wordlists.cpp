// The user lists and the notebook: loading, the set rules, saving, and never writing a
// list over its file when it was not loaded.
#include "TestUtil.h"

#include "core/FileUnit.h"
#include "dictionary/WordListUnit.h"
#include "notebook/NotebookStoreUnit.h"

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

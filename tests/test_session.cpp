// The session both front-ends run on, without a window: which variant and words it
// chooses, the hidden-word rules of the word columns, settings and dictionary changes
// with their rollback, the notebook's writes and the saves. Fixture words (Classic codes):
//   5 боа  2 ад  7 оса  0 ум  56 пол  3 ухо  52 бот пуд  70 сон  563 пешка пшик  89 вор
#include "TestUtil.h"

#include "core/FileUnit.h"
#include "notebook/NotebookStoreUnit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace nb;
using namespace nbtest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class Session : public ::testing::Test {
protected:
    void SetUp() override { WriteFixture(dir); }
    void Open() { session = OpenSession(dir.Path()); }

    std::vector<std::string> Rows(const char* number) const {
        std::vector<std::string> keys;
        for (const TVariantRec& row : session->Encode(number).Rows) keys.push_back(row.Variant);
        return keys;
    }
    std::string Selected(const char* number) const {
        const TEncodeResult r = session->Encode(number);
        return r.Selected < 0 ? std::string() : r.Rows[static_cast<size_t>(r.Selected)].Variant;
    }
    std::string Word(int32_t entry) const { return U(session->DicList()[static_cast<size_t>(entry)]); }
    // The chosen word of every column of a variant.
    std::vector<std::string> Chosen(const std::string& variant) {
        std::vector<std::string> words;
        for (const TWordColumn& c : session->WordColumns(variant)) words.push_back(c.Chosen < 0 ? "" : Word(c.Chosen));
        return words;
    }
    // The words a column shows, hidden ones left out.
    std::vector<std::string> Shown(const TWordColumn& c) const {
        std::vector<std::string> words;
        for (size_t i = 0; i < c.Entries.size(); ++i)
            if (!c.Hidden[i]) words.push_back(Word(c.Entries[i]));
        return words;
    }
    int32_t Entry(const char* utf8) const { return static_cast<int32_t>(session->DicList().IndexOf(W(utf8))); }
    bool Hidden(const char* utf8) const { return session->UserLists().HidedWordList.Contains(W(utf8)); }

    TempDir dir;
    std::unique_ptr<TSession> session;
};

// ---- choosing variants and words -------------------------------------------------------------

TEST_F(Session, TheRememberedVariantAndItsWordsAreChosen) {
    dir.Write("notebook.txt", W("5270563=5-2-70-563,боа,ад,сон,пшик\r\n5252=52-52,пуд,бот\r\n"
                                "52705=52-70-5,пуд,сон,боа\r\n"));
    Open();
    EXPECT_EQ(Selected("5270563"), "5-2-70-563");
    EXPECT_THAT(Chosen("5-2-70-563"), ElementsAre("боа", "ад", "сон", "пшик"));

    // Another variant of the same number: the remembered words belong to a different one,
    // even where a word would fit its column.
    EXPECT_EQ(Selected("52705"), "52-70-5");
    EXPECT_THAT(Chosen("52-70-5"), ElementsAre("пуд", "сон", "боа"));
    EXPECT_THAT(Chosen("52-7-0-5"), ElementsAre("бот", "оса", "ум", "боа"));

    // A group twice: each column keeps its own word, matched by position.
    EXPECT_EQ(Selected("5252"), "52-52");
    EXPECT_THAT(Chosen("52-52"), ElementsAre("пуд", "бот"));

    // The remembered variant is gone once one of its groups is ignored: the first row.
    EXPECT_TRUE(session->SetCodeIgnored("2", true));
    EXPECT_FALSE(session->SetCodeIgnored("2", true)) << "no change";
    EXPECT_EQ(Selected("5270563"), "52-70-563");
}

TEST_F(Session, AColumnWithEveryWordHiddenShowsItsFirstWordAgain) {
    dir.Write("Data/HidedWord.lst", W("пуд\r\nбот\r\n"));
    Open();
    bool changed = false;
    const std::vector<TWordColumn> columns = session->WordColumns("52-70-563", &changed);
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_EQ(columns[0].Group, "52");
    EXPECT_THAT(Shown(columns[0]), ElementsAre("бот"));
    EXPECT_EQ(Word(columns[0].Chosen), "бот");
    EXPECT_TRUE(changed);
    EXPECT_FALSE(Hidden("бот"));
    EXPECT_TRUE(Hidden("пуд"));
    EXPECT_EQ(dir.Read("Data/HidedWord.lst"), W("пуд\r\nбот\r\n")) << "written by the caller";
    session->WordColumns("52-70-563", &changed);
    EXPECT_FALSE(changed);
    EXPECT_EQ(Rows("5270563"), kDisplayOrder) << "hidden words play no part in the search";
}

TEST_F(Session, HidingAndKeepingOneWordNeverLeaveAColumnEmpty) {
    Open();
    const std::vector<int32_t> c52 = session->GroupEntries("52"), c563 = session->GroupEntries("563");
    EXPECT_TRUE(session->HideWord(c52, Entry("бот")));
    EXPECT_TRUE(Hidden("бот"));
    // The last word shown goes and the first comes back.
    EXPECT_TRUE(session->HideWord(c52, Entry("пуд")));
    EXPECT_TRUE(Hidden("пуд"));
    EXPECT_FALSE(Hidden("бот"));
    // The last one shown is the first: it stays.
    EXPECT_FALSE(session->HideWord(c52, Entry("бот")));
    EXPECT_FALSE(Hidden("бот"));
    // Behind a hidden first row: it stays hidden and the first comes back.
    EXPECT_TRUE(session->HideWord(c563, Entry("пешка")));
    EXPECT_TRUE(session->HideWord(c563, Entry("пшик")));
    EXPECT_FALSE(Hidden("пешка"));
    EXPECT_TRUE(Hidden("пшик"));

    // Keep only one: the others go, in later displays too.
    EXPECT_TRUE(session->KeepOnlyWord(c563, Entry("пшик")));
    EXPECT_TRUE(Hidden("пешка"));
    EXPECT_FALSE(Hidden("пшик"));
    const std::vector<TWordColumn> columns = session->WordColumns("52-70-563");
    EXPECT_THAT(Shown(columns[2]), ElementsAre("пшик"));
    EXPECT_THAT(Chosen("52-70-563"), ElementsAre("бот", "сон", "пшик"));

    ASSERT_TRUE(session->SaveHidedWords().empty());
    EXPECT_EQ(dir.Read("Data/HidedWord.lst"), W("пешка\r\nпуд\r\n"));
}

// ---- settings and dictionary changes ---------------------------------------------------------

TEST_F(Session, SettingsChangesBuildOnlyWhatTheyNeed) {
    Open();
    TProgSettings edited = session->Settings();
    edited.FamiliarFirst = true;
    EXPECT_TRUE(session->ApplyWordOrder(edited)) << "the word order alone builds nothing";
    EXPECT_TRUE(session->Settings().FamiliarFirst);
    EXPECT_FALSE(session->ApplyWordOrder(edited)) << "no change at all";
    edited.BestVariantFirst = true;
    EXPECT_TRUE(session->ApplyWordOrder(edited)) << "nor the variants' order";
    EXPECT_TRUE(session->Settings().BestVariantFirst);

    edited.VariantMakeType = static_cast<int32_t>(TGroupingMode::TwoDigits);
    EXPECT_FALSE(session->ApplyWordOrder(edited));
    std::string shownTable;
    TBuildCallbacks callbacks;
    callbacks.HandleFirstStart = false;
    callbacks.Starting = [&] { shownTable = session->CodeTable().Ident; };
    session->ApplySettings(edited, callbacks);
    EXPECT_EQ(shownTable, "Classic");
    EXPECT_THAT(Rows("5270563"), ElementsAre("52-70-56-3", "5-2-70-56-3", "52-7-0-56-3", "5-2-7-0-56-3"))
        << "пешка and пшик give 56 now";
    EXPECT_THAT(Shown(session->WordColumns("52-70-56-3")[2]), ElementsAre("пол", "пешка", "пшик"))
        << "familiar first: the file's line order";
}

TEST_F(Session, AFailedBuildKeepsTheFormerTableSettingsAndDictionaryWorking) {
    Open();
    TBuildCallbacks callbacks;
    callbacks.HandleFirstStart = false;
    TProgSettings edited = session->Settings();
    edited.CodeCode = "Major";
    edited.VariantMakeType = static_cast<int32_t>(TGroupingMode::TwoDigits);
    SetWriteFailureForTesting("Major_");
    EXPECT_THROW(session->ApplySettings(edited, callbacks), EError);
    SetWriteFailureForTesting("");
    EXPECT_EQ(session->Settings().CodeCode, "Classic");
    EXPECT_EQ(session->Settings().VariantMakeType, 0);
    EXPECT_EQ(session->CodeTable().Ident, "Classic");
    EXPECT_EQ(Rows("5270563"), kDisplayOrder);

    // The new dictionary is on disk, but its codes could not be written: the former
    // dictionary goes on with the former codes (without "ад" every later entry would move).
    const std::string text = dir.Read("Data/dic.lst");
    const std::string without = std::string(text).erase(text.find(W("ад\r\n")), W("ад\r\n").size());
    SetWriteFailureForTesting("Cache/");
    try {
        session->ReplaceDictionary(without, callbacks);
        ADD_FAILURE() << "no error";
    } catch (const EError& e) {
        EXPECT_THAT(e.what(), HasSubstr("Classic_1.lst"));
    }
    SetWriteFailureForTesting("");
    EXPECT_EQ(dir.Read("Data/dic.lst"), without);
    EXPECT_EQ(session->DicList().Count(), 13u);
    EXPECT_EQ(Rows("5270563"), kDisplayOrder);
    const std::vector<TWordColumn> columns = session->WordColumns("52-70-563");
    EXPECT_THAT(Shown(columns[0]), ElementsAre("бот", "пуд"));
    EXPECT_THAT(Shown(columns[1]), ElementsAre("сон"));
    EXPECT_THAT(Shown(columns[2]), ElementsAre("пешка", "пшик"));

    // A write refused before anything changed.
    SetWriteFailureForTesting("dic.lst");
    EXPECT_THROW(session->ReplaceDictionary(W("сам\r\n"), callbacks), EError);
    SetWriteFailureForTesting("");
    EXPECT_EQ(dir.Read("Data/dic.lst"), without);
    EXPECT_EQ(session->DicList().Count(), 13u);
}

// ---- notebook ------------------------------------------------------------------------------

TEST_F(Session, RememberAndDeleteWriteTheNotebookAtOnce) {
    Open();
    const std::vector<std::string> words = {W("боа"), W("ад"), W("сон"), W("пшик")};
    EXPECT_FALSE(TSession::CanRemember("", {}));
    EXPECT_FALSE(TSession::CanRemember("5-2-70-563", {W("боа")})) << "a word for every group";
    EXPECT_THROW(session->Remember("5-2-70-563", {W("боа")}, ""), EError);
    EXPECT_FALSE(dir.Exists("notebook.txt"));

    EXPECT_TRUE(session->Remember("5-2-70-563", words, W("заметка")).empty());
    EXPECT_EQ(dir.Read("notebook.txt"), W("5270563=5-2-70-563,боа,ад,сон,пшик\r\n"));
    EXPECT_EQ(dir.Read("notebook_add.txt"), W("5270563=заметка\r\n"));
    EXPECT_EQ(session->NotebookNote("52-70-563"), W("заметка")) << "the number's note";
    EXPECT_EQ(Selected("527-0563"), "5-2-70-563");

    // A note edited in the notebook window is written at once; a refused write keeps the
    // former note in memory, as in the file.
    EXPECT_TRUE(session->SetNotebookNote("5270563", W("подъезд")).empty());
    EXPECT_EQ(dir.Read("notebook_add.txt"), W("5270563=подъезд\r\n"));
    std::filesystem::remove(dir / "notebook_add.txt");
    std::filesystem::create_directory(dir / "notebook_add.txt");
    EXPECT_THAT(session->SetNotebookNote("5270563", "x"), ElementsAre(HasSubstr("notebook_add.txt")));
    EXPECT_EQ(session->NotebookNote("52-70-563"), W("подъезд"));
    std::filesystem::remove(dir / "notebook_add.txt");

    EXPECT_TRUE(session->DeleteNotebookEntry("5270563").empty());
    EXPECT_EQ(dir.Read("notebook.txt"), "");
    EXPECT_EQ(dir.Read("notebook_add.txt"), "");
    EXPECT_EQ(Selected("5270563"), "52-70-563");
}

// ---- saves -------------------------------------------------------------------------------

TEST_F(Session, AcceptedSettingsAreWrittenAtOnceBesideTheOtherKeys) {
    dir.Write("settings.ini", "[NumbreliaSettings]\r\nCodeWidth=99\r\n[CacheCRC]\r\nMajor=1=2\r\n");
    Open();
    TProgSettings edited = session->Settings();
    edited.FamiliarFirst = true;
    ASSERT_TRUE(session->ApplyWordOrder(edited));
    session->Layout().VariantsVirtualStringTreeWidth = 301;
    EXPECT_TRUE(session->WriteSettings().empty());
    const std::string written = dir.Read("settings.ini");
    EXPECT_THAT(written, HasSubstr("FamiliarFirst=1\r\n"));
    EXPECT_THAT(written, HasSubstr("VariantsVirtualStringTreeWidth=301\r\n"));
    EXPECT_THAT(written, HasSubstr("CodeWidth=99\r\n"));
    EXPECT_THAT(written, HasSubstr("[CacheCRC]\r\nMajor=1=2\r\n"));

    // A refused write is a message, and the settings stay for the write at shut-down.
    SetWriteFailureForTesting("settings.ini");
    edited.FamiliarFirst = false;
    ASSERT_TRUE(session->ApplyWordOrder(edited));
    const std::vector<std::string> errors = session->WriteSettings();
    SetWriteFailureForTesting("");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_THAT(errors[0], HasSubstr("settings.ini"));
    EXPECT_EQ(dir.Read("settings.ini"), written);
    EXPECT_TRUE(session->Save().empty());
    EXPECT_THAT(dir.Read("settings.ini"), HasSubstr("FamiliarFirst=0\r\n"));
}

TEST_F(Session, SaveWritesTheLoadedListsAndTheSettingsButNeverAListThatWasNotRead) {
    Open();
    EXPECT_TRUE(session->Save().empty());
    EXPECT_EQ(dir.Read("Data/HidedWord.lst"), "");
    EXPECT_EQ(dir.Read("notebook.txt"), "");
    const std::string settings = dir.Read("settings.ini");
    EXPECT_THAT(settings, HasSubstr("CodeCode=Classic\r\n"));
    EXPECT_THAT(settings, HasSubstr("VariantsVirtualStringTreeWidth=225\r\n"));
    EXPECT_THAT(settings, HasSubstr("BrowserPanelHeight=240\r\n"));

    // The dictionary is missing: the load stops before the lists, which keep their files.
    TempDir other;
    WriteFixture(other, false);
    other.Write("Data/HidedWord.lst", W("кот\r\n"));
    TSession failed(TPaths{other.Path(), {}});
    EXPECT_THROW(failed.Load(), EError);
    EXPECT_TRUE(failed.Save().empty());
    EXPECT_EQ(other.Read("Data/HidedWord.lst"), W("кот\r\n"));
    EXPECT_FALSE(other.Exists("notebook.txt"));
}

} // namespace

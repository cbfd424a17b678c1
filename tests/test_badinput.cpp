// Bad input in the files a user edits by hand and in the number field, each checked for
// the outcome the user wants: the program starts, answers at once, keeps what it cannot
// use untouched in its file, and refuses only when it cannot work at all.
#include "TestUtil.h"

#include "code/CodeTableUnit.h"
#include "core/FileUnit.h"
#include "core/SettingsUnit.h"
#include "core/TextUnit.h"
#include "dictionary/CRC32.h"
#include "dictionary/CodeDictionaryUnit.h"
#include "dictionary/WordListUnit.h"
#include "encoding/VariantSearchUnit.h"
#include "notebook/NotebookStoreUnit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>

using namespace nb;
using nbtest::TempDir;
using nbtest::W;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::UnorderedElementsAre;
using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

const char* kCodes = "[Classic]\r\nName=Классический\r\n0=н,м\r\n1=г,ж\r\n2=д,т\r\n3=к,х\r\n"
                     "4=ч,щ\r\n5=п,б\r\n6=ш,л\r\n7=с,з\r\n8=в,ф\r\n9=р,ц\r\n\r\n"
                     "[Major]\r\nName=Фонетический\r\n0=з,с\r\n1=т,д\r\n2=н\r\n3=м\r\n4=р\r\n"
                     "5=л\r\n6=ж,ш,ч,щ\r\n7=к,г\r\n8=ф,в\r\n9=п,б\r\n";
// Under Classic, 5270563 has these eight variants in display order.
const char* kWords = "боа\r\nад\r\nоса\r\nум\r\nпол\r\nухо\r\nбот\r\nпуд\r\nсон\r\nпешка\r\nпшик\r\n"
                     "вор\r\nау\r\n";
const std::vector<std::string> kVariants = {"52-70-563",   "5-2-70-563",  "52-7-0-563",
                                            "52-70-56-3",  "5-2-7-0-563", "5-2-70-56-3",
                                            "52-7-0-56-3", "5-2-7-0-56-3"};

// The engine side of one run of the program on a folder, in the order of the window:
// code tables and settings at creation; dictionary, user lists and the code-dictionary
// build at the deferred start-up; one encode; the saves of shut-down.
struct TRun {
    TPaths Paths;
    TIniFile Ini{Paths.Settings()};
    TCodeRecArr Tables;
    TProgSettings Settings;
    TLayoutSettings Layout;
    TStringList Dic{TStringList::Kind::Sorted};
    TUserLists Lists;
    TCodeDictionary Codes;
    TEncodeResult Result;
    int HelpOpened = 0;

    explicit TRun(const std::string& folder, const std::string& number = "5270563") : Paths{folder} {
        Tables = LoadCodeTables(Paths.Codes());
        if (Tables.empty()) throw EError("no code table");
        LoadSettings(Ini, Tables, Settings, Layout);
        CreateDir(Paths.CacheFolder());
        Dic.LoadFromFile(Paths.Dictionary());
        Lists.Load(Paths);
        TBuildCallbacks callbacks;
        callbacks.OpenHelp = [this] { ++HelpOpened; };
        Codes.Build(Paths, Ini, Dic, SelectCodeTable(Tables, Settings.CodeCode), Settings.Grouping(),
                    callbacks);
        Encode(number);
    }
    void Encode(const std::string& number) {
        const TVariantSearch search(Codes.GroupCodeList(), Lists.IgnoredCodeList);
        Result = MakeVariants(number, Settings.Grouping(), search,
                              Lists.NotebookEntries);
    }
    std::vector<std::string> Variants() const {
        std::vector<std::string> keys;
        for (const auto& row : Result.Rows) keys.push_back(row.Variant);
        return keys;
    }
    // The visible entries of a group, as stored (Windows-1251).
    std::vector<std::string> WordsOf(const std::string& group) const {
        std::vector<std::string> words;
        for (int32_t i : Codes.EntriesOfGroup(group))
            if (!Lists.HidedWordList.Contains(Dic[static_cast<size_t>(i)]))
                words.push_back(Dic[static_cast<size_t>(i)]);
        return words;
    }
    void ShutDown() {
        const auto errors = Lists.Save(Paths);
        ASSERT_TRUE(errors.empty()) << errors.front();
        SaveSettings(Ini, Settings, Layout);
    }
};

void WriteSmallFolder(const TempDir& dir) {
    dir.Write("Data/Codes.ini", W(kCodes));
    dir.Write("Data/dic.lst", W(kWords));
}

std::string RandomDigits(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s;
    for (size_t i = 0; i < n; ++i) s += static_cast<char>('0' + rng() % 10);
    return s;
}

} // namespace

// Proves: a 10,000-digit number, typed or pasted with other characters, answers within
// moments in every mode, with a list cut at the bound (so the user is told) where there
// are more splits than it holds, every row a true split of the number, fewest groups
// first; the same number remembered in the notebook comes back selected.
TEST(LongNumber, TenThousandDigitsAnswerAtOnceWithACutList) {
    TempDir dir;
    fs::copy(NUMBRELIA_DATA_DIR "/Data", dir / "Data", fs::copy_options::recursive);
    TRun run(dir.Path());
    const std::string digits = RandomDigits(10000, 5);
    std::string typed;
    for (size_t i = 0; i < digits.size(); ++i) typed += (i % 100 == 99 ? " " : "") + digits.substr(i, 1);

    for (int mode = 0; mode <= 2; ++mode) {
        run.Settings.VariantMakeType = mode;
        run.Settings.AddNull = mode == 1;
        run.Codes.RecomputeGroups(run.Settings.Grouping());
        const auto start = Clock::now();
        run.Encode(typed);
        const double took = Seconds(start);
        std::printf("[ note ] 10,000 digits, mode %d: %zu rows in %.2f s\n", mode, run.Result.Rows.size(), took);
        EXPECT_LT(took, 10.0) << "mode " << mode;
        EXPECT_EQ(run.Result.Number, digits);
        ASSERT_FALSE(run.Result.Rows.empty()) << "mode " << mode;
        // Two-digit groups cut a number one way only; the other modes have more ways
        // than the list holds.
        EXPECT_EQ(run.Result.Cut, mode != 1) << "mode " << mode;
        if (mode == 1) {
            EXPECT_EQ(run.Result.Rows.size(), 1u);
        }
        for (size_t i = 0; i < run.Result.Rows.size(); ++i) {
            std::string joined = run.Result.Rows[i].Variant;
            joined.erase(std::remove(joined.begin(), joined.end(), '-'), joined.end());
            ASSERT_EQ(joined, run.Result.SearchString);
            if (i > 0) {
                ASSERT_LE(run.Result.Rows[i - 1].Count, run.Result.Rows[i].Count);
            }
        }
    }
    // Remembering the last row and encoding again selects it.
    const std::string last = run.Result.Rows.back().Variant;
    RememberEntry(run.Lists.NotebookEntries, run.Lists.NotebookNotes, last, {}, "");
    run.Encode(digits);
    ASSERT_GE(run.Result.Selected, 0);
    EXPECT_EQ(run.Result.Rows[static_cast<size_t>(run.Result.Selected)].Variant, last);
}

// Proves: a dictionary of 500,000 lines loads, builds its cache, is found valid on the
// next start and answers a number, each in seconds (the figures go to the README), and
// the cache it wrote reproduces the rebuilt lists exactly.
TEST(BigDictionary, HalfAMillionLinesLoadBuildAndStartAgainInSeconds) {
    TempDir dir;
    dir.Write("Data/Codes.ini", W(kCodes));
    std::mt19937 rng(500000);
    std::string text;
    text.reserve(6 << 20);
    for (int i = 0; i < 500000; ++i) {
        const int len = 4 + static_cast<int>(rng() % 8);
        for (int j = 0; j < len; ++j) text += static_cast<char>(0xE0 + rng() % 32);
        if (i % 10 == 0) text += " " + std::string(1, static_cast<char>(0xE0 + rng() % 32)) + "\xEE\xEC";
        text += "\r\n";
    }
    text += W(kWords);
    dir.Write("Data/dic.lst", text);

    auto start = Clock::now();
    TRun first(dir.Path());
    const double firstStart = Seconds(start);
    start = Clock::now();
    TRun second(dir.Path());
    const double secondStart = Seconds(start);
    start = Clock::now();
    TStringList dic(TStringList::Kind::Sorted);
    dic.LoadFromFile(dir / "Data/dic.lst");
    const double load = Seconds(start);
    start = Clock::now();
    second.Encode("52705638913452");
    const double encode = Seconds(start);
    std::printf("[ note ] 500,000 lines (%zu entries, %zu distinct codes): load and sort %.2f s, "
                "first start with rebuild %.2f s, next start from the cache %.2f s, "
                "14-digit number %.3f s (%zu rows)\n",
                first.Dic.Count(), first.Codes.CodeList().Count(), load, firstStart, secondStart,
                encode, second.Result.Rows.size());

    EXPECT_GT(first.Dic.Count(), 490000u);
    EXPECT_FALSE(first.Codes.CacheReused());
    EXPECT_TRUE(second.Codes.CacheReused());
    EXPECT_EQ(second.Codes.WordCodeList().Strings(), first.Codes.WordCodeList().Strings());
    for (size_t i = 0; i < first.Codes.WordCodeList().Count(); i += 997)
        ASSERT_EQ(second.Codes.WordCodeList().Object(i), first.Codes.WordCodeList().Object(i));
    EXPECT_FALSE(second.Result.Rows.empty());
    // Generous bounds: they catch a slide into quadratic work, not a slow machine.
    EXPECT_LT(firstStart, 60.0);
    EXPECT_LT(secondStart, 60.0);
}

// Proves: a line of 1 MB in any file the program reads neither stops the start nor
// disturbs the ordinary content: the number still gets its eight variants and words, a
// too long setting falls back to its default, a too long table name is cut, and the
// user's lists and notebook are written back with the long lines unchanged.
TEST(HugeLines, OneMegabyteLinesInEveryFileAreCarriedThrough) {
    TempDir dir;
    const std::string mb(1 << 20, '\xEA');            // 1 MB of "к"
    const std::string digitsMb(1 << 20, '7');         // 1 MB of digits
    const std::string junk(1 << 20, '\x1F');          // 1 MB of a control character
    dir.Write("Data/Codes.ini", "; " + junk + "\r\n" + W(kCodes) + "[Long]\r\nName=" + mb + "\r\n3=" + mb + "\r\n");
    dir.Write("Data/dic.lst", mb + "\r\n" + W(kWords) + junk + "\r\n");
    const std::string hidden = mb + "\r\n" + W("пуд\r\n");
    const std::string ignored = digitsMb + "\r\n";
    const std::string notebook = W("5270563=52-70-563,бот,сон,пешка\r\n") + digitsMb + "=" + mb + "\r\n" + junk + "\r\n";
    const std::string notes = W("5270563=") + mb + "\r\n";
    dir.Write("Data/HidedWord.lst", hidden);
    dir.Write("Data/IgnoredCode.lst", ignored);
    dir.Write("notebook.txt", notebook);
    dir.Write("notebook_add.txt", notes);
    dir.Write("settings.ini", "[NumbreliaSettings]\r\n" + junk + "\r\nLetterColor=" + digitsMb +
                                  "\r\nCodeCode=" + mb + "\r\nFirstStart=0\r\n");

    {
        TRun run(dir.Path());
        EXPECT_THAT(run.Variants(), ElementsAreArray(kVariants));
        EXPECT_THAT(run.WordsOf("52"), ElementsAre(W("бот"))) << "пуд is hidden";
        ASSERT_EQ(run.Tables.size(), 3u);
        EXPECT_EQ(run.Tables[2].Name, mb.substr(0, 2047)) << "a name is cut like any value";
        ASSERT_EQ(run.Tables[2].Letters.size(), 1u);
        EXPECT_EQ(run.Tables[2].Letters[0].Letter, mb[0]);
        EXPECT_EQ(run.Settings.CodeCode, "Classic");
        EXPECT_EQ(run.Settings.LetterColor, 255);
        EXPECT_EQ(NotebookItems(run.Lists.NotebookEntries, digitsMb).at(0), mb);
        EXPECT_EQ(run.Lists.NotebookNotes.Value("5270563"), mb);
        run.ShutDown();
    }
    EXPECT_EQ(dir.Read("Data/HidedWord.lst"), hidden);
    EXPECT_EQ(dir.Read("Data/IgnoredCode.lst"), ignored);
    EXPECT_EQ(dir.Read("notebook.txt"), notebook);
    EXPECT_EQ(dir.Read("notebook_add.txt"), notes);
    EXPECT_NE(dir.Read("settings.ini").find(junk), std::string::npos) << "a line it does not know stays";

    // A cache file with a 1 MB line: rebuilt, or trusted only when it fits together.
    TempDir other;
    WriteSmallFolder(other);
    TRun clean(other.Path());
    for (int n = 1; n <= 3; ++n) {
        const std::string path = clean.Paths.CacheFile("Classic", n);
        const std::string good = ReadWholeFile(path);
        WriteFileAtomic(path, digitsMb + "\r\n" + good);
        TRun again(other.Path());
        EXPECT_FALSE(again.Codes.CacheReused()) << "file " << n;
        EXPECT_THAT(again.Variants(), ElementsAreArray(kVariants)) << "file " << n;
    }
}

// Proves: control characters, bytes that are no Windows-1251 letter (Latin, digits,
// punctuation, the unassigned 0x98) and a zero byte anywhere in the files change nothing
// but what they stand in: entries code by their Russian letters alone, control
// characters separate the letters of a code table like blanks and are ignored by the
// lists' comparison, settings that do not parse fall back to their defaults, a zero byte
// ends a file, and words holding such bytes survive a round trip through the notebook.
TEST(ForeignBytes, ControlCharactersAndNonLettersAnywhere) {
    TempDir dir;
    std::string codes = W(kCodes);
    codes.replace(codes.find(W("0=н,м")), W("0=н,м").size(), "0=\x01" + W("н") + "\x02" + W("м") + "\x98");
    dir.Write("Data/Codes.ini", "\x98\x01\x7F\r\n" + codes);
    const std::string oddEntry = W("б") + "\x01" + W("о") + "\x98" + W("т") + "!\x7F";
    dir.Write("Data/dic.lst", W(kWords) + oddEntry + "\r\nABC\x9Fxyz\r\n" + "\0"s + W("ёлка\r\n"));
    dir.Write("Data/HidedWord.lst", W("пуд") + "\r\n\x02\x98\r\n");
    dir.Write("Data/IgnoredCode.lst", "\x03" "52\r\n");
    dir.Write("settings.ini", "[NumbreliaSettings]\r\nVariantMakeType=\x01" "1\r\nAddNull=\x98\r\n"
                              "CodeCode=Major\x01\r\nFirstStart=0\r\n");
    dir.Write("notebook.txt", "\x05=\x06\r\n");

    TRun run(dir.Path());
    EXPECT_EQ(run.Settings.VariantMakeType, 0);
    EXPECT_FALSE(run.Settings.AddNull);
    EXPECT_EQ(run.Settings.CodeCode, "Classic") << "Major and a control character name no table";
    ASSERT_GE(run.Tables[0].Letters.size(), 2u);
    EXPECT_EQ(run.Tables[0].Letters[0].Letter, W("н")[0]);
    EXPECT_EQ(run.Tables[0].Letters[1].Letter, W("м")[0]);
    // The lists compare like the dictionary, control characters ignored: "\x03" "52" is 52.
    EXPECT_THAT(run.Variants(), ElementsAre("5-2-70-563", "5-2-7-0-563", "5-2-70-56-3", "5-2-7-0-56-3"));
    EXPECT_THAT(run.WordsOf("52"), UnorderedElementsAre(W("бот"), oddEntry)) << "coded by its letters";
    EXPECT_FALSE(run.Dic.Contains(W("ёлка"))) << "a zero byte ends the file";

    const std::string odd = oddEntry + ",\"";
    RememberEntry(run.Lists.NotebookEntries, run.Lists.NotebookNotes, "52-70-563", {odd, W("сон")}, "\x01\x98");
    run.ShutDown();
    TUserLists back;
    back.Load(run.Paths);
    EXPECT_THAT(NotebookItems(back.NotebookEntries, "5270563"), ElementsAre("52-70-563", odd, W("сон")));
    EXPECT_EQ(back.NotebookNotes.Value("5270563"), "\x01\x98");
    EXPECT_EQ(back.NotebookEntries[0], "\x05=\x06") << "a line it cannot use is kept";
}

// Proves: a settings.ini in which every value is wrong (and its section repeated) starts
// like a first run: defaults, the help opened once, a cache record that is garbage is
// rebuilt; the shut-down writes the corrected values into the first section, and the next
// start finds them and the cache valid.
TEST(BrokenSettings, EveryValueWrongStartsWithDefaultsAndIsRepaired) {
    TempDir dir;
    WriteSmallFolder(dir);
    dir.Write("settings.ini", "[NumbreliaSettings]\r\nCodeCode=\r\nLetterColor=red\r\nShowPic=yes\r\n"
                              "VariantMakeType=-1\r\nAddNull=0x\r\nVariantsVirtualStringTreeWidth=1e3\r\n"
                              "BrowserPanelHeight=99999999999\r\nHideSettings=maybe\r\nFirstStart=?\r\n"
                              "[CacheCRC]\r\nClassic=1=x,2=\"\r\n"
                              "[NumbreliaSettings]\r\nCodeCode=Major\r\nVariantMakeType=2\r\n");
    {
        TRun run(dir.Path());
        EXPECT_EQ(run.Settings.CodeCode, "Classic");
        EXPECT_EQ(run.Settings.LetterColor, 255);
        EXPECT_FALSE(run.Settings.ShowPic);
        EXPECT_EQ(run.Settings.VariantMakeType, 0) << "the repeated section does not count";
        EXPECT_FALSE(run.Settings.AddNull);
        EXPECT_EQ(run.Layout.VariantsVirtualStringTreeWidth, 225);
        EXPECT_EQ(run.Layout.BrowserPanelHeight, 240);
        EXPECT_FALSE(run.Layout.HideSettings);
        EXPECT_EQ(run.HelpOpened, 1);
        EXPECT_FALSE(run.Codes.CacheReused());
        EXPECT_THAT(run.Variants(), ElementsAreArray(kVariants));
        run.ShutDown();
    }
    TIniFile ini(dir / "settings.ini");
    EXPECT_EQ(ini.ReadString(kSettingsSection, "CodeCode", ""), "Classic");
    EXPECT_EQ(ini.ReadString(kSettingsSection, "LetterColor", ""), "255");
    EXPECT_EQ(ini.ReadString(kSettingsSection, "VariantMakeType", ""), "0");
    TRun next(dir.Path());
    EXPECT_EQ(next.HelpOpened, 0);
    EXPECT_TRUE(next.Codes.CacheReused());
}

// Proves: a Codes.ini from which no table can be read (missing, empty, comments only,
// keys before any section) gives no table, which makes the start-up refuse; repeated
// sections count once, the first; empty items and digits without letters are skipped, and
// a table that codes no word at all still starts and simply finds no variant.
TEST(CodeTables, NoTablesRepeatedSectionsAndEmptyItems) {
    TempDir dir;
    EXPECT_TRUE(LoadCodeTables(dir / "missing.ini").empty());
    for (const std::string& text : {""s, "\r\n\r\n"s, "; comment\r\n# another\r\n"s, W("0=н\r\n1=г\r\n"),
                                    "\0[Classic]\r\n0=x\r\n"s}) {
        dir.Write("Data/Codes.ini", text);
        EXPECT_TRUE(LoadCodeTables(dir / "Data/Codes.ini").empty()) << text;
    }
    dir.Write("Data/Codes.ini", W("[Classic]\r\n0=,,н,,м,\r\n1=\r\n2=\"\",д\r\n[Major]\r\n3=к\r\n"
                                  "[classic]\r\n0=з\r\n[Major]\r\n4=ч\r\n"));
    const TCodeRecArr tables = LoadCodeTables(dir / "Data/Codes.ini");
    ASSERT_EQ(tables.size(), 2u);
    ASSERT_EQ(tables[0].Letters.size(), 3u);
    EXPECT_EQ(tables[0].Letters[0].Letter, W("н")[0]);
    EXPECT_EQ(tables[0].Letters[2].Digit, 2);
    ASSERT_EQ(tables[1].Letters.size(), 1u);
    EXPECT_EQ(tables[1].Letters[0].Digit, 3);

    dir.Write("Data/Codes.ini", "[Empty]\r\nName=nothing\r\n");
    dir.Write("Data/dic.lst", W(kWords));
    TRun run(dir.Path());
    EXPECT_TRUE(run.Codes.CodeList().Empty());
    EXPECT_TRUE(run.Result.Rows.empty());
}

// Proves: empty lines and empty items in every list leave the ordinary content working:
// a blank dictionary line is one entry without a code, a blank hidden word or ignored
// code hides nothing, notebook lines without a key or a value select nothing and are
// written back as they were.
TEST(EmptyItems, BlankLinesAndItemsInEveryList) {
    TempDir dir;
    WriteSmallFolder(dir);
    dir.Write("Data/dic.lst", "\r\n\r\n" + W(kWords) + "\r\n");
    dir.Write("Data/HidedWord.lst", "\r\n\r\n");
    dir.Write("Data/IgnoredCode.lst", "\r\n");
    const std::string notebook = "=\r\n5270563=\r\n=5-2-70-563\r\n,,,\r\n\r\n";
    dir.Write("notebook.txt", notebook);
    dir.Write("notebook_add.txt", "=\r\n\r\n");
    dir.Write("settings.ini", "[NumbreliaSettings]\r\nFirstStart=0\r\n[CacheCRC]\r\nClassic=,,,\r\n");
    TRun run(dir.Path());
    EXPECT_EQ(run.Dic.Count(), 14u) << "thirteen words and one empty entry";
    EXPECT_THAT(run.Variants(), ElementsAreArray(kVariants));
    EXPECT_EQ(run.Result.Selected, 0);
    EXPECT_THAT(run.WordsOf("52"), ElementsAre(W("бот"), W("пуд")));
    EXPECT_TRUE(NotebookRows(run.Lists.NotebookEntries, run.Lists.NotebookNotes).empty());
    run.ShutDown();
    EXPECT_EQ(dir.Read("notebook.txt"), notebook);
    EXPECT_EQ(dir.Read("Data/HidedWord.lst"), "\r\n") << "the empty item, once";
}

// Found by the search fuzzer: a group list item with a control character compares equal to
// its digits, so the list holds those digits as a group; the search lost them and missed
// every variant through that group.
TEST(FuzzFindings, GroupItemsWithIgnorableCharactersStillCountAsTheirDigits) {
    TStringList groups(TStringList::Kind::Sorted), ignored(TStringList::Kind::Sorted);
    groups.SetCommaText("5\x7F,5,2,7,52,3\x01");
    ASSERT_TRUE(groups.Contains("5"));
    ignored.SetCommaText("3\x02");
    const TVariantSearch search(groups, ignored);
    std::vector<std::string> found;
    EXPECT_TRUE(search.SearchVariants(found, "527"));
    EXPECT_THAT(found, ElementsAre("5-2-7", "52-7"));
    EXPECT_TRUE(search.IsGroup("5"));
    EXPECT_FALSE(search.IsGroup("3")) << "ignored by the same comparison";
}

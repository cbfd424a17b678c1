// The code dictionary build: first build, cache reuse, every way to invalidate the cache,
// progress texts, the group index and file errors.
#include "TestUtil.h"

#include "code/CodeTableUnit.h"
#include "core/FileUnit.h"
#include "core/SettingsUnit.h"
#include "dictionary/CRC32.h"
#include "dictionary/CodeDictionaryUnit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace nb;
using nbtest::TempDir;
using nbtest::W;
using ::testing::ElementsAre;

namespace {

// The sample table (0, н), (1, г), (1, ж), (2, д), (2, т).
TCodeRec SampleTable() {
    TCodeRec t{"Sample", "S", {}};
    for (auto [d, l] : {std::pair{0, "н"}, {1, "г"}, {1, "ж"}, {2, "д"}, {2, "т"}})
        t.Letters.push_back({d, W(l)[0]});
    return t;
}

struct Fixture {
    TempDir dir;
    TPaths paths{dir.Path()};
    TIniFile ini{paths.Settings()};
    TStringList dic{TStringList::Kind::Sorted};
    TCodeRec table = SampleTable();
    TCodeDictionary codes;
    std::vector<std::string> statuses;
    int helpOpened = 0;
    long events = 0;

    Fixture() { CreateDir(paths.CacheFolder()); }

    void SetDictionary(const char* utf8Lines) { dic.SetText(W(utf8Lines)); }

    void Build(TGrouping grouping = {}) {
        statuses.clear();
        TBuildCallbacks cb;
        cb.ShowStatus = [this](const std::string& s) { statuses.push_back(s); };
        cb.ProcessEvents = [this] { ++events; };
        cb.OpenHelp = [this] { ++helpOpened; };
        codes.Build(paths, ini, dic, table, grouping, cb);
    }

    std::vector<std::string> Words(const std::string& group, bool familiarFirst = false) const {
        std::vector<std::string> out;
        for (int32_t i : OrderEntries(codes.EntriesOfGroup(group), dic, familiarFirst))
            out.push_back(nbtest::U(dic[static_cast<size_t>(i)]));
        return out;
    }
};

} // namespace

TEST(CodeDictionary, FirstBuildWritesTheCacheAndTheRecord) {
    Fixture f;
    f.SetDictionary("тот\nгнет\nаура\nдот\nтут\n");
    f.Build();
    EXPECT_FALSE(f.codes.CacheReused());
    EXPECT_EQ(f.helpOpened, 1);
    EXPECT_FALSE(f.ini.ReadBool(kSettingsSection, "FirstStart", true));
    // аура has no code: it is left out, and its index skipped.
    EXPECT_EQ(f.dir.Read("Cache/Sample_1.lst"), "102\r\n22\r\n");
    EXPECT_EQ(f.dir.Read("Cache/Sample_2.lst"), "102\r\n22\r\n22\r\n22\r\n");
    EXPECT_EQ(f.dir.Read("Cache/Sample_3.lst"), "1\r\n2\r\n3\r\n4\r\n");
    const std::string record = f.ini.ReadString(kCacheSection, "Sample", "");
    EXPECT_EQ(record, ChecksumRecord(TextChecksumString(f.dic.Text()),
                                     TextChecksumString("102\r\n22\r\n"),
                                     TextChecksumString("102\r\n22\r\n22\r\n22\r\n"),
                                     TextChecksumString("1\r\n2\r\n3\r\n4\r\n")));
    EXPECT_THAT(f.Words("22"), ElementsAre("дот", "тот", "тут")) << "dictionary order";
    EXPECT_THAT(f.Words("102"), ElementsAre("гнет"));
    EXPECT_TRUE(f.codes.EntriesOfGroup("5").empty());
    // Progress: one text per percentage step, rising to 100, events after every entry.
    EXPECT_THAT(f.statuses, ElementsAre(::testing::HasSubstr("(20%)"), ::testing::HasSubstr("(40%)"),
                                        ::testing::HasSubstr("(60%)"), ::testing::HasSubstr("(80%)"),
                                        ::testing::HasSubstr("(100%)")));
    EXPECT_EQ(f.events, 5);
}

TEST(CodeDictionary, SecondBuildReusesTheCache) {
    Fixture f;
    f.SetDictionary("тот\nгнет\nдот\n");
    f.Build();
    const std::string before = f.dir.Read("Cache/Sample_2.lst");
    ::chmod((f.dir / "Cache/Sample_2.lst").c_str(), 0444); // any rewrite would fail
    f.Build();
    EXPECT_TRUE(f.codes.CacheReused());
    EXPECT_EQ(f.helpOpened, 1) << "help opens at the very first build only";
    ASSERT_EQ(f.statuses.size(), 4u);
    EXPECT_EQ(f.statuses[0], "Загрузка файла \"" + f.paths.CacheFile("Sample", 1) + "\".");
    EXPECT_EQ(f.statuses[2], "Загрузка файла \"" + f.paths.CacheFile("Sample", 3) + "\".");
    EXPECT_EQ(f.statuses[3], "Загрузка словаря кодов. Пожалуйста подождите...");
    EXPECT_THAT(f.Words("22"), ElementsAre("дот", "тот"));
    EXPECT_EQ(f.codes.WordCodeList().Object(0), 0);
}

TEST(CodeDictionary, SameLinesInAnotherOrderKeepTheCacheAndGiveTheRank) {
    Fixture f;
    f.SetDictionary("тот\nгнет\nдот\n");
    f.Build();
    f.SetDictionary("гнет\r\nтот\r\nдот\r\nтот\r\n");
    f.Build();
    EXPECT_TRUE(f.codes.CacheReused());
    EXPECT_THAT(f.Words("22"), ElementsAre("дот", "тот"));
    EXPECT_THAT(f.Words("22", true), ElementsAre("тот", "дот")) << "a word ranks by its first line";
    EXPECT_THAT(OrderEntries({99, 1, 0, 2}, f.dic, true), ElementsAre(0, 2, 1, 99));
}

TEST(CodeDictionary, AnyChangedValueOrMissingFileForcesARebuild) {
    for (int which = 0; which < 7; ++which) {
        Fixture f;
        f.SetDictionary("тот\nгнет\nдот\n");
        f.Build();
        TStringList record;
        record.SetCommaText(f.ini.ReadString(kCacheSection, "Sample", ""));
        if (which < 4) {
            const std::string name = std::to_string(which + 1);
            record.SetValue(name, std::to_string(std::stol(record.Value(name)) + 1));
            f.ini.WriteString(kCacheSection, "Sample", record.CommaText());
        } else if (which < 7) {
            ::unlink(f.paths.CacheFile("Sample", which - 3).c_str());
        }
        f.Build();
        EXPECT_FALSE(f.codes.CacheReused()) << which;
        EXPECT_THAT(f.Words("22"), ElementsAre("дот", "тот")) << which;
    }
}

TEST(CodeDictionary, OtherPairsOfTheRecordAndOtherTablesAreKept) {
    Fixture f;
    f.SetDictionary("тот\n");
    f.ini.WriteString(kCacheSection, "Sample", "1=0,9=keep");
    f.ini.WriteString(kCacheSection, "Other", "1=1,2=2,3=3,4=4");
    f.Build();
    TStringList record;
    record.SetCommaText(f.ini.ReadString(kCacheSection, "Sample", ""));
    EXPECT_EQ(record.Value("9"), "keep");
    EXPECT_EQ(record.Value("1"), TextChecksumString(f.dic.Text()));
    EXPECT_EQ(f.ini.ReadString(kCacheSection, "Other", ""), "1=1,2=2,3=3,4=4");
}

TEST(CodeDictionary, MalformedIndexFileIsRebuiltNotTrusted) {
    Fixture f;
    f.SetDictionary("тот\nдот\n");
    f.Build();
    for (const std::string bad : {"0\r\nx\r\n", "0\r\n", "0\r\n99\r\n", "0\r\n-1\r\n"}) {
        f.dir.Write("Cache/Sample_3.lst", bad);
        TStringList record;
        record.SetCommaText(f.ini.ReadString(kCacheSection, "Sample", ""));
        record.SetValue("4", TextChecksumString(bad)); // as if written with the files
        f.ini.WriteString(kCacheSection, "Sample", record.CommaText());
        f.Build();
        EXPECT_FALSE(f.codes.CacheReused()) << bad;
        EXPECT_THAT(f.Words("22"), ElementsAre("дот", "тот"));
    }
}

TEST(CodeDictionary, EmptyDictionaryChecksumsAreAllFive) {
    Fixture f;
    f.Build();
    EXPECT_TRUE(f.statuses.empty()) << "no progress texts";
    EXPECT_EQ(f.ini.ReadString(kCacheSection, "Sample", ""), "1=5,2=5,3=5,4=5");
    EXPECT_EQ(f.dir.Read("Cache/Sample_1.lst"), "");
    EXPECT_TRUE(f.codes.GroupCodeList().Empty());
}

TEST(CodeDictionary, ModesChangeOnlyTheGroups) {
    Fixture f;
    f.SetDictionary("дотнет\nдотн\nтот\nнет\nгнет\nдо\n");
    f.Build({TGroupingMode::TwoDigits, false});
    // Full codes 2202, 220, 22, 02, 102, 2: group codes 22 (twice), 22, -, 10, 2.
    EXPECT_THAT(f.codes.GroupCodeList().Strings(), ElementsAre("10", "2", "22"));
    EXPECT_THAT(f.Words("22"), ElementsAre("дотн", "дотнет", "тот"));
    f.Build({TGroupingMode::TwoDigits, true});
    EXPECT_TRUE(f.codes.CacheReused()) << "a mode change never invalidates the cache";
    EXPECT_THAT(f.codes.GroupCodeList().Strings(), ElementsAre("02", "10", "22"));
    EXPECT_THAT(f.Words("02"), ElementsAre("до"));
    f.Build({TGroupingMode::AllLetters, false});
    EXPECT_THAT(f.codes.GroupCodeList().Strings(), ElementsAre("02", "102", "2", "22", "220", "2202"));
}

TEST(CodeDictionary, TheInMemoryBuildMakesTheSameLists) {
    Fixture f;
    f.SetDictionary("дотнет\nдотн\nтот\nнет\nгнет\nдо\nаура\n");
    const TGrouping grouping{TGroupingMode::TwoDigits, true};
    f.Build(grouping);
    TCodeDictionary memory;
    memory.BuildInMemory(f.dic, TWordCoder(f.table.Letters), grouping);
    EXPECT_EQ(memory.WordCodeList().Strings(), f.codes.WordCodeList().Strings());
    for (size_t i = 0; i < memory.WordCodeList().Count(); ++i)
        EXPECT_EQ(memory.WordCodeList().Object(i), f.codes.WordCodeList().Object(i));
    EXPECT_EQ(memory.CodeList().Strings(), f.codes.CodeList().Strings());
    EXPECT_EQ(memory.GroupCodeList().Strings(), f.codes.GroupCodeList().Strings());
    EXPECT_EQ(memory.EntriesOfGroup("22"), f.codes.EntriesOfGroup("22"));
}

TEST(CodeDictionary, FileErrorsCarryTheirMessages) {
    Fixture f;
    f.SetDictionary("тот\n");
    ::rmdir(f.paths.CacheFolder().c_str());
    try {
        f.Build();
        FAIL();
    } catch (const EError& e) {
        EXPECT_THAT(e.what(), ::testing::StartsWith("Cannot create file \"" +
                                                    f.paths.CacheFile("Sample", 1) + "\". "));
    }
    CreateDir(f.paths.CacheFolder());
    f.Build();
    ::chmod(f.paths.Settings().c_str(), 0444);
    f.dir.Write("Cache/Sample_2.lst", "changed\r\n");
    try {
        f.Build();
        FAIL();
    } catch (const EError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + f.paths.Settings());
    }
    ::chmod(f.paths.Settings().c_str(), 0644);
    ::unlink(f.paths.CacheFile("Sample", 3).c_str());
    ::mkdir(f.paths.CacheFile("Sample", 3).c_str(), 0755); // exists, cannot be read as a file
    EXPECT_THROW(f.Build(), EError);
}

TEST(CodeDictionary, TheShippedDictionaryCodesWithEveryTable) {
    TStringList dic(TStringList::Kind::Sorted);
    dic.LoadFromFile(NUMBRELIA_DATA_DIR "/Data/dic.lst");
    ASSERT_GT(dic.Count(), 4000u);
    for (const auto& t : LoadCodeTables(NUMBRELIA_DATA_DIR "/Data/Codes.ini")) {
        TempDir dir;
        TPaths paths{dir.Path()};
        CreateDir(paths.CacheFolder());
        TIniFile ini(paths.Settings());
        TCodeDictionary codes;
        codes.Build(paths, ini, dic, t, {TGroupingMode::TwoDigits, false}, {});
        // Nearly every two-digit code should have words in two-digit mode.
        EXPECT_GE(codes.GroupCodeList().Count(), 90u) << t.Ident;
        EXPECT_GT(codes.WordCodeList().Count(), dic.Count() * 9 / 10) << t.Ident;
    }
}

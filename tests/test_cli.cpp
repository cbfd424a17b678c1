// numbrelia-cli as a user runs it: outputs, exit statuses, messages, and that it leaves
// the user's settings, lists and notebook alone.
#include "TestUtil.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

using nbtest::TempDir;
using nbtest::W;
using ::testing::HasSubstr;

namespace {

struct CliRun {
    int status = -1;
    std::string out, err;
};

CliRun Cli(const std::string& args) {
    TempDir errDir;
    const std::string cmd = std::string(NUMBRELIA_CLI) + " " + args + " 2>" + (errDir / "err");
    CliRun r;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    const int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    r.err = errDir.Read("err");
    return r;
}

// A small program folder: the sample table and a few words.
struct Folder : TempDir {
    Folder() {
        Write("Data/Codes.ini", W("[Sample]\r\nName=Пример\r\n0=н\r\n1=г,ж\r\n2=д,т\r\n"
                                  "[Second]\r\n2=н\r\n"));
        Write("Data/dic.lst", W("тот\r\nгнет\r\nдот\r\nжук\r\nнож\r\nтот дон\r\nад\r\nтотжа\r\n"));
        Write("Data/HidedWord.lst", W("дот\r\n"));
        Write("notebook.txt", "22=22,x\r\n");
        Write("settings.ini", "[NumbreliaSettings]\r\nFirstStart=1\r\n");
    }
    std::string Dir() const { return "--dir '" + Path() + "'"; }
};

} // namespace

TEST(Cli, CodesEntries) {
    Folder f;
    const CliRun r = Cli(f.Dir() + " code 'гнет тот' аура ТОТ");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "гнет тот\t122\t122\t[г]нет [т]о[т]\nаура\t\t\tаура\nТОТ\t22\t22\t[Т]О[Т]\n");
    EXPECT_EQ(Cli(f.Dir() + " --mode 1 code гнет").out, "гнет\t102\t10\t[г][н]ет\n");
    EXPECT_EQ(Cli(f.Dir() + " --mode 2 --add-null code жук").out, "жук\t1\t01\t[ж]ук\n");
    // No '?' coded in place of a letter the table's code page lacks, nor of a broken byte.
    for (const std::string bad : {"кот 日本", "ко\xFFт", "ǅ"}) {
        const CliRun refused = Cli(f.Dir() + " code кот '" + bad + "'");
        EXPECT_EQ(refused.status, 2) << bad;
        EXPECT_EQ(refused.out, "") << bad;
        EXPECT_THAT(refused.err, HasSubstr("cannot be coded")) << bad;
    }
}

TEST(Cli, VariantsWordsHintAndBuild) {
    Folder f;
    CliRun r = Cli(f.Dir() + " build");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, ::testing::StartsWith("cache rebuilt\n1="));
    r = Cli(f.Dir() + " build");
    EXPECT_THAT(r.out, ::testing::StartsWith("cache reused\n1="));

    r = Cli(f.Dir() + " variants '2-2 1'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "221\t1\n22-1\t2\n2-2-1\t3\n");

    r = Cli(f.Dir() + " words 22-1");
    EXPECT_EQ(r.out, "22\tтот\n1\tжук\n") << "hidden дот is left out";
    r = Cli(f.Dir() + " words 220-2");
    EXPECT_EQ(r.out, "220\tтот дон\n2\tад\n");
    EXPECT_EQ(Cli(f.Dir() + " hint").out, "0 - н     1 - гж     2 - дт\n");
    EXPECT_EQ(Cli(f.Dir() + " --table second hint").out, "2 - н\n");

    f.Write("Data/dic.lst", W("тут\r\nдед\r\nтот\r\nтут\r\n"));
    EXPECT_EQ(Cli(f.Dir() + " words 22").out, "22\tдед\tтот\tтут\n");
    EXPECT_EQ(Cli(f.Dir() + " --familiar-first words 22").out, "22\tтут\tдед\tтот\n")
        << "the file's line order, a repeated line counting where it first stands";
}

TEST(Cli, NoVariantAndTheBound) {
    Folder f;
    CliRun r = Cli(f.Dir() + " variants 555");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "numbrelia-cli: Число \"555\" не удалось перекодировать - не удалось найти подходящее слово.\n");
    r = Cli(f.Dir() + " --limit 2 variants 221");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "221\t1\n22-1\t2\n");
    EXPECT_THAT(r.err, HasSubstr("cut at 2 variants by the limit of 2 rows"));
}

TEST(Cli, BadUsageAndMissingFiles) {
    Folder f;
    for (const std::string args : {"", "frobnicate", "--mode 3 hint", "--limit 0 variants 1",
                                   "code", "variants", "hint extra", "--dir"}) {
        const CliRun r = Cli(f.Dir() + " " + args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_THAT(r.err, HasSubstr("Usage: numbrelia-cli")) << args;
    }
    CliRun r = Cli(f.Dir() + " --table Nope hint");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr("no code table \"Nope\""));
    EXPECT_THAT(r.err, HasSubstr("Sample, Second"));

    r = Cli("--dir '" + (f / "missing") + "' hint");
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("No such folder"));

    std::filesystem::rename(f / "Data/Codes.ini", f / "Codes.moved");
    r = Cli(f.Dir() + " hint");
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Нет файла \"" + (f / "Data/Codes.ini") + "\" с таблицами кодов"));
    std::filesystem::rename(f / "Codes.moved", f / "Data/Codes.ini");

    std::filesystem::remove(f / "Data/dic.lst");
    r = Cli(f.Dir() + " variants 22");
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Cannot open file \"" + (f / "Data/dic.lst") + "\""));
}

TEST(Cli, ScriptsGetNoGuessedNumbersGroupsOrTables) {
    Folder f;
    for (const std::string arg : {"abc", "", "-221", "22-", "2 - ", "٢٢١", "２２１", "2+21"}) {
        const CliRun r = Cli(f.Dir() + " variants '" + arg + "'");
        EXPECT_EQ(r.status, 2) << arg;
        EXPECT_EQ(r.out, "") << arg;
    }
    EXPECT_EQ(Cli(f.Dir() + " variants ' +2 (2)-.1'").out, "221\t1\n22-1\t2\n2-2-1\t3\n");
    EXPECT_EQ(Cli(f.Dir() + " variants 221 >/dev/full").status, 1) << "a failed write is no success";

    CliRun r = Cli(f.Dir() + " words 22-99999");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_THAT(r.err, HasSubstr("99999"));

    // Identifiers are Windows-1251 in the file, UTF-8 on the command line and in messages.
    f.Write("Data/Codes.ini", W("[Sample]\r\n1=г,ж\r\n2=д,т\r\n[Вторая]\r\n2=н\r\n"));
    r = Cli(f.Dir() + " --table ВТОРАЯ hint");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2 - н\n");
    r = Cli(f.Dir() + " --table Третья hint");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr("no code table \"Третья\""));
    EXPECT_THAT(r.err, HasSubstr("(tables: Sample, Вторая)"));
}

TEST(Cli, LeavesUserFilesAlone) {
    Folder f;
    const std::string settings = f.Read("settings.ini");
    Cli(f.Dir() + " variants 22");
    Cli(f.Dir() + " words 22");
    EXPECT_EQ(f.Read("notebook.txt"), "22=22,x\r\n");
    EXPECT_EQ(f.Read("Data/HidedWord.lst"), W("дот\r\n"));
    EXPECT_FALSE(f.Exists("notebook_add.txt"));
    EXPECT_FALSE(f.Exists("Data/IgnoredCode.lst"));
    EXPECT_THAT(f.Read("settings.ini"), HasSubstr("FirstStart=1")) << "the first-start help is the program's";
    EXPECT_THAT(f.Read("settings.ini"), HasSubstr("[CacheCRC]"));
}

TEST(Cli, ReviewListsDueCardsReadOnly) {
    Folder f;
    f.Write("notebook.txt", "22=22,x\r\n1=1,y\r\n");
    const std::string deck = "22\tnumber\t1\t1\t2500\t2026-03-02\t2026-03-01\t2026-03-01\t22,x\r\n"
                             "1\tphrase\t1\t1\t2500\t2026-03-05\t2026-03-01\t2026-03-01\t1,old\r\n";
    f.Write("notebook_review.txt", deck);
    f.Write("settings.ini", "[NumbreliaSettings]\r\nReviewNewCardsPerDay=1\r\n");
    CliRun r = Cli(f.Dir() + " review --date 2026-03-02");
    EXPECT_EQ(r.status, 0) << r.err;
    // The changed entry 1 starts afresh; one new card a day.
    EXPECT_EQ(r.out, "22\tnumber\t2026-03-02\n22\tphrase\t2026-03-02\n");
    EXPECT_EQ(f.Read("notebook_review.txt"), deck);
    r = Cli(f.Dir() + " review --date 2026-02-30");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr("2026-02-30"));
}

TEST(Cli, GradeStatsAndExportCards) {
    Folder f;
    f.Write("notebook.txt", "22=22,x\r\n1=1,y\r\n");
    f.Write("notebook_add.txt", W("22=дом\r\n"));
    // Bad usage writes nothing: status 2.
    for (const char* bad : {"grade 22 number 5", "grade 22 sideways 3", "grade 22 number 3 --date 2026-13-01",
                            "grade 22 number", "stats --date x", "export-cards"})
        EXPECT_EQ(Cli(f.Dir() + " " + bad).status, 2) << bad;
    // Not in the notebook, or not due: status 1, nothing written.
    EXPECT_EQ(Cli(f.Dir() + " grade 33 number 3 --date 2026-03-01").status, 1);
    CliRun r = Cli(f.Dir() + " grade 22 number 3 --date 2026-03-01");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "22\tnumber\t2026-03-03\n");
    const std::string deck = f.Read("notebook_review.txt");
    r = Cli(f.Dir() + " grade 22 number 3 --date 2026-03-02");
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("not due"));
    EXPECT_EQ(f.Read("notebook_review.txt"), deck);
    EXPECT_EQ(Cli(f.Dir() + " grade 22 phrase 1 --date 2026-03-01").out, "22\tphrase\t2026-03-01\n");
    EXPECT_EQ(Cli(f.Dir() + " grade 22 number 3 --date 2026-03-03").out, "22\tnumber\t2026-03-14\n")
        << "S 10.9643 after two days: 11 days at 90 %";
    EXPECT_EQ(f.Read("notebook_review_log.txt"),
              "2026-03-01\t22\tnumber\t3\t-\t2.3065\t2.1181\r\n"
              "2026-03-01\t22\tphrase\t1\t-\t0.2120\t6.4133\r\n"
              "2026-03-03\t22\tnumber\t3\t2\t10.9643\t2.1170\r\n");
    // The settings' retention changes the interval.
    f.Write("settings.ini", "[NumbreliaSettings]\r\nReviewDesiredRetention=0.80\r\n");
    EXPECT_EQ(Cli(f.Dir() + " grade 1 number 3 --date 2026-03-03").out, "1\tnumber\t2026-03-11\n")
        << "S 2.3065 at 80 %: 7.65 days";

    r = Cli(f.Dir() + " stats --date 2026-03-03");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("cards\t4\nnew\t1\nlearning\t3\nmature\t0\ndue\t2\nreviews\t4\n"
                                 "retention\t100.0%\ndue 2026-03-03\t2\ndue 2026-03-04\t0\n"));
    EXPECT_THAT(r.out, HasSubstr("due 2026-03-11\t1\n"));
    EXPECT_THAT(r.out, HasSubstr("due 2026-03-14\t1\n"));
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 7 + 30);
    EXPECT_THAT(Cli(f.Dir() + " stats --date 2026-02-01").out, HasSubstr("retention\t-\n"));

    r = Cli(f.Dir() + " export-cards '" + (f / "cards.txt") + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(f.Read("cards.txt"), "22\tx (дом)\tnumbrelia numbrelia-number\n"
                                   "x\t22 (дом)\tnumbrelia numbrelia-phrase\n"
                                   "1\ty\tnumbrelia numbrelia-number\n"
                                   "y\t1\tnumbrelia numbrelia-phrase\n");
}

TEST(Cli, ShippedDataGivesPhrasesForLongNumbers) {
    TempDir f;
    std::filesystem::copy(NUMBRELIA_DATA_DIR "/Data", f / "Data");
    CliRun r = Cli("--dir '" + f.Path() + "' variants 5270563");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\t3\n"), std::string::npos) << r.out.substr(0, 300);
    const std::string forty = "3141592653589793238462643383279502884197";
    r = Cli("--dir '" + f.Path() + "' --mode 1 variants " + forty);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("cut at 200000 variants by the limit")) << "two-digit groups give millions of variants";
    // A 10,000-digit number fills the key bound long before the row limit.
    const CliRun big = Cli("--dir '" + f.Path() + "' variants " + std::string(10000, '5') + " >/dev/null");
    EXPECT_THAT(big.err, HasSubstr("by the bound of 64 MiB of variant keys"));
    EXPECT_THAT(big.err, HasSubstr("--limit cannot raise"));
    const std::string first = r.out.substr(0, r.out.find('\t'));
    std::string digits = first;
    std::erase(digits, '-');
    EXPECT_EQ(digits, forty);
    r = Cli("--dir '" + f.Path() + "' --mode 1 words " + first);
    const auto groups = std::count(first.begin(), first.end(), '-') + 1;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), groups);
    EXPECT_EQ(r.out.find("\n\t"), std::string::npos) << "every group has words";
}

TEST(Cli, PiecesAndRememberStoreWhatTheWindowStores) {
    Folder f;
    CliRun r = Cli(f.Dir() + " pieces --piece-words 2 22-1-2-1-22");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1\t221\t22-1\tтот,жук\n2\t21\t2-1\tад,жук\n3\t22\t22\tтот\n");
    EXPECT_EQ(Cli(f.Dir() + " pieces 22-1").out, "1\t221\t22-1\tтот,жук\n") << "off: one piece";
    EXPECT_EQ(Cli(f.Dir() + " pieces --piece-words 7 22-1").status, 2);
    EXPECT_EQ(Cli(f.Dir() + " pieces 3-1").status, 1) << "3 is the code of no word";

    r = Cli(f.Dir() + " remember --note 'пи' --pieces 2 22-1-2-1-22");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2212122\n");
    const std::string entry = W("22-1-2-1-22,тот,жук,ад,жук,тот");
    EXPECT_EQ(f.Read("notebook.txt"), "22=22,x\r\n2212122=" + entry + "\r\n");
    EXPECT_EQ(f.Read("notebook_add.txt"), W("2212122=пи\r\n"));
    EXPECT_EQ(f.Read("notebook_pieces.txt"), "2212122\t2-2-1\t\t\t\t" + entry + "\r\n");
    EXPECT_EQ(Cli(f.Dir() + " pieces 22-1-2-1-22").out, "1\t221\t22-1\tтот,жук\n2\t21\t2-1\tад,жук\n3\t22\t22\tтот\n")
        << "the remembered cut";
    r = Cli(f.Dir() + " review --date 2026-03-02");
    EXPECT_THAT(r.out, HasSubstr("2212122#1\tnumber\t2026-03-02\n")) << "two cards a piece";
    EXPECT_THAT(r.out, ::testing::Not(HasSubstr("2212122\t")));
    r = Cli(f.Dir() + " grade 2212122#3 phrase 3 --date 2026-03-02");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, ::testing::StartsWith("2212122#3\tphrase\t"));
    const std::string due = r.out.substr(r.out.rfind('\t') + 1, 10);

    // The notebook window's rows, order and search; a note set as its cell sets it.
    r = Cli(f.Dir() + " notebook --sort code:desc");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "2212122\t22-1-2-1-22\tтот - жук - ад - жук - тот\tпи\t" + due + "\n"
                     "2212122#1\t22-1\tтот - жук\t\tnew\n2212122#2\t2-1\tад - жук\t\tnew\n"
                     "2212122#3\t22\tтот\t\t" + due + "\n22\t22\tx\t\tnew\n");
    EXPECT_EQ(Cli(f.Dir() + " notebook --sort next --filter X").out, "22\t22\tx\t\tnew\n");
    EXPECT_EQ(Cli(f.Dir() + " notebook --sort size").status, 2);
    r = Cli(f.Dir() + " note 22 'у двери'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(f.Read("notebook_add.txt"), W("2212122=пи\r\n22=у двери\r\n"));
    EXPECT_EQ(Cli(f.Dir() + " note 5 x").status, 1) << "no such entry";
    EXPECT_EQ(Cli(f.Dir() + " note 22 '中'").status, 2);
    EXPECT_EQ(Cli(f.Dir() + " note 22").status, 0);
    EXPECT_EQ(f.Read("notebook_add.txt"), W("2212122=пи\r\n")) << "no text deletes the note";
    EXPECT_EQ(f.Read("notebook.txt"), "22=22,x\r\n2212122=" + entry + "\r\n") << "entries untouched";

    EXPECT_EQ(Cli(f.Dir() + " remember 22-1 тот дот").status, 1) << "дот is hidden: not in its column";
    EXPECT_EQ(Cli(f.Dir() + " remember 22-1 тот").status, 2);
    EXPECT_EQ(Cli(f.Dir() + " remember --note \"$(printf 'две\\nстроки')\" 22-1").status, 2) << "a note is one line";
    EXPECT_EQ(Cli(f.Dir() + " remember --note '中' 22-1").status, 2);
    r = Cli(f.Dir() + " remember 22-1-2-1-22 тот жук ад жук тот");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(f.Read("notebook_pieces.txt"), "") << "remembered plain, its pieces go";
    EXPECT_EQ(f.Read("notebook_add.txt"), W("2212122=пи\r\n")) << "without --note the note stays";
    std::filesystem::remove(f / "notebook_pieces.txt");
    std::filesystem::create_directory(f / "notebook_pieces.txt");
    EXPECT_EQ(Cli(f.Dir() + " note 22 x").status, 0) << "an unreadable pieces file leaves entries plain";
    std::filesystem::remove(f / "notebook_pieces.txt");

    // The help's list of the files the program writes names every one written here.
    std::ifstream help(NUMBRELIA_DATA_DIR "/Help/index.htm", std::ios::binary);
    const std::string index((std::istreambuf_iterator<char>(help)), std::istreambuf_iterator<char>());
    for (const auto& e : std::filesystem::directory_iterator(f.Path()))
        EXPECT_THAT(index, HasSubstr("class=\"file\">" + e.path().filename().string())) << "not in the help";
}

TEST(Cli, BestFirstRanksVariantsAndWords) {
    Folder f;
    // Familiar тот (22), ад (2); middle дед (22); rare дотат (222).
    f.Write("Data/dic.lst", W("тот\r\nад\r\nдед\r\nдотат\r\n"));
    f.Write("Data/dic_tiers.ini", W("[Tiers]\r\nMiddle=дед\r\nRare=дотат\r\n"));
    const std::string usual = "222\t1\n2-22\t2\n22-2\t2\n2-2-2\t3\n";
    EXPECT_EQ(Cli(f.Dir() + " variants 222").out, usual);
    // 2-22 and 22-2 cost 40+10 + 40+0, 222 costs 40+60, 2-2-2 three times 40+10.
    const std::string best = "2-22\t2\n22-2\t2\n222\t1\n2-2-2\t3\n";
    CliRun r = Cli(f.Dir() + " --best-first variants 222");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, best);
    EXPECT_EQ(Cli(f.Dir() + " --best-first --limit 2 variants 222").out, "2-22\t2\n22-2\t2\n");
    EXPECT_EQ(Cli(f.Dir() + " words 22-2").out, "22\tдед\tтот\n2\tад\n");
    EXPECT_EQ(Cli(f.Dir() + " --best-first words 22-2").out, "22\tтот\tдед\n2\tад\n");
    // The setting is the default; --no-best-first overrides it.
    f.Write("settings.ini", "[NumbreliaSettings]\r\nBestVariantFirst=1\r\n");
    EXPECT_EQ(Cli(f.Dir() + " variants 222").out, best);
    EXPECT_EQ(Cli(f.Dir() + " --no-best-first variants 222").out, usual);
}

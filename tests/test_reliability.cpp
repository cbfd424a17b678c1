// Files that real users and a hostile tester produce, by kind of harm: paths outside the
// folder, lost data, wrong answers reported as success, unbounded cost.
#include "TestUtil.h"

#include "code/CodeTableUnit.h"
#include "core/FileUnit.h"
#include "core/IniFileUnit.h"
#include "core/SettingsUnit.h"
#include "dictionary/CodeDictionaryUnit.h"
#include "dictionary/WordListUnit.h"
#include "notebook/PiecesUnit.h"
#include "notebook/ReviewUnit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace nb;
using namespace std::string_literals;
using nbtest::TempDir;
using nbtest::W;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

namespace {

const std::string kTable = "[Classic]\r\n" + nbtest::kClassicLetters;

// Bytes this process has taken in through read() so far.
long long BytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return -1;
}

// A file of `size` bytes: `head`, a hole, then `tail` at the very end.
void SparseFile(const std::string& path, const std::string& head, off_t size,
                const std::string& tail = {}) {
    fs::create_directories(fs::path(path).parent_path());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, head.data(), head.size()), static_cast<ssize_t>(head.size()));
    ASSERT_EQ(::pwrite(fd, tail.data(), tail.size(), size - static_cast<off_t>(tail.size())),
              static_cast<ssize_t>(tail.size()));
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
}

// Runs `body` in a child process; returns its pid.
template <class F> pid_t Child(F body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        try {
            body();
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    return pid;
}

} // namespace

// ---- paths ----------------------------------------------------------------------------

// Proves: a table whose identifier cannot be one plain file name is skipped with a message
// naming it and why, the others load, and not even a direct build makes a path of it.
TEST(Paths, UnsafeTableIdentifiersAreSkippedWithAWarning) {
    TempDir dir;
    const std::vector<std::string> bad = {"../x", "a\\b", "..", "x=y", "[x", "\xA0x",
                                          "a\x01" "b", std::string(kMaxIdentLength + 1, 'a')};
    std::string codes;
    for (const auto& id : bad) codes += "[" + id + "]\r\n" + W("0=н\r\n");
    dir.Write("Data/Codes.ini", codes + W(kTable));
    std::vector<std::string> warnings;
    const TCodeRecArr tables = LoadCodeTables(dir / "Data/Codes.ini", &warnings);
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].Ident, "Classic");
    ASSERT_EQ(warnings.size(), bad.size());
    EXPECT_THAT(warnings[0], HasSubstr("\"../x\""));
    EXPECT_THAT(warnings[3], HasSubstr("="));
    EXPECT_EQ(UnsafeIdentReason(std::string(kMaxIdentLength, 'a')), "");

    TCodeRec rogue = tables[0];
    rogue.Ident = "../x";
    CreateDir(dir / "Cache");
    TIniFile ini(dir / "settings.ini");
    TStringList dic(TStringList::Kind::Sorted);
    dic.SetText(W("нож\r\n"));
    TCodeDictionary built;
    EXPECT_THROW(built.Build(TPaths{dir.Path(), {}}, ini, dic, rogue, {TGroupingMode::AllLetters, false}, {}), EError);
    EXPECT_FALSE(dir.Exists("x_1.lst"));
    EXPECT_EQ(ini.ReadString(kCacheSection, "../x", "none"), "none");
}

// Proves: settings.ini and notebook.txt that are (relative) symbolic links stay links and
// their targets, in another folder, get the new content.
TEST(Paths, LinkedSettingsAndNotebookAreWrittenThrough) {
    TempDir dir;
    const TPaths paths{dir.Path(), {}};
    dir.Write("real/settings.ini", "[A]\r\nx=1\r\n");
    dir.Write("real/notebook.txt", "1=1,a\r\n");
    fs::create_symlink("real/settings.ini", paths.Settings());
    fs::create_symlink("real/notebook.txt", paths.Notebook());
    TIniFile(paths.Settings()).WriteString("A", "y", "2");
    TUserLists lists;
    lists.Load(paths);
    lists.NotebookEntries.SetValue("2", "2,b");
    EXPECT_TRUE(lists.SaveNotebook(paths).empty());
    EXPECT_TRUE(fs::is_symlink(paths.Settings()));
    EXPECT_TRUE(fs::is_symlink(paths.Notebook()));
    EXPECT_EQ(dir.Read("real/settings.ini"), "[A]\r\nx=1\r\ny=2\r\n");
    EXPECT_EQ(dir.Read("real/notebook.txt"), "1=1,a\r\n2=2,b\r\n");
}

// Proves: a link placed among the cache files is replaced by the file, its target (outside
// the folder) left as it was.
TEST(Paths, ALinkInTheCacheIsReplacedNotFollowed) {
    TempDir dir;
    nbtest::WriteFixture(dir);
    dir.Write("outside/victim.txt", "precious\r\n");
    CreateDir(dir / "Cache");
    for (int n = 1; n <= 3; ++n)
        fs::create_symlink(dir / "outside/victim.txt", dir / ("Cache/Classic_" + std::to_string(n) + ".lst"));
    fs::create_symlink(dir / "outside/new.txt", dir / "Cache/Major_1.lst"); // dangling
    ASSERT_TRUE(nbtest::OpenSession(dir.Path()));
    EXPECT_EQ(dir.Read("outside/victim.txt"), "precious\r\n");
    EXPECT_FALSE(dir.Exists("outside/new.txt"));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / "Cache/Classic_1.lst")));
}

// Proves: a user file that is a dangling link, or a link to a folder or a pipe, is reported
// by name and reason and written nowhere: a whole session (start and shut-down) creates
// nothing at the targets.
TEST(Paths, UserFileLinksToNoRegularFileAreRefused) {
    TempDir dir;
    nbtest::WriteFixture(dir);
    CreateDir(dir / "elsewhere");
    ::mkfifo((dir / "elsewhere/fifo").c_str(), 0644);
    const TPaths paths{dir.Path(), {}};
    fs::create_symlink(dir / "elsewhere", dir / "linked.ini");
    fs::create_symlink(dir / "elsewhere/notebook.txt", paths.Notebook());
    fs::create_symlink(dir / "elsewhere/hidden.lst", paths.HidedWords());
    fs::create_symlink(dir / "elsewhere/fifo", paths.IgnoredCodes());
    {
        auto session = nbtest::OpenSession(dir.Path());
        ASSERT_TRUE(session);
        using ::testing::UnorderedElementsAre;
        EXPECT_THAT(session->Save(),
                    UnorderedElementsAre(HasSubstr("\"" + paths.HidedWords() + "\". It is a symbolic link to no file"),
                                         HasSubstr("\"" + paths.IgnoredCodes() + "\". It is a symbolic link to no regular"),
                                         HasSubstr("\"" + paths.Notebook() + "\". It is a symbolic link to no file")));
    }
    TIniFile linked(dir / "linked.ini");
    EXPECT_EQ(linked.ReadString("A", "k", "none"), "none");
    try {
        linked.WriteString("A", "k", "1");
        ADD_FAILURE();
    } catch (const EError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + (dir / "linked.ini") +
                                             ". It is a symbolic link to no regular file; nothing is written through it");
    }
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir / "elsewhere")) left.push_back(e.path().filename());
    EXPECT_THAT(left, ::testing::ElementsAre("fifo"));
}

// ---- lost data ------------------------------------------------------------------------

// Proves: a zero byte in the notebook, a user list or settings.ini costs no line: the next
// save writes every line back, the zero byte itself dropped.
TEST(LostData, AZeroByteInAUserFileLosesNoLine) {
    TempDir dir;
    const TPaths paths{dir.Path(), {}};
    dir.Write("notebook.txt", "1=1,a\r\n2=2,b\0x\r\n3=3,c\r\n"s);
    dir.Write("notebook_add.txt", "1=n\0\r\n3=m\r\n"s);
    dir.Write("Data/HidedWord.lst", W("кот\r\n") + "\0"s + W("пёс\r\n"));
    dir.Write("settings.ini", "[NumbreliaSettings]\r\nA=1\r\n\0B=2\r\n"s);
    TUserLists lists;
    lists.Load(paths);
    EXPECT_TRUE(lists.Save(paths).empty());
    EXPECT_EQ(dir.Read("notebook.txt"), "1=1,a\r\n2=2,bx\r\n3=3,c\r\n");
    EXPECT_EQ(dir.Read("notebook_add.txt"), "1=n\r\n3=m\r\n");
    EXPECT_TRUE(lists.HidedWordList.Contains(W("пёс")));
    TIniFile(paths.Settings()).WriteString(kSettingsSection, "C", "3");
    EXPECT_EQ(dir.Read("settings.ini"), "[NumbreliaSettings]\r\nA=1\r\nB=2\r\nC=3\r\n");
}

// Proves: two processes writing different keys of settings.ini at once (the window's
// shut-down beside a CLI rebuild, or two rebuilds) never lose each other's keys.
TEST(LostData, TwoWritersOfTheSettingsKeepEachOthersKeys) {
    TempDir dir;
    const std::string path = dir / "settings.ini";
    constexpr int kRounds = 60;
    pid_t writers[2];
    for (int w = 0; w < 2; ++w)
        writers[w] = Child([&] {
            TIniFile ini(path);
            for (int i = 0; i < kRounds; ++i)
                ini.WriteString(kCacheSection, "AB"[w] + std::to_string(i), "1");
        });
    for (pid_t pid : writers) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const TIniFile::Content content = TIniFile(path).Load();
    int missing = 0;
    std::string value;
    for (int i = 0; i < kRounds; ++i)
        for (const char* w : {"A", "B"}) missing += !content.Find(kCacheSection, w + std::to_string(i), value);
    EXPECT_EQ(missing, 0);
}

// Proves: the settings of a shut-down are one replacement of the file: a kill at any
// moment leaves every value old or every value new, never a mix.
TEST(LostData, ShutdownSettingsAreAllOldOrAllNew) {
    TempDir dir;
    const std::string path = dir / "settings.ini";
    std::mt19937 rng(12345);
    for (int round = 0; round < 20; ++round) {
        const pid_t writer = Child([&] {
            TIniFile ini(path);
            for (int k = 1;; ++k) {
                TProgSettings settings;
                settings.LetterColor = k;
                TLayoutSettings layout;
                layout.BrowserPanelHeight = k;
                SaveSettings(ini, settings, layout);
            }
        });
        ::usleep(2000 + rng() % 20000);
        ::kill(writer, SIGKILL);
        ASSERT_EQ(::waitpid(writer, nullptr, 0), writer);
        const TIniFile ini(path);
        ASSERT_EQ(ini.ReadInteger(kSettingsSection, "LetterColor", -1),
                  ini.ReadInteger(kSettingsSection, "BrowserPanelHeight", -1))
            << "round " << round;
    }
}

// Proves: a start removes the program's own temporary files that a kill left behind, and
// never one a live writer holds locked, a young one, or a file of another name.
TEST(LostData, StaleTemporaryFilesGoLiveOnesStay) {
    TempDir dir;
    const TPaths paths{dir.Path(), {}};
    const std::string stale[] = {paths.CacheFile("Classic", 1) + ".Ab12Cd",
                                 paths.Settings() + ".x1Y2z3", paths.HidedWords() + ".QQQQQQ",
                                 paths.Dictionary() + ".shipped.Ab12Cd"};
    const std::string kept[] = {paths.CacheFile("held", 2) + ".h0ld3r", dir / "notes.txt.abcdef",
                                paths.CacheFile("Classic", 1) + ".young1"};
    for (const auto& path : {stale[0], stale[1], stale[2], stale[3], kept[0], kept[1], kept[2]}) {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path) << "x";
        if (path == kept[2]) continue;
        const timespec hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), hourAgo, 0), 0);
    }
    const int held = ::open(kept[0].c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    EXPECT_EQ(RemoveStaleTempFiles(paths), 4);
    ::close(held);
    for (const auto& path : stale) EXPECT_FALSE(fs::exists(path)) << path;
    for (const auto& path : kept) EXPECT_TRUE(fs::exists(path)) << path;
}

// ---- wrong answers --------------------------------------------------------------------

// Proves: a UTF-8 byte order mark at the start of Codes.ini or the dictionary is skipped
// (the lists: fuzz_linefile), and a dictionary saved wholly in UTF-8 reads as its
// Windows-1251 form, saying so.
TEST(WrongAnswers, ByteOrderMarksAndAUtf8DictionaryReadAsMeant) {
    const std::string bom = "\xEF\xBB\xBF";
    TempDir dir;
    dir.Write("Data/Codes.ini", bom + W(kTable));
    EXPECT_EQ(LoadCodeTables(dir / "Data/Codes.ini").at(0).Ident, "Classic");
    const std::string words = "нож\r\nкот\r\nёж\r\n";
    dir.Write("bom.lst", bom + W(words));
    dir.Write("utf8.lst", words);
    dir.Write("cp1251.lst", W(words));
    TStringList withBom(TStringList::Kind::Sorted), utf8(TStringList::Kind::Sorted),
        cp1251(TStringList::Kind::Sorted);
    EXPECT_FALSE(LoadDictionary(withBom, dir / "bom.lst"));
    EXPECT_TRUE(LoadDictionary(utf8, dir / "utf8.lst"));
    EXPECT_FALSE(LoadDictionary(cp1251, dir / "cp1251.lst"));
    EXPECT_EQ(withBom.Strings(), cp1251.Strings());
    EXPECT_EQ(utf8.Strings(), cp1251.Strings());
}

// Proves: a first line that itself starts with the mark's bytes ("п»ї" in Windows-1251)
// survives a write and a reading, in a list and among the unreadable lines of the deck and
// the pieces file (fuzzing once found the deck lose it).
TEST(WrongAnswers, AFirstLineStartingLikeAMarkSurvivesWriteAndRead) {
    const std::string mark = "\xEF\xBB\xBF";
    TempDir dir;
    TStringList list;
    list.Add(mark + "31\tкот");
    list.Add("41");
    list.SaveToFile(dir / "n.txt");
    TStringList back;
    back.LoadFromFile(dir / "n.txt");
    EXPECT_EQ(back.Strings(), list.Strings());

    nb::TReviewDeck deck;
    deck.Unread = {mark, mark + mark + "x"};
    nb::SaveReviewDeck(dir / "deck.txt", deck);
    EXPECT_EQ(nb::LoadReviewDeck(dir / "deck.txt").Unread, deck.Unread);
    EXPECT_EQ(nb::ReadReviewText(nb::WriteReviewText(deck)).Unread, deck.Unread);

    nb::TPiecesList pieces, piecesBack;
    pieces.SetText(mark + "unreadable\r\n");
    nb::SavePieces(pieces, dir / "pieces.txt");
    nb::LoadPieces(piecesBack, dir / "pieces.txt");
    EXPECT_EQ(piecesBack.Text(), pieces.Text());
}

// ---- cost -----------------------------------------------------------------------------

// Proves: code tables load in time linear in their number (8,000 once took 9.4 s).
TEST(Cost, ManyCodeTablesLoadInLinearTime) {
    TempDir dir;
    std::string codes;
    const std::string body = W(kTable).substr(std::string("[Classic]\r\n").size());
    for (int i = 0; i < 8000; ++i) codes += "[T" + std::to_string(i) + "]\r\nName=t\r\n" + body;
    dir.Write("Codes.ini", codes);
    const auto start = std::chrono::steady_clock::now();
    const TCodeRecArr tables = LoadCodeTables(dir / "Codes.ini");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(tables.size(), 8000u);
    EXPECT_EQ(tables[7999].Letters.size(), 20u);
    std::printf("[ note ] 8,000 code tables loaded in %.3f s\n", seconds);
    EXPECT_LT(seconds, 2.0);
}

// Proves: a dictionary or notebook whose tail is an 8 GB hole is not read whole (the
// notebook's last line still counts), and a cache file larger than any valid one is
// rebuilt without being read.
TEST(Cost, HugeSparseFilesAndJunkCachesAreNotReadWhole) {
    TempDir dir;
    const TPaths paths{dir.Path(), {}};
    constexpr off_t kHuge = off_t{8} << 30;
    SparseFile(paths.Dictionary(), W("нож\r\nкот\r\n"), kHuge);
    SparseFile(paths.Notebook(), "1=1,a\r\n", kHuge, "2=2,b\r\n");
    long long before = BytesRead();
    TStringList dic(TStringList::Kind::Sorted);
    LoadDictionary(dic, paths.Dictionary());
    TUserLists lists;
    lists.Load(paths);
    EXPECT_LT(BytesRead() - before, 1 << 20);
    EXPECT_EQ(dic.Count(), 2u);
    EXPECT_EQ(lists.NotebookEntries.Strings(), (std::vector<std::string>{"1=1,a", "2=2,b"}));

    CreateDir(paths.CacheFolder());
    TIniFile ini(paths.Settings());
    dir.Write("Data/Codes.ini", W(kTable));
    const TCodeRec table = LoadCodeTables(paths.Codes()).at(0);
    TCodeDictionary codes;
    codes.Build(paths, ini, dic, table, {TGroupingMode::AllLetters, false}, {});
    dir.Write("Cache/Classic_2.lst", std::string(8 << 20, '7'));
    before = BytesRead();
    codes.Build(paths, ini, dic, table, {TGroupingMode::AllLetters, false}, {});
    EXPECT_LT(BytesRead() - before, 1 << 20);
    EXPECT_FALSE(codes.CacheReused());
    EXPECT_EQ(codes.WordCodeList().Count(), 2u);
}

// Proves: a big settings.ini is read once for all the keys a start reads, and a change of
// the file (in place or replaced) is still seen by the next read.
TEST(Cost, ABigSettingsFileIsReadOncePerCommand) {
    TempDir dir;
    nbtest::WriteFixture(dir);
    const std::string pad = "; " + std::string(4 << 20, 'x') + "\r\n";
    dir.Write("settings.ini", pad + "[NumbreliaSettings]\r\nCodeCode=Major\r\nShowPic=1\r\n");
    ASSERT_TRUE(nbtest::OpenSession(dir.Path())); // builds the cache: a write of the record
    const auto old = fs::last_write_time(dir / "settings.ini") - std::chrono::hours(1);
    fs::last_write_time(dir / "settings.ini", old);
    const long long before = BytesRead();
    auto session = nbtest::OpenSession(dir.Path());
    ASSERT_TRUE(session);
    EXPECT_EQ(session->Settings().CodeCode, "Major");
    EXPECT_LT(BytesRead() - before, 2 * static_cast<long long>(pad.size()));

    TIniFile& ini = session->SettingsFile();
    EXPECT_EQ(ini.ReadString(kSettingsSection, "ShowPic", ""), "1");
    {
        std::fstream f(dir / "settings.ini", std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(static_cast<std::streamoff>(pad.size()) + 45);
        f << "2"; // ShowPic=2, same size, same file
    }
    EXPECT_EQ(ini.ReadString(kSettingsSection, "ShowPic", ""), "2");
    dir.Write("other.ini", "[NumbreliaSettings]\r\nShowPic=3\r\n");
    fs::last_write_time(dir / "other.ini", old);
    fs::rename(dir / "other.ini", dir / "settings.ini");
    EXPECT_EQ(ini.ReadString(kSettingsSection, "ShowPic", ""), "3");
}

// Faults below the windows: the process killed at random moments while it saves and
// rebuilds, a disk that fills up, two copies racing for the single-instance lock, and a
// list file that is a pipe.
#include "MountUtil.h"
#include "TestUtil.h"

#include "code/CodeTableUnit.h"
#include "core/FileUnit.h"
#include "core/IniFileUnit.h"
#include "core/SettingsUnit.h"
#include "core/SingleInstanceUnit.h"
#include "core/TextUnit.h"
#include "dictionary/CodeDictionaryUnit.h"
#include "dictionary/WordListUnit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace nb;
using nbtest::TempDir;
using nbtest::TMount;
using nbtest::W;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

namespace {

const std::string kCodesUtf8 = "[T]\r\n" + nbtest::kClassicLetters;

// ---- versions of the files the program writes ------------------------------------------
// Version k of every file holds a line "v<k>" and is otherwise made from k alone, so a
// file read back names the version it claims to be and must equal it byte for byte.

std::string Marker(int k) { return "v" + std::to_string(k); }

std::string RandomWord(std::mt19937& rng) {
    std::string w;
    const int len = 3 + static_cast<int>(rng() % 6);
    for (int i = 0; i < len; ++i) w += static_cast<char>(0xE0 + rng() % 32);
    return w;
}

// The dictionary as the editor saves it: its lines, unsorted. Sizes differ from version
// to version so that a partial file could not pass for another version.
std::string DictionaryText(int k) {
    std::mt19937 rng(static_cast<unsigned>(k));
    std::string text = Marker(k) + "\r\n";
    const int n = 1500 + (k % 7) * 300;
    for (int i = 0; i < n; ++i) text += RandomWord(rng) + "\r\n";
    return text;
}

TUserLists ListsVersion(int k) {
    std::mt19937 rng(static_cast<unsigned>(k) * 7919u);
    TUserLists lists;
    lists.HidedWordsLoaded = lists.IgnoredCodesLoaded = lists.NotebookLoaded = lists.NotebookNotesLoaded = true;
    std::vector<std::string> hidden{Marker(k)}, ignored{Marker(k)};
    for (int i = 0; i < 50 + k % 11 * 40; ++i) hidden.push_back(RandomWord(rng));
    for (int i = 0; i < 10 + k % 5 * 10; ++i) ignored.push_back(std::to_string(rng() % 1000));
    lists.HidedWordList.Assign(hidden);
    lists.IgnoredCodeList.Assign(ignored);
    lists.NotebookEntries.Add(Marker(k));
    lists.NotebookNotes.Add(Marker(k));
    for (int i = 0; i < 200 + k % 9 * 150; ++i) {
        const std::string key = std::to_string(rng() % 100000000);
        lists.NotebookEntries.SetValue(key, key + "," + RandomWord(rng) + "," + RandomWord(rng));
        lists.NotebookNotes.SetValue(key, W("заметка ") + std::to_string(i));
    }
    return lists;
}

// The version a file claims to be, or -1.
int ClaimedVersion(const std::string& text) {
    for (const std::string& line : SplitLines(text)) {
        if (line.size() < 2 || line[0] != 'v') continue;
        int32_t k = -1;
        if (ParseInt32(line.substr(1), k)) return k;
    }
    return -1;
}

void ExpectWholeVersion(const std::string& path, const std::function<std::string(int)>& version,
                        int newest) {
    const std::string text = ReadWholeFile(path);
    const int k = ClaimedVersion(text);
    ASSERT_GE(k, 0) << path << " names no version: a partial or foreign file";
    ASSERT_LE(k, newest) << path;
    ASSERT_EQ(text, version(k)) << path << " claims version " << k << " but is not it";
}

// One round of what the program writes: the dictionary editor's save, the rebuild it
// causes (three cache files and the checksum record), the user lists and the settings of
// a shut-down.
void SaveRound(const TPaths& paths, TIniFile& ini, const TCodeRec& table, int k) {
    WriteFileAtomic(paths.Dictionary(), DictionaryText(k));
    TStringList dic(TStringList::Kind::Sorted);
    dic.LoadFromFile(paths.Dictionary());
    TCodeDictionary codes;
    codes.Build(paths, ini, dic, table, {TGroupingMode::AllLetters, false}, {});
    const auto errors = ListsVersion(k).Save(paths);
    if (!errors.empty()) throw EError(errors.front());
    TProgSettings settings;
    settings.CodeCode = table.Ident;
    settings.LetterColor = k;
    TLayoutSettings layout;
    layout.BrowserPanelHeight = k;
    SaveSettings(ini, settings, layout);
}

// The code dictionary built from scratch in a folder of its own.
TCodeDictionary CleanBuild(const TStringList& dic, const TCodeRec& table) {
    TempDir scratch;
    CreateDir(scratch / "Cache");
    TIniFile ini(scratch / "settings.ini");
    TCodeDictionary codes;
    codes.Build(TPaths{scratch.Path()}, ini, dic, table, {TGroupingMode::AllLetters, false}, {});
    return codes;
}

int TempFilesLeft(const std::string& folder) {
    int n = 0;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        const auto dot = name.rfind('.');
        if (dot != std::string::npos && name.size() - dot == 7 && name.substr(dot + 1) != "lst")
            ++n; // "<file>.XXXXXX" of WriteFileAtomic
    }
    return n;
}

} // namespace

// Proves: a SIGKILL at any moment of a save or a cache rebuild leaves every file the
// program writes whole (some version that was written in full, never a mix or a cut),
// leaves settings.ini with every key, and the next start loads every list, builds a code
// dictionary equal to a clean build and reuses its cache afterwards.
TEST(Killed, AtRandomMomentsOfSavesAndRebuildsEveryFileStaysWhole) {
    TempDir dir;
    dir.Write("Data/Codes.ini", W(kCodesUtf8));
    const TPaths paths{dir.Path()};
    CreateDir(paths.CacheFolder());
    const TCodeRec table = LoadCodeTables(paths.Codes()).at(0);
    TIniFile ini(paths.Settings());
    SaveRound(paths, ini, table, 0);

    std::mt19937 rng(424242); // fixed: the same kill delays on every run
    int next = 1, rounds = 0, staleCaches = 0;
    constexpr int kKills = 24;
    for (int kill = 0; kill < kKills; ++kill) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(fds[0]);
            try {
                TIniFile childIni(paths.Settings());
                (void)!::write(fds[1], "s", 1);
                for (int k = next;; ++k) {
                    SaveRound(paths, childIni, table, k);
                    (void)!::write(fds[1], "r", 1);
                }
            } catch (...) {
            }
            ::_exit(3);
        }
        ::close(fds[1]);
        char byte;
        ASSERT_EQ(::read(fds[0], &byte, 1), 1) << "the writer did not start";
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 150000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed on its own, status " << status;
        int done = 0;
        while (::read(fds[0], &byte, 1) == 1) ++done;
        ::close(fds[0]);
        rounds += done;
        const int newest = next + done; // the round that was cut, if any
        next = newest + 1;

        SCOPED_TRACE("kill " + std::to_string(kill));
        ExpectWholeVersion(paths.Dictionary(), DictionaryText, newest);
        ExpectWholeVersion(paths.HidedWords(), [](int k) { return ListsVersion(k).HidedWordList.Text(); }, newest);
        ExpectWholeVersion(paths.IgnoredCodes(), [](int k) { return ListsVersion(k).IgnoredCodeList.Text(); }, newest);
        ExpectWholeVersion(paths.Notebook(), [](int k) { return ListsVersion(k).NotebookEntries.Text(); }, newest);
        ExpectWholeVersion(paths.NotebookNotes(), [](int k) { return ListsVersion(k).NotebookNotes.Text(); }, newest);
        for (const char* key : {"CodeCode", "LetterColor", "ShowPic", "AddNull", "VariantMakeType",
                                "VariantsVirtualStringTreeWidth", "BrowserPanelHeight", "FirstStart"})
            ASSERT_NE(ini.ReadString(kSettingsSection, key, "?"), "?") << key;
        ASSERT_LE(ini.ReadInteger(kSettingsSection, "LetterColor", -1), newest);

        // The next start.
        TUserLists lists;
        ASSERT_NO_THROW(lists.Load(paths));
        TStringList dic(TStringList::Kind::Sorted);
        dic.LoadFromFile(paths.Dictionary());
        TCodeDictionary codes;
        ASSERT_NO_THROW(codes.Build(paths, ini, dic, table, {TGroupingMode::AllLetters, false}, {}));
        staleCaches += codes.CacheReused() ? 0 : 1;
        const TCodeDictionary clean = CleanBuild(dic, table);
        ASSERT_EQ(codes.WordCodeList().Strings(), clean.WordCodeList().Strings());
        ASSERT_EQ(codes.CodeList().Strings(), clean.CodeList().Strings());
        for (size_t i = 0; i < codes.WordCodeList().Count(); ++i)
            ASSERT_EQ(codes.WordCodeList().Object(i), clean.WordCodeList().Object(i));
        TCodeDictionary again;
        again.Build(paths, ini, dic, table, {TGroupingMode::AllLetters, false}, {});
        ASSERT_TRUE(again.CacheReused());
    }
    std::printf("[ note ] %d kills over %d whole rounds; %d kills left a cache that did not match "
                "its dictionary (rebuilt); %d temporary files left behind\n",
                kKills, rounds, staleCaches, TempFilesLeft(dir.Path()));
    // A start clears what the kills left (no writer is alive now, so no age is needed).
    const int left = TempFilesLeft(dir.Path());
    EXPECT_EQ(RemoveStaleTempFiles(paths, 0), left);
    EXPECT_EQ(TempFilesLeft(dir.Path()), 0);
}

// A dictionary of many words over few codes: its second and third cache files are much
// larger than the first.
std::string ManyWordsFewCodes() {
    std::mt19937 rng(77);
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        const std::string word = RandomWord(rng);
        for (const char* vowel : {"\xE0", "\xE5", "\xE8", "\xEE", "\xF3"}) // а е и о у: no digit
            text += word + vowel + "\r\n";
    }
    return text;
}

// Leaves exactly `bytes` (in whole pages) free on the file system of `folder` by sizing a
// filler file there.
void LeaveRoom(const std::string& folder, size_t bytes) {
    const std::string filler = folder + "/filler";
    ::unlink(filler.c_str());
    struct statvfs vfs {};
    ASSERT_EQ(::statvfs(folder.c_str(), &vfs), 0);
    const size_t page = vfs.f_bsize, free = vfs.f_bavail * vfs.f_bsize;
    size_t fill = free > bytes ? (free - bytes) / page * page : 0;
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    const std::string block(page, 'x');
    for (; fill > 0 && ::write(fd, block.data(), page) > 0; fill -= page) {
    }
    ::close(fd);
}

size_t Pages(size_t bytes) { return (bytes + 4095) / 4096 * 4096; }

// Proves: on a full disk a save fails with the system's reason and leaves the old file
// byte for byte, with no temporary file left; with a little room, the files that fit are
// written and the one that does not keeps its old version; a rebuild that runs out of room
// raises the error, and the cache it left half rewritten is never trusted afterwards,
// neither for the old dictionary nor for the new one.
TEST(FullDisk, SavesAreAllOrNothingAndAHalfWrittenCacheIsNeverTrusted) {
    TempDir dir;
    const std::string prog = dir / "prog";
    fs::create_directories(prog);
    TMount disk;
    const bool real = disk.Tmpfs(prog, 1024 * 1024);
    if (!real) nbtest::NoteSeamFallback("a full disk");
    const TPaths paths{prog};
    fs::create_directories(prog + "/Data");
    fs::create_directories(paths.CacheFolder());
    WriteFileAtomic(paths.Codes(), W(kCodesUtf8));
    const TCodeRec table = LoadCodeTables(paths.Codes()).at(0);
    TIniFile ini(paths.Settings());

    const TUserLists old = ListsVersion(1);
    ASSERT_TRUE(old.Save(paths).empty());
    const std::string oldNotebook = ReadWholeFile(paths.Notebook());
    const std::string oldHidden = ReadWholeFile(paths.HidedWords());
    const TUserLists fresh = ListsVersion(8);
    TStringList dicA(TStringList::Kind::Sorted), dicB(TStringList::Kind::Sorted);
    dicA.SetText(DictionaryText(3));
    dicB.SetText(ManyWordsFewCodes());
    TCodeDictionary codes;
    codes.Build(paths, ini, dicA, table, {TGroupingMode::AllLetters, false}, {});
    const TCodeDictionary cleanA = CleanBuild(dicA, table), cleanB = CleanBuild(dicB, table);

    // No room at all.
    if (real) LeaveRoom(prog, 0);
    else SetWriteFailureForTesting(prog);
    auto errors = fresh.Save(paths);
    ASSERT_EQ(errors.size(), 4u) << "every file reported";
    EXPECT_EQ(errors[0], "Cannot create file \"" + paths.HidedWords() + "\". No space left on device");
    EXPECT_EQ(ReadWholeFile(paths.Notebook()), oldNotebook);
    EXPECT_EQ(ReadWholeFile(paths.HidedWords()), oldHidden);
    EXPECT_EQ(TempFilesLeft(prog), 0);

    // Room for every file but the notebook, the largest.
    const size_t notebook = fresh.NotebookEntries.Text().size(), notes = fresh.NotebookNotes.Text().size();
    ASSERT_GT(Pages(notebook), Pages(notes) + 8192) << "the fixture no longer separates them";
    if (real) LeaveRoom(prog, Pages(notes) + 8192);
    else SetWriteFailureForTesting("notebook.txt");
    errors = fresh.Save(paths);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_THAT(errors[0], HasSubstr(paths.Notebook()));
    EXPECT_EQ(ReadWholeFile(paths.Notebook()), oldNotebook) << "the old version, whole";
    EXPECT_EQ(ReadWholeFile(paths.HidedWords()), fresh.HidedWordList.Text());
    EXPECT_EQ(ReadWholeFile(paths.NotebookNotes()), fresh.NotebookNotes.Text());
    EXPECT_EQ(TempFilesLeft(prog), 0);

    // A rebuild for another dictionary with room for its first cache file only.
    const size_t first = cleanB.CodeList().Text().size();
    ASSERT_GT(cleanB.WordCodeList().Count() * 4, Pages(first) + 8192);
    if (real) LeaveRoom(prog, Pages(first) + 8192);
    else SetWriteFailureForTesting("_2.lst");
    try {
        codes.Build(paths, ini, dicB, table, {TGroupingMode::AllLetters, false}, {});
        ADD_FAILURE() << "the rebuild fitted";
    } catch (const EError& e) {
        EXPECT_THAT(e.what(), HasSubstr("Cannot create file \"" + paths.CacheFile("T", 2) + "\". "));
    }
    EXPECT_EQ(ReadWholeFile(paths.CacheFile("T", 1)), cleanB.CodeList().Text()) << "half rewritten";
    EXPECT_EQ(TempFilesLeft(prog), 0);

    // Room again.
    ::unlink((prog + "/filler").c_str());
    SetWriteFailureForTesting("");
    for (const auto* want : {&cleanA, &cleanB}) {
        const TStringList& dic = want == &cleanA ? dicA : dicB;
        TCodeDictionary next;
        next.Build(paths, ini, dic, table, {TGroupingMode::AllLetters, false}, {});
        EXPECT_FALSE(next.CacheReused());
        EXPECT_EQ(next.WordCodeList().Strings(), want->WordCodeList().Strings());
        EXPECT_EQ(next.CodeList().Strings(), want->CodeList().Strings());
    }
    TCodeDictionary last;
    last.Build(paths, ini, dicB, table, {TGroupingMode::AllLetters, false}, {});
    EXPECT_TRUE(last.CacheReused());
}

// Proves: of several copies started at the same instant exactly one gets the lock, the
// others learn it at once; the lock goes with its holder, even one killed with SIGKILL.
TEST(SingleInstance, OfCopiesStartedTogetherExactlyOneRuns) {
    TempDir dir;
    constexpr int kCopies = 6;
    int go[2], release[2];
    ASSERT_EQ(::pipe(go), 0);
    ASSERT_EQ(::pipe(release), 0);
    std::vector<pid_t> copies;
    for (int i = 0; i < kCopies; ++i) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(go[1]);
            ::close(release[1]);
            char c;
            (void)!::read(go[0], &c, 1); // all start when the pipe closes
            TSingleInstance instance(dir.Path());
            if (!instance.Acquire()) ::_exit(1);
            (void)!::read(release[0], &c, 1); // runs until told to end
            ::_exit(0);
        }
        copies.push_back(pid);
    }
    ::close(go[0]);
    ::close(release[0]);
    ::close(go[1]);

    // The refused copies end by themselves; the one that runs does not.
    int refused = 0;
    pid_t runner = -1;
    for (int waited = 0; refused < kCopies - 1 && waited < 500; ++waited) {
        int status = 0;
        const pid_t pid = ::waitpid(-1, &status, WNOHANG);
        if (pid > 0) {
            ASSERT_TRUE(WIFEXITED(status));
            ASSERT_EQ(WEXITSTATUS(status), 1) << "a copy ran beside another";
            ++refused;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ASSERT_EQ(refused, kCopies - 1);
    for (pid_t pid : copies)
        if (::kill(pid, 0) == 0 && ::waitpid(pid, nullptr, WNOHANG) == 0) runner = pid;
    ASSERT_GT(runner, 0) << "no copy runs";

    TSingleInstance second(dir.Path());
    EXPECT_FALSE(second.Acquire()) << "the running copy still holds the lock";
    ::kill(runner, SIGKILL);
    ASSERT_EQ(::waitpid(runner, nullptr, 0), runner);
    ::close(release[1]);
    EXPECT_TRUE(second.Acquire()) << "a killed copy does not block the next start";
}

// Proves: a list file that is a pipe with no writer (or any non-file) is reported as a
// file error at once instead of blocking the start-up forever.
TEST(ListFiles, APipeInPlaceOfAFileIsAnErrorNotAHang) {
    TempDir dir;
    fs::create_directories(dir / "Data");
    ASSERT_EQ(::mkfifo((dir / "Data/dic.lst").c_str(), 0600), 0);
    TStringList dic(TStringList::Kind::Sorted);
    try {
        dic.LoadFromFile(dir / "Data/dic.lst");
        ADD_FAILURE() << "a pipe was read as a dictionary";
    } catch (const EError& e) {
        EXPECT_THAT(e.what(), HasSubstr("Cannot open file \"" + (dir / "Data/dic.lst") + "\". "));
    }
}

// Proves: file errors the window shows are Russian, the system's reason too, with the
// system's own text for an error without one of its own; the tool keeps English. A
// settings.ini that is a folder says so.
TEST(Messages, FileErrorsAreRussianInTheWindowAndSayWhy) {
    TempDir dir;
    CreateDir(dir / "settings.ini");
    TIniFile folder(dir / "settings.ini");
    try {
        folder.WriteString("A", "k", "1");
        ADD_FAILURE();
    } catch (const EError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + (dir / "settings.ini") + ". Is a directory");
    }
    SetRussianMessages(true);
    try {
        folder.WriteString("A", "k", "1");
        ADD_FAILURE();
    } catch (const EError& e) {
        EXPECT_EQ(std::string(e.what()), "Не удается записать файл \"" + (dir / "settings.ini") + "\". Это каталог");
    }
    const std::vector<std::pair<int, std::string>> reasons = {
        {ENOSPC, "На устройстве не осталось свободного места"},
        {EROFS, "Файловая система доступна только для чтения"},
        {EDQUOT, "Превышена дисковая квота"}};
    for (const auto& [err, text] : reasons) {
        SetWriteFailureForTesting(dir.Path(), err);
        try {
            WriteFileAtomic(dir / "notebook.txt", "1=1,a\r\n");
            ADD_FAILURE();
        } catch (const EError& e) {
            EXPECT_EQ(std::string(e.what()), "Не удается создать файл \"" + (dir / "notebook.txt") + "\". " + text);
        }
    }
    SetWriteFailureForTesting("");
    EXPECT_THAT(ErrorReason(EXDEV), ::testing::Not(::testing::IsEmpty()));
    try {
        ReadWholeFile(dir / "missing.txt");
        ADD_FAILURE();
    } catch (const EError& e) {
        EXPECT_EQ(std::string(e.what()), "Не удается открыть файл \"" + (dir / "missing.txt") + "\". Нет такого файла или каталога");
    }
    SetRussianMessages(false);
}

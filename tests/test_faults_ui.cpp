// Faults met by the main window: a read-only program folder, a disk that is full when
// the cache is built, Data/ gone at shut-down, the close signals, and a 10,000-digit
// number typed into the number field.
#include "MountUtil.h"
#include "UiFixture.h"

#include "ui_MainForm.h"

#include "core/FileUnit.h"
#include "core/SignalUnit.h"
#include "encoding/VariantsModel.h"
#include "encoding/WordsView.h"
#include "resources/ResStrUnit.h"
#include "web/BrowserUnit.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <random>
#include <sys/statvfs.h>

using namespace nbtest;
using nb::ui::TMainForm;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// Time limits stretch under the sanitizers, which slow the windows several times over.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kSlowdown = 5;
#else
constexpr double kSlowdown = 1;
#endif

// Every file below the folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files[fs::relative(e.path(), folder).string()] = nb::ReadWholeFile(e.path().string());
    return files;
}

// The user's own files, as a previous run left them.
void WriteUserFiles(const TempDir& dir) {
    dir.Write("Data/HidedWord.lst", W("пуд\r\n"));
    dir.Write("Data/IgnoredCode.lst", "89\r\n");
    dir.Write("notebook.txt", W("5270563=52-70-563,бот,сон,пешка\r\n"));
    dir.Write("notebook_add.txt", W("5270563=заметка\r\n"));
}

std::unique_ptr<TMainForm> StartAt(const std::string& folder) {
    auto form = std::make_unique<TMainForm>(folder);
    form->show();
    return WaitIdle(*form) ? std::move(form) : nullptr;
}

} // namespace

// Proves: a program folder that was used before and is now read-only (even for root)
// still starts and works from its cache; at shut-down the user is told, in one box,
// which files could not be written and why, and not one byte in the folder changed.
TEST(ReadOnlyFolder, AUsedFolderStartsAndTheSavesItCannotMakeAreReported) {
    TempDir dir;
    WriteFixture(dir);
    WriteUserFiles(dir);
    StartForm(dir).reset(); // the run that left settings and cache
    const auto before = Snapshot(dir.Path());

    TMount readOnly;
    if (!readOnly.ReadOnly(dir.Path())) {
        NoteSeamFallback("a read-only folder");
        nb::SetWriteFailureForTesting(dir.Path(), EROFS);
    }
    auto form = StartForm(dir);
    ASSERT_TRUE(form) << "the start-up needs no write";
    EXPECT_EQ(VariantRows(*form).size(), 8u);
    EXPECT_EQ(form->GetSelectedVariant(), "52-70-563") << "the notebook was read";
    TBoxRecorder boxes;
    form.reset();
    nb::SetWriteFailureForTesting("");
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Title, Q("Ошибка"));
    const std::string text = boxes.Boxes[0].Text.toStdString();
    for (const char* file : {"Data/HidedWord.lst", "Data/IgnoredCode.lst", "notebook.txt", "notebook_add.txt",
                             "settings.ini"})
        EXPECT_THAT(text, HasSubstr(dir / file));
    EXPECT_THAT(text, HasSubstr("Файловая система доступна только для чтения")) << "the reason, in Russian";
    readOnly.Undo();
    EXPECT_EQ(Snapshot(dir.Path()), before);
}

// Proves: when the disk is full at the first start, the cache write fails and the user
// sees the "Ошибка" box naming the file and the reason; the program closes, the user's
// lists and notebook keep every byte, and with room again the next start works.
TEST(FullDisk, AStartThatCannotWriteTheCacheSaysWhyAndLosesNothing) {
    TempDir dir;
    const std::string prog = dir / "prog";
    fs::create_directories(prog);
    TMount disk;
    const bool real = disk.Tmpfs(prog, 1024 * 1024);
    if (!real) NoteSeamFallback("a full disk");
    auto write = [&](const std::string& rel, const std::string& bytes) {
        fs::create_directories(fs::path(prog + "/" + rel).parent_path());
        nb::WriteFileAtomic(prog + "/" + rel, bytes);
    };
    TempDir fixture;
    WriteFixture(fixture);
    WriteUserFiles(fixture);
    fixture.Write("settings.ini", "[NumbreliaSettings]\r\nFirstStart=0\r\n");
    for (const auto& [rel, bytes] : Snapshot(fixture.Path())) write(rel, bytes);
    const auto before = Snapshot(prog);

    const std::string filler = prog + "/filler";
    if (real) {
        FILE* f = std::fopen(filler.c_str(), "w");
        ASSERT_TRUE(f);
        const std::string block(4096, 'x');
        while (std::fwrite(block.data(), 1, block.size(), f) == block.size() && std::fflush(f) == 0) {
        }
        std::fclose(f);
    } else {
        nb::SetWriteFailureForTesting(prog);
    }
    {
        TBoxRecorder boxes;
        auto form = std::make_unique<TMainForm>(prog);
        form->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.Boxes.empty(); }, 10000));
        EXPECT_EQ(boxes.Boxes[0].Title, Q("Ошибка"));
        EXPECT_EQ(boxes.Boxes[0].Text.toStdString(),
                  "Не удается создать файл \"" + prog + "/Cache/Classic_1.lst\". На устройстве не осталось свободного места");
        EXPECT_FALSE(form->isVisible()) << "the program ends after the box";
        form.reset();
        for (const auto& box : boxes.Boxes) EXPECT_EQ(box.Title, Q("Ошибка"));
    }
    ::unlink(filler.c_str());
    nb::SetWriteFailureForTesting("");
    EXPECT_EQ(Snapshot(prog), before);

    auto form = StartAt(prog);
    ASSERT_TRUE(form);
    EXPECT_EQ(form->GetSelectedVariant(), "52-70-563");
}

// Proves: a Data/ folder that disappeared while the program ran costs only the two files
// that live in it: the box names them, and the notebook and settings are still written.
TEST(MissingData, AtShutDownIsReportedAndTheNotebookStillWritten) {
    TempDir dir;
    WriteFixture(dir);
    dir.Write("notebook.txt", W("5270563=52-70-563,бот,сон,пешка\n")); // LF: a rewrite shows
    auto form = StartForm(dir);
    ASSERT_TRUE(form);
    fs::rename(dir / "Data", dir / "Data.moved");
    TBoxRecorder boxes;
    form.reset();
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    const std::string text = boxes.Boxes[0].Text.toStdString();
    EXPECT_THAT(text, HasSubstr("Не удается создать файл \"" + (dir / "Data/HidedWord.lst") + "\". Нет такого файла или каталога"));
    EXPECT_THAT(text, HasSubstr(dir / "Data/IgnoredCode.lst"));
    EXPECT_THAT(text, ::testing::Not(HasSubstr("notebook")));
    EXPECT_EQ(dir.Read("notebook.txt"), W("5270563=52-70-563,бот,сон,пешка\r\n"));
    EXPECT_TRUE(dir.Exists("notebook_add.txt"));
    EXPECT_THAT(dir.Read("settings.ini"), HasSubstr("CodeCode=Classic\r\n"));
}

namespace {

// The close signals for one test; their default action comes back afterwards.
struct TSignalScope {
    TSignalScope() {
        for (int sig : {SIGTERM, SIGINT, SIGHUP}) std::signal(sig, SIG_DFL);
        EXPECT_TRUE(nb::ui::InstallCloseSignals());
    }
    ~TSignalScope() {
        for (int sig : {SIGTERM, SIGINT, SIGHUP}) std::signal(sig, SIG_DFL);
    }
};

} // namespace

// Proves: a SIGTERM that arrives during the code-dictionary build is not lost and does
// not cut the build: the window closes as soon as the build is over, and the shut-down
// then writes the files as after a click on the close box.
TEST(Signals, ATermDuringTheBuildClosesTheWindowOnceItIsIdle) {
    TSignalScope scope;
    TempDir dir;
    WriteFixture(dir);
    nb::ui::TSignalCloser closer;
    auto form = std::make_unique<TMainForm>(dir.Path());
    closer.Watch(form.get());
    bool sent = false, busyWhenSent = false;
    QObject::connect(form.get(), &TMainForm::StatusShown, [&](const QString& s) {
        if (!sent && s.startsWith(Q("Построение словаря кодов"))) {
            sent = true;
            busyWhenSent = form->Busy();
            std::raise(SIGTERM);
        }
    });
    form->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sent && form->isHidden(); }, 10000));
    EXPECT_TRUE(busyWhenSent);
    EXPECT_EQ(closer.LastSignal(), SIGTERM);
    EXPECT_EQ(form->StatusText(), Q(nb::res::kIdlePrompt)) << "the build and the encode ran to the end";
    EXPECT_EQ(VariantRows(*form).size(), 8u);
    form.reset();
    EXPECT_TRUE(dir.Exists("notebook.txt"));
    EXPECT_THAT(dir.Read("settings.ini"), HasSubstr("CodeCode=Classic\r\n"));
}

// Proves: with a dialog open, SIGINT and SIGHUP close the dialog the way its close box
// does and then the window; a signal the program was started with ignored (SIGHUP under
// nohup) stays ignored.
TEST(Signals, IntAndHupCloseAnOpenDialogThenTheWindow) {
    TSignalScope scope;
    TempDir dir;
    WriteFixture(dir);
    nb::ui::TSignalCloser closer;
    for (int sig : {SIGINT, SIGHUP}) {
        auto form = StartForm(dir);
        ASSERT_TRUE(form);
        closer.Watch(form.get());
        QDialog dialog(form.get());
        dialog.setModal(true);
        QTimer::singleShot(50, [sig] { std::raise(sig); });
        QElapsedTimer waited;
        waited.start();
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        EXPECT_LT(waited.elapsed(), 5000);
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->isHidden(); }, 5000)) << "signal " << sig;
        EXPECT_EQ(closer.LastSignal(), sig);
        closer.Watch(nullptr);
    }

    std::signal(SIGHUP, SIG_IGN);
    nb::ui::InstallCloseSignals();
    auto form = StartForm(dir);
    ASSERT_TRUE(form);
    closer.Watch(form.get());
    std::raise(SIGHUP);
    QTest::qWait(300);
    EXPECT_TRUE(form->isVisible());
}

// Proves: a 10,000-digit number typed into the number field answers within seconds,
// without a box, with the list cut at the bound and the note saying so, and a word column
// for each of the thousands of groups of the first variant; the window stays usable for
// the next number.
TEST(LongNumber, TenThousandDigitsInTheNumberFieldAnswerWithACutList) {
    TempDir dir;
    fs::copy(NUMBRELIA_DATA_DIR "/Data", dir / "Data", fs::copy_options::recursive);
    dir.Write("settings.ini", "[NumbreliaSettings]\r\nFirstStart=0\r\n");
    auto form = StartForm(dir);
    ASSERT_TRUE(form);
    std::mt19937 rng(10000);
    std::string digits;
    for (int i = 0; i < 10000; ++i) digits += static_cast<char>('0' + rng() % 10);

    TBoxRecorder boxes;
    int announced = 0;
    QObject::connect(form->Controls()->WordsPanel, &nb::ui::TWordsView::WordFocusChanged, [&] { ++announced; });
    QElapsedTimer timer;
    timer.start();
    form->Controls()->NumEdit->setText(QString::fromLatin1(digits));
    form->GoButtonClick();
    QCoreApplication::processEvents();
    const double took = static_cast<double>(timer.elapsed()) / 1000;
    std::printf("[ note ] 10,000 digits in the window: %d rows, %zu word columns, %.2f s\n",
                form->VariantsModel()->RowCount(), form->Controls()->WordsPanel->WordTrees().size(), took);
    // Each announcement rebuilds the phrase from every column: one per column took 20 s.
    EXPECT_EQ(announced, 1) << "the columns announce their focus once, not each";
    EXPECT_LT(took, 60.0 * kSlowdown) << "frozen";
    EXPECT_TRUE(boxes.Boxes.empty());
    EXPECT_GT(form->VariantsModel()->RowCount(), 0);
    EXPECT_TRUE(form->Controls()->VariantsCutLabel->isVisible());
    // The bound on the keys' memory cuts this list short of kMaxVariantRows.
    EXPECT_EQ(form->Controls()->VariantsCutLabel->text(),
              QString::asprintf(nb::res::kVariantsCut, form->VariantsModel()->RowCount()));
    EXPECT_EQ(form->StatusText(), Q(nb::res::kIdlePrompt));
    EXPECT_EQ(form->Controls()->WordsPanel->ColumnCount(),
              static_cast<size_t>(form->VariantsModel()->Row(0).Count));
    EXPECT_LT(form->Controls()->WordsPanel->WordTrees().size(), 100u) << "only those in reach are made";

    form->Controls()->NumEdit->setText(Q("5270563"));
    form->GoButtonClick();
    EXPECT_FALSE(form->Controls()->VariantsCutLabel->isVisible());
    EXPECT_EQ(form->GetSelectedVariant(), VariantRows(*form).front());
}

// Proves: the window names, in one "Предупреждение" box each at start-up, a code table it
// skipped for its identifier and a dictionary it read converted from UTF-8, and works with
// the rest: the usual variants, no cache file outside the folder.
TEST(StartupWarnings, ASkippedTableAndAUtf8DictionaryAreShownAndTheRestWorks) {
    TempDir dir;
    WriteFixture(dir);
    dir.Write("Data/Codes.ini", "[../x]\r\n0=1\r\n" + dir.Read("Data/Codes.ini"));
    dir.Write("Data/dic.lst", U(dir.Read("Data/dic.lst")));
    TBoxRecorder boxes;
    auto form = StartForm(dir);
    ASSERT_TRUE(form);
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    for (const auto& box : boxes.Boxes) EXPECT_EQ(box.Title, Q("Предупреждение"));
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("\"../x\""));
    EXPECT_THAT(boxes.Boxes[1].Text.toStdString(), HasSubstr("UTF-8"));
    EXPECT_EQ(VariantRows(*form).size(), 8u);
    EXPECT_FALSE(dir.Exists("x_1.lst"));
}

// Proves: a zero byte that another editor left in the user's files costs no line: one start
// and close of the window writes back every notebook entry, note and list item after it.
TEST(UserFiles, AZeroByteInTheNotebookAndListsLosesNoLineAtShutDown) {
    TempDir dir;
    WriteFixture(dir);
    const std::string nul(1, '\0');
    dir.Write("notebook.txt", W("5270563=52-70-563,бот,сон,пешка\r\n") + nul + W("12=12,тон\r\n"));
    dir.Write("notebook_add.txt", W("5270563=заметка\r\n") + nul + W("12=вторая\r\n"));
    dir.Write("Data/HidedWord.lst", W("пуд\r\n") + nul + W("сом\r\n"));
    StartForm(dir).reset();
    EXPECT_THAT(dir.Read("notebook.txt"), HasSubstr(W("12=12,тон")));
    EXPECT_THAT(dir.Read("notebook.txt"), HasSubstr(W("5270563=52-70-563")));
    EXPECT_THAT(dir.Read("notebook_add.txt"), HasSubstr(W("12=вторая")));
    EXPECT_THAT(dir.Read("Data/HidedWord.lst"), HasSubstr(W("сом")));
}

int main(int argc, char** argv) {
    // Before any thread exists: the read-only folder and the full disk are real mounts in
    // a mount namespace of this process alone, where the machine allows it.
    nbtest::PrivateMounts();
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    nb::ui::PrepareBrowserEngine();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    nbtest::FailOnMessageBoxes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

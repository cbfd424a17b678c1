// The main window on a small program folder: start-up and its status texts, the encode
// command, the variants list and the words view with its pop-up commands, the busy state,
// a failed start, and the saves at shut-down.
#include "UiFixture.h"

#include "ui_MainForm.h"

#include "core/FileUnit.h"
#include "encoding/VariantSearchUnit.h"
#include "encoding/VariantsModel.h"
#include "encoding/WordsView.h"
#include "resources/ResStrUnit.h"

#include <QAbstractItemModelTester>
#include <QMenu>
#include <QSplitterHandle>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

using namespace nbtest;
using nb::ui::TMainForm;
using nb::ui::TWordTree;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

void Encode(TMainForm& form, const char* text) {
    form.Controls()->NumEdit->setText(Q(text));
    form.Controls()->GoButton->click();
}

void SelectVariant(TMainForm& form, const std::string& key) {
    QTreeView* tree = form.Controls()->VariantsVirtualStringTree;
    const int row = form.VariantsModel()->FindVariant(key);
    ASSERT_GE(row, 0) << key;
    tree->selectionModel()->setCurrentIndex(form.VariantsModel()->index(row, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// Gives a word column the keyboard focus, as a click into it would.
TWordTree* FocusColumn(TMainForm& form, size_t column) {
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    TWordTree* tree = form.Controls()->WordsPanel->WordTrees().at(column);
    tree->setFocus(Qt::MouseFocusReason);
    return tree;
}

void FocusWord(TWordTree* tree, const char* utf8) {
    for (int r = 0; r < tree->model()->rowCount(); ++r)
        if (tree->model()->index(r, 0).data().toString() == Q(utf8)) return tree->FocusRow(r);
    ADD_FAILURE() << "no word " << utf8;
}

} // namespace

TEST(MainFormStartup, FirstStartBuildsEncodesAndShowsTheFirstVariantsWords) {
    TempDir dir;
    WriteFixture(dir);
    auto form = std::make_unique<TMainForm>(dir.Path());
    EXPECT_EQ(form->windowTitle(), Q("Numbrelia"));
    EXPECT_EQ(form->StatusText(), Q("Numbrelia")) << "set at creation, before the load";
    EXPECT_FALSE(dir.Exists("Data/HidedWord.lst"));
    QStringList statuses;
    QObject::connect(form.get(), &TMainForm::StatusShown, [&](const QString& s) { statuses << s; });
    QAbstractItemModelTester tester(form->VariantsModel(),
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    form->show();
    ASSERT_TRUE(WaitIdle(*form));

    EXPECT_EQ(statuses.first(), Q("Построение словаря кодов (7%). Пожалуйста подождите..."));
    EXPECT_TRUE(statuses.contains(Q("Построение словаря кодов (100%). Пожалуйста подождите...")));
    EXPECT_EQ(statuses.mid(statuses.size() - 2),
              QStringList({Q(nb::res::kBuildingVariants), Q(nb::res::kIdlePrompt)}));
    EXPECT_TRUE(dir.Exists("Cache/Classic_1.lst") && dir.Exists("Cache/Classic_3.lst"));

    EXPECT_EQ(form->Controls()->NumEdit->text(), Q("5270563"));
    EXPECT_EQ(VariantRows(*form), kDisplayOrder);
    EXPECT_EQ(form->VariantsModel()->index(1, 1).data().toString(), Q("4"));
    EXPECT_EQ(form->GetSelectedVariant(), "52-70-563");
    EXPECT_EQ(form->Controls()->VariantsVirtualStringTree->selectionModel()->selectedRows().size(), 1);

    const auto& trees = form->Controls()->WordsPanel->WordTrees();
    ASSERT_EQ(trees.size(), 3u);
    EXPECT_EQ(trees[0]->Caption(), Q("52"));
    EXPECT_EQ(trees[2]->Caption(), Q("563"));
    EXPECT_THAT(VisibleWords(*form, 0), ElementsAre("бот", "пуд"));
    EXPECT_THAT(VisibleWords(*form, 2), ElementsAre("пешка", "пшик"));
    EXPECT_THAT(FocusedWords(*form), ElementsAre("бот", "сон", "пешка"));
    EXPECT_EQ(form->Controls()->WordEdit->text(), Q("бот - сон - пешка"));
    EXPECT_EQ(nbtest::U(form->CurrentWord()), "пешка") << "the last column focused";
    EXPECT_THAT(form->Controls()->CodeHelpPanel->text().toStdString(), HasSubstr("5 - пб"));
    EXPECT_FALSE(form->Controls()->BrowserPanel->isVisible()) << "pictures are off by default";

    // Equal widths; the last column takes what the division leaves.
    const int panel = form->Controls()->WordsPanel->width();
    EXPECT_EQ(trees[0]->width(), panel / 3);
    EXPECT_EQ(trees[2]->geometry().right(), panel - 1);

    form.reset();
    // A second start finds the cache valid: the three files are loaded, nothing is built.
    statuses.clear();
    form = std::make_unique<TMainForm>(dir.Path());
    QObject::connect(form.get(), &TMainForm::StatusShown, [&](const QString& s) { statuses << s; });
    form->show();
    ASSERT_TRUE(WaitIdle(*form));
    EXPECT_THAT(statuses.first().toStdString(), HasSubstr("Classic_1.lst"));
    EXPECT_TRUE(statuses.filter(Q("Построение словаря")).isEmpty());
    EXPECT_EQ(VariantRows(*form), kDisplayOrder);
}

TEST(MainFormStartup, StoredSettingsShapeTheWindow) {
    TempDir dir;
    WriteFixture(dir);
    dir.Write("settings.ini", "[NumbreliaSettings]\r\nCodeCode=classic\r\nHideSettings=1\r\n"
                              "VariantsVirtualStringTreeWidth=300\r\nBrowserPanelHeight=180\r\n"
                              "VariantMakeType=7\r\n");
    auto form = StartForm(dir);
    ASSERT_TRUE(form);
    EXPECT_FALSE(form->Controls()->SettingsAction->isVisible());
    EXPECT_EQ(form->Settings().VariantMakeType, 0);
    EXPECT_EQ(form->Controls()->VariantsVirtualStringTree->width(), 300);
    EXPECT_EQ(form->Settings().CodeCode, "classic") << "accepted with its letter case";
    EXPECT_TRUE(dir.Exists("Cache/Classic_1.lst")) << "the cache is the table's";
    EXPECT_EQ(VariantRows(*form), kDisplayOrder);

    // Dragging the splitter changes the width that is saved.
    QSplitterHandle* handle = form->Controls()->Splitter->handle(1);
    const QPoint start = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, start);
    QTest::mouseMove(handle, start + QPoint(-40, 0));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, start + QPoint(-40, 0));
    const int width = form->Controls()->VariantsVirtualStringTree->width();
    EXPECT_EQ(width, 260);
    form.reset();
    const std::string settings = dir.Read("settings.ini");
    EXPECT_THAT(settings, HasSubstr("VariantsVirtualStringTreeWidth=260\r\n"));
    EXPECT_THAT(settings, HasSubstr("BrowserPanelHeight=180\r\n")) << "kept while the pane is hidden";
    EXPECT_THAT(settings, HasSubstr("HideSettings=1\r\n"));
    EXPECT_THAT(settings, HasSubstr("VariantMakeType=0\r\n"));
}

// Proves: a stored pane size larger than the window (or negative) is brought within it:
// both panes stay visible and the huge value is not written back.
TEST(MainFormStartup, HugeStoredSizesAreClampedToTheWindow) {
    TempDir dir;
    WriteFixture(dir);
    dir.Write("settings.ini", "[NumbreliaSettings]\r\nVariantsVirtualStringTreeWidth=2000000000\r\n");
    auto form = StartForm(dir);
    ASSERT_TRUE(form);
    const QList<int> sizes = form->Controls()->Splitter->sizes();
    EXPECT_GT(sizes[0], 0);
    EXPECT_GT(sizes[1], 0) << "the words keep their pane";
    form.reset();
    const std::string settings = dir.Read("settings.ini");
    EXPECT_THAT(settings, ::testing::Not(HasSubstr("2000000000")));
    dir.Write("settings.ini", "[NumbreliaSettings]\r\nVariantsVirtualStringTreeWidth=-5\r\n");
    form = StartForm(dir);
    ASSERT_TRUE(form);
    EXPECT_GE(form->Controls()->VariantsVirtualStringTree->width(), 20);
}

TEST(MainFormStartup, StatusLineRepaintsOnlyOnChange) {
    TempDir dir;
    WriteFixture(dir);
    auto form = StartForm(dir);
    ASSERT_TRUE(form);
    QWidget* label = form->findChild<QWidget*>(QStringLiteral("StatusLabel"));
    ASSERT_TRUE(label);
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    label->installEventFilter(&counter);
    form->ShowStatus(Q(nb::res::kIdlePrompt));
    EXPECT_EQ(counter.paints, 0);
    form->ShowStatus(Q("Numbrelia"));
    EXPECT_EQ(counter.paints, 1) << "painted at once, without the event loop";
    EXPECT_EQ(label->property("text").toString(), Q(" Numbrelia"));
}

TEST(MainFormStartup, CloseIsRefusedWhileBusy) {
    TempDir dir;
    WriteFixture(dir);
    auto form = std::make_unique<TMainForm>(dir.Path());
    bool closedWhileBusy = true;
    bool tried = false;
    QObject::connect(form.get(), &TMainForm::StatusShown, [&](const QString& s) {
        if (!tried && s.startsWith(Q("Построение словаря кодов"))) {
            tried = true;
            EXPECT_TRUE(form->Busy());
            EXPECT_FALSE(form->Controls()->NumEdit->isEnabled());
            EXPECT_FALSE(form->Controls()->DicEditAction->isEnabled());
            closedWhileBusy = form->close();
        }
    });
    form->show();
    ASSERT_TRUE(WaitIdle(*form));
    EXPECT_TRUE(tried);
    EXPECT_FALSE(closedWhileBusy);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->Controls()->DicEditAction->isEnabled());
    EXPECT_TRUE(form->close()) << "granted once the build is over";
}

TEST(MainFormStartup, MissingDictionaryShowsTheErrorAndKeepsTheUsersFiles) {
    TempDir dir;
    WriteFixture(dir, false);
    const std::string hidden = W("кот\r\n"), ignored = "12\r\n";
    const std::string notebook = W("5270563=52-70-563,бот,сон,пешка\r\n"), notes = W("5270563=заметка\r\n");
    dir.Write("Data/HidedWord.lst", hidden);
    dir.Write("Data/IgnoredCode.lst", ignored);
    dir.Write("notebook.txt", notebook);
    dir.Write("notebook_add.txt", notes);
    TBoxRecorder boxes;
    auto form = std::make_unique<TMainForm>(dir.Path());
    form->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.Boxes.empty(); }, 5000));
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Title, Q("Ошибка"));
    EXPECT_EQ(boxes.Boxes[0].Icon, QMessageBox::Critical);
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("Data/dic.lst"));
    EXPECT_FALSE(form->isVisible()) << "the window closes after the box";
    form.reset();
    EXPECT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(dir.Read("Data/HidedWord.lst"), hidden);
    EXPECT_EQ(dir.Read("Data/IgnoredCode.lst"), ignored);
    EXPECT_EQ(dir.Read("notebook.txt"), notebook);
    EXPECT_EQ(dir.Read("notebook_add.txt"), notes);
}

TEST(MainFormStartup, NoCodeTableEndsTheProgramTouchingNoFile) {
    TempDir dir;
    dir.Write("Data/Codes.ini", "; no tables\r\n");
    TBoxRecorder boxes;
    EXPECT_EQ(nb::ui::CreateMainForm(dir.Path()), nullptr);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Title, Q("Ошибка"));
    EXPECT_EQ(boxes.Boxes[0].Text,
              QString::asprintf(nb::res::kNoCodeTables, (dir.Path() + "/Data/Codes.ini").c_str()));
    EXPECT_FALSE(dir.Exists("Cache"));
    EXPECT_FALSE(dir.Exists("settings.ini"));
}

TEST(MainFormStartup, FilesThatCannotBeWrittenAtShutDownAreReportedInOneBox) {
    TempDir dir;
    WriteFixture(dir);
    auto form = StartForm(dir);
    ASSERT_TRUE(form);
    TBoxRecorder boxes;
    nb::SetWriteFailureForTesting("notebook");
    form.reset();
    nb::SetWriteFailureForTesting("");
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Title, Q("Ошибка"));
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("notebook.txt"));
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("notebook_add.txt"));
    EXPECT_TRUE(dir.Exists("Data/HidedWord.lst")) << "the other files are written regardless";
    EXPECT_TRUE(dir.Exists("settings.ini"));
}

class MainFormEncode : public ::testing::Test {
protected:
    void SetUp() override { WriteFixture(dir); }
    void Start() {
        form = StartForm(dir);
        ASSERT_TRUE(form);
    }
    TempDir dir;
    std::unique_ptr<TMainForm> form;
};

TEST_F(MainFormEncode, EnterNormalisesTheNumberAndEncodesIt) {
    Start();
    QLineEdit* edit = form->Controls()->NumEdit;
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("8 (927) 05-6"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(edit->text(), Q("8927056"));
    EXPECT_THAT(VariantRows(*form), ElementsAre("89-2-70-56", "89-2-7-0-56"));
    EXPECT_EQ(form->StatusText(), Q(nb::res::kIdlePrompt));
    EXPECT_THAT(FocusedWords(*form), ElementsAre("вор", "ад", "сон", "пол"));

    for (const char* nothing : {"", "abc"}) {
        Encode(*form, nothing);
        EXPECT_EQ(edit->text(), Q("5270563")) << nothing;
        EXPECT_EQ(VariantRows(*form), kDisplayOrder);
    }
}

TEST_F(MainFormEncode, ANumberWithoutVariantsWarnsAndKeepsTheList) {
    Start();
    SelectVariant(*form, "5-2-70-563");
    const auto trees = form->Controls()->WordsPanel->WordTrees();
    TBoxRecorder boxes;
    Encode(*form, "9-9");
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Title, Q("Предупреждение"));
    EXPECT_EQ(boxes.Boxes[0].Icon, QMessageBox::Warning);
    EXPECT_EQ(boxes.Boxes[0].Text,
              Q("Число \"99\" не удалось перекодировать - не удалось найти подходящее слово."));
    EXPECT_EQ(form->StatusText(), Q(nb::res::kIdlePrompt));
    EXPECT_EQ(VariantRows(*form), kDisplayOrder);
    EXPECT_EQ(form->GetSelectedVariant(), "5-2-70-563");
    EXPECT_EQ(form->Controls()->WordsPanel->WordTrees(), trees) << "the same columns";
    EXPECT_EQ(form->Controls()->NumEdit->text(), Q("99"));
}

TEST_F(MainFormEncode, HidingAWordMovesTheFocusAndTouchesNothingElse) {
    Start();
    TWordTree* column = FocusColumn(*form, 0);
    EXPECT_EQ(form->Controls()->WordsPanel->FocusedColumn(), column);
    form->HideWordMenuItemClick();
    EXPECT_THAT(VisibleWords(*form, 0), ElementsAre("пуд"));
    EXPECT_THAT(FocusedWords(*form), ElementsAre("пуд", "сон", "пешка"));
    EXPECT_EQ(form->Controls()->WordEdit->text(), Q("пуд - сон - пешка"));
    EXPECT_TRUE(form->UserLists().HidedWordList.Contains(W("бот")));
    EXPECT_EQ(VariantRows(*form), kDisplayOrder) << "no re-encode";

    // The only visible entry, which is also the first row: hidden, then restored.
    FocusColumn(*form, 1);
    form->HideWordMenuItemClick();
    EXPECT_THAT(VisibleWords(*form, 1), ElementsAre("сон"));
    EXPECT_FALSE(form->UserLists().HidedWordList.Contains(W("сон")));

    // The only visible entry behind a hidden first row: it stays hidden, the first comes back.
    FocusColumn(*form, 2);
    form->HideWordMenuItemClick();
    EXPECT_THAT(VisibleWords(*form, 2), ElementsAre("пшик"));
    form->HideWordMenuItemClick();
    EXPECT_THAT(VisibleWords(*form, 2), ElementsAre("пешка"));
    EXPECT_THAT(FocusedWords(*form), ElementsAre("пуд", "сон", "пешка"));
    EXPECT_TRUE(form->UserLists().HidedWordList.Contains(W("пшик")));
    EXPECT_FALSE(form->UserLists().HidedWordList.Contains(W("пешка")));

    // Commands with the keyboard focus elsewhere do nothing.
    form->Controls()->NumEdit->setFocus();
    form->HideWordMenuItemClick();
    form->ShowWordMenuItemClick();
    form->HideNumMenuItemClick();
    EXPECT_THAT(VisibleWords(*form, 0), ElementsAre("пуд"));
    EXPECT_EQ(form->UserLists().IgnoredCodeList.Count(), 0u);
    EXPECT_EQ(dir.Read("Data/HidedWord.lst"), W("бот\r\nпшик\r\n")) << "on disk at once";

    form.reset();
    EXPECT_EQ(dir.Read("Data/HidedWord.lst"), W("бот\r\nпшик\r\n"));
}

TEST_F(MainFormEncode, AHiddenWordLeavesThePhraseOfColumnsNotMadeYet) {
    // 89 has two words and no other cut: forty columns, most of them made only on scrolling.
    dir.Write("Data/dic.lst", W("боа\r\nад\r\nоса\r\nум\r\nпол\r\nухо\r\nбот\r\nпуд\r\nсон\r\n"
                                "пешка\r\nпшик\r\nвор\r\nфара\r\n"));
    Start();
    std::string number;
    for (int i = 0; i < 40; ++i) number += "89";
    Encode(*form, number.c_str());
    const size_t made = form->Controls()->WordsPanel->WordTrees().size();
    ASSERT_LT(made, 40u);
    FocusColumn(*form, 0);
    form->HideWordMenuItemClick();
    // Columns already made keep showing it until the view is rebuilt; the others follow the
    // list at once, as they will show it when made.
    const QStringList phrase = form->Controls()->WordEdit->text().split(Q(" - "));
    ASSERT_EQ(phrase.size(), 40);
    EXPECT_EQ(phrase[0], Q("фара"));
    for (qsizetype i = static_cast<qsizetype>(made); i < 40; ++i) EXPECT_EQ(phrase[i], Q("фара")) << i;
}

TEST_F(MainFormEncode, KeepingOneWordHidesTheOthersInLaterDisplays) {
    Start();
    TWordTree* column = FocusColumn(*form, 2);
    FocusWord(column, "пшик");
    form->ShowWordMenuItemClick();
    EXPECT_THAT(VisibleWords(*form, 2), ElementsAre("пшик"));
    EXPECT_TRUE(form->UserLists().HidedWordList.Contains(W("пешка")));
    EXPECT_FALSE(form->UserLists().HidedWordList.Contains(W("пшик")));
    Encode(*form, "5270563");
    EXPECT_THAT(VisibleWords(*form, 2), ElementsAre("пшик"));
    EXPECT_THAT(FocusedWords(*form), ElementsAre("бот", "сон", "пшик"));
}

TEST_F(MainFormEncode, AHiddenEntryStaysVisibleInTheOtherColumnOfItsGroup) {
    Start();
    Encode(*form, "5252");
    ASSERT_EQ(form->GetSelectedVariant(), "52-52");
    FocusColumn(*form, 0);
    form->HideWordMenuItemClick();
    EXPECT_THAT(VisibleWords(*form, 0), ElementsAre("пуд"));
    EXPECT_THAT(VisibleWords(*form, 1), ElementsAre("бот", "пуд"));
    EXPECT_THAT(FocusedWords(*form), ElementsAre("пуд", "бот"));
    SelectVariant(*form, "5-2-52");
    SelectVariant(*form, "52-52");
    EXPECT_THAT(VisibleWords(*form, 1), ElementsAre("пуд")) << "until the view is rebuilt";
}

TEST_F(MainFormEncode, TheCommandLineListsTheWordsOfTheColumns) {
    const std::string hidden = W("пуд\r\nбот\r\nпшик\r\n");
    dir.Write("Data/HidedWord.lst", hidden);
    // The tool first: the window takes the shown word of an all-hidden group off the list.
    std::string cli;
    FILE* p = ::popen((std::string(NUMBRELIA_CLI) + " --dir '" + dir.Path() + "' words 52-70-563").c_str(), "r");
    ASSERT_NE(p, nullptr);
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) cli.append(buf, n);
    EXPECT_EQ(::pclose(p), 0);
    EXPECT_EQ(dir.Read("Data/HidedWord.lst"), hidden) << "the tool never writes the list";
    Start();
    ASSERT_EQ(form->GetSelectedVariant(), "52-70-563");
    std::string window;
    for (size_t i = 0; i < 3; ++i) {
        window += form->Controls()->WordsPanel->WordTrees().at(i)->Caption().toStdString();
        for (const std::string& word : VisibleWords(*form, i)) window += "\t" + word;
        window += "\n";
    }
    EXPECT_EQ(cli, window);
    EXPECT_EQ(cli, "52\tбот\n70\tсон\n563\tпешка\n");
}

TEST_F(MainFormEncode, HidingANumberReEncodesWithoutIt) {
    Start();
    FocusColumn(*form, 2);
    form->HideNumMenuItemClick();
    EXPECT_TRUE(form->UserLists().IgnoredCodeList.Contains("563"));
    EXPECT_THAT(VariantRows(*form),
                ElementsAre("52-70-56-3", "5-2-70-56-3", "52-7-0-56-3", "5-2-7-0-56-3"));
    EXPECT_THAT(FocusedWords(*form), ElementsAre("бот", "сон", "пол", "ухо"));

    // The only group of a number: the warning, and list and words stay.
    Encode(*form, "3");
    ASSERT_THAT(VariantRows(*form), ElementsAre("3"));
    TBoxRecorder boxes;
    FocusColumn(*form, 0);
    form->HideNumMenuItemClick();
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("\"3\""));
    EXPECT_THAT(VariantRows(*form), ElementsAre("3"));
    EXPECT_THAT(FocusedWords(*form), ElementsAre("ухо"));
    EXPECT_EQ(dir.Read("Data/IgnoredCode.lst"), "3\r\n563\r\n") << "on disk at once";

    form.reset();
    EXPECT_EQ(dir.Read("Data/IgnoredCode.lst"), "3\r\n563\r\n");
}

TEST_F(MainFormEncode, TheWordPopupMenuFocusesTheClickedRowAndActsOnIt) {
    Start();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    TWordTree* column = form->Controls()->WordsPanel->WordTrees().at(0);
    const QRect second = column->visualRect(column->model()->index(1, 0));
    QMenu* menu = form->WordPopupMenu();
    emit column->customContextMenuRequested(second.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
    EXPECT_EQ(QApplication::focusWidget(), column);
    EXPECT_EQ(column->FocusedRow(), 1);
    QStringList captions;
    for (QAction* action : menu->actions()) captions << action->text();
    EXPECT_EQ(captions, QStringList({Q("&Скрыть слово"), Q("&Оставить только это слово"),
                                     Q("&Таблица кодов"), Q("Скрыть число (не учитывать при вариантах)")}));
    menu->actions().at(0)->trigger();
    menu->hide();
    EXPECT_THAT(VisibleWords(*form, 0), ElementsAre("бот"));
    EXPECT_TRUE(form->UserLists().HidedWordList.Contains(W("пуд")));
}

TEST_F(MainFormEncode, EnteringAColumnAnnouncesItsWord) {
    Start();
    EXPECT_EQ(U(form->CurrentWord()), "пешка");
    FocusColumn(*form, 0);
    EXPECT_EQ(U(form->CurrentWord()), "бот");
    TWordTree* column = form->Controls()->WordsPanel->WordTrees().at(0);
    QTest::keyClick(column, Qt::Key_Down);
    EXPECT_EQ(U(form->CurrentWord()), "пуд");
    EXPECT_EQ(form->Controls()->WordEdit->text(), Q("пуд - сон - пешка"));

    // A click beside the rows leaves the chosen word chosen.
    const QRect last = column->visualRect(column->model()->index(1, 0));
    QTest::mouseClick(column->viewport(), Qt::LeftButton, {}, last.center() + QPoint(0, 3 * last.height()));
    EXPECT_EQ(column->FocusedRow(), 1);
    EXPECT_EQ(column->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(form->Controls()->WordEdit->text(), Q("пуд - сон - пешка"));
}

TEST_F(MainFormEncode, AListCutByTheBoundSaysSoWithoutABox) {
    Start();
    std::string number;
    for (int i = 0; i < 18; ++i) number += "52"; // 2^18 variants
    TBoxRecorder boxes;
    Encode(*form, number.c_str());
    EXPECT_TRUE(boxes.Boxes.empty());
    EXPECT_EQ(form->VariantsModel()->RowCount(), static_cast<int>(nb::kMaxVariantRows));
    EXPECT_EQ(form->VariantsModel()->Row(0).Count, 18) << "the fewest groups first";
    QLabel* note = form->Controls()->VariantsCutLabel;
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(), QString::asprintf(nb::res::kVariantsCut, static_cast<int>(nb::kMaxVariantRows)));
    EXPECT_EQ(form->StatusText(), Q(nb::res::kIdlePrompt));
    EXPECT_EQ(form->Controls()->WordsPanel->WordTrees().size(), 18u);

    Encode(*form, "5270563");
    EXPECT_FALSE(note->isVisible());
}

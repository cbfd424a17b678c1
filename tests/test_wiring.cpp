// The main window with its commands, end to end on a small program folder: the menu bar and
// the busy state, each dialog opened the way the user opens it and answered through its
// controls, and what the main window does with the result (builds, re-encodes, files on
// disk, the hint strip, the desktop's help request, the picture pane).
#include "UiFixture.h"

#include "ui_AboutForm.h"
#include "ui_AddToNotebookForm.h"
#include "ui_DicEditForm.h"
#include "ui_MainForm.h"
#include "ui_SettingsForm.h"
#include "ui_TableCodeForm.h"
#include "ui_TestForm.h"

#include "core/FileUnit.h"
#include "core/SettingsFormUnit.h"
#include "encoding/VariantsModel.h"
#include "encoding/WordsView.h"
#include "notebook/AddToNotebookFormUnit.h"
#include "resources/ResStrUnit.h"
#include "tools/DicEditFormUnit.h"
#include "tools/TableCodeFormUnit.h"
#include "tools/TestFormUnit.h"
#include "web/AboutFormUnit.h"
#include "web/BrowserUnit.h"
#include "web/DesktopUnit.h"
#include "web/PicturePaneUnit.h"

#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

using namespace nbtest;
using nb::ui::TMainForm;
using nb::ui::TWordTree;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const std::vector<std::string> kWithout563 = {"52-70-56-3", "5-2-70-56-3", "52-7-0-56-3",
                                              "5-2-7-0-56-3"};
const std::string kDictionary = "боа\r\nад\r\nоса\r\nум\r\nпол\r\nухо\r\nбот\r\nпуд\r\nсон\r\n"
                                "пешка\r\nпшик\r\nвор\r\nау\r\n";

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

void Encode(TMainForm& form, const char* text) {
    form.Controls()->NumEdit->setText(Q(text));
    form.Controls()->GoButton->click();
}

void SelectVariant(TMainForm& form, const std::string& key) {
    const int row = form.VariantsModel()->FindVariant(key);
    ASSERT_GE(row, 0) << key;
    form.Controls()->VariantsVirtualStringTree->selectionModel()->setCurrentIndex(
        form.VariantsModel()->index(row, 0),
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

QStringList Captions(const QList<QAction*>& actions) {
    QStringList captions;
    for (const QAction* action : actions)
        if (action->isVisible()) captions << action->text();
    return captions;
}

// Records what is given to the desktop instead of starting a browser.
class TOpenRecorder {
public:
    TOpenRecorder() {
        nb::ui::TDesktop::SetOpenerForTesting([this](const QUrl& url) {
            Urls.push_back(url);
            return true;
        });
    }
    ~TOpenRecorder() { nb::ui::TDesktop::SetOpenerForTesting({}); }
    std::vector<QUrl> Urls;
};

class Wiring : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFixture(dir);
        dir.Write("Help/index.htm", "<html><body>help</body></html>");
    }
    void Start() {
        form = StartForm(dir);
        ASSERT_TRUE(form);
        QObject::connect(form.get(), &TMainForm::StatusShown,
                         [this](const QString& s) { statuses << s; });
    }
    // The status texts of a build that found the cache valid, or rebuilt it.
    bool Loaded() const { return !statuses.filter(Q("Загрузка файла")).isEmpty(); }
    bool Rebuilt() const { return !statuses.filter(Q("Построение словаря кодов")).isEmpty(); }

    TempDir dir;
    std::unique_ptr<TMainForm> form;
    QStringList statuses;
    TOpenRecorder desktop;
};

} // namespace

// ---- menu bar and busy state ------------------------------------------------------------------

TEST_F(Wiring, TheMenuBarListsTheEightCommandsInOrder) {
    Start();
    Ui::TMainForm* c = form->Controls();
    EXPECT_EQ(form->menuBar(), c->MainMenu);
    EXPECT_EQ(Captions(c->MainMenu->actions()),
              QStringList({Q("&Настройки"), Q("&Записная книжка"), Q("&Повторение"),
                           Q("&Таблица кодов"), Q("&Редактор словаря"), Q("&Тестирование"),
                           Q("&?")}));
    EXPECT_EQ(c->MainMenu->actions().last(), c->HelpMenu->menuAction());
    EXPECT_EQ(Captions(c->HelpMenu->actions()), QStringList({Q("&Справка"), Q("&О программе")}));
    EXPECT_EQ(c->HelpAction->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_TRUE(c->RememberButton->isEnabled());
    for (QAction* action : c->MainMenu->actions())
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
}

TEST_F(Wiring, DuringARebuildOnlyHelpAndAboutStayUsable) {
    dir.Write("settings.ini", "[NumbreliaSettings]\r\nHideSettings=1\r\nFirstStart=0\r\n");
    form = std::make_unique<TMainForm>(dir.Path());
    Ui::TMainForm* c = form->Controls();
    EXPECT_EQ(Captions(c->MainMenu->actions()).first(), Q("&Записная книжка"));
    bool checked = false;
    QObject::connect(form.get(), &TMainForm::StatusShown, [&](const QString& s) {
        if (checked || !s.startsWith(Q("Построение словаря кодов"))) return;
        checked = true;
        for (QAction* a : {c->SettingsAction, c->NotebookAction, c->ReviewAction, c->TableCodeAction,
                           c->DicEditAction, c->TestCodeAction})
            EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
        EXPECT_FALSE(c->SettingsAction->isVisible()) << "hidden stays hidden";
        EXPECT_FALSE(c->RememberButton->isEnabled());
        EXPECT_TRUE(c->HelpAction->isEnabled());
        EXPECT_TRUE(c->AboutAction->isEnabled());
        c->HelpAction->trigger(); // help works while the build runs
    });
    form->show();
    ASSERT_TRUE(WaitIdle(*form));
    EXPECT_TRUE(checked);
    ASSERT_EQ(desktop.Urls.size(), 1u);
    EXPECT_EQ(desktop.Urls[0], QUrl::fromLocalFile(QString::fromStdString(dir / "Help/index.htm")));
    EXPECT_FALSE(c->SettingsAction->isVisible());
    EXPECT_TRUE(c->TestCodeAction->isEnabled());
}

// ---- help and About ---------------------------------------------------------------------------

TEST_F(Wiring, TheFirstStartOpensTheHelpOnceAndF1AsksForItAgain) {
    Start();
    const QUrl index = QUrl::fromLocalFile(QString::fromStdString(dir / "Help/index.htm"));
    ASSERT_THAT(desktop.Urls, ElementsAre(index));
    form.reset();
    desktop.Urls.clear();
    Start();
    EXPECT_TRUE(desktop.Urls.empty()) << "only the very first start";

    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form->Controls()->NumEdit, Qt::Key_F1);
    EXPECT_THAT(desktop.Urls, ElementsAre(index));
}

TEST_F(Wiring, AboutShowsTheFileVersion) {
    Start();
    TModalDialogDriver<nb::ui::TAboutForm> driver([](nb::ui::TAboutForm& f) {
        EXPECT_EQ(f.Controls()->VersionLabel->text(), Q("1.3.0.61"));
        QTest::keyClick(&f, Qt::Key_Escape);
    });
    form->Controls()->AboutAction->trigger();
    EXPECT_TRUE(driver.Shown());
}

// ---- settings ---------------------------------------------------------------------------------

TEST_F(Wiring, SettingsCancelChangesNothingAndRunsNoBuild) {
    Start();
    const nb::TProgSettings before = form->Settings();
    TModalDialogDriver<nb::ui::TSettingsForm> driver([](nb::ui::TSettingsForm& f) {
        Ui::TSettingsForm* c = f.Controls();
        c->CodeComboBox->setCurrentIndex(1);
        c->VariantsComboBox->setCurrentIndex(2);
        c->ShowPicCheckBox->setChecked(true);
        c->AddNullCheckBox->setChecked(true);
        QTest::mouseClick(c->CancelButton, Qt::LeftButton);
    });
    form->Controls()->SettingsAction->trigger();
    ASSERT_TRUE(driver.Shown());
    EXPECT_TRUE(statuses.isEmpty()) << statuses.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(form->Settings().CodeCode, before.CodeCode);
    EXPECT_EQ(form->Settings().VariantMakeType, before.VariantMakeType);
    EXPECT_EQ(form->Settings().ShowPic, before.ShowPic);
    EXPECT_EQ(form->Settings().AddNull, before.AddNull);
    EXPECT_FALSE(dir.Exists("Cache/Major_1.lst"));
    EXPECT_EQ(VariantRows(*form), kDisplayOrder);
}

TEST_F(Wiring, SettingsOkWithoutChangeReusesTheCacheAndEncodesAgain) {
    Start();
    SelectVariant(*form, "5-2-70-563");
    TModalDialogDriver<nb::ui::TSettingsForm> driver([](nb::ui::TSettingsForm& f) {
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
    });
    form->Controls()->SettingsAction->trigger();
    ASSERT_TRUE(driver.Shown());
    EXPECT_TRUE(Loaded());
    EXPECT_FALSE(Rebuilt());
    EXPECT_TRUE(form->CodeDictionary().CacheReused());
    EXPECT_EQ(statuses.last(), Q(nb::res::kIdlePrompt));
    EXPECT_EQ(form->GetSelectedVariant(), "52-70-563") << "encoded again: the first row";
    EXPECT_FALSE(form->Busy());
}

TEST_F(Wiring, SettingsOkIsWrittenAtOnceAndCancelWritesNothing) {
    Start();
    const bool existed = dir.Exists("settings.ini");
    const std::string before = existed ? dir.Read("settings.ini") : std::string();
    TModalDialogDriver<nb::ui::TSettingsForm> cancel([](nb::ui::TSettingsForm& f) {
        f.Controls()->VariantsComboBox->setCurrentIndex(2);
        QTest::mouseClick(f.Controls()->CancelButton, Qt::LeftButton);
    });
    form->Controls()->SettingsAction->trigger();
    ASSERT_TRUE(cancel.Shown());
    EXPECT_EQ(dir.Exists("settings.ini"), existed);
    if (existed) {
        EXPECT_EQ(dir.Read("settings.ini"), before);
    }
    TModalDialogDriver<nb::ui::TSettingsForm> ok([](nb::ui::TSettingsForm& f) {
        f.Controls()->VariantsComboBox->setCurrentIndex(2);
        f.Controls()->AddNullCheckBox->setChecked(true);
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
    });
    form->Controls()->SettingsAction->trigger();
    ASSERT_TRUE(ok.Shown());
    // Still running: a kill now keeps them.
    const std::string settings = dir.Read("settings.ini");
    EXPECT_THAT(settings, HasSubstr("VariantMakeType=2\r\n"));
    EXPECT_THAT(settings, HasSubstr("AddNull=1\r\n"));
}

TEST_F(Wiring, SwitchingTablesUsesEachTablesCache) {
    Start();
    auto choose = [&](int table, const char* number) {
        statuses.clear();
        form->Controls()->NumEdit->setText(Q(number));
        TModalDialogDriver<nb::ui::TSettingsForm> driver([table](nb::ui::TSettingsForm& f) {
            f.Controls()->CodeComboBox->setCurrentIndex(table);
            QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
        });
        form->Controls()->SettingsAction->trigger();
        EXPECT_TRUE(driver.Shown());
    };
    // Major: 9 боа, 1 ад, 0 оса, 3 ум, 95 пол, 91 бот пуд, 02 сон, 967 пешка пшик, 84 вор.
    choose(1, "9102");
    EXPECT_EQ(form->Settings().CodeCode, "Major");
    EXPECT_TRUE(Rebuilt());
    for (int n = 1; n <= 3; ++n)
        EXPECT_TRUE(dir.Exists("Cache/Major_" + std::to_string(n) + ".lst")) << n;
    EXPECT_THAT(VariantRows(*form), ElementsAre("91-02", "9-1-02"));
    EXPECT_THAT(FocusedWords(*form), ElementsAre("бот", "сон"));
    EXPECT_THAT(form->Controls()->CodeHelpPanel->text().toStdString(), HasSubstr("9 - пб"));

    choose(0, "5270563");
    EXPECT_EQ(form->Settings().CodeCode, "Classic");
    EXPECT_TRUE(Loaded());
    EXPECT_FALSE(Rebuilt());
    EXPECT_EQ(VariantRows(*form), kDisplayOrder);
    EXPECT_THAT(form->Controls()->CodeHelpPanel->text().toStdString(), HasSubstr("5 - пб"));

    choose(1, "9102");
    EXPECT_TRUE(Loaded());
    EXPECT_FALSE(Rebuilt()) << "the Major cache is still valid";
    EXPECT_THAT(VariantRows(*form), ElementsAre("91-02", "9-1-02"));

    const std::string settings = dir.Read("settings.ini");
    EXPECT_THAT(settings, HasSubstr("[CacheCRC]"));
    EXPECT_THAT(settings, HasSubstr("\r\nClassic=1="));
    EXPECT_THAT(settings, HasSubstr("\r\nMajor=1="));
}

TEST_F(Wiring, ABuildThatFailsKeepsTheFormerTableAndSettings) {
    Start();
    TBoxRecorder boxes;
    nb::SetWriteFailureForTesting("Major_");
    TModalDialogDriver<nb::ui::TSettingsForm> driver([](nb::ui::TSettingsForm& f) {
        f.Controls()->CodeComboBox->setCurrentIndex(1);
        f.Controls()->VariantsComboBox->setCurrentIndex(1);
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
    });
    form->Controls()->SettingsAction->trigger();
    nb::SetWriteFailureForTesting("");
    ASSERT_TRUE(driver.Shown());
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("Major_1.lst"));
    EXPECT_FALSE(form->Busy());
    EXPECT_EQ(form->Settings().CodeCode, "Classic");
    EXPECT_EQ(form->Settings().VariantMakeType, 0);
    EXPECT_THAT(form->Controls()->CodeHelpPanel->text().toStdString(), HasSubstr("5 - пб"));
    Encode(*form, "5270563");
    EXPECT_EQ(VariantRows(*form), kDisplayOrder);
    EXPECT_THAT(VisibleWords(*form, 2), ElementsAre("пешка", "пшик"));
}

// ---- remember ---------------------------------------------------------------------------------

TEST_F(Wiring, ARememberedNumberIsOnDiskAtOnceAndComesBackAfterACrash) {
    Start();
    SelectVariant(*form, "5-2-70-563");
    FocusWord(FocusColumn(*form, 3), "пшик");
    EXPECT_EQ(form->Controls()->WordEdit->text(), Q("боа - ад - сон - пшик"));
    TModalDialogDriver<nb::ui::TAddToNotebookForm> driver([](nb::ui::TAddToNotebookForm& f) {
        EXPECT_EQ(f.Controls()->NumEdit->text(), Q("5-2-70-563"));
        EXPECT_EQ(f.Controls()->WordEdit->text(), Q("боа - ад - сон - пшик"));
        f.Controls()->NotesEdit->insert(Q("заметка"));
        QTest::keyClick(f.Controls()->NotesEdit, Qt::Key_Return);
    });
    QTest::mouseClick(form->Controls()->RememberButton, Qt::LeftButton);
    ASSERT_TRUE(driver.Shown());
    EXPECT_EQ(dir.Read("notebook.txt"), W("5270563=5-2-70-563,боа,ад,сон,пшик\r\n"));
    EXPECT_EQ(dir.Read("notebook_add.txt"), W("5270563=заметка\r\n"));

    // The program dies now: what it left on disk is a copy taken before any shut-down save.
    TempDir crashed;
    std::filesystem::copy(dir.Path(), crashed.Path(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    auto restarted = StartForm(crashed);
    ASSERT_TRUE(restarted);
    EXPECT_EQ(restarted->GetSelectedVariant(), "5-2-70-563");
    EXPECT_THAT(FocusedWords(*restarted), ElementsAre("боа", "ад", "сон", "пшик"));
    EXPECT_EQ(restarted->Controls()->WordEdit->text(), Q("боа - ад - сон - пшик"));
    restarted.reset();

    // In the running program, encoding the number again restores it as well.
    Encode(*form, "8927056");
    Encode(*form, "527-0563");
    EXPECT_EQ(form->GetSelectedVariant(), "5-2-70-563");
    EXPECT_THAT(FocusedWords(*form), ElementsAre("боа", "ад", "сон", "пшик"));
    EXPECT_EQ(form->Controls()->WordEdit->text(), Q("боа - ад - сон - пшик"));
}

TEST_F(Wiring, ANotebookThatCannotBeWrittenIsReportedAtOnce) {
    Start();
    TModalDialogDriver<nb::ui::TAddToNotebookForm> driver([](nb::ui::TAddToNotebookForm& f) {
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
    });
    TBoxRecorder boxes;
    nb::SetWriteFailureForTesting("notebook");
    form->Controls()->RememberButton->click();
    nb::SetWriteFailureForTesting("");
    ASSERT_TRUE(driver.Shown());
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Title, Q("Ошибка"));
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("notebook.txt"));
    EXPECT_EQ(form->UserLists().NotebookEntries.Count(), 1u) << "kept in memory for the shut-down";
}

// ---- code table window ------------------------------------------------------------------------

TEST_F(Wiring, TheCodeTableOpensAtTheFocusedColumnsCode) {
    Start();
    TWordTree* column = FocusColumn(*form, 2);
    QMenu* menu = form->WordPopupMenu();
    emit column->customContextMenuRequested(
        column->visualRect(column->model()->index(1, 0)).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
    QAction* item = menu->actions().at(2);
    EXPECT_EQ(item, form->Controls()->TableCodeAction);
    menu->hide();
    std::string shown;
    TModalDialogDriver<nb::ui::TTableCodeForm> driver([&](nb::ui::TTableCodeForm& f) {
        shown = f.SelectedCode();
        f.reject();
    });
    item->trigger();
    ASSERT_TRUE(driver.Shown());
    EXPECT_EQ(shown, "563");

    // Alt, then the arrow keys to the command and Enter: the menu bar holds the focus
    // meanwhile, the column it came from counts.
    FocusColumn(*form, 1);
    TModalDialogDriver<nb::ui::TTableCodeForm> byKeyboard([&](nb::ui::TTableCodeForm& f) {
        shown = f.SelectedCode();
        f.reject();
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Alt);
    ASSERT_EQ(QApplication::focusWidget(), form->Controls()->MainMenu);
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Return})
        QTest::keyClick(form->Controls()->MainMenu, key);
    ASSERT_TRUE(QTest::qWaitFor([&] { return byKeyboard.Shown(); }, 2000));
    EXPECT_EQ(shown, "70");

    // From the menu bar with the keyboard focus outside the words: the first code.
    form->Controls()->NumEdit->setFocus();
    TModalDialogDriver<nb::ui::TTableCodeForm> second([&](nb::ui::TTableCodeForm& f) {
        shown = f.SelectedCode();
        f.reject();
    });
    form->Controls()->TableCodeAction->trigger();
    ASSERT_TRUE(second.Shown());
    EXPECT_EQ(shown, "0");
}

TEST_F(Wiring, ClosingTheCodeTableInAnyWayEncodesAgain) {
    Start();
    const std::vector<std::function<void(nb::ui::TTableCodeForm&)>> closers = {
        [](nb::ui::TTableCodeForm& f) {
            QTest::mouseClick(f.Controls()->CloseButton, Qt::LeftButton);
        },
        [](nb::ui::TTableCodeForm& f) { QTest::keyClick(&f, Qt::Key_Escape); },
        [](nb::ui::TTableCodeForm& f) { f.close(); },
    };
    bool checked = true;
    for (size_t way = 0; way < closers.size(); ++way) {
        SCOPED_TRACE(way);
        checked = !checked;
        statuses.clear();
        TModalDialogDriver<nb::ui::TTableCodeForm> driver([&](nb::ui::TTableCodeForm& f) {
            nb::ui::TCodeListModel* codes = f.CodeModel();
            for (int row = 0; row < codes->RowCount(); ++row)
                if (codes->Code(row) == "563")
                    codes->setData(codes->index(row, 0), checked ? Qt::Checked : Qt::Unchecked,
                                   Qt::CheckStateRole);
            closers[way](f);
        });
        form->Controls()->TableCodeAction->trigger();
        ASSERT_TRUE(driver.Shown());
        EXPECT_EQ(form->UserLists().IgnoredCodeList.Contains("563"), !checked);
        EXPECT_EQ(VariantRows(*form), checked ? kDisplayOrder : kWithout563);
        EXPECT_EQ(statuses.mid(statuses.size() - 2),
                  QStringList({Q(nb::res::kBuildingVariants), Q(nb::res::kIdlePrompt)}));
    }
}

TEST_F(Wiring, ListChangesInTheCodeTableAreOnDiskAtOnceOrReported) {
    Start();
    Encode(*form, "89");
    form->Controls()->NumEdit->setFocus();
    TBoxRecorder boxes;
    TModalDialogDriver<nb::ui::TTableCodeForm> driver([](nb::ui::TTableCodeForm& f) {
        nb::ui::TCodeListModel* codes = f.CodeModel();
        for (int row = 0; row < codes->RowCount(); ++row) {
            if (codes->Code(row) == "52")
                f.Controls()->CodeVirtualDrawTree->setCurrentIndex(codes->index(row, 0));
            if (codes->Code(row) == "563")
                codes->setData(codes->index(row, 0), Qt::Unchecked, Qt::CheckStateRole);
        }
        nb::SetWriteFailureForTesting("HidedWord");
        f.UnSelectButtonClick(); // both words of 52
        nb::SetWriteFailureForTesting("");
        f.reject();
    });
    form->Controls()->TableCodeAction->trigger();
    ASSERT_TRUE(driver.Shown());
    EXPECT_EQ(dir.Read("Data/IgnoredCode.lst"), "563\r\n");
    ASSERT_EQ(boxes.Boxes.size(), 1u) << "one write for the button, not one per word";
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("Data/HidedWord.lst"));
    EXPECT_FALSE(dir.Exists("Data/HidedWord.lst"));
    EXPECT_TRUE(form->UserLists().HidedWordList.Contains(W("пуд"))) << "kept for the shut-down";
    form.reset();
    EXPECT_EQ(dir.Read("Data/HidedWord.lst"), W("бот\r\nпуд\r\n"));
}

// ---- code test --------------------------------------------------------------------------------

TEST_F(Wiring, TheHintStripIsEmptyWhileTheTestRunsAndComesBack) {
    Start();
    const QString hint = form->Controls()->CodeHelpPanel->text();
    ASSERT_THAT(hint.toStdString(), HasSubstr("5 - пб"));
    TModalDialogDriver<nb::ui::TTestForm> driver([&](nb::ui::TTestForm& f) {
        EXPECT_TRUE(form->Controls()->CodeHelpPanel->text().isEmpty());
        EXPECT_THAT(f.HintText().toStdString(), HasSubstr("5 - пб"));
        EXPECT_THAT(f.HintText().toStdString(), Not(HasSubstr("     "))) << "five blanks made two";
        EXPECT_FALSE(f.ExpectedCode().empty());
        QTest::mouseClick(f.Controls()->CloseButton, Qt::LeftButton);
    });
    form->Controls()->TestCodeAction->trigger();
    ASSERT_TRUE(driver.Shown());
    EXPECT_EQ(form->Controls()->CodeHelpPanel->text(), hint);
}

TEST_F(Wiring, WithNothingToAskTheHintStripComesBackToo) {
    dir.Write("Data/IgnoredCode.lst", "0\r\n2\r\n3\r\n5\r\n7\r\n52\r\n56\r\n70\r\n89\r\n563\r\n");
    TBoxRecorder boxes;
    Start();
    ASSERT_EQ(boxes.Boxes.size(), 1u) << "no variant at start";
    const QString hint = form->Controls()->CodeHelpPanel->text();
    ASSERT_FALSE(hint.isEmpty());
    QString duringBox;
    nb::ui::TMessageBox::SetAnswererForTesting([&](const nb::ui::TMessage& m) {
        boxes.Boxes.push_back(m);
        duringBox = form->Controls()->CodeHelpPanel->text();
        return QMessageBox::Ok;
    });
    TModalDialogDriver<nb::ui::TTestForm> driver([](nb::ui::TTestForm& f) { f.reject(); });
    form->Controls()->TestCodeAction->trigger();
    QTest::qWait(30);
    EXPECT_FALSE(driver.Shown()) << "nothing to ask: no dialog";
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[1].Title, Q("Тестирование запоминания кода"));
    EXPECT_TRUE(duringBox.isEmpty());
    EXPECT_EQ(form->Controls()->CodeHelpPanel->text(), hint);
}

// ---- dictionary editor ------------------------------------------------------------------------

TEST_F(Wiring, DictionaryEditorOkWritesTheTextAndRebuilds) {
    Start();
    TModalDialogDriver<nb::ui::TDicEditForm> driver([](nb::ui::TDicEditForm& f) {
        QPlainTextEdit* memo = f.Controls()->Memo;
        EXPECT_EQ(memo->toPlainText(),
                  Q("боа\nад\nоса\nум\nпол\nухо\nбот\nпуд\nсон\nпешка\nпшик\nвор\nау\n"));
        memo->moveCursor(QTextCursor::End);
        memo->insertPlainText(Q("сам\nБоа\n"));
        // "бот" goes, so every entry after it moves down by one in the dictionary.
        memo->setPlainText(memo->toPlainText().replace(Q("бот\n"), QString()));
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
    });
    form->Controls()->DicEditAction->trigger();
    ASSERT_TRUE(driver.Shown());
    EXPECT_EQ(dir.Read("Data/dic.lst"), W("боа\r\nад\r\nоса\r\nум\r\nпол\r\nухо\r\nпуд\r\nсон\r\n"
                                          "пешка\r\nпшик\r\nвор\r\nау\r\nсам\r\nБоа\r\n"))
        << "exactly the text: unsorted, with the duplicate";
    EXPECT_EQ(form->DicList().Count(), 13u) << "sorted, each entry once";
    EXPECT_TRUE(Rebuilt());
    EXPECT_EQ(statuses.last(), Q(nb::res::kIdlePrompt));
    EXPECT_EQ(VariantRows(*form), kDisplayOrder);
    EXPECT_THAT(VisibleWords(*form, 0), ElementsAre("пуд"));
    EXPECT_THAT(VisibleWords(*form, 1), ElementsAre("сам", "сон"));
    EXPECT_THAT(VisibleWords(*form, 2), ElementsAre("пешка", "пшик"));
    EXPECT_EQ(form->Controls()->WordEdit->text(), Q("пуд - сам - пешка"));
}

TEST_F(Wiring, DictionaryEditorCancelLeavesTheFileAndTheWords) {
    const std::string before = dir.Read("Data/dic.lst");
    Start();
    const auto columns = form->Controls()->WordsPanel->WordTrees();
    TModalDialogDriver<nb::ui::TDicEditForm> driver([](nb::ui::TDicEditForm& f) {
        f.Controls()->Memo->setPlainText(Q("сам\n"));
        QTest::mouseClick(f.Controls()->CancelButton, Qt::LeftButton);
    });
    form->Controls()->DicEditAction->trigger();
    ASSERT_TRUE(driver.Shown());
    EXPECT_EQ(dir.Read("Data/dic.lst"), before);
    EXPECT_TRUE(statuses.isEmpty());
    EXPECT_EQ(form->Controls()->WordsPanel->WordTrees(), columns);
    EXPECT_THAT(VisibleWords(*form, 0), ElementsAre("бот", "пуд"));
}

TEST_F(Wiring, AWordMovedUpInTheEditorComesFirstWithFamiliarFirst) {
    Start();
    TModalDialogDriver<nb::ui::TDicEditForm> editor([](nb::ui::TDicEditForm& f) {
        QPlainTextEdit* memo = f.Controls()->Memo;
        memo->setPlainText(memo->toPlainText().replace(Q("бот\nпуд\n"), Q("пуд\nбот\n")));
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
    });
    form->Controls()->DicEditAction->trigger();
    ASSERT_TRUE(editor.Shown());
    EXPECT_FALSE(Rebuilt()) << "the same lines: the cache stays valid";
    EXPECT_THAT(VisibleWords(*form, 0), ElementsAre("бот", "пуд")) << "off: dictionary order";

    statuses.clear();
    TModalDialogDriver<nb::ui::TSettingsForm> settings([](nb::ui::TSettingsForm& f) {
        f.Controls()->FamiliarFirstCheckBox->setChecked(true);
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
    });
    form->Controls()->SettingsAction->trigger();
    ASSERT_TRUE(settings.Shown());
    EXPECT_FALSE(Loaded()) << "the columns are only drawn again";
    EXPECT_THAT(VisibleWords(*form, 0), ElementsAre("пуд", "бот"));
}

TEST_F(Wiring, ADictionaryThatCannotBeWrittenLeavesTheFormerOneWorking) {
    Start();
    const std::string path = dir / "Data/dic.lst";
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const size_t groups = form->CodeDictionary().GroupCodeList().Count();
    TBoxRecorder boxes;
    TModalDialogDriver<nb::ui::TDicEditForm> driver([](nb::ui::TDicEditForm& f) {
        f.Controls()->Memo->setPlainText(Q("сам\nгном\n"));
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
    });
    form->Controls()->DicEditAction->trigger();
    ::chmod(path.c_str(), 0644);
    ASSERT_TRUE(driver.Shown());
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Title, Q("Ошибка"));
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("Data/dic.lst"));
    EXPECT_EQ(dir.Read("Data/dic.lst"), W(kDictionary));
    EXPECT_FALSE(Rebuilt());
    EXPECT_EQ(form->DicList().Count(), 13u);
    EXPECT_EQ(form->CodeDictionary().GroupCodeList().Count(), groups);
    for (const TWordTree* column : form->Controls()->WordsPanel->WordTrees())
        EXPECT_EQ(column->model()->rowCount(), 0) << "emptied until the next encode";

    Encode(*form, "5270563");
    EXPECT_EQ(VariantRows(*form), kDisplayOrder);
    EXPECT_THAT(VisibleWords(*form, 0), ElementsAre("бот", "пуд"));
    EXPECT_THAT(FocusedWords(*form), ElementsAre("бот", "сон", "пешка"));
}

TEST_F(Wiring, ADictionaryWithoutAVariantLeavesNothingToRemember) {
    const std::string entry = W("5270563=52-70-563,пуд,сон,пшик\r\n");
    dir.Write("notebook.txt", entry);
    Start();
    TBoxRecorder boxes;
    TModalDialogDriver<nb::ui::TDicEditForm> editor([](nb::ui::TDicEditForm& f) {
        f.Controls()->Memo->setPlainText(Q("ау\n"));
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
    });
    form->Controls()->DicEditAction->trigger();
    ASSERT_TRUE(editor.Shown());
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("5270563"));
    EXPECT_TRUE(VariantRows(*form).empty()) << "the list goes with the words";
    EXPECT_EQ(form->Controls()->WordEdit->text(), QString());

    TModalDialogDriver<nb::ui::TAddToNotebookForm> remember([](nb::ui::TAddToNotebookForm& f) {
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
    });
    form->Controls()->RememberButton->click();
    EXPECT_FALSE(remember.Shown());
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[1].Text, Q(nb::res::kNothingToRemember));
    EXPECT_EQ(dir.Read("notebook.txt"), entry);
}

// ---- picture pane -----------------------------------------------------------------------------

TEST_F(Wiring, WithPicturesOffThePaneIsHiddenAndNothingIsArmed) {
    Start();
    EXPECT_TRUE(form->Controls()->BrowserPanel->isHidden());
    TWordTree* column = FocusColumn(*form, 0);
    QTest::keyClick(column, Qt::Key_Down);
    EXPECT_EQ(U(form->CurrentWord()), "пуд");
    EXPECT_FALSE(form->PicturePane()->ShowPicTimer().isActive());
    EXPECT_TRUE(form->PicturePane()->PictureUrl().isEmpty());
    form->Controls()->TabSet->setCurrentIndex(1);
    EXPECT_FALSE(form->PicturePane()->ShowPicTimer().isActive());
    EXPECT_EQ(form->Controls()->WordWebBrowser->ReadyState(), nb::ui::TWebBrowser::kUninitialized)
        << "the browser was never asked for a page";
}

TEST_F(Wiring, PicturesSwitchedOnInTheSettingsFollowTheFocusedWord) {
    dir.Write("Help/pic.htm", "<html><body>pic</body></html>");
    dir.Write("Help/loading.htm", "<html><body>loading</body></html>");
    Start();
    auto showPictures = [&](bool on) {
        TModalDialogDriver<nb::ui::TSettingsForm> driver([on](nb::ui::TSettingsForm& f) {
            f.Controls()->ShowPicCheckBox->setChecked(on);
            QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
        });
        form->Controls()->SettingsAction->trigger();
        EXPECT_TRUE(driver.Shown());
    };
    nb::ui::TPicturePane* pane = form->PicturePane();
    pane->SetDelay(60000); // armed, but never served while the test looks
    showPictures(true);
    EXPECT_FALSE(form->Controls()->BrowserPanel->isHidden());
    EXPECT_EQ(form->Controls()->WordWebBrowser->CurrentUrl(),
              QUrl::fromLocalFile(QString::fromStdString(dir / "Help/pic.htm")));
    // The columns got their words after the page: the last column's word is searched.
    EXPECT_TRUE(pane->ShowPicTimer().isActive());
    EXPECT_THAT(pane->PictureUrl().toStdString(), EndsWith("text=%EF%E5%F8%EA%E0")) << "пешка";

    TWordTree* column = FocusColumn(*form, 0);
    QTest::keyClick(column, Qt::Key_Down);
    EXPECT_THAT(pane->PictureUrl().toStdString(), EndsWith("text=%EF%F3%E4")) << "пуд";
    form->Controls()->TabSet->setCurrentIndex(1);
    EXPECT_THAT(pane->PictureUrl().toStdString(), HasSubstr("q=%D0%BF%D1%83%D0%B4"))
        << "пуд in UTF-8";

    ASSERT_TRUE(pane->ShowPicTimer().isActive());
    showPictures(false);
    EXPECT_TRUE(form->Controls()->BrowserPanel->isHidden());
    EXPECT_FALSE(pane->ShowPicTimer().isActive()) << "the pending search is dropped";
    QTest::keyClick(column, Qt::Key_Up);
    EXPECT_FALSE(pane->ShowPicTimer().isActive());
}

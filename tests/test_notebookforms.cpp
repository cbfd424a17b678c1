// The settings dialog, the remember command with its add dialog and the notebook window,
// each driven through its controls while it runs modally, the way the main window opens
// it. Screenshots: set NUMBRELIA_SCREENSHOT_DIR to a folder and the layout test saves
// each window there as a PNG.
#include "UiFixture.h"

#include "ui_AddToNotebookForm.h"
#include "ui_NotebookForm.h"
#include "ui_SettingsForm.h"

#include "code/CodeTableUnit.h"
#include "core/IniFileUnit.h"
#include "core/SettingsFormUnit.h"
#include "dictionary/WordListUnit.h"
#include "notebook/AddToNotebookFormUnit.h"
#include "notebook/NotebookFormUnit.h"
#include "notebook/NotebookStoreUnit.h"
#include "core/SessionUnit.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

using namespace nb;
using namespace nb::ui;
using nbtest::TBoxRecorder;
using nbtest::TempDir;
using nbtest::W;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

template <class T> using TDialogDriver = nbtest::TModalDialogDriver<T>;

std::vector<std::string> Lines(const TStringList& list) { return list.Strings(); }

TCodeRecArr FixtureTables(const TempDir& dir) {
    nbtest::WriteFixture(dir, false);
    return LoadCodeTables(dir / "Data/Codes.ini");
}

void ExpectSame(const TProgSettings& a, const TProgSettings& b) {
    EXPECT_EQ(a.CodeCode, b.CodeCode);
    EXPECT_EQ(a.LetterColor, b.LetterColor);
    EXPECT_EQ(a.ShowPic, b.ShowPic);
    EXPECT_EQ(a.VariantMakeType, b.VariantMakeType);
    EXPECT_EQ(a.AddNull, b.AddNull);
}

// Changes every control of the settings dialog by the keyboard.
void ChangeEverySetting(TSettingsForm& form) {
    Ui::TSettingsForm* c = form.Controls();
    QTest::keyClick(c->CodeComboBox, Qt::Key_Down);
    QTest::keyClick(c->LetterColorBox, Qt::Key_Down);
    QTest::keyClick(c->VariantsComboBox, Qt::Key_End);
    QTest::keyClick(c->ShowPicCheckBox, Qt::Key_Space);
    QTest::keyClick(c->AddNullCheckBox, Qt::Key_Space);
}

} // namespace

// ---- settings dialog --------------------------------------------------------------------------

class SettingsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        tables = FixtureTables(dir);
        settings.CodeCode = "Classic";
    }
    TempDir dir;
    TCodeRecArr tables;
    TProgSettings settings;
};

TEST_F(SettingsDialog, ShowsTheRecordAndCancelInAnyWayChangesNothing) {
    const std::vector<std::function<void(TSettingsForm&)>> closers = {
        [](TSettingsForm& f) { QTest::mouseClick(f.Controls()->CancelButton, Qt::LeftButton); },
        [](TSettingsForm& f) { QTest::keyClick(&f, Qt::Key_Escape); },
        [](TSettingsForm& f) { f.close(); },
    };
    for (size_t way = 0; way < closers.size(); ++way) {
        SCOPED_TRACE(way);
        const TProgSettings before = settings;
        TDialogDriver<TSettingsForm> driver([&](TSettingsForm& f) {
            Ui::TSettingsForm* c = f.Controls();
            EXPECT_EQ(f.windowTitle(), Q("Настройки"));
            ASSERT_EQ(c->CodeComboBox->count(), 2);
            EXPECT_EQ(c->CodeComboBox->itemText(1), Q("Фонетический"));
            EXPECT_EQ(c->CodeComboBox->currentIndex(), 0);
            EXPECT_EQ(c->LetterColorBox->currentText(), Q("Красный"));
            EXPECT_EQ(c->VariantsComboBox->currentIndex(), 0);
            EXPECT_FALSE(c->ShowPicCheckBox->isChecked());
            EXPECT_FALSE(c->AddNullCheckBox->isChecked());
            ChangeEverySetting(f);
            EXPECT_EQ(c->CodeComboBox->currentIndex(), 1);
            EXPECT_EQ(c->VariantsComboBox->currentIndex(), 2);
            EXPECT_TRUE(c->ShowPicCheckBox->isChecked());
            EXPECT_TRUE(c->AddNullCheckBox->isChecked());
            closers[way](f);
        });
        EXPECT_FALSE(EditSettings(nullptr, tables, settings));
        EXPECT_TRUE(driver.Shown());
        ExpectSame(settings, before);
    }
}

TEST_F(SettingsDialog, OkCopiesEveryValue) {
    TDialogDriver<TSettingsForm> driver([](TSettingsForm& f) {
        ChangeEverySetting(f);
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
    });
    EXPECT_TRUE(EditSettings(nullptr, tables, settings));
    EXPECT_EQ(settings.CodeCode, "Major");
    EXPECT_EQ(settings.LetterColor, 0x00FF00) << "the colour after red in the list";
    EXPECT_TRUE(settings.ShowPic);
    EXPECT_EQ(settings.VariantMakeType, 2);
    EXPECT_TRUE(settings.AddNull);
}

TEST_F(SettingsDialog, TablesAreChosenByPositionNotByName) {
    const TCodeRecArr same = {{"First", W("Одно имя"), {}}, {"Second", W("Одно имя"), {}}, {"Third", "Other", {}}};
    for (int pick = 0; pick < 2; ++pick) {
        settings.CodeCode = "second";
        TDialogDriver<TSettingsForm> driver([pick](TSettingsForm& f) {
            QComboBox* codes = f.Controls()->CodeComboBox;
            EXPECT_EQ(codes->itemText(0), codes->itemText(1));
            EXPECT_EQ(codes->currentIndex(), 1) << "letter case is ignored";
            if (pick == 0) QTest::keyClick(codes, Qt::Key_Up);
            QTest::keyClick(codes, Qt::Key_Return); // Enter is OK
        });
        EXPECT_TRUE(EditSettings(nullptr, same, settings));
        EXPECT_EQ(settings.CodeCode, pick == 0 ? "First" : "Second");
    }
}

TEST_F(SettingsDialog, NoSelectedTableKeepsTheIdentifier) {
    settings.CodeCode = "Gone";
    TDialogDriver<TSettingsForm> driver([](TSettingsForm& f) {
        EXPECT_EQ(f.Controls()->CodeComboBox->currentIndex(), -1);
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
    });
    EXPECT_TRUE(EditSettings(nullptr, tables, settings));
    EXPECT_EQ(settings.CodeCode, "Gone");
}

TEST_F(SettingsDialog, ColourOutsideTheListSurvivesOkUnlessAnotherIsPicked) {
    settings.LetterColor = 0x123456;
    TDialogDriver<TSettingsForm> keep([](TSettingsForm& f) {
        EXPECT_EQ(f.Controls()->LetterColorBox->currentIndex(), TColorBox::kCustomItem);
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
    });
    EXPECT_TRUE(EditSettings(nullptr, tables, settings));
    EXPECT_EQ(settings.LetterColor, 0x123456);

    TDialogDriver<TSettingsForm> pick([](TSettingsForm& f) {
        QTest::keyClick(f.Controls()->LetterColorBox, Qt::Key_Down);
        EXPECT_EQ(f.Controls()->LetterColorBox->currentText(), Q("Чёрный"));
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
    });
    EXPECT_TRUE(EditSettings(nullptr, tables, settings));
    EXPECT_EQ(settings.LetterColor, 0);
}

TEST(ColorBox, ListsDesktopColoursAndAsksForOthers) {
    TColorBox box;
    // Desktop colours are stored negative; "window text" is index 8.
    const int32_t windowText = static_cast<int32_t>(0xFF000008u);
    box.SetColorValue(windowText);
    EXPECT_EQ(box.currentText(), Q("Текст окна"));
    EXPECT_EQ(box.ColorValue(), windowText);
    EXPECT_EQ(box.FindColorValue(static_cast<int32_t>(0xFF000019u)), -1) << "index 25 is unused";

    std::vector<QColor> asked;
    std::optional<QColor> answer = QColor(1, 2, 3);
    TColorBox::SetChooserForTesting([&](QWidget*, const QColor& initial) {
        asked.push_back(initial);
        return answer;
    });
    box.SetColorValue(255);
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Home); // the custom item, first in the list
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QColor(255, 0, 0)) << "the dialog starts from the current colour";
    EXPECT_EQ(box.currentIndex(), TColorBox::kCustomItem);
    EXPECT_EQ(box.ColorValue(), 0x030201);

    // Cancelled: the previous choice comes back.
    answer.reset();
    QTest::keyClick(&box, Qt::Key_End);
    QTest::keyClick(&box, Qt::Key_Home);
    EXPECT_EQ(box.ColorValue(), static_cast<int32_t>(0xFF00001Eu));
    // A colour the list names is shown by its name.
    answer = QColor(0, 0, 255);
    QTest::keyClick(&box, Qt::Key_Home);
    EXPECT_EQ(box.currentText(), Q("Синий"));
    EXPECT_EQ(box.ColorValue(), 0xFF0000);
    TColorBox::SetChooserForTesting({});
}

// ---- remember command -------------------------------------------------------------------------

// The remember command on two lists, as the session stores it: the dialog, then the entry.
bool Remember(QWidget* owner, const std::string& variant, const std::vector<std::string>& words,
              TStringList& entries, TStringList& notes) {
    const std::optional<std::string> note =
        AskRememberNote(owner, variant, words, notes.Value(NotebookKey(variant)));
    if (note) RememberEntry(entries, notes, variant, words, *note);
    return note.has_value();
}

class RememberCommand : public ::testing::Test {
protected:
    TStringList entries, notes;
};

TEST_F(RememberCommand, StoresNoteAndEntryAndReplacesThemInPlace) {
    entries.Assign({"5=5,X"});
    notes.Assign({"5=first"});
    TDialogDriver<TAddToNotebookForm> first([](TAddToNotebookForm& f) {
        Ui::TAddToNotebookForm* c = f.Controls();
        EXPECT_EQ(f.windowTitle(), Q("Добавление в записную книжку"));
        EXPECT_EQ(c->NumEdit->text(), Q("12-34"));
        EXPECT_EQ(c->WordEdit->text(), Q("W1 - W2"));
        EXPECT_TRUE(c->NumEdit->isReadOnly());
        EXPECT_TRUE(c->WordEdit->isReadOnly());
        EXPECT_EQ(c->NumEdit->palette().color(QPalette::Base), f.palette().color(QPalette::Button));
        EXPECT_EQ(f.focusWidget(), c->NotesEdit);
        EXPECT_TRUE(c->NotesEdit->text().isEmpty());
        QTest::keyClicks(c->NotesEdit, QStringLiteral("N1"));
        QTest::keyClick(c->NotesEdit, Qt::Key_Return);
    });
    ASSERT_TRUE(Remember(nullptr, "12-34", {"W1", "W2"}, entries, notes));
    EXPECT_THAT(Lines(entries), ElementsAre("5=5,X", "1234=12-34,W1,W2"));
    EXPECT_THAT(Lines(notes), ElementsAre("5=first", "1234=N1"));

    entries.Add("77=7-7,A");
    TDialogDriver<TAddToNotebookForm> second([](TAddToNotebookForm& f) {
        Ui::TAddToNotebookForm* c = f.Controls();
        EXPECT_EQ(c->NotesEdit->text(), Q("N1"));
        EXPECT_EQ(c->NotesEdit->selectedText(), Q("N1"));
        EXPECT_EQ(c->WordEdit->text(), Q("слово"));
        QTest::keyClick(c->NotesEdit, Qt::Key_End);
        QTest::keyClicks(c->NotesEdit, QStringLiteral("+"));
        QTest::mouseClick(c->OKButton, Qt::LeftButton);
    });
    ASSERT_TRUE(Remember(nullptr, "1-234", {W("слово")}, entries, notes));
    EXPECT_THAT(Lines(entries), ElementsAre("5=5,X", "1234=1-234," + W("слово"), "77=7-7,A"));
    EXPECT_THAT(Lines(notes), ElementsAre("5=first", "1234=N1+"));
}

TEST_F(RememberCommand, ClearingTheNoteDeletesItsLineAndKeepsTheEntry) {
    entries.Assign({"1234=12-34,W1"});
    notes.Assign({"1234=" + W("заметка"), "5=x"});
    TDialogDriver<TAddToNotebookForm> driver([](TAddToNotebookForm& f) {
        QLineEdit* note = f.Controls()->NotesEdit;
        EXPECT_EQ(note->text(), Q("заметка"));
        note->selectAll();
        QTest::keyClick(note, Qt::Key_Delete);
        QTest::keyClick(note, Qt::Key_Return);
    });
    ASSERT_TRUE(Remember(nullptr, "12-34", {"W1", "W2"}, entries, notes));
    EXPECT_THAT(Lines(entries), ElementsAre("1234=12-34,W1,W2"));
    EXPECT_THAT(Lines(notes), ElementsAre("5=x"));
}

TEST_F(RememberCommand, WordsWithBlanksCommasAndQuotesRoundTrip) {
    const std::vector<std::string> words = {W("ночь темна"), "a,b", "say \"hi\"", W("ёж")};
    TDialogDriver<TAddToNotebookForm> driver([](TAddToNotebookForm& f) {
        EXPECT_EQ(f.Controls()->WordEdit->text(), Q("ночь темна - a,b - say \"hi\" - ёж"));
        QTest::keyClicks(f.Controls()->NotesEdit, QStringLiteral("a=b, \"c\""));
        QTest::keyClick(f.Controls()->NotesEdit, Qt::Key_Return);
    });
    ASSERT_TRUE(Remember(nullptr, "1-2-3-4", words, entries, notes));
    EXPECT_EQ(entries[0], "1234=1-2-3-4,\"" + W("ночь темна") + "\",\"a,b\",\"say \"\"hi\"\"\"," + W("ёж"));
    EXPECT_THAT(NotebookItems(entries, "1234"), ElementsAre("1-2-3-4", words[0], words[1], words[2], words[3]));
    EXPECT_EQ(notes.Value("1234"), "a=b, \"c\"") << "a note is stored as typed";
}

TEST_F(RememberCommand, NothingIsStoredWithoutVariantOrWithoutOk) {
    {
        TDialogDriver<TAddToNotebookForm> driver([](TAddToNotebookForm& f) { f.reject(); });
        EXPECT_FALSE(Remember(nullptr, "", {"W1"}, entries, notes));
        QTest::qWait(30);
        EXPECT_FALSE(driver.Shown()) << "no variant: no dialog";
    }
    const std::vector<std::function<void(TAddToNotebookForm&)>> closers = {
        [](TAddToNotebookForm& f) { QTest::mouseClick(f.Controls()->CancelButton, Qt::LeftButton); },
        [](TAddToNotebookForm& f) { QTest::keyClick(f.Controls()->NotesEdit, Qt::Key_Escape); },
        [](TAddToNotebookForm& f) { f.close(); },
    };
    for (const auto& close : closers) {
        TDialogDriver<TAddToNotebookForm> driver([&](TAddToNotebookForm& f) {
            QTest::keyClicks(f.Controls()->NotesEdit, QStringLiteral("typed"));
            close(f);
        });
        EXPECT_FALSE(Remember(nullptr, "12-34", {"W1"}, entries, notes));
        EXPECT_TRUE(driver.Shown());
    }
    EXPECT_TRUE(entries.Empty());
    EXPECT_TRUE(notes.Empty());
}

TEST_F(RememberCommand, NoteThatTheFileCannotHoldKeepsTheDialogOpen) {
    TBoxRecorder boxes;
    TDialogDriver<TAddToNotebookForm> driver([&](TAddToNotebookForm& f) {
        QLineEdit* note = f.Controls()->NotesEdit;
        note->insert(Q("Заметка № 5 — 中"));
        QTest::keyClick(note, Qt::Key_Return);
        EXPECT_TRUE(f.isVisible());
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_EQ(boxes.Boxes[0].Icon, QMessageBox::Warning);
        EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("«中»"));
        EXPECT_EQ(note->text(), Q("Заметка № 5 — 中")) << "what the user typed stays";

        note->setText(Q("Первая\nвторая"));
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
        EXPECT_TRUE(f.isVisible()) << "a note is one line of the file";
        EXPECT_EQ(boxes.Boxes.size(), 2u);

        note->setText(Q("Заметка № 5 — «ок»"));
        QTest::mouseClick(f.Controls()->OKButton, Qt::LeftButton);
    });
    ASSERT_TRUE(Remember(nullptr, "5", {W("боа")}, entries, notes));
    EXPECT_EQ(notes.Value("5"), W("Заметка № 5 — «ок»"));
    EXPECT_EQ(entries.Value("5"), "5," + W("боа"));
}

// ---- notebook window --------------------------------------------------------------------------

class NotebookWindow : public ::testing::Test {
protected:
    void SetUp() override {
        entries.Assign({"1234=12-34,W1,W2", "5=5", "", "no key here", "77=7-7,\"a b\",\"c,d\"",
                        "99=" + W("9-9,ночь,ум")});
        notes.Assign({"77=" + W("note - (x) - (y)"), "5=only key", "99=" + W("заметка")});
    }
    void TearDown() override { TNotebookForm::SetSaveDialogForTesting({}); }

    // Code, words and note of the rows as the list shows them, top to bottom.
    std::vector<std::vector<QString>> Shown(const TNotebookForm& form) {
        std::vector<std::vector<QString>> rows;
        const QAbstractItemModel* view = form.View();
        for (int r = 0; r < view->rowCount(); ++r) {
            rows.emplace_back();
            for (int c = 0; c <= TNotebookModel::NoteColumn; ++c) rows.back().push_back(view->index(r, c).data().toString());
        }
        return rows;
    }
    std::vector<QString> ShownCodes(const TNotebookForm& form) {
        std::vector<QString> codes;
        for (const auto& row : Shown(form)) codes.push_back(row[0]);
        return codes;
    }

    TempDir dir;
    TStringList entries, notes;
};

TEST_F(NotebookWindow, ListsOnlyEntriesWithWordsInNotebookOrder) {
    TNotebookForm form;
    QAbstractItemModelTester tester(form.Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    form.SetLists(entries, notes);
    form.BuildRows();
    using Row = std::vector<QString>;
    EXPECT_THAT(Shown(form), ElementsAre(Row{Q("12-34"), Q("W1 - W2"), Q("")},
                                         Row{Q("7-7"), Q("a b - c,d"), Q("note - (x) - (y)")},
                                         Row{Q("9-9"), Q("ночь - ум"), Q("заметка")}));
    EXPECT_EQ(form.Model()->headerData(2, Qt::Horizontal).toString(), Q("Примечание"));
    EXPECT_EQ(form.Model()->headerData(3, Qt::Horizontal).toString(), Q("Следующее повторение"));
    EXPECT_EQ(form.View()->index(0, TNotebookModel::ReviewColumn).data().toString(), Q("")) << "no deck given";
    EXPECT_FALSE(form.Model()->flags(form.Model()->index(0, 2)) & Qt::ItemIsEditable) << "no writer given";
}

// The open cell editor of a list; without a window manager the focus may not follow it.
QLineEdit* CellEditor(QTreeView* tree) {
    QTest::qWait(10);
    for (QLineEdit* e : tree->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible()) return e; // a closed editor lingers hidden until deleted
    return nullptr;
}

// In a real X server (see notebook_ui.cmake) as well as off screen: the header clicked
// with the mouse, the search box typed into, the note edited in its cell.
TEST_F(NotebookWindow, HeaderClicksSortTheSearchFiltersAndANoteIsEditedInPlace) {
    nbtest::WriteFixture(dir);
    entries.SaveToFile(dir / "notebook.txt");
    notes.SaveToFile(dir / "notebook_add.txt");
    const std::string entriesBefore = dir.Read("notebook.txt");
    const std::unique_ptr<TSession> session = nbtest::OpenSession(dir.Path());
    const TUserLists& lists = session->UserLists();
    TNotebookForm form;
    form.SetLists(lists.NotebookEntries, lists.NotebookNotes);
    form.SetNoteWriter([&](const std::string& key, const std::string& note) { return session->SetNotebookNote(key, note); });
    form.BuildRows();
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTreeView* tree = form.Controls()->VirtualDrawTree;
    QHeaderView* header = tree->header();
    auto click = [&](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 8, header->height() / 2));
    };
    using Codes = std::vector<QString>;
    // Russian collation: Cyrillic before Latin.
    click(TNotebookModel::WordsColumn);
    EXPECT_EQ(ShownCodes(form), (Codes{Q("9-9"), Q("7-7"), Q("12-34")}));
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    click(TNotebookModel::WordsColumn);
    EXPECT_EQ(ShownCodes(form), (Codes{Q("12-34"), Q("7-7"), Q("9-9")}));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    click(TNotebookModel::WordsColumn);
    EXPECT_EQ(ShownCodes(form), (Codes{Q("12-34"), Q("7-7"), Q("9-9")})) << "the notebook order again";
    EXPECT_EQ(header->sortIndicatorSection(), -1);
    click(TNotebookModel::CodeColumn);
    EXPECT_EQ(ShownCodes(form), (Codes{Q("7-7"), Q("9-9"), Q("12-34")})) << "as numbers";

    QLineEdit* search = form.Controls()->FilterEdit;
    nbtest::TypeText(search, Q("НОЧ"));
    EXPECT_EQ(ShownCodes(form), (Codes{Q("9-9")}));
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_TRUE(form.isVisible()) << "Enter in the search box goes to the list";
    search->clear();
    QTest::keyClicks(search, Q("2-3"));
    EXPECT_EQ(ShownCodes(form), (Codes{Q("12-34")})) << "digits across the dash";
    search->clear();
    EXPECT_EQ(ShownCodes(form), (Codes{Q("7-7"), Q("9-9"), Q("12-34")})) << "all again, still sorted";

    // F2 on the focused row edits its note; Enter stores it at once and keeps the window.
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Home);
    QTest::keyClick(tree, Qt::Key_F2);
    QLineEdit* editor = CellEditor(tree);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->text(), Q("note - (x) - (y)"));
    editor->selectAll();
    nbtest::TypeText(editor, Q("у лифта"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(20);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(Shown(form)[0][2], Q("у лифта"));
    EXPECT_EQ(dir.Read("notebook_add.txt"), W("77=у лифта\r\n5=only key\r\n99=заметка\r\n"));

    // A double click on another row's note; a character the file cannot hold is refused and
    // comes back in the editor; Esc leaves the note as it was.
    nbtest::TBoxRecorder boxes;
    const QRect cell = tree->visualRect(form.View()->index(2, TNotebookModel::NoteColumn));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, cell.center());
    editor = CellEditor(tree);
    ASSERT_TRUE(editor);
    nbtest::TypeText(editor, Q("中"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(20);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Icon, QMessageBox::Warning);
    editor = CellEditor(tree);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->text(), Q("中"));
    QTest::keyClick(editor, Qt::Key_Escape);
    QTest::qWait(20);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(Shown(form)[2][2], Q(""));

    // A refused write says so; the former note stays shown and stored.
    std::filesystem::remove(dir / "notebook_add.txt");
    std::filesystem::create_directory(dir / "notebook_add.txt");
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_F2);
    editor = CellEditor(tree);
    ASSERT_TRUE(editor);
    nbtest::TypeText(editor, Q("потеряется?"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(20);
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[1].Icon, QMessageBox::Critical);
    EXPECT_THAT(boxes.Boxes[1].Text.toStdString(), HasSubstr("не сохранено"));
    EXPECT_THAT(boxes.Boxes[1].Text.toStdString(), HasSubstr("потеряется?")) << "what was typed is kept";
    EXPECT_EQ(Shown(form)[2][2], Q(""));
    EXPECT_EQ(lists.NotebookNotes.Value("1234"), "");
    EXPECT_EQ(dir.Read("notebook.txt"), entriesBefore) << "the entries are never written";
}

TEST_F(NotebookWindow, ExportsOneLinePerRowInWindows1251) {
    TNotebookForm form;
    form.SetLists(entries, notes);
    form.BuildRows();
    form.show();
    // Column order on screen does not change the lines.
    form.Controls()->VirtualDrawTree->header()->moveSection(2, 0);
    const std::string target = dir / "out.txt";
    dir.Write("out.txt", "older and longer content");
    TNotebookForm::SetSaveDialogForTesting([&](QFileDialog& d) {
        EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(d.defaultSuffix(), Q("txt"));
        EXPECT_THAT(d.nameFilters(), ElementsAre(Q("Текстовые файлы (*.txt)"), Q("Текстовые файлы UTF-8 (*.txt)")));
        EXPECT_EQ(d.selectedNameFilter(), Q("Текстовые файлы (*.txt)")) << "Windows-1251 by default";
        EXPECT_FALSE(d.testOption(QFileDialog::DontConfirmOverwrite));
        return QString::fromStdString(target);
    });
    QTest::mouseClick(form.Controls()->ExportButton, Qt::LeftButton);
    EXPECT_EQ(dir.Read("out.txt"), W("12-34 - W1 - W2 - ()\r\n"
                                      "7-7 - a b - c,d - (note - (x) - (y))\r\n"
                                      "9-9 - ночь - ум - (заметка)\r\n"));
    EXPECT_TRUE(form.isVisible());

    // The second file type: the same lines in UTF-8.
    TNotebookForm::SetSaveDialogForTesting([&](QFileDialog& d) {
        d.selectNameFilter(Q("Текстовые файлы UTF-8 (*.txt)"));
        return QString::fromStdString(target);
    });
    form.ExportButtonClick();
    EXPECT_EQ(dir.Read("out.txt"), "12-34 - W1 - W2 - ()\r\n"
                                   "7-7 - a b - c,d - (note - (x) - (y))\r\n"
                                   "9-9 - ночь - ум - (заметка)\r\n");

    // Cancelled: nothing is written.
    TNotebookForm::SetSaveDialogForTesting([](QFileDialog&) { return QString(); });
    dir.Write("out.txt", "kept");
    QTest::mouseClick(form.Controls()->ExportButton, Qt::LeftButton);
    EXPECT_EQ(dir.Read("out.txt"), "kept");

    // An empty notebook gives an empty file.
    const TStringList none;
    form.SetLists(none, none);
    form.BuildRows();
    TNotebookForm::SetSaveDialogForTesting([&](QFileDialog&) { return QString::fromStdString(target); });
    form.ExportButtonClick();
    EXPECT_EQ(dir.Read("out.txt"), "");
}

TEST_F(NotebookWindow, ExportFailureNamesTheFileAndTheWindowStaysOpen) {
    TNotebookForm form;
    form.SetLists(entries, notes);
    form.BuildRows();
    form.show();
    const std::string target = dir / "missing-folder/out.txt";
    TNotebookForm::SetSaveDialogForTesting([&](QFileDialog&) { return QString::fromStdString(target); });
    TBoxRecorder boxes;
    QTest::mouseClick(form.Controls()->ExportButton, Qt::LeftButton);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Icon, QMessageBox::Critical);
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr(target));
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("No such file"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(NotebookWindow, DeleteAsksThenWritesEntryAndNoteAtOnceAndKeepsThePlace) {
    TUserLists lists;
    lists.NotebookEntries = entries;
    lists.NotebookNotes = notes;
    lists.NotebookLoaded = lists.NotebookNotesLoaded = true;
    const TPaths paths{dir.Path(), {}};
    TNotebookForm form;
    form.SetLists(lists.NotebookEntries, lists.NotebookNotes, [&](const std::string& key) {
        DeleteNotebookEntry(lists.NotebookEntries, lists.NotebookNotes, key);
        return lists.SaveNotebook(paths);
    });
    form.BuildRows();
    form.show();
    QTreeView* tree = form.Controls()->VirtualDrawTree;
    QTest::keyClick(tree, Qt::Key_Down);

    nbtest::TBoxRecorder boxes;
    boxes.Answer = QMessageBox::No;
    QTest::keyClick(tree, Qt::Key_Delete);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(boxes.Boxes[0].Default, QMessageBox::No);
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("\"7-7\" (a b - c,d)"));
    EXPECT_EQ(Shown(form).size(), 3u) << "refused: nothing changes";
    EXPECT_FALSE(std::filesystem::exists(paths.Notebook()));

    boxes.Answer = QMessageBox::Yes;
    QTest::keyClick(tree, Qt::Key_Delete);
    EXPECT_EQ(dir.Read("notebook.txt"), "1234=12-34,W1,W2\r\n5=5\r\n\r\nno key here\r\n" + W("99=9-9,ночь,ум\r\n"));
    EXPECT_EQ(dir.Read("notebook_add.txt"), "5=only key\r\n" + W("99=заметка\r\n"));
    EXPECT_EQ(Shown(form)[1][0], Q("9-9"));
    EXPECT_EQ(tree->currentIndex().row(), 1) << "the next row takes the deleted one's place";

    // The button deletes the last row too; the focus goes to the row before.
    QTest::mouseClick(form.Controls()->DeleteButton, Qt::LeftButton);
    EXPECT_EQ(tree->currentIndex().row(), 0);
    EXPECT_EQ(dir.Read("notebook_add.txt"), "5=only key\r\n");
    EXPECT_EQ(boxes.Boxes.size(), 3u);

    // A refused write says why and the list still shows what is left.
    std::filesystem::remove(paths.Notebook());
    std::filesystem::create_directory(paths.Notebook());
    QTest::keyClick(tree, Qt::Key_Delete);
    ASSERT_EQ(boxes.Boxes.size(), 5u);
    EXPECT_EQ(boxes.Boxes[4].Icon, QMessageBox::Critical);
    EXPECT_THAT(boxes.Boxes[4].Text.toStdString(), HasSubstr("notebook.txt"));
    EXPECT_TRUE(Shown(form).empty());
    EXPECT_FALSE(form.Controls()->DeleteButton->isEnabled());

    TNotebookForm readOnly;
    readOnly.SetLists(entries, notes);
    readOnly.BuildRows();
    EXPECT_FALSE(readOnly.Controls()->DeleteButton->isEnabled()) << "without a way to save, no delete";
}

TEST_F(NotebookWindow, ColumnWidthsGoThroughSettingsOnEveryOpenAndClose) {
    TIniFile ini(dir / "settings.ini");
    auto stored = [&](const char* key) { return ini.ReadInteger(kSettingsSection, key, -1); };

    // No file: the laid-out widths; closing writes them although nothing changed.
    TDialogDriver<TNotebookForm> first([](TNotebookForm& f) {
        EXPECT_EQ(f.windowTitle(), Q("Записная книжка"));
        EXPECT_EQ(f.Model()->rowCount(), 3);
        QTest::keyClick(f.Controls()->VirtualDrawTree, Qt::Key_Return);
    });
    ShowNotebook(nullptr, ini, entries, notes);
    EXPECT_TRUE(first.Shown());
    EXPECT_EQ(stored("CodeWidth"), 170);
    EXPECT_EQ(stored("TextWidth"), 250);
    EXPECT_EQ(stored("NoteWidth"), 150);
    EXPECT_GE(stored("ReviewWidth"), 150) << "at least, room for its caption";

    // The user drags the words column wider and moves the note column to the front.
    TDialogDriver<TNotebookForm> second([](TNotebookForm& f) {
        QHeaderView* header = f.Controls()->VirtualDrawTree->header();
        header->moveSection(2, 0);
        header->resizeSection(1, 321);
        QTest::keyClick(&f, Qt::Key_Escape);
    });
    ShowNotebook(nullptr, ini, entries, notes);
    EXPECT_EQ(stored("CodeWidth"), 170);
    EXPECT_EQ(stored("TextWidth"), 321);
    EXPECT_EQ(stored("NoteWidth"), 150);

    ini.WriteInteger(kSettingsSection, "NoteWidth", 97);
    TDialogDriver<TNotebookForm> third([](TNotebookForm& f) {
        EXPECT_EQ(f.ColumnWidth(0), 170);
        EXPECT_EQ(f.ColumnWidth(1), 321);
        EXPECT_EQ(f.ColumnWidth(2), 97);
        EXPECT_EQ(f.Controls()->VirtualDrawTree->header()->logicalIndex(0), 0) << "the order is not kept";
        QTest::mouseClick(f.Controls()->CloseButton, Qt::LeftButton);
    });
    ShowNotebook(nullptr, ini, entries, notes);
    EXPECT_TRUE(third.Shown());
    EXPECT_EQ(stored("NoteWidth"), 97);
}

TEST_F(NotebookWindow, OnlyTheFocusedRowOfTheFocusedListUsesHighlightText) {
    TNotebookForm form;
    form.SetLists(entries, notes);
    form.BuildRows();
    QTreeView* tree = form.Controls()->VirtualDrawTree;
    // Text colours far from every background, so that mostly covered pixels tell them apart.
    QPalette palette = tree->palette();
    palette.setColor(QPalette::HighlightedText, QColor(0, 255, 0));
    palette.setColor(QPalette::WindowText, QColor(255, 0, 255));
    palette.setColor(QPalette::Text, QColor(255, 0, 255));
    tree->setPalette(palette);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    tree->setFocus();
    ASSERT_TRUE(tree->hasFocus());

    const auto highlightText = [](QColor c) { return c.green() > 180 && c.red() < 80 && c.blue() < 80; };
    const auto windowText = [](QColor c) { return c.red() > 180 && c.blue() > 180 && c.green() < 80; };
    auto pixels = [&](int row, const std::function<bool(QColor)>& is) {
        const QImage image = tree->viewport()->grab().toImage();
        const QRect rect = tree->visualRect(form.View()->index(row, 0)).united(
            tree->visualRect(form.View()->index(row, 2)));
        int n = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (is(image.pixelColor(x, y))) ++n;
        return n;
    };
    EXPECT_GT(pixels(0, highlightText), 10);
    EXPECT_EQ(pixels(0, windowText), 0);
    EXPECT_EQ(pixels(1, highlightText), 0);
    EXPECT_GT(pixels(1, windowText), 10);

    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(pixels(0, highlightText), 0);
    EXPECT_GT(pixels(1, highlightText), 10);

    form.Controls()->CloseButton->setFocus();
    ASSERT_FALSE(tree->hasFocus());
    EXPECT_EQ(pixels(1, highlightText), 0);
    EXPECT_GT(pixels(1, windowText), 10);
}

// ---- layout with real data, and the screenshots ---------------------------------------------

namespace {

// Every visible control lies inside its window, and labels, check boxes and buttons are
// wide enough for their text in the desktop's font.
void ExpectLaidOut(QWidget& window, const QSize& laidOut, bool fixed = true) {
    if (fixed) {
        EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed dialog border";
    }
    EXPECT_GE(window.width(), laidOut.width());
    EXPECT_GE(window.height(), laidOut.height());
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (!child->isVisible() || child->isWindow() || child->parentWidget() != &window) continue;
        SCOPED_TRACE(child->objectName().toStdString());
        EXPECT_TRUE(window.rect().contains(child->geometry()));
        if (qobject_cast<QLabel*>(child) || qobject_cast<QAbstractButton*>(child)) {
            EXPECT_GE(child->width(), child->sizeHint().width());
        }
    }
}

void Save(QWidget& window, const char* name) {
    const char* folder = std::getenv("NUMBRELIA_SCREENSHOT_DIR");
    if (!folder || !*folder) return;
    const QString path = QString::fromLocal8Bit(folder) + QLatin1Char('/') + QLatin1String(name);
    EXPECT_TRUE(window.grab().save(path)) << path.toStdString();
}

} // namespace

TEST(WindowsWithRealData, FitTheirControls) {
    const TCodeRecArr tables = LoadCodeTables(std::string(NUMBRELIA_DATA_DIR) + "/Data/Codes.ini");
    ASSERT_GE(tables.size(), 2u);

    TSettingsForm settings;
    settings.Fill(tables, {"Major", static_cast<int32_t>(0xFF00000Du), true, 1, false});
    settings.show();
    EXPECT_EQ(settings.Controls()->LetterColorBox->currentText(), Q("Выделение"));
    ExpectLaidOut(settings, {436, 212});
    Save(settings, "settings-window.png");

    TAddToNotebookForm add;
    add.SetEntry("52-70-563", {W("бот"), W("зима"), W("пешка")}, W("код домофона у Лены"));
    add.show();
    ExpectLaidOut(add, {435, 188});
    Save(add, "add-to-notebook-window.png");

    TStringList entries, notes;
    // Real splits and words of the shipped classic table.
    entries.Assign({"5270563=52-70-563," + W("бот,зима,пешка"), "31415926=31-41-59-26," + W("кожа,очаг,бор,тело"),
                    "9990=99-90," + W("царь,урна"), "2718=27-18," + W("туз,агава"),
                    "96055=9-60-55," + W("рай,луна,папа")});
    notes.Assign({"5270563=" + W("код домофона у Лены"), "31415926=" + W("число пи, первые восемь знаков"),
                  "2718=" + W("число e"), "96055=" + W("ПИН-код карты")});
    TNotebookForm notebook;
    notebook.SetLists(entries, notes, [](const std::string&) { return std::vector<std::string>{}; });
    notebook.BuildRows();
    notebook.show();
    notebook.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&notebook));
    notebook.Controls()->VirtualDrawTree->setFocus();
    ExpectLaidOut(notebook, {610, 498}, false);
    Save(notebook, "notebook-window.png");
}

// The review window in a real X server, driven only by keys sent to the focused widget: a
// day's cards with a wrong and a right typed number, and the due count in the main
// window's command as the notebook and the deck change.
#include "UiFixture.h"

#include "ui_MainForm.h"
#include "ui_NotebookForm.h"
#include "ui_ReviewForm.h"

#include "code/CodeTableUnit.h"
#include "notebook/AddToNotebookFormUnit.h"
#include "notebook/NotebookFormUnit.h"
#include "notebook/ReviewFormUnit.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace nb;
using namespace nb::ui;
using nbtest::TempDir;
using nbtest::W;

namespace {

// In a real X server the window system grants focus some time after the dialog shows (later
// still under the sanitizers): until then the keys go where the dialog put its focus.
QWidget* KeyTarget() {
    if (QWidget* w = QApplication::focusWidget()) return w;
    QWidget* dialog = QApplication::activeModalWidget();
    return dialog && dialog->focusWidget() ? dialog->focusWidget() : dialog;
}
void Key(int key) {
    QTest::keyClick(KeyTarget(), static_cast<Qt::Key>(key));
}
void Type(const char* text) {
    QTest::keyClicks(KeyTarget(), QString::fromUtf8(text));
}

void WriteNotebook(const TempDir& dir) {
    nbtest::WriteFixture(dir);
    dir.Write("notebook.txt", W("5270563=52-70-563,бот,сон,пешка\r\n89=89,вор\r\n"));
    dir.Write("notebook_add.txt", W("5270563=дом у моря\r\n"));
}

} // namespace

TEST(ReviewForm, ADaysCardsByKeyboard) {
    TempDir dir;
    WriteNotebook(dir);
    TStringList entries(TStringList::Kind::Plain), notes(TStringList::Kind::Plain);
    entries.LoadFromFile(dir / "notebook.txt");
    notes.LoadFromFile(dir / "notebook_add.txt");
    TWordPainting painting;
    painting.Coder = TWordCoder(LoadCodeTables(dir / "Data/Codes.ini").front().Letters);
    const int64_t today = DaysFromCivil(2026, 3, 1);
    TReviewForm form(entries, notes, painting, dir / "notebook_review.txt", today, 3);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.activateWindow(); // no window manager does it
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const auto* ui = form.Controls();

    // Number -> phrase: Space shows the words with their key letters and the note.
    ASSERT_EQ(form.Current()->Direction, TReviewDirection::NumberToPhrase);
    EXPECT_EQ(ui->PromptLabel->text(), QStringLiteral("52-70-563"));
    EXPECT_TRUE(ui->AnswerLabel->text().isEmpty());
    Key(Qt::Key_Space);
    EXPECT_TRUE(ui->AnswerLabel->text().contains(
        QStringLiteral("<span style=\"color:#ff0000\">б</span>о")));
    EXPECT_EQ(ui->NoteLabel->text(), QStringLiteral("Примечание: дом у моря"));
    Key(Qt::Key_3);

    // Phrase -> number, typed wrong: "Снова", with the right number shown.
    ASSERT_EQ(form.Current()->Direction, TReviewDirection::PhraseToNumber);
    EXPECT_EQ(QApplication::focusWidget(), ui->AnswerEdit);
    Type("5270");
    Key(Qt::Key_Return);
    EXPECT_TRUE(ui->AnswerLabel->text().contains(QStringLiteral("Неверно")));
    EXPECT_TRUE(ui->AnswerLabel->text().contains(QStringLiteral("52-70-563")));
    EXPECT_TRUE(dir.Exists("notebook_review.txt")) << "written after the grade";
    EXPECT_EQ(ui->ProgressLabel->text(),
              QStringLiteral("Осталось на сегодня: 2. Следующее повторение: 02.03.2026."));
    Key(Qt::Key_Return);

    // The third new card (the limit), then the failed one again, typed right with dashes.
    EXPECT_EQ(form.Current()->Key, "89");
    Key(Qt::Key_Return);
    Key(Qt::Key_4);
    EXPECT_EQ(form.Current()->Key, "5270563");
    Type("52-70-563");
    Key(Qt::Key_Return);
    EXPECT_TRUE(ui->AnswerLabel->text().contains(QStringLiteral("Верно")));
    Key(Qt::Key_Space);
    EXPECT_EQ(form.State(), TReviewForm::TState::Done);
    EXPECT_EQ(ui->PromptLabel->text(), QStringLiteral("На сегодня всё"));
    EXPECT_EQ(ui->ProgressLabel->text(),
              QStringLiteral("На сегодня всё. Следующее повторение: 02.03.2026."));

    const auto saved = LoadReviewCards(dir / "notebook_review.txt");
    ASSERT_EQ(saved.size(), 4u);
    EXPECT_EQ(saved[0].Due, today + 1);
    EXPECT_EQ(saved[1].Due, today + 1) << "right on the second try";
    EXPECT_EQ(saved[2].Ease, 2600) << "easy";
    EXPECT_TRUE(saved[3].IsNew()) << "held back by the limit";
    Key(Qt::Key_Return);
    EXPECT_FALSE(form.isVisible());
}

TEST(ReviewForm, ADeckThatCannotBeReadIsNotWrittenOver) {
    TempDir dir;
    WriteNotebook(dir);
    dir.Write("notebook_review.txt/keep", "x");
    TStringList entries(TStringList::Kind::Plain), notes(TStringList::Kind::Plain);
    entries.LoadFromFile(dir / "notebook.txt");
    TWordPainting painting;
    TReviewForm form(entries, notes, painting, dir / "notebook_review.txt", 0, 20);
    nbtest::TBoxRecorder boxes;
    form.Reveal();
    form.Grade(TReviewGrade::Good);
    form.Check(); // the phrase -> number card, nothing typed
    EXPECT_EQ(form.Current()->Last, 0) << "graded";
    ASSERT_EQ(boxes.Boxes.size(), 1u) << "said once";
    EXPECT_TRUE(boxes.Boxes[0].Text.contains(QStringLiteral("не записываются")));
    EXPECT_EQ(dir.Read("notebook_review.txt/keep"), "x");
}

TEST(ReviewForm, MainWindowCommandCountsDueCards) {
    TempDir dir;
    WriteNotebook(dir);
    dir.Write("notebook.txt", "89=89,\xE2\xEE\xF0\r\n");
    auto form = nbtest::StartForm(dir);
    ASSERT_TRUE(form);
    QAction* action = form->Controls()->ReviewAction;
    EXPECT_EQ(action->text(), QStringLiteral("&Повторение (2)"));

    // Remembering a number adds its two cards.
    nbtest::TModalDialogDriver<TAddToNotebookForm> remember(
        [](TAddToNotebookForm& d) { d.accept(); });
    form->RememberButtonClick();
    ASSERT_TRUE(remember.Shown());
    EXPECT_EQ(action->text(), QStringLiteral("&Повторение (4)"));

    // Deleted in the notebook window: its cards are no longer counted.
    nbtest::TModalDialogDriver<TNotebookForm> notebook([](TNotebookForm& d) {
        QTreeView* tree = d.Controls()->VirtualDrawTree;
        tree->setCurrentIndex(d.Model()->index(d.Model()->rowCount() - 1, 0));
        nbtest::TBoxRecorder yes;
        yes.Answer = QMessageBox::Yes;
        d.Controls()->DeleteButton->click();
        d.reject();
    });
    form->Controls()->NotebookAction->trigger();
    ASSERT_TRUE(notebook.Shown());
    EXPECT_EQ(action->text(), QStringLiteral("&Повторение (2)"));
    nbtest::TModalDialogDriver<TAddToNotebookForm> again([](TAddToNotebookForm& d) { d.accept(); });
    form->RememberButtonClick();
    ASSERT_TRUE(again.Shown());

    // Every card answered right: nothing is left for today.
    nbtest::TModalDialogDriver<TReviewForm> review([](TReviewForm& d) {
        d.activateWindow();
        (void)QTest::qWaitForWindowActive(&d); // KeyTarget copes if it never comes
        for (int i = 0; i < 10 && d.Current(); ++i) {
            const TReviewCard* card = d.Current();
            if (card->Direction == TReviewDirection::NumberToPhrase) {
                Key(Qt::Key_Return);
                Key(Qt::Key_3);
            } else {
                Type(card->Key.c_str());
                Key(Qt::Key_Return);
                Key(Qt::Key_Return);
            }
        }
        Key(Qt::Key_Return);
    });
    action->trigger();
    ASSERT_TRUE(review.Shown());
    EXPECT_EQ(action->text(), QStringLiteral("&Повторение"));
}

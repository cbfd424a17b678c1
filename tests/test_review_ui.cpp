// The review window in a real X server, driven only by keys sent to the focused widget: a
// day's cards with a wrong and a right typed number, the statistics, and the due count in the main
// window's command as the notebook and the deck change.
#include "UiFixture.h"

#include "ui_MainForm.h"
#include "ui_NotebookForm.h"
#include "ui_ReviewForm.h"

#include "code/CodeTableUnit.h"
#include "notebook/AddToNotebookFormUnit.h"
#include "notebook/NotebookFormUnit.h"
#include "notebook/ReviewFormUnit.h"
#include "notebook/ReviewLogUnit.h"
#include "notebook/ReviewStatsFormUnit.h"
#include "ui_ReviewStatsForm.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QStackedBarSeries>

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

TEST(ReviewForm, ADaysCardsByKeyboardAndTheStatistics) {
    TempDir dir;
    WriteNotebook(dir);
    const std::string note = "<b>дом</b><img src=\"" + (dir / "pic.png") + "\"> у моря";
    dir.Write("notebook_add.txt", W("5270563=" + note + "\r\n"));
    // Earlier reviews: 4 of 5 on a later day recalled.
    std::string log;
    for (int i = 0; i < 5; ++i)
        log += "2026-02-2" + std::to_string(i) + "\t89\tnumber\t" + (i ? "3" : "1") + "\t3\t5.0000\t5.0000\r\n";
    dir.Write("notebook_review_log.txt", log);
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

    // Number -> phrase: each grade button says what it would give (w0..w3 days, rounded).
    ASSERT_EQ(form.Current()->Direction, TReviewDirection::NumberToPhrase);
    EXPECT_EQ(ui->PromptLabel->text(), QStringLiteral("52-70-563"));
    EXPECT_EQ(ui->AgainButton->text(), QStringLiteral("1 Снова · сегодня"));
    EXPECT_EQ(ui->HardButton->text(), QStringLiteral("2 Трудно · 1 дн."));
    EXPECT_EQ(ui->GoodButton->text(), QStringLiteral("3 Хорошо · 2 дн."));
    EXPECT_EQ(ui->EasyButton->text(), QStringLiteral("4 Легко · 8 дн."));
    Key(Qt::Key_Space);
    EXPECT_TRUE(ui->AnswerLabel->text().contains(
        QStringLiteral("<span style=\"color:#ff0000\">б</span>о")));
    // The note is the user's text: shown as typed, no tag rendered, no picture loaded.
    EXPECT_EQ(ui->NoteLabel->textFormat(), Qt::PlainText);
    EXPECT_EQ(ui->NoteLabel->text(), QStringLiteral("Примечание: ") + QString::fromUtf8(note));
    Key(Qt::Key_3);

    // The phrase of the same entry waits until the other new card was asked.
    EXPECT_EQ(form.Current()->Key, "89");
    Key(Qt::Key_Return);
    Key(Qt::Key_4);

    // Phrase -> number, typed wrong: "Снова", with the right number shown.
    ASSERT_EQ(form.Current()->Direction, TReviewDirection::PhraseToNumber);
    EXPECT_EQ(QApplication::focusWidget(), ui->AnswerEdit);
    Type("5270");
    Key(Qt::Key_Return);
    EXPECT_TRUE(ui->AnswerLabel->text().contains(QStringLiteral("Неверно")));
    EXPECT_TRUE(ui->AnswerLabel->text().contains(QStringLiteral("52-70-563")));
    EXPECT_TRUE(dir.Exists("notebook_review.txt")) << "written after the grade";
    EXPECT_EQ(ui->ProgressLabel->text(),
              QStringLiteral("Осталось на сегодня: 1. Эта карточка — снова сегодня."));
    Key(Qt::Key_Return);

    // Typed right with dashes: the user grades it, here "Трудно"; "Снова" is not offered.
    EXPECT_EQ(form.Current()->Key, "5270563");
    Type("52-70-563");
    Key(Qt::Key_Return);
    EXPECT_TRUE(ui->AnswerLabel->text().contains(QStringLiteral("Верно")));
    EXPECT_FALSE(ui->AgainButton->isEnabled());
    Key(Qt::Key_1);
    EXPECT_EQ(form.State(), TReviewForm::TState::Revealed) << "1 does nothing here";
    Key(Qt::Key_2);
    EXPECT_EQ(form.State(), TReviewForm::TState::Done);
    EXPECT_EQ(ui->PromptLabel->text(), QStringLiteral("На сегодня всё"));
    EXPECT_EQ(ui->ProgressLabel->text(),
              QStringLiteral("На сегодня всё. Следующее повторение: 02.03.2026. "
                             "Эта карточка — 02.03.2026."));

    const auto saved = LoadReviewDeck(dir / "notebook_review.txt").Cards;
    ASSERT_EQ(saved.size(), 4u);
    EXPECT_EQ(saved[0].Due, today + 2);
    EXPECT_EQ(saved[1].Due, today + 1) << "right on the second try";
    EXPECT_EQ(saved[2].Due, today + 8) << "easy";
    EXPECT_TRUE(saved[3].IsNew()) << "held back by the limit";
    const auto written = LoadReviewLog(dir / "notebook_review_log.txt");
    ASSERT_EQ(written.size(), 9u);
    EXPECT_EQ(written.back().Grade, TReviewGrade::Hard);

    // The statistics of this deck and log.
    nbtest::TModalDialogDriver<TReviewStatsForm> stats([](TReviewStatsForm& d) {
        const auto* s = d.Controls();
        EXPECT_EQ(s->CardsLabel->text(), QStringLiteral("Карточек: 4"));
        EXPECT_EQ(s->NewLabel->text(), QStringLiteral("Новых: 1"));
        EXPECT_EQ(s->LearningLabel->text(), QStringLiteral("Изучаемых (интервал меньше 21 дня): 3"));
        EXPECT_EQ(s->MatureLabel->text(), QStringLiteral("Выученных: 0"));
        EXPECT_EQ(s->DueLabel->text(), QStringLiteral("К повторению сегодня: 0"));
        EXPECT_EQ(s->ReviewsLabel->text(), QStringLiteral("Повторений всего: 9"));
        EXPECT_EQ(s->RetentionLabel->text(), QStringLiteral("Вспомнено за 30 дней: 80,0 %"));
        // Today's reviews by grade: one each.
        auto* series = qobject_cast<QStackedBarSeries*>(d.ReviewsChart()->chart()->series().front());
        ASSERT_TRUE(series);
        for (int g = 0; g < 4; ++g) EXPECT_EQ(series->barSets()[g]->at(kStatsDays - 1), 1) << g;
        auto* due = qobject_cast<QBarSeries*>(d.DueChart()->chart()->series().front());
        ASSERT_TRUE(due);
        EXPECT_EQ(due->barSets()[0]->at(1), 1);
        EXPECT_EQ(due->barSets()[0]->at(8), 1) << "the easy one";
        d.accept();
    });
    ui->StatsButton->click();
    ASSERT_TRUE(stats.Shown());
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
    for (int i = 0; i < 2; ++i) { // the two number -> phrase cards come first
        form.Reveal();
        form.Grade(TReviewGrade::Good);
    }
    form.Check(); // a phrase -> number card, nothing typed
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

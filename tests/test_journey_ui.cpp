// A long number as a journey, in the real program window in an X server: a 100-digit
// number cut into pieces of 3 words, a boundary moved, place notes typed, remembered, seen
// in the notebook window, and two piece cards reviewed with their cues.
#include "UiFixture.h"

#include "ui_MainForm.h"

#include "encoding/PiecesView.h"
#include "notebook/AddToNotebookFormUnit.h"
#include "notebook/NotebookFormUnit.h"
#include "notebook/NotebookStoreUnit.h"
#include "notebook/PiecesUnit.h"
#include "notebook/ReviewFormUnit.h"

#include "ui_NotebookForm.h"
#include "ui_ReviewForm.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

using namespace nb;
using namespace nb::ui;
using nbtest::TempDir;
using nbtest::W;

namespace {

const char* const kPi = "3141592653589793238462643383279502884197169399375105820974944592307816406286208998628034825342117067";

// Types a place note into a piece's line the way a user does: F2, the text, Enter.
void TypeNote(QTableWidget* table, int row, const QString& text) {
    table->setFocus();
    table->setCurrentCell(row, TPiecesView::NoteColumn);
    QTest::keyClick(table, Qt::Key_F2);
    // Without a window manager the focus may not follow: the editor is the table's.
    QWidget* editor = nullptr;
    for (QLineEdit* e : table->findChildren<QLineEdit*>())
        if (e->isVisible()) editor = e; // a closed editor lingers hidden until deleted
    ASSERT_TRUE(editor) << "no editor opened";
    // Letters a keyboard layout gives, as key events with their text (QTest knows only ASCII).
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(editor, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(editor, &release);
    }
    QTest::keyClick(editor, Qt::Key_Return);
}

} // namespace

TEST(Journey, AHundredDigitsInPiecesOfThree) {
    TempDir dir;
    std::filesystem::copy(NUMBRELIA_DATA_DIR "/Data", dir / "Data", std::filesystem::copy_options::recursive);
    dir.Write("settings.ini", "[NumbreliaSettings]\r\nFirstStart=0\r\nPieceWords=3\r\n");
    auto form = nbtest::StartForm(dir);
    ASSERT_TRUE(form);
    form->activateWindow(); // no window manager does it
    Ui::TMainForm* ui = form->Controls();
    ui->NumEdit->setText(QString::fromLatin1(kPi));
    ui->GoButton->click();
    ASSERT_TRUE(nbtest::WaitIdle(*form));

    const std::string variant = form->GetSelectedVariant();
    const size_t groups = SplitVariantKey(variant).size();
    TPiecesView* pieces = ui->PiecesPanel;
    ASSERT_TRUE(pieces->isVisible());
    QTableWidget* table = pieces->Table();
    ASSERT_EQ(static_cast<size_t>(table->rowCount()), (groups + 2) / 3);
    EXPECT_EQ(table->item(0, TPiecesView::DigitsColumn)->text().left(4), QStringLiteral("3141"));
    // The current column's piece is the one highlighted: the last column's at first.
    EXPECT_EQ(pieces->CurrentPiece(), table->rowCount() - 1);
    EXPECT_TRUE(table->item(pieces->CurrentPiece(), 0)->font().bold());

    // The first piece takes the second's first word: 4 and 2 words now.
    table->setCurrentCell(0, TPiecesView::WordsColumn);
    auto* take = pieces->findChild<QPushButton*>(QStringLiteral("PieceTakeButton"));
    ASSERT_TRUE(take && take->isEnabled());
    QTest::mouseClick(take, Qt::LeftButton);
    std::vector<int32_t> sizes = pieces->Sizes();
    ASSERT_GE(sizes.size(), 2u);
    EXPECT_EQ(sizes[0], 4);
    EXPECT_EQ(sizes[1], 2);
    EXPECT_EQ(table->item(0, TPiecesView::WordsColumn)->text().count(QStringLiteral(" - ")), 3);

    TypeNote(table, 0, QStringLiteral("входная дверь"));
    TypeNote(table, 1, QStringLiteral("прихожая"));
    EXPECT_EQ(pieces->Notes()[0], W("входная дверь"));

    nbtest::TModalDialogDriver<TAddToNotebookForm> driver([](TAddToNotebookForm& f) { f.accept(); });
    form->RememberButtonClick();
    EXPECT_TRUE(driver.Shown());
    const std::string key = NotebookKey(variant);
    EXPECT_EQ(key, kPi);
    TPiecesList stored;
    LoadPieces(stored, dir / "notebook_pieces.txt");
    const TPiecesRec* rec = stored.Find(key, form->UserLists().NotebookEntries.Value(key));
    ASSERT_TRUE(rec) << dir.Read("notebook_pieces.txt");
    EXPECT_EQ(rec->Sizes, sizes);
    EXPECT_EQ(rec->Notes[0], W("входная дверь"));
    EXPECT_EQ(rec->Notes[1], W("прихожая"));
    EXPECT_EQ(rec->Notes[2], "");

    // The notebook window shows the entry's pieces under the list and exports them.
    nbtest::TModalDialogDriver<TNotebookForm> notebook([&](TNotebookForm& f) {
        ASSERT_EQ(f.Model()->rowCount(), 1);
        const TNotebookRec& row = f.Model()->Rows()[0];
        ASSERT_EQ(row.Pieces.size(), sizes.size());
        EXPECT_EQ(row.Pieces[0].substr(0, 3), "1. ");
        EXPECT_NE(row.Pieces[0].find(W(" - (входная дверь)")), std::string::npos) << nbtest::U(row.Pieces[0]);
        EXPECT_TRUE(f.Controls()->PiecesLabel->isVisible());
        EXPECT_TRUE(f.Controls()->PiecesLabel->text().contains(QStringLiteral("2. ")));
        EXPECT_TRUE(f.Controls()->PiecesLabel->text().contains(QStringLiteral("(прихожая)")));
        const std::string text = NotebookExportText(f.Model()->Rows());
        EXPECT_NE(text.find("\r\n    2. "), std::string::npos);
        f.accept();
    });
    form->NotebookActionExecute();
    EXPECT_TRUE(notebook.Shown());

    // The review asks piece by piece, each with its place and the piece before it.
    std::vector<std::string> asked;
    nbtest::TModalDialogDriver<TReviewForm> review([&](TReviewForm& f) {
        auto* c = f.Controls();
        ASSERT_TRUE(f.Current());
        asked.push_back(f.Current()->Key);
        EXPECT_EQ(f.Current()->Direction, TReviewDirection::NumberToPhrase);
        EXPECT_TRUE(c->NoteLabel->text().contains(QStringLiteral("Часть 1 из")));
        EXPECT_TRUE(c->NoteLabel->text().contains(QStringLiteral("Место: входная дверь")));
        EXPECT_EQ(c->PromptLabel->text().count(QLatin1Char('-')), 3) << "the piece's four groups";
        QTest::keyClick(&f, Qt::Key_Space);
        EXPECT_TRUE(f.Controls()->AnswerLabel->text().contains(QStringLiteral(" - ")));
        QTest::keyClick(&f, Qt::Key_3);
        ASSERT_TRUE(f.Current());
        asked.push_back(f.Current()->Key);
        const QString cue = c->NoteLabel->text();
        EXPECT_TRUE(cue.contains(QStringLiteral("Место: прихожая"))) << cue.toStdString();
        EXPECT_TRUE(cue.contains(QStringLiteral("Перед ней: ") +
                                 pieces->Table()->item(0, TPiecesView::DigitsColumn)->text()))
            << cue.toStdString();
        QTest::keyClick(&f, Qt::Key_Space);
        QTest::keyClick(&f, Qt::Key_1);
        f.accept();
    });
    form->ReviewActionExecute();
    EXPECT_TRUE(review.Shown());
    EXPECT_EQ(asked, (std::vector<std::string>{key + "#1", key + "#2"}));
    TReviewDeck deck = LoadReviewDeck(dir / "notebook_review.txt");
    size_t graded = 0;
    for (const auto& card : deck.Cards) graded += !card.IsNew();
    EXPECT_EQ(graded, 2u) << "the failed piece comes back alone, not the whole phrase";
}

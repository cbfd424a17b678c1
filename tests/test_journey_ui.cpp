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
    nbtest::TypeText(editor, text);
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

    // The notebook window shows the entry's pieces as its child rows and exports them.
    nbtest::TModalDialogDriver<TNotebookForm> notebook([&](TNotebookForm& f) {
        const QAbstractItemModel* view = f.View();
        ASSERT_EQ(view->rowCount(), 1);
        const QModelIndex entry = view->index(0, 0);
        ASSERT_EQ(view->rowCount(entry), static_cast<int>(sizes.size()));
        auto piece = [&](int row, int column) { return view->index(row, column, entry).data().toString(); };
        EXPECT_TRUE(piece(0, TNotebookModel::CodeColumn).startsWith(QStringLiteral("1. ")));
        EXPECT_EQ(piece(0, TNotebookModel::NoteColumn), QStringLiteral("входная дверь"));
        EXPECT_EQ(piece(1, TNotebookModel::NoteColumn), QStringLiteral("прихожая"));
        EXPECT_EQ(piece(1, TNotebookModel::WordsColumn).count(QStringLiteral(" - ")), sizes[1] - 1);
        EXPECT_EQ(piece(1, TNotebookModel::ReviewColumn), QStringLiteral("новая")) << "not reviewed yet";
        f.Controls()->VirtualDrawTree->expand(entry);
        EXPECT_TRUE(f.Controls()->VirtualDrawTree->visualRect(view->index(1, 0, entry)).isValid());
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

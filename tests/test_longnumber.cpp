// The main window with a long number, on the shipped dictionary: word columns as wide as
// their words in one area that scrolls sideways, made as they come into reach; the lists
// keeping the window's height; the focus path into the columns and the remember shortcut;
// the tooltip of a cut variant key; the longest number the field takes.
#include "UiFixture.h"

#include "ui_MainForm.h"

#include "core/SessionUnit.h"
#include "encoding/VariantSearchUnit.h"
#include "encoding/VariantsModel.h"
#include "encoding/WordsView.h"
#include "notebook/AddToNotebookFormUnit.h"
#include "resources/ResStrUnit.h"

#include <QHelpEvent>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace fs = std::filesystem;
using namespace nbtest;
using nb::ui::TWordTree;

namespace {

std::string Digits(int count, unsigned seed) {
    std::mt19937 rng(seed);
    std::string digits;
    for (int i = 0; i < count; ++i) digits += static_cast<char>('0' + rng() % 10);
    return digits;
}

class LongNumber : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        fs::copy(NUMBRELIA_DATA_DIR "/Data", *dir_ / "Data", fs::copy_options::recursive);
        dir_->Write("settings.ini", "[NumbreliaSettings]\r\nFirstStart=0\r\n");
        form_ = new nb::ui::TMainForm(dir_->Path());
        form_->resize(1000, 700);
        form_->show();
        ASSERT_TRUE(WaitIdle(*form_, 120000));
    }
    static void TearDownTestSuite() {
        delete form_;
        delete dir_;
    }
    static void Encode(const std::string& number) {
        form_->Controls()->NumEdit->setText(QString::fromLatin1(number));
        form_->GoButtonClick();
        QCoreApplication::processEvents();
    }
    static inline TempDir* dir_ = nullptr;
    static inline nb::ui::TMainForm* form_ = nullptr;
};

TEST_F(LongNumber, HundredDigitsGetColumnsAsWideAsTheirWordsInOneScrolledArea) {
    Encode(Digits(100, 100));
    const auto* c = form_->Controls();
    nb::ui::TWordsView* view = c->WordsPanel;
    const size_t columns = view->ColumnCount();
    ASSERT_EQ(columns, static_cast<size_t>(form_->VariantsModel()->Row(0).Count));
    ASSERT_GT(columns, 20u);
    EXPECT_LT(view->WordTrees().size(), columns) << "columns far out of view are not made yet";
    EXPECT_EQ(view->ChosenWords().size(), columns) << "the phrase has a word for every column";
    EXPECT_EQ(c->WordEdit->cursorPosition(), 0) << "a long phrase shows its beginning";

    const auto checkWidths = [&] {
        for (const TWordTree* tree : view->WordTrees()) {
            EXPECT_FALSE(tree->horizontalScrollBar()->isVisible());
            const QFontMetrics fm(tree->font());
            for (int r = 0; r < tree->model()->rowCount(); ++r) {
                const QString word = tree->model()->index(r, 0).data().toString();
                if (tree->IsRowVisible(r) && word.size() <= nb::ui::TWordsView::kMaxColumnChars) {
                    EXPECT_LE(fm.horizontalAdvance(word) + 4, tree->viewport()->width())
                        << tree->Caption().toStdString() << " " << word.toStdString();
                }
            }
        }
    };
    checkWidths();

    // The lists keep the window's height; the note of a cut list is one line.
    EXPECT_GE(c->VariantsVirtualStringTree->height() * 3, form_->height() * 2);
    EXPECT_GE(view->WordTrees().front()->height() * 3, form_->height() * 2);
    ASSERT_TRUE(c->VariantsCutLabel->isVisible());
    EXPECT_EQ(c->VariantsCutLabel->text(),
              QString::asprintf(nb::res::kVariantsCut, form_->VariantsModel()->RowCount()));
    EXPECT_LT(c->VariantsCutLabel->height(), 2 * c->VariantsCutLabel->fontMetrics().height());

    // Tab leads from the encode button through the list into the columns, and each column
    // reached scrolls into view with the next one made already.
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_));
    c->GoButton->setFocus(Qt::TabFocusReason);
    QTest::keyClick(c->GoButton, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), c->VariantsVirtualStringTree);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), view->WordTrees().front());
    for (size_t i = 1; i < columns; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_LT(i, view->WordTrees().size());
        const TWordTree* tree = view->WordTrees()[i];
        ASSERT_EQ(QApplication::focusWidget(), tree) << i;
        const QRect shown = tree->visibleRegion().boundingRect();
        EXPECT_EQ(shown.width(), std::min(tree->width(), tree->parentWidget()->parentWidget()->width())) << i;
    }
    EXPECT_EQ(view->WordTrees().size(), columns);
    checkWidths();
    EXPECT_EQ(view->ChosenWords().size(), columns);

    // Ctrl+S, from the words, remembers them (the dialog that asks for a note).
    TModalDialogDriver<nb::ui::TAddToNotebookForm> remember([](nb::ui::TAddToNotebookForm& f) { f.reject(); });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return remember.Shown(); }, 2000));
}

TEST_F(LongNumber, ACutVariantKeyShowsItWholeAsItsTooltip) {
    Encode(Digits(100, 100));
    QTreeView* list = form_->Controls()->VariantsVirtualStringTree;
    auto* delegate = qobject_cast<QStyledItemDelegate*>(list->itemDelegate());
    ASSERT_TRUE(delegate);
    const auto tipOf = [&](int column) {
        const QModelIndex index = form_->VariantsModel()->index(0, column);
        QStyleOptionViewItem option;
        option.initFrom(list->viewport());
        option.rect = list->visualRect(index);
        QHelpEvent event(QEvent::ToolTip, option.rect.center(), list->viewport()->mapToGlobal(option.rect.center()));
        delegate->helpEvent(&event, list, option, index);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipOf(nb::ui::TVariantsModel::CountColumn), QString()) << "a count that fits has none";
    EXPECT_EQ(tipOf(nb::ui::TVariantsModel::VariantColumn),
              QString::fromLatin1(form_->VariantsModel()->Row(0).Variant));
}

TEST_F(LongNumber, TheNumberFieldRefusesMoreDigitsThanTheLimitWithAMessage) {
    Encode("5270563");
    QLineEdit* field = form_->Controls()->NumEdit;
    const std::vector<std::string> rows = VariantRows(*form_);
    const QString message = QString::asprintf(nb::res::kNumberTooLong, nb::ui::kMaxNumberDigits);
    {
        // A paste beyond the limit is refused whole, with a message once it is over.
        TBoxRecorder boxes;
        field->setText(QStringLiteral("12 34"));
        field->insert(QString::fromLatin1(Digits(100000, 1)));
        QCoreApplication::processEvents();
        EXPECT_EQ(field->text(), QStringLiteral("12 34"));
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_EQ(boxes.Boxes[0].Text, message);

        // A number set beyond it is not encoded: field, list and words stay.
        const QString tooLong = QString::fromLatin1(Digits(nb::ui::kMaxNumberDigits + 1, 2));
        field->setText(tooLong);
        form_->GoButtonClick();
        ASSERT_EQ(boxes.Boxes.size(), 2u);
        EXPECT_EQ(boxes.Boxes[1].Text, message);
        EXPECT_EQ(field->text(), tooLong);
        EXPECT_EQ(VariantRows(*form_), rows);
    }
    // Up to the limit the field takes it all.
    field->clear();
    field->insert(QString::fromLatin1(Digits(nb::ui::kMaxNumberDigits, 3)));
    EXPECT_EQ(field->text().size(), nb::ui::kMaxNumberDigits);
}

} // namespace

// "Сначала лучшие варианты" on the shipped dictionary: the window selects the best
// variant with each column's best word, so the phrase line holds the suggestion at once;
// off, the first variant of fewest groups with each column's first word, as always.
TEST(BestFirstWindow, SelectsTheSuggestedPhraseOnlyWhenOn) {
    for (const bool on : {true, false}) {
        TempDir dir;
        fs::copy(NUMBRELIA_DATA_DIR "/Data", dir / "Data", fs::copy_options::recursive);
        dir.Write("settings.ini", std::string("[NumbreliaSettings]\r\nFirstStart=0\r\n") +
                                      (on ? "BestVariantFirst=1\r\n" : ""));
        const auto session = OpenSession(dir.Path());
        auto form = StartForm(dir);
        ASSERT_TRUE(form);
        for (const char* number : {"5270563", "89161234567"}) {
            SCOPED_TRACE(std::string(number) + (on ? " on" : " off"));
            form->Controls()->NumEdit->setText(QString::fromLatin1(number));
            form->GoButtonClick();
            QCoreApplication::processEvents();
            const nb::TEncodeResult expected = session->Encode(number);
            const std::vector<std::string> rows = VariantRows(*form);
            std::vector<std::string> keys;
            int fewest = 1000;
            for (const auto& r : expected.Rows) {
                keys.push_back(r.Variant);
                fewest = std::min(fewest, r.Count);
            }
            EXPECT_EQ(rows, keys) << "the window does not sort the rows again";
            ASSERT_FALSE(rows.empty());
            EXPECT_EQ(form->GetSelectedVariant(), rows.front());
            if (!on) {
                EXPECT_EQ(static_cast<int>(nb::SplitVariantKey(rows.front()).size()), fewest);
            }
            std::string phrase;
            const auto columns = session->WordColumns(rows.front());
            for (size_t i = 0; i < columns.size(); ++i) {
                const auto& c = columns[i];
                // On, the chosen word is the cheapest shown; off, the first shown in dictionary order.
                const auto cost = [&](int32_t e) { return session->WordRanking().WordCost(e); };
                int32_t want = -1;
                for (size_t k = 0; k < c.Entries.size(); ++k)
                    if (!c.Hidden[k] && (want < 0 || (on && cost(c.Entries[k]) < cost(want)))) want = c.Entries[k];
                const std::string word = U(session->DicList()[static_cast<size_t>(want)]);
                EXPECT_EQ(FocusedWords(*form).at(i), word) << "column " << i;
                phrase += (phrase.empty() ? "" : " - ") + word;
            }
            EXPECT_EQ(form->Controls()->WordEdit->text().toStdString(), phrase);
        }
        // A cut list says which variants it kept: the best ones, or those of fewest words.
        form->Controls()->NumEdit->setText(QString(40, QLatin1Char('3')));
        form->GoButtonClick();
        QCoreApplication::processEvents();
        EXPECT_EQ(form->Controls()->VariantsCutLabel->text(),
                  QString::asprintf(on ? nb::res::kVariantsCutBest : nb::res::kVariantsCut,
                                    form->VariantsModel()->RowCount()));
    }
}

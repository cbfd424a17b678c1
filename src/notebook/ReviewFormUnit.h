// The review window: asks the notebook's due cards one by one, keyboard first. Number ->
// phrase: Space or Enter shows the words and the note, 1-4 grade. Phrase -> number: the
// user types the digits and presses Enter; a wrong answer grades "Снова" and shows the
// right one, Space or Enter goes on; a right one is graded with 2, 3 (also Space or Enter)
// or 4. Each grade button shows the interval it would give. The deck is written and the
// review log appended after every grade. All user text is shown as plain text (the
// phrase's key letters are coloured on escaped text).
#pragma once

#include "dictionary/StringListUnit.h"
#include "encoding/WordNodeDelegate.h"
#include "notebook/PieceCardsUnit.h"
#include "notebook/PiecesUnit.h"
#include "notebook/ReviewUnit.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class TReviewForm;
}

namespace nb::ui {

class TReviewForm : public QDialog {
    Q_OBJECT
public:
    enum class TState { Asking, Revealed, Checked, Done };

    // The lists and the painting must outlive the window; it never changes the notebook.
    TReviewForm(const TStringList& entries, const TStringList& notes, const TWordPainting& painting,
                std::string deckPath, int64_t today, int32_t newPerDay, QWidget* parent = nullptr,
                double retention = kDefaultDesiredRetention, const TPiecesList* pieces = nullptr);
    ~TReviewForm() override;

    TState State() const { return state_; }
    // The card asked now, or null when the day's cards are done.
    const TReviewCard* Current() const;
    const std::vector<TReviewCard>& Cards() const { return deck_.Cards; }
    Ui::TReviewForm* Controls() const { return ui_.get(); }

    void Reveal();
    void Grade(TReviewGrade grade);
    // Phrase -> number: checks what was typed; a wrong answer is graded "Снова" at once.
    void Check();
    void Next();
    // The statistics window over this one.
    void ShowStatistics();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowCard();
    void ShowAnswer();
    void EnableGrades(bool again);
    void UpdateProgress();
    void GradeCurrent(TReviewGrade grade);
    void Save();
    // The words of an entry with their key letters coloured, as rich text of escaped words.
    QString PhraseHtml(const std::vector<std::string>& items) const;
    // What the current card shows: the entry's, or its piece's with the cues.
    TCardFace Face() const;

    std::unique_ptr<Ui::TReviewForm> ui_;
    const TStringList& entries_;
    const TStringList& notes_;
    const TWordPainting& painting_;
    TPiecesList pieces_; // the entries' pieces: their cards are a piece each
    std::string deckPath_;
    int64_t today_;
    int32_t newPerDay_;
    double retention_;
    TReviewDeck deck_;
    // Why an existing deck file could not be read; then grades are not written over it.
    std::string readError_;
    bool readErrorShown_ = false;
    bool unreadShown_ = false;
    bool logErrorShown_ = false;
    long current_ = -1;
    // The card graded last and its new due day, for the progress line.
    long graded_ = -1;
    TState state_ = TState::Done;
};

// ReviewActionExecute: shows the window modally over `owner` for today.
void ShowReview(QWidget* owner, const TStringList& entries, const TStringList& notes,
                const TWordPainting& painting, const std::string& deckPath, int32_t newPerDay,
                double retention = kDefaultDesiredRetention, const TPiecesList* pieces = nullptr);
} // namespace nb::ui

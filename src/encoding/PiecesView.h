// The phrase of a long number in pieces, under the word columns: one line per piece with
// its number, digits, words and an editable place note; the piece of the column the user
// is in is highlighted, and two buttons move the boundary after the selected piece by one
// word. The main window hands it the variant and the chosen words and asks it for the cut
// and the notes when the user remembers.
#pragma once

#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace nb::ui {

class TPiecesView : public QWidget {
    Q_OBJECT
public:
    enum Column { NumberColumn, DigitsColumn, WordsColumn, NoteColumn, ColumnCount };

    explicit TPiecesView(QWidget* parent = nullptr);

    // Shows the pieces of a variant's groups under `sizes` (TSession::PieceSizes) with their
    // remembered notes, boundary moves bounded by `pieceWords`; empty `sizes` hides the view.
    void ShowVariant(std::vector<std::string> groups, std::vector<int32_t> sizes,
                     std::vector<std::string> notes, int32_t pieceWords);
    // The chosen words (one a column) and the column the user is in.
    void SetWords(std::vector<std::string> words, int currentColumn);
    // Whether the variant shown is cut (the view is in use).
    bool Cut() const { return !sizes_.empty(); }
    const std::vector<int32_t>& Sizes() const { return sizes_; }
    // The place notes, Windows-1251, one a piece.
    const std::vector<std::string>& Notes() const { return notes_; }
    // Moves the boundary after piece `piece` by one word (+1: it takes the next piece's
    // first word, -1: it gives its last one); false when the rule forbids it.
    bool MoveBoundary(int piece, int delta);
    // The piece highlighted as the current column's, or -1.
    int CurrentPiece() const { return currentPiece_; }
    QTableWidget* Table() const { return table_; }

private:
    void Fill();
    void UpdateButtons();
    void NoteEdited(QTableWidgetItem* item);

    QTableWidget* table_;
    QPushButton* takeButton_;
    QPushButton* giveButton_;
    std::vector<std::string> groups_, words_, notes_;
    std::vector<int32_t> sizes_;
    int32_t pieceWords_ = 0;
    int currentColumn_ = -1;
    int currentPiece_ = -1;
    bool filling_ = false;
};

} // namespace nb::ui

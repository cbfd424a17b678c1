// The words view: for the selected variant, one word column per group, left to right in
// group order. A column lists the entries whose group code is its group, in dictionary
// order or, when set, the dictionary file's line order; entries in HidedWordList are
// present but invisible. The focused row of a column
// is that group's chosen word.
#pragma once

#include "WordNodeDelegate.h"
#include "core/FormHelpersUnit.h"
#include "core/SessionUnit.h"

#include <QTreeView>
#include <QWidget>

class QScrollArea;

#include <cstdint>
#include <string>
#include <vector>

namespace nb::ui {

// The rows of one word column: DicList indices; the header caption is the group.
class TWordColumnModel : public TFlatTableModel {
    Q_OBJECT
public:
    TWordColumnModel(QString caption, std::vector<int32_t> rows, const TStringList& dicList,
                     QObject* parent = nullptr);

    int32_t Entry(int row) const { return rows_[static_cast<size_t>(row)]; }
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    const QString& Caption() const { return Captions().front(); }
    // Empties the column (before DicList is reloaded, as the rows index into it).
    void ClearRows();

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<int32_t> rows_;
    const TStringList& dicList_;
};

// One word column.
class TWordTree : public QTreeView {
    Q_OBJECT
public:
    explicit TWordTree(QWidget* parent = nullptr);
    TWordColumnModel* ColumnModel() const { return static_cast<TWordColumnModel*>(model()); }
    QString Caption() const { return ColumnModel()->Caption(); }
    // The focused row, -1 when none.
    int FocusedRow() const;
    void FocusRow(int row);
    bool IsRowVisible(int row) const { return !isRowHidden(row, {}); }
    void SetRowVisible(int row, bool visible) { setRowHidden(row, {}, !visible); }

signals:
    // The user moved the keyboard focus into the column (WordTreeEnter).
    void Entered();
    // The same, by the keyboard (Tab) or by the program, not by the mouse.
    void KeyboardEntered();

protected:
    void focusInEvent(QFocusEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
};

class TWordsView : public QWidget {
    Q_OBJECT
public:
    explicit TWordsView(QWidget* parent = nullptr);

    // The painting and the session the view reads and asks to hide words; they outlive it.
    void Setup(const TWordPainting& painting, TSession& session);

    // Builds the columns of a variant as the session gives them (TSession::WordColumns).
    void ShowVariant(std::vector<TWordColumn> columns);
    // Empties every column; the columns stay until the next variant.
    void ClearRows();
    // Whether the columns were emptied and no variant was shown since.
    bool RowsCleared() const { return rowsCleared_; }

    // The columns made so far, left to right: a long variant gets its columns as they
    // come near the visible part of the area, so these may be fewer than ColumnCount().
    const std::vector<TWordTree*>& WordTrees() const { return wordTrees_; }
    size_t ColumnCount() const { return columns_.size(); }
    // The widget the keyboard focus comes from into the first column.
    void SetTabPredecessor(QWidget* widget) { tabPredecessor_ = widget; }
    // The column that has the keyboard focus, or null.
    TWordTree* FocusedColumn() const;
    // The entries of the focused rows, in column order; columns without one are skipped.
    std::vector<std::string> ChosenWords() const;
    // The column whose word was announced last (WordFocusChanged), or -1.
    int CurrentColumn() const { return currentColumn_; }

    void EnsureVisibleWord(TWordTree* column);
    // Lays the columns out again: when the widest word of every column fits, each gets
    // the width of the view divided by their number (the last one takes what is left);
    // otherwise each gets its widest word (up to kMaxColumnChars letters) and the area
    // scrolls horizontally.
    void SplitterMoved();
    static constexpr int kMaxColumnChars = 30;

    // The pop-up menu's word commands, on the column that has the keyboard focus.
    void HideWord();
    void KeepOnlyWord();

signals:
    // A column's focused row changed, or the user entered a column (WordFocusChanged).
    void WordFocusChanged(int32_t dicIndex);
    // The hidden-word list changed (once per command or variant shown), to be written;
    // the chosen words of columns not made yet may have changed with it.
    void HiddenWordsChanged();
    // Right click on a column, after the column and the row under the mouse got focus.
    void PopupRequested(const QPoint& globalPos);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TWordTree* AddColumn(const TWordColumn& column);
    // The width of a column whose widest word (or caption) is `textWidth` pixels wide.
    int ColumnWidthFor(int textWidth) const;
    int MeasureColumn(const TWordTree* tree) const;
    // Column i's chosen entry, whether the column is made or not; -1 when none.
    int32_t ChosenEntry(size_t i) const;
    // Makes the columns up to a view's width beyond the visible part, then lays out.
    void MakeColumnsInReach();
    void LayoutColumns();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void AnnounceFocus(TWordTree* column);
    // Shows the rows of a column as the hidden-word list has them now.
    void ShowHiddenState(TWordTree* column);
    void AnnounceHiddenChange();

    const TWordPainting* painting_ = nullptr;
    TSession* session_ = nullptr;
    TWordNodeDelegate* delegate_ = nullptr;
    std::vector<TWordTree*> wordTrees_;
    int currentColumn_ = -1;
    QScrollArea* scroll_ = nullptr;
    QWidget* strip_ = nullptr;      // holds the columns; as wide as they need
    QWidget* tabPredecessor_ = nullptr;
    std::vector<TWordColumn> columns_; // of the variant shown; the chosen entry counts until made
    std::vector<int> widths_;         // estimated, then measured, natural widths
    std::vector<int> lefts_;          // column positions on the strip
    bool showing_ = false;      // ShowVariant is building the columns
    int32_t pendingEntry_ = -1; // the focus they announced last meanwhile
    bool hiddenChanged_ = false; // since the last HiddenWordsChanged
    bool rowsCleared_ = false;
};

} // namespace nb::ui

// The words view: for the selected variant, one word column per group, left to right in
// group order. A column lists the entries whose group code is its group, in dictionary
// order; entries in HidedWordList are present but invisible. The focused row of a column
// is that group's chosen word.
#pragma once

#include "WordNodeDelegate.h"

#include <QAbstractTableModel>
#include <QTreeView>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

namespace nb {
class TCodeDictionary;
}

namespace nb::ui {

// The rows of one word column: DicList indices; the header caption is the group.
class TWordColumnModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TWordColumnModel(QString caption, std::vector<int32_t> rows, const TStringList& dicList,
                     QObject* parent = nullptr);

    int32_t Entry(int row) const { return rows_[static_cast<size_t>(row)]; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    const QString& Caption() const { return caption_; }
    // Empties the column (before DicList is reloaded, as the rows index into it).
    void ClearRows();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString caption_;
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

protected:
    void focusInEvent(QFocusEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
};

class TWordsView : public QWidget {
    Q_OBJECT
public:
    explicit TWordsView(QWidget* parent = nullptr);

    // The lists the view reads and the hidden-word list it changes; they outlive it.
    void Setup(const TWordPainting& painting, const TCodeDictionary& dictionary,
               TStringList& hidedWordList);

    // Builds the columns for a variant key ("52-70-563"); `remembered` holds the words
    // remembered for it, by position (item i for column i), possibly empty.
    void ShowVariant(const std::string& variantKey, const std::vector<std::string>& remembered);
    // Empties every column; the columns stay until the next variant.
    void ClearRows();

    const std::vector<TWordTree*>& WordTrees() const { return wordTrees_; }
    // The column that has the keyboard focus, or null.
    TWordTree* FocusedColumn() const;
    // The entries of the focused rows, in column order; columns without one are skipped.
    std::vector<std::string> ChosenWords() const;

    void EnsureVisibleWord(TWordTree* column);
    // Every column gets the width of the view divided by their number; the last one
    // takes what is left.
    void SplitterMoved();

    // The pop-up menu's word commands, on the column that has the keyboard focus.
    void HideWord();
    void KeepOnlyWord();

signals:
    // A column's focused row changed, or the user entered a column (WordFocusChanged).
    void WordFocusChanged(int32_t dicIndex);
    // Right click on a column, after the column and the row under the mouse got focus.
    void PopupRequested(const QPoint& globalPos);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TWordTree* AddColumn(const std::string& group);
    void AnnounceFocus(TWordTree* column);
    void RemoveHidden(int32_t dicIndex);

    const TWordPainting* painting_ = nullptr;
    const TCodeDictionary* dictionary_ = nullptr;
    TStringList* hidedWordList_ = nullptr;
    TWordNodeDelegate* delegate_ = nullptr;
    std::vector<TWordTree*> wordTrees_;
    bool showing_ = false;      // ShowVariant is building the columns
    int32_t pendingEntry_ = -1; // the focus they announced last meanwhile
};

} // namespace nb::ui

// The notebook window: the remembered numbers with their words and notes, in notebook
// order, their export to a text file, and deleting one, written at once.
#pragma once

#include "code/NumbreliaTypesUnit.h"
#include "core/FormHelpersUnit.h"
#include "core/IniFileUnit.h"
#include "dictionary/StringListUnit.h"

#include "notebook/NotebookViewUnit.h"

#include <QDialog>
#include <QSortFilterProxyModel>
#include <QPalette>
#include <QStyledItemDelegate>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QFileDialog;

namespace nb {
class TPiecesList;
struct TReviewCard;
}

namespace Ui {
class TNotebookForm;
}

namespace nb::ui {

// The rows in notebook order: one TNotebookRec each, under it a child row a piece for an
// entry in pieces. Columns "Код", "Слова", "Примечание", "Следующее повторение". The note of
// an entry is edited here when a setter is given; nothing else changes.
class TNotebookModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { CodeColumn = 0, WordsColumn = 1, NoteColumn = 2, ReviewColumn = 3, ColumnCount = 4 };
    // Stores the text typed for an entry's note; returns the note as stored, or nothing when
    // it was not (the setter has told the user why).
    using NoteSetter = std::function<std::optional<std::string>(const TNotebookRec& row, const QString& text)>;

    explicit TNotebookModel(QObject* parent = nullptr);

    const std::vector<TNotebookRec>& Rows() const { return rows_; }
    void SetRows(std::vector<TNotebookRec> rows);
    void RemoveRow(int row);
    void SetNoteSetter(NoteSetter setter) { setNote_ = std::move(setter); }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    std::vector<TNotebookRec> rows_;
    NoteSetter setNote_;
};

// The rows as the window shows them: sorted by a column (NotebookOrder) or in notebook
// order, and only those the search box lets through (TNotebookFilter), each with all its
// pieces.
class TNotebookView : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit TNotebookView(TNotebookModel* source, QObject* parent = nullptr);

    // A column, or -1 for the notebook order.
    void SortBy(int column, Qt::SortOrder order);
    int SortedColumn() const { return column_; }
    Qt::SortOrder SortedOrder() const { return order_; }
    void SetFilterText(const QString& text);
    // Sorts and filters again after the rows changed.
    void Refresh();

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    TNotebookModel* source_;
    int column_ = -1;
    Qt::SortOrder order_ = Qt::AscendingOrder;
    std::vector<size_t> rank_; // position of each source row in the order
    TNotebookFilter filter_{""};
};

// VirtualDrawTreeDrawNode: the cell text in the highlight-text colour on the focused row
// while the list has the keyboard focus, in the window-text colour everywhere else.
class TNotebookDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The next editor opens with this text instead of the stored note (a refused note
    // comes back for correcting).
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void SetPendingText(const QString& text) { pending_ = text; }

    // Space left and right of the text inside a cell.
    static constexpr int kTextMargin = 4;

private:
    mutable std::optional<QString> pending_;
};

class TNotebookForm : public QDialog {
    Q_OBJECT
public:
    explicit TNotebookForm(QWidget* parent = nullptr);
    ~TNotebookForm() override;

    // The main window's lists; they must outlive the window, which does not change them
    // (deleting is off).
    void SetLists(const TStringList& entries, const TStringList& notes);
    // The same, with deleting: a delete hands the entry's key to `remove`, which deletes it
    // from the lists, writes them at once and returns one message per file it could not
    // write.
    using NotebookDeleter = std::function<std::vector<std::string>(const std::string& key)>;
    void SetLists(const TStringList& entries, const TStringList& notes, NotebookDeleter remove);
    // The pieces of entries remembered in pieces, shown as child rows and exported under
    // their entry; it must outlive the window.
    void SetPieces(const TPiecesList* pieces) { pieces_ = pieces; }
    // The review deck, for the next review column; it must outlive the window.
    void SetCards(const std::vector<TReviewCard>* cards) { cards_ = cards; }
    // Makes the notes editable in place (double click or F2 on the note): `write` sets the
    // key's note, writes it at once and returns one message per file it could not write.
    using NoteWriter = std::function<std::vector<std::string>(const std::string& key, const std::string& note)>;
    void SetNoteWriter(NoteWriter write);
    // Builds the rows from the lists.
    void BuildRows();
    // Builds the rows and shows the window modally; returns when it is closed.
    int FillNotebook();

    // Width of a column by its own index (0 code, 1 words, 2 note, 3 next review), wherever
    // it was dragged. The note column is at least this wide and takes the spare width.
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    void ExportButtonClick();
    // "Удалить" and the Delete key: the focused row's entry and note, after a
    // confirmation; the focus stays at the same place in the list.
    void DeleteButtonClick();

    // Runs the set-up save dialog and returns the chosen file, or empty when cancelled.
    using SaveDialogRunner = std::function<QString(QFileDialog& dialog)>;
    // Replaces running the dialog (tests); an empty function restores it.
    static void SetSaveDialogForTesting(SaveDialogRunner runner);

    TNotebookModel* Model() const { return model_; }
    TNotebookView* View() const { return view_; }
    // A header click: ascending, descending, then the notebook order again.
    void HeaderClicked(int column);
    Ui::TNotebookForm* Controls() const { return ui_.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::TNotebookForm> ui_;
    TNotebookModel* model_ = nullptr;
    TNotebookView* view_ = nullptr;
    TNotebookDelegate* delegate_ = nullptr;
    const TStringList* entries_ = nullptr;
    const TStringList* notes_ = nullptr;
    const TPiecesList* pieces_ = nullptr;
    const std::vector<TReviewCard>* cards_ = nullptr;
    NotebookDeleter remove_;
    NoteWriter writeNote_;
    int noteWidth_ = 0;   // the user's width of the note column, its least
    bool fitting_ = false; // the note column is being stretched, not resized by the user
    QPalette listPalette_;  // the list's own palette while it shows the quiet one
    bool quietPalette_ = false;
    std::optional<std::string> StoreNote(const TNotebookRec& row, const QString& text);
    void FitNoteColumn();
    int LaidOutWidth(int column) const;
    void FocusEntry(const QModelIndex& sourceIndex);
};

// NotebookActionExecute: opens the window over the lists with the column widths stored
// in `settings` (CodeWidth, TextWidth, NoteWidth, ReviewWidth; the laid-out widths when
// missing) and, when it closes, writes the widths back whether or not they changed. A
// refused write throws EError. With `remove`, entries can be deleted (see SetLists); with
// `writeNote`, notes edited in place.
void ShowNotebook(QWidget* owner, TIniFile& settings, const TStringList& entries,
                  const TStringList& notes, TNotebookForm::NotebookDeleter remove = {},
                  const TPiecesList* pieces = nullptr, const std::vector<TReviewCard>* cards = nullptr,
                  TNotebookForm::NoteWriter writeNote = {});

} // namespace nb::ui

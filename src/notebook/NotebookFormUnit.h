// The notebook window: the remembered numbers with their words and notes, in notebook
// order, their export to a text file, and deleting one, written at once.
#pragma once

#include "code/NumbreliaTypesUnit.h"
#include "core/FormHelpersUnit.h"
#include "core/IniFileUnit.h"
#include "dictionary/StringListUnit.h"

#include <QDialog>
#include <QStyledItemDelegate>

#include <functional>
#include <memory>
#include <vector>

class QFileDialog;

namespace nb {
class TPiecesList;
}

namespace Ui {
class TNotebookForm;
}

namespace nb::ui {

// One TNotebookRec per row, columns "Код", "Слова", "Примечание"; rows stay in the order
// given (no sorting).
class TNotebookModel : public TRowsModel<TNotebookRec> {
    Q_OBJECT
public:
    enum Column { CodeColumn = 0, WordsColumn = 1, NoteColumn = 2, ColumnCount = 3 };

    explicit TNotebookModel(QObject* parent = nullptr);

    void SetRows(std::vector<TNotebookRec> rows);
    void RemoveRow(int row);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
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

    // Space left and right of the text inside a cell.
    static constexpr int kTextMargin = 4;
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
    // The pieces of entries remembered in pieces, shown under the list for the focused row
    // and exported with it; it must outlive the window.
    void SetPieces(const TPiecesList* pieces) { pieces_ = pieces; }
    // Builds the rows from the lists.
    void BuildRows();
    // Builds the rows and shows the window modally; returns when it is closed.
    int FillNotebook();

    // Width of a column by its own index (0 code, 1 words, 2 note), wherever it was
    // dragged.
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
    Ui::TNotebookForm* Controls() const { return ui_.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TNotebookForm> ui_;
    TNotebookModel* model_ = nullptr;
    const TStringList* entries_ = nullptr;
    const TStringList* notes_ = nullptr;
    const TPiecesList* pieces_ = nullptr;
    NotebookDeleter remove_;
    void ShowPieces();
};

// NotebookActionExecute: opens the window over the lists with the column widths stored
// in `settings` (CodeWidth, TextWidth, NoteWidth; the laid-out widths when missing) and,
// when it closes, writes the three widths back whether or not they changed. A refused
// write throws EError. With `remove`, entries can be deleted (see SetLists).
void ShowNotebook(QWidget* owner, TIniFile& settings, const TStringList& entries,
                  const TStringList& notes, TNotebookForm::NotebookDeleter remove = {},
                  const TPiecesList* pieces = nullptr);

} // namespace nb::ui

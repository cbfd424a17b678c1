// The small pieces every window repeats: Windows-1251 text, a fixed and centred dialog,
// the dialog for a text file, the quiet selection of a list without the focus, the plain
// one-row-one-line list and the flat table model behind such a list.
#pragma once

#include <QAbstractTableModel>
#include <QFileDialog>
#include <QString>
#include <QStringList>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QDialog;
class QModelIndex;
class QSize;
class QStyleOptionViewItem;
class QTreeView;
class QWidget;

namespace nb::ui {

// Windows-1251 bytes as text, and text as Windows-1251 bytes (a character the code page
// lacks becomes "?").
QString FromCp1251(std::string_view bytes);
std::string ToCp1251(const QString& text);

// Moves the window to the middle of its screen, not over its owner.
void CentreOnScreen(QWidget* window);
// A dialog of fixed size, centred on its screen. The laid-out size is the least; a larger
// desktop font gets what it needs.
void FixAndCenter(QDialog* dialog, const QSize& laidOut);

// Sets a file dialog up for a text file (*.txt, the suffix added when missing): to open an
// existing one, or to save, with `fileName` offered when given.
void SetUpTextFileDialog(QFileDialog& dialog, QFileDialog::AcceptMode mode,
                         const QString& fileName = {});
// Runs the dialog; the file chosen, or nothing when it was cancelled.
QString ExecFileDialog(QFileDialog& dialog);

// Whether the cell is on the current row of a view that has the keyboard focus (views that
// show focus on whole rows do not flag the cell).
bool IsFocusedRow(const QStyleOptionViewItem& opt, const QModelIndex& index);
// Selected rows of a list without the focus sit on a quiet background, so that their text
// (window-text colour) stays readable.
void QuietSelection(QStyleOptionViewItem& opt, bool focusedRow);

// A flat list of one selectable row at a time, not edited in place, whose one header
// section fills the width and neither sorts nor moves.
void SetUpList(QTreeView* tree);

// A table without children: RowCount() rows, one column a caption, the captions as the
// horizontal header.
class TFlatTableModel : public QAbstractTableModel {
public:
    explicit TFlatTableModel(QStringList captions, QObject* parent = nullptr)
        : QAbstractTableModel(parent), captions_(std::move(captions)) {}

    virtual int RowCount() const = 0;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

protected:
    const QStringList& Captions() const { return captions_; }

private:
    QStringList captions_;
};

// A flat table over a vector of rows, one row each.
template <class TRow>
class TRowsModel : public TFlatTableModel {
public:
    using TFlatTableModel::TFlatTableModel;

    const std::vector<TRow>& Rows() const { return rows_; }
    int RowCount() const override { return static_cast<int>(rows_.size()); }

protected:
    std::vector<TRow> rows_;
};

} // namespace nb::ui

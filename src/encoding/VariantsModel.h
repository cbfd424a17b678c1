// The rows of the variants list: one TVariantRec per variant, columns "Вариант" and
// "Количество". The rows are always in display order: by Count ascending, ties in the
// order they were added (a stable sort at the end of every update); the view cannot
// re-sort them.
#pragma once

#include "code/NumbreliaTypesUnit.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include <string>
#include <vector>

namespace nb::ui {

class TVariantsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { VariantColumn = 0, CountColumn = 1, ColumnCount = 2 };
    // A longer key is shown (and given as its tooltip) up to here, then "…".
    static constexpr int kShownKeyChars = 1000;

    using QAbstractTableModel::QAbstractTableModel;

    // Replaces every row in one update; the rows are then sorted by Count, stably.
    void SetRows(std::vector<TVariantRec> rows);
    void Clear() { SetRows({}); }

    const TVariantRec& Row(int row) const { return rows_[static_cast<size_t>(row)]; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    // The row holding this variant key, or -1.
    int FindVariant(const std::string& key) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<TVariantRec> rows_;
};

// Shows a cell's whole text as its tooltip when the cell is too narrow for it (the view
// cuts it with "…").
class TElidedTipDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

} // namespace nb::ui

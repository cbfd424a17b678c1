// The rows of the variants list: one TVariantRec per variant, columns "Вариант" and
// "Количество". The rows are shown in the order the encode gives them (by Count
// ascending, or best first); the model never sorts them and the view cannot re-sort them.
#pragma once

#include "code/NumbreliaTypesUnit.h"
#include "core/FormHelpersUnit.h"

#include <QStyledItemDelegate>

#include <string>
#include <vector>

namespace nb::ui {

class TVariantsModel : public TRowsModel<TVariantRec> {
    Q_OBJECT
public:
    enum Column { VariantColumn = 0, CountColumn = 1, ColumnCount = 2 };
    // A longer key is shown (and given as its tooltip) up to here, then "…".
    static constexpr int kShownKeyChars = 1000;
    // The whole variant key, never cut (the display text is).
    static constexpr int FullKeyRole = Qt::UserRole;

    explicit TVariantsModel(QObject* parent = nullptr);

    // Replaces every row in one update. The rows come in display order (the encode's), and
    // are shown in it.
    void SetRows(std::vector<TVariantRec> rows);
    void Clear() { SetRows({}); }

    const TVariantRec& Row(int row) const { return rows_[static_cast<size_t>(row)]; }
    // The row holding this variant key, or -1.
    int FindVariant(const std::string& key) const;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
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

// The variants list's cells: a key too long for its column is shown from the group where
// it starts to differ from the first row's key, after a "…", so that the rows of a long
// number can be told apart; a key that fits, and the first row, are drawn as any cell.
// Its text (the tooltip, what Ctrl+C copies) stays the whole key.
class TVariantsDelegate : public TElidedTipDelegate {
    Q_OBJECT
public:
    using TElidedTipDelegate::TElidedTipDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The text drawn for a cell `width` pixels wide (for the tests).
    static QString ShownKey(const QModelIndex& index, const QStyleOptionViewItem& option, int width);
};

} // namespace nb::ui

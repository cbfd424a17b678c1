#include "VariantsModel.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

#include <algorithm>

namespace nb::ui {

TVariantsModel::TVariantsModel(QObject* parent)
    : TRowsModel({QStringLiteral("Вариант"), QStringLiteral("Количество")}, parent) {}

void TVariantsModel::SetRows(std::vector<TVariantRec> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int TVariantsModel::FindVariant(const std::string& key) const {
    const auto it = std::find_if(rows_.begin(), rows_.end(),
                                 [&](const TVariantRec& r) { return r.Variant == key; });
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

QVariant TVariantsModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const TVariantRec& rec = Row(index.row());
    if (role == Qt::DisplayRole) {
        // Variant keys are ASCII digits and '-'. The view lays out a cell's whole text
        // before it cuts it with "…", so the key of a very long number is cut here already.
        if (index.column() == VariantColumn) {
            if (rec.Variant.size() <= kShownKeyChars) return QString::fromLatin1(rec.Variant);
            return QString::fromLatin1(rec.Variant.data(), kShownKeyChars) + QChar(0x2026);
        }
        return QString::number(rec.Count);
    }
    if (role == Qt::TextAlignmentRole && index.column() == CountColumn)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

bool TElidedTipDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!event || !view || event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QStyle* style = view->style();
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, view);
    // The style keeps a margin inside the text rectangle before it elides.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    if (opt.fontMetrics.horizontalAdvance(opt.text) > text.width() - 2 * margin) {
        QToolTip::showText(event->globalPos(), opt.text, view->viewport(), opt.rect);
        return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

} // namespace nb::ui

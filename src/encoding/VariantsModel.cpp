#include "VariantsModel.h"

#include "encoding/VariantSearchUnit.h"

#include <QAbstractItemView>
#include <QApplication>
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
    if (role == FullKeyRole && index.column() == VariantColumn) return QString::fromLatin1(rec.Variant);
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

namespace {

// The width the style leaves for a cell's text before it elides it.
int TextWidth(const QStyleOptionViewItem& opt) {
    const QWidget* w = opt.widget;
    const QStyle* style = w ? w->style() : QApplication::style();
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, w);
    return text.width() - 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, w) + 1);
}

} // namespace

QString TVariantsDelegate::ShownKey(const QModelIndex& index, const QStyleOptionViewItem& opt, int width) {
    const QString shown = index.data(Qt::DisplayRole).toString();
    if (index.column() != TVariantsModel::VariantColumn || index.row() == 0 ||
        opt.fontMetrics.horizontalAdvance(shown) <= width)
        return shown;
    const std::string key = index.data(TVariantsModel::FullKeyRole).toString().toStdString();
    const std::string first =
        index.model()->index(0, index.column()).data(TVariantsModel::FullKeyRole).toString().toStdString();
    const size_t start = DifferingGroupStart(key, first);
    if (start == 0) return shown;
    // The style cuts the rest with "…" on the right, as any cell.
    return QChar(0x2026) + QString::fromLatin1(key.data() + start,
                                               static_cast<qsizetype>(std::min<size_t>(
                                                   key.size() - start, TVariantsModel::kShownKeyChars)));
}

void TVariantsDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    opt.text = ShownKey(index, opt, TextWidth(opt));
    const QWidget* w = opt.widget;
    (w ? w->style() : QApplication::style())->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
}

} // namespace nb::ui

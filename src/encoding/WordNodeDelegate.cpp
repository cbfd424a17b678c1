#include "WordNodeDelegate.h"

#include "core/ColorUnit.h"
#include "core/FormHelpersUnit.h"
#include "core/TextUnit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>

namespace nb::ui {

void TWordNodeDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    bool ok = false;
    const int dicIndex = index.data(kDicIndexRole).toInt(&ok);
    const TStringList* dic = painting_.DicList;
    if (!ok || !dic || dicIndex < 0 || static_cast<size_t>(dicIndex) >= dic->Count()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const std::string& entry = (*dic)[static_cast<size_t>(dicIndex)];

    // Background, selection and focus frame as the style draws them; the text is ours.
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    opt.text.clear();
    const QWidget* widget = opt.widget;
    const bool focusedRow = IsFocusedRow(opt, index) && (opt.state & QStyle::State_Selected);
    // The chosen word of a column without the focus sits on a quiet background, so its
    // key letters stay readable.
    QuietSelection(opt, focusedRow);
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect rect = opt.rect.adjusted(margin, 1, 0, 0);
    painter->save();
    painter->setFont(opt.font);
    const QFontMetrics fm(opt.font);
    const int baseline = rect.top() + fm.ascent();

    // The focused row of the column that has the keyboard focus reads as one highlighted
    // phrase; key letters would be hard to see on the highlight.
    if (focusedRow) {
        painter->setPen(opt.palette.color(QPalette::HighlightedText));
        painter->drawText(QPoint(rect.left(), baseline), FromCp1251(entry));
        painter->restore();
        return;
    }

    const std::vector<bool> keys = painting_.Coder.MarkKeyLetters(entry, painting_.Mode);
    const QColor keyColor = ColorValueToQColor(painting_.LetterColor, opt.palette);
    const QColor textColor = opt.palette.color(QPalette::WindowText);
    int x = rect.left();
    for (size_t i = 0; i < entry.size(); ++i) {
        const QChar ch(static_cast<char16_t>(Cp1251ToCodePoint(static_cast<unsigned char>(entry[i]))));
        painter->setPen(i < keys.size() && keys[i] ? keyColor : textColor);
        painter->drawText(QPoint(x, baseline), QString(ch));
        x += fm.horizontalAdvance(ch);
    }
    painter->restore();
}

} // namespace nb::ui

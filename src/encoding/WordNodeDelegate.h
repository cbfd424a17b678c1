// DrawWordNode: paints one row of a word list. A row holds only a DicList index; the text
// is looked up when the row is painted, and the key letters of the entry (the letters
// that carry digits under the active table and grouping mode) are drawn in LetterColor.
// The word columns of the main window and the code table window share it.
#pragma once

#include "code/WordCodeUnit.h"
#include "core/SettingsUnit.h"
#include "dictionary/StringListUnit.h"

#include <QStyledItemDelegate>

#include <cstdint>

namespace nb::ui {

// What painting needs; the owner keeps it up to date when the table or settings change.
struct TWordPainting {
    const TStringList* DicList = nullptr;
    TWordCoder Coder;
    TGroupingMode Mode = TGroupingMode::AllLetters;
    int32_t LetterColor = kDefaultLetterColor;
};

// The role under which word-list models give a row's DicList index.
inline constexpr int kDicIndexRole = Qt::UserRole + 1;

class TWordNodeDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TWordNodeDelegate(const TWordPainting& painting, QObject* parent = nullptr)
        : QStyledItemDelegate(parent), painting_(painting) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    const TWordPainting& painting_;
};

} // namespace nb::ui

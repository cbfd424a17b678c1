#include "PiecesView.h"

#include "core/FormHelpersUnit.h"
#include "notebook/PiecesUnit.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace nb::ui {

namespace {

// The lines shown at once; more scroll.
constexpr int kVisibleLines = 5;

} // namespace

TPiecesView::TPiecesView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PiecesView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 2);
    layout->setSpacing(2);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(new QLabel(QStringLiteral("Части фразы — маршрут по знакомым местам:"), this));
    takeButton_ = new QPushButton(QStringLiteral("Взять слово"), this);
    takeButton_->setObjectName(QStringLiteral("PieceTakeButton"));
    takeButton_->setToolTip(QStringLiteral("Выбранная часть берет первое слово следующей"));
    giveButton_ = new QPushButton(QStringLiteral("Отдать слово"), this);
    giveButton_->setObjectName(QStringLiteral("PieceGiveButton"));
    giveButton_->setToolTip(QStringLiteral("Выбранная часть отдает последнее слово следующей"));
    for (QPushButton* b : {takeButton_, giveButton_}) {
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::TabFocus);
    }
    buttons->addWidget(takeButton_);
    buttons->addWidget(giveButton_);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    table_ = new QTableWidget(0, ColumnCount, this);
    table_->setObjectName(QStringLiteral("PiecesTable"));
    table_->setHorizontalHeaderLabels({QStringLiteral("№"), QStringLiteral("Цифры"), QStringLiteral("Слова"),
                                       QStringLiteral("Место (примечание)")});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    table_->setWordWrap(false);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(NumberColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(DigitsColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(WordsColumn, QHeaderView::Interactive);
    header->setStretchLastSection(true);
    header->resizeSection(WordsColumn, 320);
    layout->addWidget(table_);

    connect(table_, &QTableWidget::itemChanged, this, &TPiecesView::NoteEdited);
    connect(table_, &QTableWidget::currentCellChanged, this, [this] { UpdateButtons(); });
    connect(takeButton_, &QPushButton::clicked, this, [this] { MoveBoundary(table_->currentRow(), +1); });
    connect(giveButton_, &QPushButton::clicked, this, [this] { MoveBoundary(table_->currentRow(), -1); });
    hide();
}

void TPiecesView::ShowVariant(std::vector<std::string> groups, std::vector<int32_t> sizes,
                              std::vector<std::string> notes, int32_t pieceWords) {
    groups_ = std::move(groups);
    sizes_ = std::move(sizes);
    notes_ = std::move(notes);
    notes_.resize(sizes_.size());
    pieceWords_ = pieceWords;
    words_.clear();
    currentColumn_ = -1;
    setVisible(!sizes_.empty());
    Fill();
    if (!sizes_.empty()) table_->setCurrentCell(0, NoteColumn);
}

void TPiecesView::SetWords(std::vector<std::string> words, int currentColumn) {
    words_ = std::move(words);
    currentColumn_ = currentColumn;
    if (Cut()) Fill();
}

bool TPiecesView::MoveBoundary(int piece, int delta) {
    if (piece < 0 || !nb::MoveBoundary(sizes_, static_cast<size_t>(piece), delta, pieceWords_)) return false;
    Fill();
    return true;
}

void TPiecesView::Fill() {
    filling_ = true;
    const int keepRow = table_->currentRow();
    const auto pieces = MakePieces(groups_, words_, sizes_, notes_);
    currentPiece_ = currentColumn_ >= 0 ? PieceOfColumn(sizes_, static_cast<size_t>(currentColumn_)) : -1;
    table_->setRowCount(static_cast<int>(pieces.size()));
    QFont bold = table_->font();
    bold.setBold(true);
    const QColor mark = palette().color(QPalette::Highlight).lighter(170);
    for (int r = 0; r < static_cast<int>(pieces.size()); ++r) {
        const TPiece& p = pieces[static_cast<size_t>(r)];
        QString words;
        for (const auto& w : p.Words) words += (words.isEmpty() ? QString() : QStringLiteral(" - ")) + FromCp1251(w);
        const QString texts[ColumnCount] = {QString::number(r + 1), QString::fromLatin1(p.Digits), words,
                                            FromCp1251(p.Note)};
        for (int c = 0; c < ColumnCount; ++c) {
            QTableWidgetItem* item = table_->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                table_->setItem(r, c, item);
            }
            // User text stays plain text.
            item->setText(texts[c]);
            item->setFlags(c == NoteColumn ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                                           : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            const bool current = r == currentPiece_;
            item->setFont(current ? bold : table_->font());
            item->setBackground(current ? QBrush(mark) : QBrush());
        }
    }
    const int line = table_->verticalHeader()->defaultSectionSize();
    const int lines = std::min(static_cast<int>(pieces.size()), kVisibleLines);
    table_->setFixedHeight(table_->horizontalHeader()->sizeHint().height() + line * std::max(lines, 1) +
                           2 * table_->frameWidth());
    if (keepRow >= 0 && keepRow < table_->rowCount()) table_->setCurrentCell(keepRow, table_->currentColumn());
    if (currentPiece_ >= 0) table_->scrollToItem(table_->item(currentPiece_, 0));
    filling_ = false;
    UpdateButtons();
}

void TPiecesView::UpdateButtons() {
    const int r = table_->currentRow();
    takeButton_->setEnabled(r >= 0 && CanMoveBoundary(sizes_, static_cast<size_t>(r), +1, pieceWords_));
    giveButton_->setEnabled(r >= 0 && CanMoveBoundary(sizes_, static_cast<size_t>(r), -1, pieceWords_));
}

void TPiecesView::NoteEdited(QTableWidgetItem* item) {
    if (filling_ || !item || item->column() != NoteColumn) return;
    const auto r = static_cast<size_t>(item->row());
    if (r < notes_.size()) notes_[r] = PlaceNote(ToCp1251(item->text()));
}

} // namespace nb::ui

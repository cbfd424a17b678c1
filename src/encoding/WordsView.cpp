#include "WordsView.h"

#include "core/FormHelpersUnit.h"
#include "core/TextUnit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace nb::ui {

namespace {

// The entries of a made column.
std::vector<int32_t> ColumnEntries(const TWordColumnModel* model) {
    std::vector<int32_t> entries(static_cast<size_t>(model->RowCount()));
    for (int r = 0; r < model->RowCount(); ++r) entries[static_cast<size_t>(r)] = model->Entry(r);
    return entries;
}

} // namespace

// ---- TWordColumnModel -------------------------------------------------------------------

TWordColumnModel::TWordColumnModel(QString caption, std::vector<int32_t> rows,
                                   const TStringList& dicList, QObject* parent)
    : TFlatTableModel({std::move(caption)}, parent), rows_(std::move(rows)), dicList_(dicList) {}

void TWordColumnModel::ClearRows() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

QVariant TWordColumnModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int32_t entry = Entry(index.row());
    if (role == kDicIndexRole) return entry;
    if (role == Qt::DisplayRole) {
        if (entry < 0 || static_cast<size_t>(entry) >= dicList_.Count()) return {};
        return FromCp1251(dicList_[static_cast<size_t>(entry)]);
    }
    return {};
}

// ---- TWordTree ----------------------------------------------------------------------------

TWordTree::TWordTree(QWidget* parent) : QTreeView(parent) {
    SetUpList(this);
    setContextMenuPolicy(Qt::CustomContextMenu);
    // The whole area scrolls sideways; a column is as wide as its words.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int TWordTree::FocusedRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TWordTree::FocusRow(int row) {
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

void TWordTree::focusInEvent(QFocusEvent* event) {
    QTreeView::focusInEvent(event);
    // A pop-up menu closing or the window being re-activated gives the focus back; only a
    // real move into the column counts.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit Entered();
    if (event->reason() != Qt::MouseFocusReason && event->reason() != Qt::PopupFocusReason &&
        event->reason() != Qt::ActiveWindowFocusReason)
        emit KeyboardEntered();
}

QItemSelectionModel::SelectionFlags TWordTree::selectionCommand(const QModelIndex& index,
                                                               const QEvent*) const {
    // The focused row is the group's chosen word and stays selected: a click beside the
    // rows or a Ctrl+click changes nothing.
    if (!index.isValid()) return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}

// ---- TWordsView ---------------------------------------------------------------------------

TWordsView::TWordsView(QWidget* parent) : QWidget(parent) {
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    strip_ = new QWidget;
    strip_->setBackgroundRole(QPalette::Base);
    scroll_->setWidget(strip_);
    scroll_->viewport()->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll_);
    connect(scroll_->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { MakeColumnsInReach(); });
}

bool TWordsView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize) SplitterMoved();
    return QWidget::eventFilter(watched, event);
}

void TWordsView::Setup(const TWordPainting& painting, TSession& session) {
    painting_ = &painting;
    session_ = &session;
    delete delegate_;
    delegate_ = new TWordNodeDelegate(painting, this);
}

TWordTree* TWordsView::AddColumn(const TWordColumn& column) {
    auto* tree = new TWordTree(strip_);
    auto* model = new TWordColumnModel(QString::fromLatin1(column.Group), column.Entries,
                                       *painting_->DicList, tree);
    tree->setModel(model);
    tree->setItemDelegate(delegate_);
    // As the list stands now: a word hidden since the variant was shown stays hidden here.
    ShowHiddenState(tree);
    connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, tree](const QModelIndex& current) {
                if (!current.isValid()) return;
                const int32_t entry = tree->ColumnModel()->Entry(current.row());
                if (showing_) {
                    pendingEntry_ = entry;
                    return;
                }
                currentColumn_ = static_cast<int>(std::find(wordTrees_.begin(), wordTrees_.end(), tree) -
                                                  wordTrees_.begin());
                emit WordFocusChanged(entry);
            });
    connect(tree, &TWordTree::Entered, this, [this, tree] { AnnounceFocus(tree); });
    connect(tree, &TWordTree::KeyboardEntered, this,
            [this, tree] { scroll_->ensureWidgetVisible(tree, 0, 0); });
    connect(tree, &QWidget::customContextMenuRequested, this, [this, tree](const QPoint& pos) {
        tree->setFocus(Qt::MouseFocusReason);
        const QModelIndex index = tree->indexAt(pos);
        if (index.isValid()) tree->FocusRow(index.row());
        emit PopupRequested(tree->viewport()->mapToGlobal(pos));
    });
    return tree;
}

void TWordsView::ShowVariant(std::vector<TWordColumn> columns) {
    // A column may be the one whose pop-up menu led here (hide number re-encodes), so the
    // old columns go once control is back in the event loop.
    for (TWordTree* tree : wordTrees_) {
        tree->hide();
        tree->deleteLater();
    }
    wordTrees_.clear();
    rowsCleared_ = false;

    // Every column's chosen word and an estimate of its width are known at once (the
    // phrase needs them all); the columns themselves are made as they come into reach.
    columns_ = std::move(columns);
    const size_t n = columns_.size();
    widths_.assign(n, 0);
    const TStringList& dic = *painting_->DicList;
    const QFontMetrics fm(font());
    const int letter = fm.horizontalAdvance(QChar(u'ш'));
    for (size_t i = 0; i < n; ++i) {
        const TWordColumn& column = columns_[i];
        size_t longest = column.Group.size();
        for (size_t e = 0; e < column.Entries.size(); ++e)
            if (!column.Hidden[e])
                longest = std::max(longest, dic[static_cast<size_t>(column.Entries[e])].size());
        widths_[i] = ColumnWidthFor(
            static_cast<int>(std::min(longest, static_cast<size_t>(kMaxColumnChars))) * letter);
    }

    setUpdatesEnabled(false);
    // The columns announce their focus once, at the end: the phrase is made of every
    // column, and announcing each one would cost the square of their number.
    showing_ = true;
    LayoutColumns();
    scroll_->horizontalScrollBar()->setValue(0);
    MakeColumnsInReach();
    showing_ = false;
    setUpdatesEnabled(true);
    currentColumn_ = static_cast<int>(n) - 1;
    if (n > 0 && ChosenEntry(n - 1) >= 0) emit WordFocusChanged(ChosenEntry(n - 1));
    AnnounceHiddenChange();
}

void TWordsView::ClearRows() {
    for (TWordTree* tree : wordTrees_) tree->ColumnModel()->ClearRows();
    for (TWordColumn& column : columns_) {
        column.Entries.clear();
        column.Hidden.clear();
        column.Chosen = -1;
    }
    rowsCleared_ = true;
}

TWordTree* TWordsView::FocusedColumn() const {
    QWidget* focus = QApplication::focusWidget();
    for (TWordTree* tree : wordTrees_)
        if (tree == focus) return tree;
    return nullptr;
}

std::vector<std::string> TWordsView::ChosenWords() const {
    std::vector<std::string> words;
    const TStringList& dic = *painting_->DicList;
    for (size_t i = 0; i < columns_.size(); ++i)
        if (const int32_t entry = ChosenEntry(i); entry >= 0) words.push_back(dic[static_cast<size_t>(entry)]);
    return words;
}

int32_t TWordsView::ChosenEntry(size_t i) const {
    if (i >= wordTrees_.size()) return i < columns_.size() ? columns_[i].Chosen : -1;
    const TWordTree* tree = wordTrees_[i];
    const int row = tree->FocusedRow();
    return row >= 0 ? tree->ColumnModel()->Entry(row) : -1;
}

void TWordsView::ShowHiddenState(TWordTree* column) {
    const TWordColumnModel* model = column->ColumnModel();
    for (int r = 0; r < model->RowCount(); ++r)
        column->SetRowVisible(r, !session_->IsWordHidden(model->Entry(r)));
}


void TWordsView::AnnounceHiddenChange() {
    if (!hiddenChanged_) return;
    hiddenChanged_ = false;
    // A column not made yet must not keep a word just hidden as its choice: the phrase
    // shows it. It takes the word the column will show first when made.
    for (size_t i = wordTrees_.size(); i < columns_.size(); ++i) {
        TWordColumn& column = columns_[i];
        if (column.Chosen >= 0 && session_->IsWordHidden(column.Chosen))
            column.Chosen = session_->FirstShown(column.Entries);
    }
    emit HiddenWordsChanged();
}

void TWordsView::EnsureVisibleWord(TWordTree* column) {
    const TWordColumnModel* model = column->ColumnModel();
    const int rows = model->RowCount();
    if (rows == 0) return;
    const auto firstShownRow = [&] {
        for (int r = 0; r < rows; ++r)
            if (column->IsRowVisible(r)) return r;
        return -1;
    };
    int firstVisible = firstShownRow();
    if (firstVisible < 0) {
        hiddenChanged_ |= session_->KeepAWordShown(ColumnEntries(model));
        ShowHiddenState(column);
        firstVisible = std::max(firstShownRow(), 0);
    }
    const int focused = column->FocusedRow();
    if (focused < 0 || !column->IsRowVisible(focused)) column->FocusRow(firstVisible);
    column->viewport()->update();
}

void TWordsView::HideWord() {
    TWordTree* column = FocusedColumn();
    if (!column) return;
    const int row = column->FocusedRow();
    if (row < 0) return;
    const TWordColumnModel* model = column->ColumnModel();
    hiddenChanged_ |= session_->HideWord(ColumnEntries(model), model->Entry(row));
    ShowHiddenState(column);
    EnsureVisibleWord(column);
    AnnounceHiddenChange();
}

void TWordsView::KeepOnlyWord() {
    TWordTree* column = FocusedColumn();
    if (!column) return;
    const TWordColumnModel* model = column->ColumnModel();
    const int row = column->FocusedRow();
    hiddenChanged_ |= session_->KeepOnlyWord(ColumnEntries(model), row >= 0 ? model->Entry(row) : -1);
    ShowHiddenState(column);
    EnsureVisibleWord(column);
    AnnounceHiddenChange();
}

void TWordsView::AnnounceFocus(TWordTree* column) {
    const int row = column->FocusedRow();
    if (row < 0) return;
    currentColumn_ = static_cast<int>(std::find(wordTrees_.begin(), wordTrees_.end(), column) - wordTrees_.begin());
    emit WordFocusChanged(column->ColumnModel()->Entry(row));
}

void TWordsView::SplitterMoved() {
    LayoutColumns();
    MakeColumnsInReach();
}

int TWordsView::ColumnWidthFor(int textWidth) const {
    // The delegate's text margin on the left, a little air on the right, the frame, and
    // room for the column's vertical scroll bar.
    const QStyle* st = style();
    return textWidth + 2 * (st->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 6 +
           2 * st->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) +
           st->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

int TWordsView::MeasureColumn(const TWordTree* tree) const {
    const QFontMetrics fm(tree->font());
    const TWordColumnModel* model = tree->ColumnModel();
    int text = fm.horizontalAdvance(model->Caption()) +
               2 * tree->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, tree);
    for (int r = 0; r < model->RowCount(); ++r)
        if (tree->IsRowVisible(r))
            text = std::max(text, fm.horizontalAdvance(model->index(r, 0).data().toString()));
    return ColumnWidthFor(std::min(text, fm.horizontalAdvance(QString(kMaxColumnChars, QChar(u'ш')))));
}

void TWordsView::LayoutColumns() {
    const size_t n = columns_.size();
    const int view = scroll_->viewport()->width();
    const int height = scroll_->viewport()->height();
    lefts_.assign(n + 1, 0);
    if (n > 0) {
        const int share = view / static_cast<int>(n);
        if (share >= *std::max_element(widths_.begin(), widths_.end())) {
            for (size_t i = 0; i < n; ++i) lefts_[i] = static_cast<int>(i) * share;
            lefts_[n] = view;
        } else {
            long total = 0;
            for (const int w : widths_) total += w;
            // Narrow columns that nearly fit share out what is left of the view.
            const int extra = total < view ? static_cast<int>((view - total) / static_cast<long>(n)) : 0;
            int x = 0;
            for (size_t i = 0; i < n; ++i) {
                lefts_[i] = x;
                x += widths_[i] + extra;
            }
            lefts_[n] = std::max(x, view);
        }
    }
    strip_->resize(std::max(lefts_[n], view), height);
    for (size_t i = 0; i < wordTrees_.size(); ++i)
        wordTrees_[i]->setGeometry(lefts_[i], 0, lefts_[i + 1] - lefts_[i], height);
}

void TWordsView::MakeColumnsInReach() {
    if (rowsCleared_ || !painting_ || wordTrees_.size() >= columns_.size()) return;
    const int view = scroll_->viewport()->width();
    const int reach = scroll_->horizontalScrollBar()->value() + 2 * view +
                      ColumnWidthFor(QFontMetrics(font()).horizontalAdvance(QString(kMaxColumnChars, QChar(u'ш'))));
    // A column made now announces nothing: its chosen word is in the phrase already.
    const bool wasShowing = showing_;
    showing_ = true;
    while (wordTrees_.size() < columns_.size() && lefts_[wordTrees_.size()] < reach) {
        const size_t i = wordTrees_.size();
        TWordTree* tree = AddColumn(columns_[i]);
        // Tab goes from the column before (or the list of variants) to this one.
        if (QWidget* before = i == 0 ? tabPredecessor_ : wordTrees_.back()) QWidget::setTabOrder(before, tree);
        wordTrees_.push_back(tree);
        const TWordColumnModel* model = tree->ColumnModel();
        for (int r = 0; r < model->RowCount(); ++r)
            if (model->Entry(r) == columns_[i].Chosen) {
                tree->FocusRow(r);
                break;
            }
        if (model->RowCount() > 0 && tree->FocusedRow() < 0) tree->FocusRow(0);
        EnsureVisibleWord(tree);
        widths_[i] = MeasureColumn(tree);
        // The measured width moves the columns after this one.
        LayoutColumns();
        tree->show();
    }
    showing_ = wasShowing;
    // A column whose every word was hidden meanwhile gets its first one back.
    if (!showing_) AnnounceHiddenChange();
}

void TWordsView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SplitterMoved();
}

} // namespace nb::ui

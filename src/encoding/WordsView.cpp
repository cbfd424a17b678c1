#include "WordsView.h"

#include "core/TextUnit.h"
#include "dictionary/CodeDictionaryUnit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>

namespace nb::ui {

// ---- TWordColumnModel -------------------------------------------------------------------

TWordColumnModel::TWordColumnModel(QString caption, std::vector<int32_t> rows,
                                   const TStringList& dicList, QObject* parent)
    : QAbstractTableModel(parent), caption_(std::move(caption)), rows_(std::move(rows)),
      dicList_(dicList) {}

void TWordColumnModel::ClearRows() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

int TWordColumnModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount();
}

int TWordColumnModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 1; }

QVariant TWordColumnModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int32_t entry = Entry(index.row());
    if (role == kDicIndexRole) return entry;
    if (role == Qt::DisplayRole) {
        if (entry < 0 || static_cast<size_t>(entry) >= dicList_.Count()) return {};
        return QString::fromStdU16String(Cp1251ToUtf16(dicList_[static_cast<size_t>(entry)]));
    }
    return {};
}

QVariant TWordColumnModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole) return caption_;
    return {};
}

// ---- TWordTree ----------------------------------------------------------------------------

TWordTree::TWordTree(QWidget* parent) : QTreeView(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
    header()->setStretchLastSection(true);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
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
}

void TWordsView::Setup(const TWordPainting& painting, const TCodeDictionary& dictionary,
                       TStringList& hidedWordList) {
    painting_ = &painting;
    dictionary_ = &dictionary;
    hidedWordList_ = &hidedWordList;
    delete delegate_;
    delegate_ = new TWordNodeDelegate(painting, this);
}

TWordTree* TWordsView::AddColumn(const std::string& group) {
    auto* tree = new TWordTree(this);
    auto* model = new TWordColumnModel(QString::fromLatin1(group), dictionary_->EntriesOfGroup(group),
                                       *painting_->DicList, tree);
    tree->setModel(model);
    tree->setItemDelegate(delegate_);
    const TStringList& dic = *painting_->DicList;
    for (int r = 0; r < model->RowCount(); ++r)
        if (hidedWordList_->Contains(dic[static_cast<size_t>(model->Entry(r))]))
            tree->SetRowVisible(r, false);
    connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, tree](const QModelIndex& current) {
                if (!current.isValid()) return;
                const int32_t entry = tree->ColumnModel()->Entry(current.row());
                if (showing_) pendingEntry_ = entry;
                else emit WordFocusChanged(entry);
            });
    connect(tree, &TWordTree::Entered, this, [this, tree] { AnnounceFocus(tree); });
    connect(tree, &QWidget::customContextMenuRequested, this, [this, tree](const QPoint& pos) {
        tree->setFocus(Qt::MouseFocusReason);
        const QModelIndex index = tree->indexAt(pos);
        if (index.isValid()) tree->FocusRow(index.row());
        emit PopupRequested(tree->viewport()->mapToGlobal(pos));
    });
    return tree;
}

void TWordsView::ShowVariant(const std::string& variantKey, const std::vector<std::string>& remembered) {
    // A column may be the one whose pop-up menu led here (hide number re-encodes), so the
    // old columns go once control is back in the event loop.
    for (TWordTree* tree : wordTrees_) {
        tree->hide();
        tree->deleteLater();
    }
    wordTrees_.clear();

    std::vector<std::string> groups;
    for (size_t start = 0;;) {
        const size_t dash = variantKey.find('-', start);
        groups.push_back(variantKey.substr(start, dash == std::string::npos ? dash : dash - start));
        if (dash == std::string::npos) break;
        start = dash + 1;
    }
    setUpdatesEnabled(false);
    // The columns announce their focus once, at the end: the phrase is made of every
    // column, and announcing each one would cost the square of their number.
    showing_ = true;
    pendingEntry_ = -1;
    for (const std::string& group : groups) wordTrees_.push_back(AddColumn(group));

    const TStringList& dic = *painting_->DicList;
    for (size_t i = 0; i < wordTrees_.size(); ++i) {
        TWordTree* tree = wordTrees_[i];
        TWordColumnModel* model = tree->ColumnModel();
        if (i + 1 < remembered.size()) {
            // Remembered words match exactly, letter case included.
            for (int r = 0; r < model->RowCount(); ++r)
                if (dic[static_cast<size_t>(model->Entry(r))] == remembered[i + 1]) {
                    tree->FocusRow(r);
                    break;
                }
        }
        if (model->RowCount() > 0 && tree->FocusedRow() < 0) tree->FocusRow(0);
    }
    for (TWordTree* tree : wordTrees_) EnsureVisibleWord(tree);
    showing_ = false;
    SplitterMoved();
    for (TWordTree* tree : wordTrees_) tree->show();
    setUpdatesEnabled(true);
    if (pendingEntry_ >= 0) emit WordFocusChanged(pendingEntry_);
}

void TWordsView::ClearRows() {
    for (TWordTree* tree : wordTrees_) tree->ColumnModel()->ClearRows();
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
    for (const TWordTree* tree : wordTrees_) {
        const int row = tree->FocusedRow();
        if (row >= 0) words.push_back(dic[static_cast<size_t>(tree->ColumnModel()->Entry(row))]);
    }
    return words;
}

void TWordsView::RemoveHidden(int32_t dicIndex) {
    const long i = hidedWordList_->IndexOf((*painting_->DicList)[static_cast<size_t>(dicIndex)]);
    if (i >= 0) hidedWordList_->Delete(static_cast<size_t>(i));
}

void TWordsView::EnsureVisibleWord(TWordTree* column) {
    TWordColumnModel* model = column->ColumnModel();
    const int rows = model->RowCount();
    if (rows == 0) return;
    int firstVisible = -1;
    for (int r = 0; r < rows && firstVisible < 0; ++r)
        if (column->IsRowVisible(r)) firstVisible = r;
    // A column never ends up with nothing to show: its first entry comes back.
    if (firstVisible < 0) {
        column->SetRowVisible(0, true);
        RemoveHidden(model->Entry(0));
        firstVisible = 0;
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
    column->SetRowVisible(row, false);
    hidedWordList_->Add((*painting_->DicList)[static_cast<size_t>(column->ColumnModel()->Entry(row))]);
    EnsureVisibleWord(column);
}

void TWordsView::KeepOnlyWord() {
    TWordTree* column = FocusedColumn();
    if (!column) return;
    TWordColumnModel* model = column->ColumnModel();
    const TStringList& dic = *painting_->DicList;
    for (int r = 0; r < model->RowCount(); ++r) {
        column->SetRowVisible(r, false);
        hidedWordList_->Add(dic[static_cast<size_t>(model->Entry(r))]);
    }
    const int row = column->FocusedRow();
    if (row >= 0) {
        column->SetRowVisible(row, true);
        RemoveHidden(model->Entry(row));
    }
    EnsureVisibleWord(column);
}

void TWordsView::AnnounceFocus(TWordTree* column) {
    const int row = column->FocusedRow();
    if (row >= 0) emit WordFocusChanged(column->ColumnModel()->Entry(row));
}

void TWordsView::SplitterMoved() {
    if (wordTrees_.empty()) return;
    const int n = static_cast<int>(wordTrees_.size());
    const int w = width() / n;
    for (int i = 0; i < n; ++i) {
        const int x = i * w;
        const int cw = i == n - 1 ? width() - x : w;
        wordTrees_[static_cast<size_t>(i)]->setGeometry(x, 0, cw, height());
    }
}

void TWordsView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SplitterMoved();
}

} // namespace nb::ui

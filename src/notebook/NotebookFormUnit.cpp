#include "NotebookFormUnit.h"

#include "ui_NotebookForm.h"

#include "core/FileUnit.h"
#include "core/FormHelpersUnit.h"
#include "core/MessageBoxUnit.h"
#include "core/SettingsUnit.h"
#include "core/TextUnit.h"
#include "notebook/AddToNotebookFormUnit.h"
#include "notebook/NotebookStoreUnit.h"
#include "resources/ResStrUnit.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QScreen>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <QPainter>

#include <algorithm>
#include <array>

namespace nb::ui {

namespace {

constexpr std::array<int, TNotebookModel::ColumnCount> kLaidOutWidths{
    kDefaultCodeWidth, kDefaultTextWidth, kDefaultNoteWidth, kDefaultReviewWidth};
constexpr std::array<const char*, TNotebookModel::ColumnCount> kWidthKeys{"CodeWidth", "TextWidth", "NoteWidth",
                                                                         "ReviewWidth"};

TNotebookForm::SaveDialogRunner& TestSaveDialog() {
    static TNotebookForm::SaveDialogRunner runner;
    return runner;
}

QString RunSaveDialog(QFileDialog& dialog) {
    if (const auto& runner = TestSaveDialog()) return runner(dialog);
    return ExecFileDialog(dialog);
}

} // namespace

// ---- rows -----------------------------------------------------------------------------------

namespace {

// A child row's internal id is its entry's row + 1; an entry's is 0.
constexpr quintptr kEntryId = 0;

} // namespace

TNotebookModel::TNotebookModel(QObject* parent) : QAbstractItemModel(parent) {}

void TNotebookModel::SetRows(std::vector<TNotebookRec> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void TNotebookModel::RemoveRow(int row) {
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

QModelIndex TNotebookModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= ColumnCount) return {};
    if (!parent.isValid())
        return row < static_cast<int>(rows_.size()) ? createIndex(row, column, kEntryId) : QModelIndex();
    if (parent.internalId() != kEntryId || parent.row() >= static_cast<int>(rows_.size())) return {};
    if (row >= static_cast<int>(rows_[static_cast<size_t>(parent.row())].Pieces.size())) return {};
    return createIndex(row, column, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex TNotebookModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kEntryId) return {};
    return createIndex(static_cast<int>(child.internalId() - 1), 0, kEntryId);
}

int TNotebookModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return static_cast<int>(rows_.size());
    if (parent.internalId() != kEntryId || parent.column() != 0) return 0;
    return static_cast<int>(rows_[static_cast<size_t>(parent.row())].Pieces.size());
}

int TNotebookModel::columnCount(const QModelIndex&) const { return ColumnCount; }

QVariant TNotebookModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kCaptions[] = {"Код", "Слова", "Примечание", "Следующее повторение"};
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    if (role == Qt::DisplayRole) return QString::fromUtf8(kCaptions[section]);
    if (role == Qt::ToolTipRole)
        return QStringLiteral("Щелчок сортирует по возрастанию, второй — по убыванию, третий "
                              "возвращает порядок записной книжки");
    return {};
}

QVariant TNotebookModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::EditRole) return {};
    if (index.internalId() != kEntryId) {
        const TNotebookPiece& p =
            rows_[static_cast<size_t>(index.internalId() - 1)].Pieces[static_cast<size_t>(index.row())];
        switch (index.column()) {
        case CodeColumn: return QStringLiteral("%1. ").arg(p.Index) + FromCp1251(p.Groups);
        case WordsColumn: return FromCp1251(p.Words);
        case NoteColumn: return FromCp1251(p.Place);
        default: return FromCp1251(NextReviewText(p.NextReview, p.HasCards));
        }
    }
    const TNotebookRec& rec = rows_[static_cast<size_t>(index.row())];
    if (role == Qt::ToolTipRole && index.column() == CodeColumn && !rec.Pieces.empty())
        return QStringLiteral("%1\nЧастей: %2").arg(FromCp1251(rec.Code)).arg(rec.Pieces.size());
    switch (index.column()) {
    case CodeColumn: return FromCp1251(rec.Code);
    case WordsColumn: return FromCp1251(rec.Words);
    case NoteColumn: return FromCp1251(rec.Note);
    default: return FromCp1251(NextReviewText(rec.NextReview, rec.HasCards));
    }
}

Qt::ItemFlags TNotebookModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractItemModel::flags(index);
    if (setNote_ && index.isValid() && index.internalId() == kEntryId && index.column() == NoteColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

bool TNotebookModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    TNotebookRec& rec = rows_[static_cast<size_t>(index.row())];
    const std::optional<std::string> stored = setNote_(rec, value.toString());
    if (!stored) return false;
    rec.Note = *stored;
    emit dataChanged(index, index);
    return true;
}

// ---- the view's order and filter -----------------------------------------------------------------

TNotebookView::TNotebookView(TNotebookModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), source_(source) {
    setSourceModel(source);
    // Sorting and filtering are asked for; they do not follow every change by themselves.
    setDynamicSortFilter(false);
}

void TNotebookView::SortBy(int column, Qt::SortOrder order) {
    column_ = column;
    order_ = order;
    Refresh();
}

void TNotebookView::SetFilterText(const QString& text) {
    filter_ = TNotebookFilter(ToCp1251(text));
    // Filtered and sorted again at once: row by row, a big notebook takes seconds.
    invalidate();
}

void TNotebookView::Refresh() {
    static constexpr TNotebookColumn kColumns[] = {TNotebookColumn::Code, TNotebookColumn::Words,
                                                   TNotebookColumn::Note, TNotebookColumn::NextReview};
    const auto& rows = source_->Rows();
    rank_.assign(rows.size(), 0);
    if (column_ >= 0 && column_ < TNotebookModel::ColumnCount) {
        const std::vector<size_t> order = NotebookOrder(rows, kColumns[column_], order_ == Qt::DescendingOrder);
        for (size_t i = 0; i < order.size(); ++i) rank_[order[i]] = i;
    } else {
        for (size_t i = 0; i < rows.size(); ++i) rank_[i] = i;
    }
    invalidateFilter();
    // Always ascending by rank: the rank carries the direction and keeps ties in notebook
    // order either way.
    sort(0, Qt::AscendingOrder);
}

bool TNotebookView::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    // Pieces stay in their order.
    if (left.parent().isValid() || static_cast<size_t>(left.row()) >= rank_.size() ||
        static_cast<size_t>(right.row()) >= rank_.size())
        return left.row() < right.row();
    return rank_[static_cast<size_t>(left.row())] < rank_[static_cast<size_t>(right.row())];
}

bool TNotebookView::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (sourceParent.isValid() || filter_.Empty()) return true;
    const auto& rows = source_->Rows();
    return sourceRow < static_cast<int>(rows.size()) && filter_.Matches(rows[static_cast<size_t>(sourceRow)]);
}

// ---- painting -------------------------------------------------------------------------------

void TNotebookDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    // Whole-row focus does not flag the cells, so ask the view.
    const auto* view = qobject_cast<const QAbstractItemView*>(widget);
    const bool selected = opt.state & QStyle::State_Selected;
    // A focused row that the user deselected (Ctrl+click) has no highlight behind it, so
    // highlight text there would be unreadable.
    const bool focusedRow =
        selected && view && view->hasFocus() && view->currentIndex().row() == index.row();
    // Without the focus the text is window-text, which needs a quiet selection behind it.
    QuietSelection(opt, focusedRow);
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QRect rect = opt.rect.adjusted(kTextMargin, 1, -kTextMargin, -1);
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(focusedRow ? QPalette::HighlightedText : QPalette::WindowText));
    const QString shown = opt.fontMetrics.elidedText(text, Qt::ElideRight, rect.width());
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    painter->restore();
}

QSize TNotebookDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    // A little air between the rows, which the plain text height does not leave.
    const QSize size = QStyledItemDelegate::sizeHint(option, index);
    return {size.width(), std::max(size.height(), option.fontMetrics.height() + 5)};
}

void TNotebookDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (pending_) {
        if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setText(*pending_);
        pending_.reset();
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

// ---- the window -----------------------------------------------------------------------------

TNotebookForm::TNotebookForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TNotebookForm>()) {
    ui_->setupUi(this);
    model_ = new TNotebookModel(this);
    view_ = new TNotebookView(model_, this);
    QTreeView* tree = ui_->VirtualDrawTree;
    tree->setModel(view_);
    delegate_ = new TNotebookDelegate(tree);
    tree->setItemDelegate(delegate_);
    tree->setEditTriggers(QAbstractItemView::DoubleClicked);
    QHeaderView* header = tree->header();
    // The note column is stretched by FitNoteColumn, which keeps its stored width apart.
    header->setStretchLastSection(false);
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setSectionResizeMode(QHeaderView::Interactive);
    for (int c = 0; c < TNotebookModel::ColumnCount; ++c) header->resizeSection(c, LaidOutWidth(c));
    noteWidth_ = kLaidOutWidths[TNotebookModel::NoteColumn];
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) { HeaderClicked(column); });
    connect(header, &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (fitting_) return;
        if (column == TNotebookModel::NoteColumn) noteWidth_ = size;
        FitNoteColumn();
    });
    connect(header, &QHeaderView::sectionMoved, this, [this] { FitNoteColumn(); });
    tree->installEventFilter(this);
    tree->viewport()->installEventFilter(this);

    QLineEdit* filter = ui_->FilterEdit;
    filter->setClearButtonEnabled(true);
    filter->installEventFilter(this);
    connect(filter, &QLineEdit::textChanged, this, [this](const QString& text) {
        const QModelIndex current = view_->mapToSource(ui_->VirtualDrawTree->currentIndex());
        view_->SetFilterText(text);
        FocusEntry(current);
    });
    connect(ui_->ExportButton, &QPushButton::clicked, this, [this] { ExportButtonClick(); });
    connect(ui_->DeleteButton, &QPushButton::clicked, this, [this] { DeleteButtonClick(); });
    ui_->DeleteButton->setEnabled(false);
    model_->SetNoteSetter({});
    // Resizable, unlike the other dialogs: the fourth column needs more than the laid-out
    // width, and the note column takes whatever a wider window gives.
    const QSize laidOut(610, 498);
    setMinimumSize(laidOut.expandedTo(minimumSizeHint()));
    int wide = 2 * tree->frameWidth() + layout()->contentsMargins().left() + layout()->contentsMargins().right() +
               tree->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < TNotebookModel::ColumnCount; ++c) wide += LaidOutWidth(c);
    resize(std::max(wide, laidOut.width()), minimumHeight());
    CentreOnScreen(this);
}

TNotebookForm::~TNotebookForm() = default;

bool TNotebookForm::eventFilter(QObject* watched, QEvent* event) {
    QTreeView* tree = ui_->VirtualDrawTree;
    if (watched == tree->viewport() && event->type() == QEvent::Resize) FitNoteColumn();
    // The focused row's text colour depends on the focus, which the view does not repaint
    // for by itself.
    if (watched == tree && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // The expand arrows' strip is painted by the view, not the delegate: it gets the
        // quiet selection of an unfocused list through the palette.
        if (event->type() == QEvent::FocusOut && !quietPalette_) {
            listPalette_ = tree->palette();
            QPalette quiet = listPalette_;
            for (const auto group : {QPalette::Active, QPalette::Inactive})
                quiet.setColor(group, QPalette::Highlight, quiet.color(group, QPalette::Button).darker(112));
            quietPalette_ = true;
            tree->setPalette(quiet);
        } else if (event->type() == QEvent::FocusIn && quietPalette_) {
            quietPalette_ = false;
            tree->setPalette(listPalette_);
        }
        tree->viewport()->update();
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched == tree && key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Delete) {
            DeleteButtonClick();
            return true;
        }
        // F2 edits the note of the focused entry, whichever cell the focus is on.
        if (watched == tree && key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_F2) {
            const QModelIndex current = tree->currentIndex();
            if (current.isValid()) {
                const QModelIndex entry = current.parent().isValid() ? current.parent() : current;
                tree->edit(entry.siblingAtColumn(TNotebookModel::NoteColumn));
            }
            return true;
        }
        // Down or Enter in the search box goes into the list: Enter there ends the typing,
        // not the window.
        if (watched == ui_->FilterEdit &&
            (key->key() == Qt::Key_Down || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            tree->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TNotebookForm::keyPressEvent(QKeyEvent* event) {
    // Enter and Esc in the note's editor end the editing, not the window. (A closed editor
    // lingers hidden until it is deleted.)
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape)
        for (const QLineEdit* editor : ui_->VirtualDrawTree->viewport()->findChildren<QLineEdit*>())
            if (editor->isVisible()) {
                event->accept();
                return;
            }
    QDialog::keyPressEvent(event);
}

void TNotebookForm::SetLists(const TStringList& entries, const TStringList& notes) {
    entries_ = &entries;
    notes_ = &notes;
    remove_ = {};
}

void TNotebookForm::SetLists(const TStringList& entries, const TStringList& notes,
                             NotebookDeleter remove) {
    SetLists(entries, notes); // the read-only pair first, which also clears the deleter
    remove_ = std::move(remove);
}

void TNotebookForm::SetNoteWriter(NoteWriter write) {
    writeNote_ = std::move(write);
    if (writeNote_)
        model_->SetNoteSetter([this](const TNotebookRec& row, const QString& text) { return StoreNote(row, text); });
    else
        model_->SetNoteSetter({});
}

std::optional<std::string> TNotebookForm::StoreNote(const TNotebookRec& row, const QString& text) {
    QTreeView* tree = ui_->VirtualDrawTree;
    std::string note;
    if (!CheckNoteText(this, text, note)) {
        // Back into the editor with what was typed, to be corrected.
        const QPersistentModelIndex cell = tree->currentIndex().siblingAtColumn(TNotebookModel::NoteColumn);
        delegate_->SetPendingText(text);
        QTimer::singleShot(0, tree, [tree, cell] {
            if (cell.isValid()) tree->edit(cell);
        });
        return std::nullopt;
    }
    if (note == row.Note) return note;
    const std::vector<std::string> errors = writeNote_(row.Key, note);
    if (!errors.empty()) {
        // The writer kept the former note; what was typed is in the message, not lost.
        TMessageBox::Error(this, QStringLiteral("Примечание не сохранено, осталось прежнее.\n%1\n\nВведённый текст: %2")
                                     .arg(QString::fromUtf8(JoinLines(errors)), text));
        return std::nullopt;
    }
    // A sorted or filtered list puts the row where its new note belongs.
    if (view_->SortedColumn() == TNotebookModel::NoteColumn || !ui_->FilterEdit->text().isEmpty()) {
        const std::string key = row.Key;
        QTimer::singleShot(0, this, [this, key] {
            view_->Refresh();
            const auto& rows = model_->Rows();
            for (size_t i = 0; i < rows.size(); ++i)
                if (rows[i].Key == key) FocusEntry(model_->index(static_cast<int>(i), 0));
        });
    }
    return note;
}

void TNotebookForm::FocusEntry(const QModelIndex& sourceIndex) {
    QTreeView* tree = ui_->VirtualDrawTree;
    QModelIndex shown = view_->mapFromSource(sourceIndex);
    if (!shown.isValid()) shown = view_->index(0, 0);
    if (shown.isValid())
        tree->selectionModel()->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TNotebookForm::HeaderClicked(int column) {
    QHeaderView* header = ui_->VirtualDrawTree->header();
    int sorted = view_->SortedColumn();
    Qt::SortOrder order = Qt::AscendingOrder;
    if (sorted != column)
        sorted = column;
    else if (view_->SortedOrder() == Qt::AscendingOrder)
        order = Qt::DescendingOrder;
    else
        sorted = -1;
    const QModelIndex current = view_->mapToSource(ui_->VirtualDrawTree->currentIndex());
    view_->SortBy(sorted, order);
    // The header would flip its arrow by itself; it shows what the list does.
    header->setSortIndicator(sorted, order);
    FocusEntry(current);
}

void TNotebookForm::FitNoteColumn() {
    QHeaderView* header = ui_->VirtualDrawTree->header();
    int others = 0;
    for (int c = 0; c < TNotebookModel::ColumnCount; ++c)
        if (c != TNotebookModel::NoteColumn && !header->isSectionHidden(c)) others += header->sectionSize(c);
    const int spare = ui_->VirtualDrawTree->viewport()->width() - others;
    const int width = std::max(noteWidth_, spare);
    if (header->sectionSize(TNotebookModel::NoteColumn) == width) return;
    fitting_ = true;
    header->resizeSection(TNotebookModel::NoteColumn, width);
    fitting_ = false;
}

void TNotebookForm::BuildRows() {
    if (entries_ && notes_) model_->SetRows(NotebookRows(*entries_, *notes_, pieces_, cards_));
    view_->Refresh();
    ui_->DeleteButton->setEnabled(remove_ && model_->rowCount() > 0);
    // The expand arrows only where some entry has pieces.
    const auto& rows = model_->Rows();
    ui_->VirtualDrawTree->setRootIsDecorated(
        std::any_of(rows.begin(), rows.end(), [](const TNotebookRec& r) { return !r.Pieces.empty(); }));
    // The first row is focused and selected, so the keyboard starts there.
    FocusEntry(QModelIndex());
}

int TNotebookForm::FillNotebook() {
    BuildRows();
    return exec();
}

int TNotebookForm::LaidOutWidth(int column) const {
    if (column != TNotebookModel::ReviewColumn) return kLaidOutWidths[static_cast<size_t>(column)];
    // Wide enough for its long caption and the sort arrow in the desktop's font.
    const QHeaderView* header = ui_->VirtualDrawTree->header();
    const QString caption = model_->headerData(column, Qt::Horizontal).toString();
    return std::max(kLaidOutWidths[static_cast<size_t>(column)], header->fontMetrics().horizontalAdvance(caption) + 32);
}

int TNotebookForm::ColumnWidth(int column) const {
    if (column == TNotebookModel::NoteColumn) return noteWidth_;
    return ui_->VirtualDrawTree->header()->sectionSize(column);
}

void TNotebookForm::SetColumnWidth(int column, int width) {
    QHeaderView* header = ui_->VirtualDrawTree->header();
    // A column stored narrower than the header allows could not be found again to widen.
    // Nor wider than the screen, which would push the other columns out of reach.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int room = std::max(this->width(), screen ? screen->availableGeometry().width() : 0);
    const int fitted = ClampPaneSize(width, room, header->minimumSectionSize(), 0);
    if (column == TNotebookModel::NoteColumn) {
        noteWidth_ = fitted;
        FitNoteColumn();
    } else {
        header->resizeSection(column, fitted);
    }
}

void TNotebookForm::ExportButtonClick() {
    QFileDialog dialog(this);
    SetUpTextFileDialog(dialog, QFileDialog::AcceptSave, QStringLiteral("Записная книжка.txt"));
    // Windows-1251 stays the default; UTF-8 is what today's editors and terminals expect.
    const QString utf8Filter = QStringLiteral("Текстовые файлы UTF-8 (*.txt)");
    dialog.setNameFilters({dialog.nameFilters().value(0), utf8Filter});
    const QString path = RunSaveDialog(dialog);
    if (path.isEmpty()) return;
    try {
        // The whole notebook in its own order, whatever the list is sorted or filtered by.
        std::string text = NotebookExportText(model_->Rows());
        if (dialog.selectedNameFilter() == utf8Filter) text = Cp1251ToUtf8(text);
        WriteFileAtomic(QFile::encodeName(path).toStdString(), text);
    } catch (const std::exception& e) {
        // The message names the file and the reason; the window stays open.
        TMessageBox::Error(this, QString::fromUtf8(e.what()));
    }
}

void TNotebookForm::DeleteButtonClick() {
    QTreeView* tree = ui_->VirtualDrawTree;
    QModelIndex shown = tree->currentIndex();
    if (shown.parent().isValid()) shown = shown.parent(); // a piece's row stands for its entry
    const int shownRow = shown.row();
    const int row = view_->mapToSource(shown).row();
    if (!remove_ || row < 0 || row >= model_->rowCount()) return;
    const TNotebookRec rec = model_->Rows()[static_cast<size_t>(row)];
    TMessage question;
    question.Icon = QMessageBox::Question;
    question.Title = QString::fromUtf8(res::kConfirmTitle);
    question.Text = QString::asprintf(res::kDeleteNotebookEntry, FromCp1251(rec.Code).toUtf8().constData(),
                                      FromCp1251(rec.Words).toUtf8().constData());
    question.Buttons = QMessageBox::Yes | QMessageBox::No;
    // A delete cannot be undone: Enter alone must not do it.
    question.Default = QMessageBox::No;
    if (TMessageBox::Show(this, question) != QMessageBox::Yes) return;

    // Written at once, like a remember: closing the program uncleanly must not bring it back.
    const std::vector<std::string> errors = remove_(rec.Key);
    // Only this row goes: building every row again would cost a big notebook seconds.
    model_->RemoveRow(row);
    view_->Refresh();
    ui_->DeleteButton->setEnabled(model_->rowCount() > 0);
    const QModelIndex next = view_->index(std::min(shownRow, view_->rowCount() - 1), 0);
    if (next.isValid())
        tree->selectionModel()->setCurrentIndex(next, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (!errors.empty()) TMessageBox::Error(this, QString::fromUtf8(JoinLines(errors)));
}

void TNotebookForm::SetSaveDialogForTesting(SaveDialogRunner runner) { TestSaveDialog() = std::move(runner); }

void ShowNotebook(QWidget* owner, TIniFile& settings, const TStringList& entries,
                  const TStringList& notes, TNotebookForm::NotebookDeleter remove,
                  const TPiecesList* pieces, const std::vector<TReviewCard>* cards,
                  TNotebookForm::NoteWriter writeNote) {
    TNotebookForm form(owner);
    form.SetPieces(pieces);
    form.SetCards(cards);
    if (remove)
        form.SetLists(entries, notes, std::move(remove));
    else
        form.SetLists(entries, notes);
    form.SetNoteWriter(std::move(writeNote));
    for (int c = 0; c < TNotebookModel::ColumnCount; ++c)
        form.SetColumnWidth(c, settings.ReadInteger(kSettingsSection, kWidthKeys[c], form.ColumnWidth(c)));
    form.FillNotebook();
    for (int c = 0; c < TNotebookModel::ColumnCount; ++c)
        settings.WriteInteger(kSettingsSection, kWidthKeys[c], form.ColumnWidth(c));
}

} // namespace nb::ui

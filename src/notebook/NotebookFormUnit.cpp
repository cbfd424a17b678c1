#include "NotebookFormUnit.h"

#include "ui_NotebookForm.h"

#include "core/FileUnit.h"
#include "core/FormHelpersUnit.h"
#include "core/MessageBoxUnit.h"
#include "core/SettingsUnit.h"
#include "core/TextUnit.h"
#include "notebook/NotebookStoreUnit.h"
#include "resources/ResStrUnit.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QScreen>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <array>

namespace nb::ui {

namespace {

constexpr std::array<int, TNotebookModel::ColumnCount> kLaidOutWidths{
    kDefaultCodeWidth, kDefaultTextWidth, kDefaultNoteWidth};
constexpr std::array<const char*, TNotebookModel::ColumnCount> kWidthKeys{"CodeWidth", "TextWidth",
                                                                         "NoteWidth"};

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

TNotebookModel::TNotebookModel(QObject* parent)
    : TRowsModel({QStringLiteral("Код"), QStringLiteral("Слова"), QStringLiteral("Примечание")}, parent) {}

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

QVariant TNotebookModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const TNotebookRec& rec = rows_[static_cast<size_t>(index.row())];
    // An entry in pieces tells its journey in the tooltip of its code.
    if (role == Qt::ToolTipRole && index.column() == CodeColumn && !rec.Pieces.empty()) {
        std::string text = rec.Code;
        for (const auto& piece : rec.Pieces) text += "\n" + piece;
        return FromCp1251(text);
    }
    switch (index.column()) {
    case CodeColumn: return FromCp1251(rec.Code);
    case WordsColumn: return FromCp1251(rec.Words);
    default: return FromCp1251(rec.Note);
    }
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

// ---- the window -----------------------------------------------------------------------------

TNotebookForm::TNotebookForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TNotebookForm>()) {
    ui_->setupUi(this);
    model_ = new TNotebookModel(this);
    QTreeView* tree = ui_->VirtualDrawTree;
    tree->setModel(model_);
    tree->setItemDelegate(new TNotebookDelegate(tree));
    QHeaderView* header = tree->header();
    // Stretching would change the stored width of the last column.
    header->setStretchLastSection(false);
    header->setSectionsMovable(true);
    header->setSectionsClickable(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    for (int c = 0; c < TNotebookModel::ColumnCount; ++c) header->resizeSection(c, kLaidOutWidths[c]);
    tree->installEventFilter(this);

    ui_->PiecesLabel->hide();
    connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { ShowPieces(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { ShowPieces(); });
    connect(ui_->ExportButton, &QPushButton::clicked, this, [this] { ExportButtonClick(); });
    connect(ui_->DeleteButton, &QPushButton::clicked, this, [this] { DeleteButtonClick(); });
    ui_->DeleteButton->setEnabled(false);
    FixAndCenter(this, QSize(610, 498));
}

TNotebookForm::~TNotebookForm() = default;

bool TNotebookForm::eventFilter(QObject* watched, QEvent* event) {
    // The focused row's text colour depends on the focus, which the view does not repaint
    // for by itself.
    if (watched == ui_->VirtualDrawTree && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        ui_->VirtualDrawTree->viewport()->update();
    if (watched == ui_->VirtualDrawTree && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        DeleteButtonClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
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

void TNotebookForm::BuildRows() {
    if (entries_ && notes_) model_->SetRows(NotebookRows(*entries_, *notes_, pieces_));
    ui_->DeleteButton->setEnabled(remove_ && model_->rowCount() > 0);
    // The first row is focused and selected, so the keyboard starts there.
    const QModelIndex first = model_->index(0, 0);
    if (first.isValid())
        ui_->VirtualDrawTree->selectionModel()->setCurrentIndex(
            first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int TNotebookForm::FillNotebook() {
    BuildRows();
    return exec();
}

int TNotebookForm::ColumnWidth(int column) const { return ui_->VirtualDrawTree->header()->sectionSize(column); }

void TNotebookForm::SetColumnWidth(int column, int width) {
    QHeaderView* header = ui_->VirtualDrawTree->header();
    // A column stored narrower than the header allows could not be found again to widen.
    // Nor wider than the screen, which would push the other columns out of reach.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int room = std::max(this->width(), screen ? screen->availableGeometry().width() : 0);
    header->resizeSection(column, ClampPaneSize(width, room, header->minimumSectionSize(), 0));
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
    const int row = tree->currentIndex().row();
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
    ui_->DeleteButton->setEnabled(model_->rowCount() > 0);
    const QModelIndex next = model_->index(std::min(row, model_->rowCount() - 1), 0);
    if (next.isValid())
        tree->selectionModel()->setCurrentIndex(next, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (!errors.empty()) TMessageBox::Error(this, QString::fromUtf8(JoinLines(errors)));
}

void TNotebookForm::ShowPieces() {
    const int row = ui_->VirtualDrawTree->currentIndex().row();
    QString text;
    if (row >= 0 && row < model_->rowCount()) {
        const TNotebookRec& rec = model_->Rows()[static_cast<size_t>(row)];
        for (const auto& piece : rec.Pieces) text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + FromCp1251(piece);
    }
    ui_->PiecesLabel->setText(text);
    ui_->PiecesLabel->setVisible(!text.isEmpty());
}

void TNotebookForm::SetSaveDialogForTesting(SaveDialogRunner runner) { TestSaveDialog() = std::move(runner); }

void ShowNotebook(QWidget* owner, TIniFile& settings, const TStringList& entries,
                  const TStringList& notes, TNotebookForm::NotebookDeleter remove,
                  const TPiecesList* pieces) {
    TNotebookForm form(owner);
    form.SetPieces(pieces);
    if (remove)
        form.SetLists(entries, notes, std::move(remove));
    else
        form.SetLists(entries, notes);
    for (int c = 0; c < TNotebookModel::ColumnCount; ++c)
        form.SetColumnWidth(c, settings.ReadInteger(kSettingsSection, kWidthKeys[c], form.ColumnWidth(c)));
    form.FillNotebook();
    for (int c = 0; c < TNotebookModel::ColumnCount; ++c)
        settings.WriteInteger(kSettingsSection, kWidthKeys[c], form.ColumnWidth(c));
}

} // namespace nb::ui

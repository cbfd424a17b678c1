#include "TableCodeFormUnit.h"

#include "ui_TableCodeForm.h"

#include "code/WordCodeUnit.h"
#include "core/FileUnit.h"
#include "core/FormHelpersUnit.h"
#include "core/MessageBoxUnit.h"
#include "core/TextUnit.h"
#include "dictionary/CodeDictionaryUnit.h"
#include "tools/TableCodeUnit.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QPainter>

#include <utility>

namespace nb::ui {

namespace {

// CodeVirtualDrawTreeDrawNode: the code in the highlight-text colour on the focused row of
// the focused list, otherwise in the window-text colour.
class TCodeNodeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const bool focusedRow = IsFocusedRow(opt, index);
        QuietSelection(opt, focusedRow);
        QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
        painter->save();
        painter->setPen(
            opt.palette.color(focusedRow ? QPalette::HighlightedText : QPalette::WindowText));
        painter->setFont(opt.font);
        painter->drawText(textRect.adjusted(0, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
        painter->restore();
    }
};

// The word columns' painter with a check box in front: the shared painter draws the
// background and the word to the right of the box; the box and the strip under it are
// drawn here.
class TCheckedWordDelegate : public TWordNodeDelegate {
public:
    using TWordNodeDelegate::TWordNodeDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
        const QRect check =
            style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, opt.widget);
        const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
        // The shared painter starts its text one focus-frame margin (plus one) into its cell.
        const int margin =
            style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, opt.widget) + 1;
        const int wordLeft = std::max(check.right() + 1, text.left() - margin);

        QStyleOptionViewItem strip(opt);
        strip.rect.setRight(wordLeft - 1);
        strip.text.clear();
        strip.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        strip.state &= ~QStyle::State_HasFocus;
        QuietSelection(strip, IsFocusedRow(opt, index));
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &strip, painter, opt.widget);

        QStyleOptionViewItem box(opt);
        box.rect = check;
        box.state &= ~QStyle::State_HasFocus;
        box.state = (box.state & ~(QStyle::State_On | QStyle::State_Off)) |
                    (opt.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, opt.widget);

        QStyleOptionViewItem word(option);
        word.rect.setLeft(wordLeft);
        stripCheck_ = true;
        TWordNodeDelegate::paint(painter, word, index);
        stripCheck_ = false;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        TWordNodeDelegate::initStyleOption(option, index);
        if (stripCheck_) option->features &= ~QStyleOptionViewItem::HasCheckIndicator;
    }

private:
    mutable bool stripCheck_ = false;
};

} // namespace

// ---- models ---------------------------------------------------------------------------------

void TCheckListModel::SetChecked(int row, bool checked) {
    if (row < 0 || row >= RowCount() || Checked(row) == checked) return;
    checked_[static_cast<size_t>(row)] = checked;
    const QModelIndex i = index(row, 0);
    emit dataChanged(i, i, {Qt::CheckStateRole});
    emit CheckChanged(row, checked);
}

void TCheckListModel::SetAllChecked(bool checked) {
    int first = -1, last = -1;
    for (int row = 0; row < RowCount(); ++row) {
        if (Checked(row) == checked) continue;
        checked_[static_cast<size_t>(row)] = checked;
        if (first < 0) first = row;
        last = row;
        emit CheckChanged(row, checked);
    }
    if (first >= 0) emit dataChanged(index(first, 0), index(last, 0), {Qt::CheckStateRole});
}

int TCheckListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount();
}

int TCheckListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

QVariant TCheckListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::CheckStateRole) return Checked(index.row()) ? Qt::Checked : Qt::Unchecked;
    return RowData(index.row(), role);
}

bool TCheckListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    SetChecked(index.row(), static_cast<Qt::CheckState>(value.toInt()) == Qt::Checked);
    return true;
}

Qt::ItemFlags TCheckListModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::ParentIsInvalid))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
           Qt::ItemNeverHasChildren;
}

QVariant TCheckListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole) return header_;
    return {};
}

TCodeListModel::TCodeListModel(QObject* parent)
    : TCheckListModel(QString::fromUtf8("Код"), parent) {}

void TCodeListModel::SetRows(std::vector<std::string> codes, std::vector<bool> checked) {
    beginResetModel();
    codes_ = std::move(codes);
    checked_ = std::move(checked);
    checked_.resize(codes_.size(), true);
    endResetModel();
}

QVariant TCodeListModel::RowData(int row, int role) const {
    if (role == Qt::DisplayRole) return FromCp1251(Code(row));
    return {};
}

TWordListModel::TWordListModel(const TStringList& dicList, QObject* parent)
    : TCheckListModel(QString::fromUtf8("Слово"), parent), dicList_(dicList) {}

void TWordListModel::SetRows(std::vector<int32_t> entries, std::vector<bool> checked) {
    beginResetModel();
    entries_ = std::move(entries);
    checked_ = std::move(checked);
    checked_.resize(entries_.size(), true);
    endResetModel();
}

QVariant TWordListModel::RowData(int row, int role) const {
    const int32_t entry = Entry(row);
    if (role == kDicIndexRole) return entry;
    if (role == Qt::DisplayRole && entry >= 0 && static_cast<size_t>(entry) < dicList_.Count())
        return FromCp1251(dicList_[static_cast<size_t>(entry)]);
    return {};
}

// ---- the window -----------------------------------------------------------------------------

TTableCodeForm::TTableCodeForm(TSession& session, const TWordPainting& painting,
                               const std::string& preselect, QWidget* parent)
    : QDialog(parent), AskExportFileName(AskCodeTableFileName),
      ui_(std::make_unique<Ui::TTableCodeForm>()), session_(session) {
    ui_->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    codeModel_ = new TCodeListModel(this);
    wordModel_ = new TWordListModel(session_.DicList(), this);
    SetUpList(ui_->CodeVirtualDrawTree);
    SetUpList(ui_->WordVirtualDrawTree);
    ui_->CodeVirtualDrawTree->setModel(codeModel_);
    ui_->CodeVirtualDrawTree->setItemDelegate(new TCodeNodeDelegate(ui_->CodeVirtualDrawTree));
    ui_->WordVirtualDrawTree->setModel(wordModel_);
    ui_->WordVirtualDrawTree->setItemDelegate(
        new TCheckedWordDelegate(painting, ui_->WordVirtualDrawTree));

    connect(ui_->CodeVirtualDrawTree->selectionModel(), &QItemSelectionModel::currentRowChanged,
            this, [this](const QModelIndex& current) { CodeVirtualDrawTreeChange(current); });
    connect(codeModel_, &TCheckListModel::CheckChanged, this,
            &TTableCodeForm::CodeVirtualDrawTreeChecked);
    connect(wordModel_, &TCheckListModel::CheckChanged, this,
            &TTableCodeForm::WordVirtualDrawTreeChecked);
    connect(ui_->SelectAllCodeButton, &QPushButton::clicked, this,
            &TTableCodeForm::SelectAllCodeButtonClick);
    connect(ui_->SelectAllButton, &QPushButton::clicked, this,
            &TTableCodeForm::SelectAllButtonClick);
    connect(ui_->UnSelectButton, &QPushButton::clicked, this, &TTableCodeForm::UnSelectButtonClick);
    connect(ui_->ExportButton, &QPushButton::clicked, this, &TTableCodeForm::ExportButtonClick);
    connect(ui_->CloseButton, &QPushButton::clicked, this, &QDialog::reject);

    FillCodeList(preselect);
    ui_->CodeVirtualDrawTree->setFocus();
    setFixedSize(sizeHint().expandedTo(size()));
    // Centred on the screen, not over the (maximised) main window: a moved dialog keeps
    // its place when shown.
    CentreOnScreen(this);
}

TTableCodeForm::~TTableCodeForm() = default;

void TTableCodeForm::FillCodeList(const std::string& preselect) {
    std::vector<std::string> codes = InCodeOrder(session_.CodeDictionary().GroupCodeList().Strings());
    const TStringList& ignored = session_.UserLists().IgnoredCodeList;
    std::vector<bool> checked;
    checked.reserve(codes.size());
    int selected = -1;
    for (size_t i = 0; i < codes.size(); ++i) {
        checked.push_back(!ignored.Contains(codes[i]));
        if (selected < 0 && !preselect.empty() && codes[i] == preselect)
            selected = static_cast<int>(i);
    }
    codeModel_->SetRows(std::move(codes), std::move(checked));
    if (codeModel_->RowCount() == 0) return;
    if (selected < 0) selected = 0;
    // Selecting the row fills the word list (CodeVirtualDrawTreeChange).
    QTreeView* tree = ui_->CodeVirtualDrawTree;
    const QModelIndex index = codeModel_->index(selected, 0);
    tree->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
    tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

std::string TTableCodeForm::SelectedCode() const {
    const QModelIndexList rows = ui_->CodeVirtualDrawTree->selectionModel()->selectedRows();
    return rows.isEmpty() ? std::string() : codeModel_->Code(rows.first().row());
}

void TTableCodeForm::CodeVirtualDrawTreeChange(const QModelIndex& current) {
    if (!current.isValid()) return;
    // The group index holds exactly the entries whose group code is this code, in
    // dictionary order, so no scan of the whole dictionary is needed per selection. The
    // words come in the order the main window's columns give them.
    std::vector<int32_t> entries = session_.GroupEntries(codeModel_->Code(current.row()));
    std::vector<bool> checked;
    checked.reserve(entries.size());
    for (const int32_t entry : entries) checked.push_back(!session_.IsWordHidden(entry));
    ui_->WordVirtualDrawTree->setUpdatesEnabled(false);
    wordModel_->SetRows(std::move(entries), std::move(checked));
    ui_->WordVirtualDrawTree->setUpdatesEnabled(true);
}

void TTableCodeForm::CodeVirtualDrawTreeChecked(int row, bool checked) {
    ignoredChanged_ |= session_.SetCodeIgnored(codeModel_->Code(row), !checked);
    AnnounceChanges();
}

void TTableCodeForm::WordVirtualDrawTreeChecked(int row, bool checked) {
    const int32_t entry = wordModel_->Entry(row);
    const TStringList& dic = session_.DicList();
    if (entry < 0 || static_cast<size_t>(entry) >= dic.Count()) return;
    hidedChanged_ |= session_.SetWordHidden(dic[static_cast<size_t>(entry)], !checked);
    AnnounceChanges();
}

template <class F> void TTableCodeForm::Batch(F&& change) {
    batch_ = true;
    change();
    batch_ = false;
    AnnounceChanges();
}

void TTableCodeForm::AnnounceChanges() {
    if (batch_) return;
    // Each list is written by the receiver; one write per command, not one per row.
    if (std::exchange(hidedChanged_, false)) emit HidedWordsChanged();
    if (std::exchange(ignoredChanged_, false)) emit IgnoredCodesChanged();
}

void TTableCodeForm::SelectAllCodeButtonClick() {
    Batch([this] { codeModel_->SetAllChecked(true); });
}

void TTableCodeForm::SelectAllButtonClick() {
    Batch([this] { wordModel_->SetAllChecked(true); });
}

void TTableCodeForm::UnSelectButtonClick() {
    Batch([this] { wordModel_->SetAllChecked(false); });
}

void TTableCodeForm::ExportButtonClick() {
    const QString name = AskExportFileName ? AskExportFileName(this) : QString();
    if (name.isEmpty()) return;
    try {
        WriteFileAtomic(QFile::encodeName(name).toStdString(),
                        CodeTableExportText(session_.CodeDictionary().GroupCodeList(),
                                            session_.CodeDictionary().WordCodeList(), session_.DicList(),
                                            session_.UserLists().HidedWordList,
                                            session_.Settings().Grouping(), session_.Settings().FamiliarFirst));
    } catch (const std::exception& e) {
        TMessageBox::Error(this, QString::fromUtf8(e.what()));
    }
}

QString AskCodeTableFileName(QWidget* owner) {
    QFileDialog dialog(owner);
    SetUpTextFileDialog(dialog, QFileDialog::AcceptSave, QString::fromUtf8("Таблица кодов.txt"));
    return ExecFileDialog(dialog);
}

} // namespace nb::ui

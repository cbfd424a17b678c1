#include "FormHelpersUnit.h"

#include "core/TextUnit.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QScreen>
#include <QStyleOptionViewItem>
#include <QTreeView>

namespace nb::ui {

QString FromCp1251(std::string_view bytes) { return QString::fromStdU16String(Cp1251ToUtf16(bytes)); }

std::string ToCp1251(const QString& text) { return Utf8ToCp1251(text.toStdString()); }

void CentreOnScreen(QWidget* window) {
    if (const QScreen* screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

void FixAndCenter(QDialog* dialog, const QSize& laidOut) {
    dialog->setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    dialog->setFixedSize(dialog->sizeHint().expandedTo(laidOut));
    CentreOnScreen(dialog);
}

void SetUpTextFileDialog(QFileDialog& dialog, QFileDialog::AcceptMode mode, const QString& fileName) {
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("Текстовые файлы (*.txt)"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (!fileName.isEmpty()) dialog.selectFile(fileName);
}

QString ExecFileDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

bool IsFocusedRow(const QStyleOptionViewItem& opt, const QModelIndex& index) {
    const auto* view = qobject_cast<const QAbstractItemView*>(opt.widget);
    return view && view->hasFocus() && view->currentIndex() == index;
}

void QuietSelection(QStyleOptionViewItem& opt, bool focusedRow) {
    if ((opt.state & QStyle::State_Selected) && !focusedRow) {
        opt.palette.setColor(QPalette::Highlight, opt.palette.color(QPalette::Button).darker(112));
        opt.palette.setColor(QPalette::HighlightedText, opt.palette.color(QPalette::WindowText));
    }
}

void SetUpList(QTreeView* tree) {
    tree->setRootIsDecorated(false);
    tree->setItemsExpandable(false);
    tree->setUniformRowHeights(true);
    tree->setAllColumnsShowFocus(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->header()->setStretchLastSection(true);
    tree->header()->setSectionsClickable(false);
    tree->header()->setSectionsMovable(false);
}

int TFlatTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : RowCount(); }

int TFlatTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(captions_.size());
}

QVariant TFlatTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= captions_.size()) return {};
    return captions_[section];
}

} // namespace nb::ui

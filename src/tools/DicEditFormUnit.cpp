#include "DicEditFormUnit.h"

#include "ui_DicEditForm.h"

#include "core/FileUnit.h"
#include "core/FormHelpersUnit.h"
#include "core/MessageBoxUnit.h"
#include "core/TextUnit.h"
#include "dictionary/StringListUnit.h"
#include "dictionary/WordListUnit.h"
#include "resources/ResStrUnit.h"
#include "tools/DicEditUnit.h"
#include "web/DesktopUnit.h"

#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QShortcut>
#include <QTextBlock>

#include <algorithm>

namespace nb::ui {

namespace {

const char* const kNotConverted =
    "Символов, которых нет в кодировке Windows-1251: %1. Первый из них — «%2» (U+%3). "
    "Они заменены знаком «?».";
const char* const kCannotConvert =
    "Символов, которых нет в кодировке Windows-1251: %1. Первый из них — «%2» (U+%3) в строке "
    "%4; курсор стоит на нём. Словарь хранится в этой кодировке: замените или удалите эти "
    "символы.";

std::string ToPath(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

QString CodePointText(char32_t cp) {
    return QStringLiteral("%1").arg(static_cast<uint>(cp), 4, 16, QLatin1Char('0')).toUpper();
}

// Windows-1251 text with LF breaks as the file's lines: each ended by CR LF; a last line
// without a break counts, the empty piece after a final break does not.
std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8 + 2);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    if (!text.empty() && text.back() != '\n') out += "\r\n";
    return out;
}

QString AskTextFile(QWidget* owner, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner);
    SetUpTextFileDialog(dialog, mode);
    return ExecFileDialog(dialog);
}

} // namespace

void TDicMemo::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        event->accept();
    else
        QPlainTextEdit::keyPressEvent(event);
    emit KeyOrMouse();
}

void TDicMemo::keyReleaseEvent(QKeyEvent* event) {
    QPlainTextEdit::keyReleaseEvent(event);
    emit KeyOrMouse();
}

void TDicMemo::mousePressEvent(QMouseEvent* event) {
    QPlainTextEdit::mousePressEvent(event);
    emit KeyOrMouse();
}

void TDicMemo::mouseReleaseEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    emit KeyOrMouse();
}

QString AskTextFileToOpen(QWidget* owner) {
    return AskTextFile(owner, QFileDialog::AcceptOpen);
}
QString AskTextFileToSave(QWidget* owner) {
    return AskTextFile(owner, QFileDialog::AcceptSave);
}
QString AskTextToFind(QWidget* owner, const QString& last) {
    return QInputDialog::getText(owner, QString::fromUtf8(res::kSearchTitle),
                                 QString::fromUtf8(res::kSearchPrompt), QLineEdit::Normal, last);
}

TDicEditForm::TDicEditForm(const TWordCoder& coder, const TProgSettings& settings, QWidget* parent)
    : QDialog(parent), AskLoadFileName(AskTextFileToOpen), AskSaveFileName(AskTextFileToSave),
      AskSearchText(AskTextToFind),
      ui_(std::make_unique<Ui::TDicEditForm>()), coder_(coder), settings_(settings) {
    ui_->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    ui_->HelpPanel->setBackgroundRole(QPalette::ToolTipBase);
    ui_->HelpPanel->setForegroundRole(QPalette::ToolTipText);

    connect(ui_->LoadButton, &QPushButton::clicked, this, &TDicEditForm::LoadButtonClick);
    connect(ui_->SaveButton, &QPushButton::clicked, this, &TDicEditForm::SaveButtonClick);
    connect(ui_->OKButton, &QPushButton::clicked, this, &TDicEditForm::accept);
    connect(ui_->CancelButton, &QPushButton::clicked, this, &TDicEditForm::reject);
    connect(ui_->Memo, &TDicMemo::KeyOrMouse, this, &TDicEditForm::UpdateHelpPanel);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this), &QShortcut::activated, this,
            &TDicEditForm::FindClick);
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this,
            &TDicEditForm::FindNextClick);
    ui_->Memo->setFocus();

    setFixedSize(sizeHint().expandedTo(size()));
    // Centred on the screen, not over the main window; a moved dialog keeps its place.
    CentreOnScreen(this);
}

TDicEditForm::~TDicEditForm() = default;

bool TDicEditForm::Open(const TPaths& paths) {
    try {
        ui_->HelpWebBrowser->Navigate(PathToQString(paths.HelpEdit()));
    } catch (const std::exception& e) {
        TMessageBox::Error(parentWidget(), QString::fromUtf8(e.what()));
        return false;
    }
    return LoadDictionaryFile(paths.Dictionary());
}

bool TDicEditForm::LoadDictionaryFile(const std::string& path) {
    std::string bytes;
    try {
        // Read as the main window reads it (a UTF-8 file converted), so OK writes what it showed.
        bool converted = false;
        bytes = ReadDictionaryText(path, converted);
    } catch (const std::exception& e) {
        TMessageBox::Error(isVisible() ? this : parentWidget(), QString::fromUtf8(e.what()));
        return false;
    }
    SetDictionaryText(bytes);
    return true;
}

void TDicEditForm::SetDictionaryText(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const std::string& line : SplitLines(bytes)) {
        text += line;
        text += '\n';
    }
    ui_->Memo->setPlainText(FromCp1251(text));
}

std::string TDicEditForm::DictionaryBytes() const {
    return WithCrLf(ToCp1251(ui_->Memo->toPlainText()));
}

bool TDicEditForm::TextAsCp1251(std::string& bytes) {
    const QString text = ui_->Memo->toPlainText();
    const std::string utf8 = text.toStdString();
    std::string converted;
    char32_t firstBad = 0;
    if (Utf8ToCp1251(utf8, converted, &firstBad)) {
        bytes = WithCrLf(converted);
        return true;
    }
    const auto count = std::count(converted.begin(), converted.end(), '?') -
                       std::count(utf8.begin(), utf8.end(), '?');
    const QString bad = QString::fromUcs4(&firstBad, 1);
    const qsizetype at = std::max<qsizetype>(0, text.indexOf(bad));
    QTextCursor cursor = ui_->Memo->textCursor();
    cursor.setPosition(static_cast<int>(at));
    cursor.setPosition(static_cast<int>(at + bad.size()), QTextCursor::KeepAnchor);
    ui_->Memo->setTextCursor(cursor);
    ui_->Memo->setFocus();
    UpdateHelpPanel();
    TMessageBox::Warning(this, QString::fromUtf8(kCannotConvert)
                                   .arg(count)
                                   .arg(bad, CodePointText(firstBad))
                                   .arg(cursor.blockNumber() + 1));
    return false;
}

void TDicEditForm::accept() {
    std::string bytes;
    if (!TextAsCp1251(bytes)) return;
    QDialog::accept();
}

void TDicEditForm::UpdateHelpPanel() {
    // The line is the one in which the selection ends (the caret when nothing is selected).
    const QTextCursor cursor = ui_->Memo->textCursor();
    const QTextBlock block = ui_->Memo->document()->findBlock(cursor.selectionEnd());
    const std::string line = ToCp1251(block.text());
    ui_->HelpPanel->setText(
        FromCp1251(LineCodeHelp(line, 0, coder_, settings_.Grouping())));
}

void TDicEditForm::LoadButtonClick() {
    const QString name = AskLoadFileName ? AskLoadFileName(this) : QString();
    if (name.isEmpty()) return;
    std::string bytes;
    try {
        bytes = ReadWholeFile(ToPath(name));
    } catch (const std::exception& e) {
        TMessageBox::Error(this, QString::fromUtf8(e.what()));
        return;
    }
    size_t unconvertible = 0;
    char32_t firstBad = 0;
    SetDictionaryText(ImportedText(bytes, unconvertible, firstBad));
    if (unconvertible > 0)
        TMessageBox::Warning(this,
                             QString::fromUtf8(kNotConverted)
                                 .arg(unconvertible)
                                 .arg(QString::fromUcs4(&firstBad, 1), CodePointText(firstBad)));
}

void TDicEditForm::SaveButtonClick() {
    std::string bytes;
    if (!TextAsCp1251(bytes)) return;
    const QString name = AskSaveFileName ? AskSaveFileName(this) : QString();
    if (name.isEmpty()) return;
    try {
        WriteFileAtomic(ToPath(name), bytes);
    } catch (const std::exception& e) {
        TMessageBox::Error(this, QString::fromUtf8(e.what()));
    }
}

void TDicEditForm::FindClick() {
    const QString text = AskSearchText ? AskSearchText(this, searchText_) : QString();
    if (text.isEmpty()) return;
    searchText_ = text;
    FindNextClick();
}

void TDicEditForm::FindNextClick() {
    if (searchText_.isEmpty()) return FindClick();
    QPlainTextEdit* memo = ui_->Memo;
    QTextDocument* document = memo->document();
    // After the selection, so that F3 on a found text moves on; then around from the top.
    QTextCursor found = document->find(searchText_, memo->textCursor());
    if (found.isNull()) found = document->find(searchText_, QTextCursor(document));
    if (found.isNull()) {
        TMessageBox::Show(this, {QMessageBox::Information, QString::fromUtf8(res::kSearchTitle),
                                 QString::asprintf(res::kSearchNotFound, searchText_.toUtf8().constData()),
                                 QMessageBox::Ok});
        return;
    }
    memo->setTextCursor(found);
    memo->ensureCursorVisible();
    memo->setFocus();
    UpdateHelpPanel();
}

void TDicEditForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) UpdateHelpPanel();
}

} // namespace nb::ui

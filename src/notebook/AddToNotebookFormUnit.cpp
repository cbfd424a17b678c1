#include "AddToNotebookFormUnit.h"

#include "ui_AddToNotebookForm.h"

#include "core/FormHelpersUnit.h"
#include "core/MessageBoxUnit.h"
#include "core/TextUnit.h"
#include "notebook/NotebookStoreUnit.h"

namespace nb::ui {

namespace {

void SetButtonFace(QWidget* edit) {
    QPalette palette = edit->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Button));
    edit->setPalette(palette);
}

} // namespace

TAddToNotebookForm::TAddToNotebookForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TAddToNotebookForm>()) {
    ui_->setupUi(this);
    SetButtonFace(ui_->NumEdit);
    SetButtonFace(ui_->WordEdit);
    FixAndCenter(this, QSize(435, 188));
    ui_->NotesEdit->setFocus();
}

TAddToNotebookForm::~TAddToNotebookForm() = default;

void TAddToNotebookForm::SetEntry(const std::string& variantKey, const std::vector<std::string>& words,
                                  const std::string& note) {
    std::string phrase;
    for (const std::string& word : words) {
        if (!phrase.empty()) phrase += " - ";
        phrase += word;
    }
    ui_->NumEdit->setText(FromCp1251(variantKey));
    ui_->WordEdit->setText(FromCp1251(phrase));
    ui_->NotesEdit->setText(FromCp1251(note));
    // Selected, as a field that receives the focus is: typing replaces the stored note,
    // End keeps it.
    ui_->NotesEdit->selectAll();
}

bool CheckNoteText(QWidget* owner, const QString& text, std::string& note) {
    // A note is one line of notebook_add.txt; a pasted line break would split it.
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0)) {
            TMessageBox::Warning(owner, QStringLiteral("Примечание должно занимать одну строку: "
                                                       "уберите из него переводы строки."));
            return false;
        }
    }
    char32_t bad = 0;
    if (!Utf8ToCp1251(text.toStdString(), note, &bad)) {
        TMessageBox::Warning(
            owner, QStringLiteral("Символ «%1» нельзя сохранить в записной книжке: её файлы хранят "
                                  "только буквы и знаки кодировки Windows-1251 (русские и "
                                  "латинские буквы, цифры, знаки препинания). Удалите или "
                                  "замените этот символ.")
                       .arg(QString::fromUcs4(&bad, 1)));
        return false;
    }
    return true;
}

void TAddToNotebookForm::accept() {
    std::string note;
    if (!CheckNoteText(this, ui_->NotesEdit->text(), note)) {
        ui_->NotesEdit->setFocus();
        return;
    }
    note_ = std::move(note);
    QDialog::accept();
}

std::optional<std::string> AskRememberNote(QWidget* owner, const std::string& variantKey,
                                           const std::vector<std::string>& words,
                                           const std::string& storedNote) {
    if (variantKey.empty()) return std::nullopt;
    TAddToNotebookForm form(owner);
    form.SetEntry(variantKey, words, storedNote);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return form.Note();
}

} // namespace nb::ui

// The remember command's dialog: it shows the number and the chosen words and takes a note
// (the session stores them).
#pragma once

#include <QDialog>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Ui {
class TAddToNotebookForm;
}

namespace nb::ui {

class TAddToNotebookForm : public QDialog {
    Q_OBJECT
public:
    explicit TAddToNotebookForm(QWidget* parent = nullptr);
    ~TAddToNotebookForm() override;

    // Shows the variant key, the words joined by " - " and the stored note (all
    // Windows-1251).
    void SetEntry(const std::string& variantKey, const std::vector<std::string>& words,
                  const std::string& note);
    // The note as the notebook stores it; set when the dialog was accepted.
    const std::string& Note() const { return note_; }

    // OK: a note the notebook file cannot hold is refused with a warning and the dialog
    // stays open, so nothing the user typed is lost or silently changed.
    void accept() override;

    Ui::TAddToNotebookForm* Controls() const { return ui_.get(); }

private:
    std::unique_ptr<Ui::TAddToNotebookForm> ui_;
    std::string note_;
};

// Whether a typed note can be stored: one line, Windows-1251 characters only; otherwise a
// warning over `owner` says what to change. `note` gets the bytes to store.
bool CheckNoteText(QWidget* owner, const QString& text, std::string& note);

// The remember command's dialog: shows the selected variant key and the focused word of
// each column (Windows-1251) with the note stored for the number. Returns the note on OK;
// nothing when cancelled or when there is no variant (then no dialog is shown).
std::optional<std::string> AskRememberNote(QWidget* owner, const std::string& variantKey,
                                           const std::vector<std::string>& words,
                                           const std::string& storedNote);

} // namespace nb::ui

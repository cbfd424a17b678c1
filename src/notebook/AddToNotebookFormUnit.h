// The remember command: the dialog that shows the number and the chosen words and takes a
// note, and the command around it that stores them in the notebook.
#pragma once

#include "dictionary/StringListUnit.h"

#include <QDialog>

#include <memory>
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

// RememberButtonClick without the collecting: `variantKey` is the selected variant (empty
// when none), `words` the focused word of each column that has one, in column order
// (Windows-1251). Shows the dialog with the note stored for the number; on OK sets the
// note, then the entry. Returns whether something was stored, so that the caller writes
// the notebook files at once.
bool Remember(QWidget* owner, const std::string& variantKey, const std::vector<std::string>& words,
              TStringList& entries, TStringList& notes);

} // namespace nb::ui

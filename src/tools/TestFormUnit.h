// The code test: shows a random dictionary entry and checks, on every change, whether the
// code field holds its group code (green) or not (red). Nothing is scored or stored.
#pragma once

#include "code/WordCodeUnit.h"
#include "core/SettingsUnit.h"
#include "dictionary/StringListUnit.h"
#include "tools/CodeTestUnit.h"

#include <QDialog>
#include <QLineEdit>

#include <memory>
#include <optional>
#include <random>
#include <string>

namespace Ui {
class TTestForm;
}

namespace nb::ui {

// The program's random generator, seeded from the clock on first use; the code test
// draws from it unless it is given another one.
std::mt19937& ProgramRandomGenerator();

// CodeEdit: selects its whole text whenever it gets the focus other than by a mouse click,
// so the first digit typed replaces the "?" marks or the revealed code.
class TCodeEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override;
};

class TTestForm : public QDialog {
    Q_OBJECT
public:
    // The lists are the main window's and are only read; `coder` and `settings` give the
    // group code of an entry; `rng` must outlive the dialog.
    TTestForm(const TStringList& dicList, const TStringList& hidedWordList,
              const TStringList& ignoredCodeList, const TWordCoder& coder,
              const TProgSettings& settings, std::mt19937& rng, QWidget* parent = nullptr);
    ~TTestForm() override;

    // Prepares the hint from the main window's code hint text, asks the first word and
    // runs the dialog modally. When no entry can be asked the user is told so and the
    // dialog is not shown; the result is then false.
    bool StartTest(const QString& mainHintText);
    // StartTest without the modal run: false (after the message) when nothing can be asked.
    bool BeginTest(const QString& mainHintText);

    void NextWord();
    void CodeEditChange();
    void HelpButtonClick();
    void NextWordButtonClick();
    void ShowCodeHelpCheckBoxClick();

    Ui::TTestForm* Controls() const { return ui_.get(); }
    const std::string& CurrentWord() const { return currentWord_; }
    const std::string& ExpectedCode() const { return expectedCode_; }
    const QString& HintText() const { return hintText_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CodeEditKeyPress();

    std::unique_ptr<Ui::TTestForm> ui_;
    const TStringList& dicList_;
    const TStringList& hidedWordList_;
    const TStringList& ignoredCodeList_;
    const TWordCoder coder_;
    const TProgSettings settings_;
    std::mt19937& rng_;
    std::optional<TTestWords> words_;
    QString hintText_;
    std::string currentWord_;
    std::string expectedCode_;
};

} // namespace nb::ui

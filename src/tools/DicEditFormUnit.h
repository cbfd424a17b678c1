// The dictionary editor: the dictionary file as plain text, one entry per line, with the
// help page beside it and a strip showing the code of the line under the caret. The text
// area holds Unicode; the file is Windows-1251, converted when loaded and when written.
#pragma once

#include "code/WordCodeUnit.h"
#include "core/SettingsUnit.h"
#include "core/UtilsUnit.h"

#include <QDialog>
#include <QPlainTextEdit>

#include <functional>
#include <memory>
#include <string>

namespace Ui {
class TDicEditForm;
}

namespace nb::ui {

// Memo: reports every key press and release and every mouse press and release once it
// has handled it, so the strip sees the caret where the event left it. Esc belongs to
// it while it has the focus (Enter does anyway): neither closes the dialog.
class TDicMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

signals:
    void KeyOrMouse();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TDicEditForm : public QDialog {
    Q_OBJECT
public:
    // `coder` and `settings` give the code shown in the strip.
    TDicEditForm(const TWordCoder& coder, const TProgSettings& settings, QWidget* parent = nullptr);
    ~TDicEditForm() override;

    // The opening steps before the modal run: the help page, then the dictionary file.
    // False (after the error box) when the dictionary cannot be read; do not show the
    // dialog then.
    bool Open(const TPaths& paths);
    // Loads a line file into the text area; false (after the error box) when it cannot be
    // read, the text then stays as it was.
    bool LoadDictionaryFile(const std::string& path);

    // The text area as Windows-1251 lines, each ended by CR LF, exactly as it stands.
    // After OK every character converts; before, one that does not becomes '?'.
    std::string DictionaryBytes() const;
    // The text area from Windows-1251 bytes (CR LF, CR or LF breaks).
    void SetDictionaryText(const std::string& bytes);

    void UpdateHelpPanel();
    void LoadButtonClick();
    void SaveButtonClick();

    // The file dialogs of "Загрузить из файла..." and "Сохранить в файл..."; empty when
    // the user cancels.
    std::function<QString(QWidget* owner)> AskLoadFileName;
    std::function<QString(QWidget* owner)> AskSaveFileName;

    // Ctrl+F: asks for the text to find (offering the last one) and selects its next
    // occurrence from the caret on. F3: the next occurrence of the same text (asking first
    // when nothing was searched yet). Letter case does not count, the search goes on from
    // the top after the last line, and a text that is nowhere gets a box saying so.
    void FindClick();
    void FindNextClick();
    // The input box of Ctrl+F; empty when the user cancels.
    std::function<QString(QWidget* owner, const QString& last)> AskSearchText;

    Ui::TDicEditForm* Controls() const { return ui_.get(); }

public slots:
    // OK: refused, with a warning, while the text holds characters Windows-1251 cannot.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The text as Windows-1251 bytes; false (after a warning that names the first
    // character and with the caret put on it) when some character does not convert.
    bool TextAsCp1251(std::string& bytes);

    std::unique_ptr<Ui::TDicEditForm> ui_;
    QString searchText_;
    const TWordCoder coder_;
    const TProgSettings settings_;
};

// The file dialogs of the editor: text files, default suffix txt, no preset name; the
// save dialog asks before overwriting.
QString AskTextFileToOpen(QWidget* owner);
QString AskTextFileToSave(QWidget* owner);
// The editor's search box: "Найти:" with the last text preset.
QString AskTextToFind(QWidget* owner, const QString& last);

} // namespace nb::ui

// The main window: shows the session (settings, code tables, dictionary, user lists, code
// dictionary) in its controls, runs start-up after it has appeared, the code-dictionary
// build with its busy state, the encode command, the commands of the menu bar, and the
// saves at shut-down. The rules are the session's and the work the engine's and the
// dialogs'; this class wires them to the controls.
#pragma once

#include "core/SessionUnit.h"
#include "encoding/WordNodeDelegate.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>

class QLabel;
class QMenu;

namespace Ui {
class TMainForm;
}

namespace nb::ui {

class TPicturePane;

// The longest number the window encodes, in digits: beyond it the engine's work and the
// word columns would keep the window waiting. The number field takes up to
// kMaxNumberChars characters (digits with separators).
inline constexpr int kMaxNumberDigits = 10000;
inline constexpr int kMaxNumberChars = 4 * kMaxNumberDigits;
class TWordTree;
class TVariantsModel;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // FormCreate: reads the code tables and the settings of this program folder and posts
    // the start-up load. Throws EError when Data/Codes.ini cannot be read or holds no
    // table; nothing has been written then.
    explicit TMainForm(const std::string& programFolder, QWidget* parent = nullptr);
    // The same for either layout (portable or installed).
    explicit TMainForm(const TPaths& paths, QWidget* parent = nullptr);
    // FormDestroy: writes the user lists that were loaded, then the settings.
    ~TMainForm() override;

    // The status line; a text that is shown already causes no repaint.
    void ShowStatus(const QString& text);
    QString StatusText() const;
    // Busy state off (true) or on (false).
    void SetControlsEnabled(bool on);
    bool Busy() const;
    void UpdateBrowserPanel();

    // Runs a build of the session (`build` is handed the callbacks) with the window busy,
    // then encodes the number again. A failure (EError) leaves the former code dictionary
    // working and shows the session's table and settings again.
    void BuildCodeDictionary(const std::function<void(const TBuildCallbacks&)>& build);
    // The encode command.
    void GoButtonClick();
    // The variant of the focused row of the variants list, or empty.
    std::string GetSelectedVariant() const;

    // The pop-up menu commands of the word columns.
    void HideWordMenuItemClick();
    void ShowWordMenuItemClick();
    void HideNumMenuItemClick();

    // The commands; each opens its dialog modally over this window. They throw EError
    // where the engine does (the menu runs them through the error report).
    void SettingsActionExecute();
    void NotebookActionExecute();
    // The review window over the notebook; the command's caption counts the due cards.
    void ReviewActionExecute();
    void UpdateReviewAction();
    void TableCodeActionExecute();
    void DicEditActionExecute();
    void TestCodeActionExecute();
    void HelpActionExecute();
    void AboutActionExecute();
    // Stores the selected variant and the focused words with a note, and writes the two
    // notebook files at once.
    void RememberButtonClick();

    const TSession& Session() const { return session_; }
    const TProgSettings& Settings() const { return session_.Settings(); }
    const TUserLists& UserLists() const { return session_.UserLists(); }
    const TStringList& DicList() const { return session_.DicList(); }
    const std::string& CurrentWord() const { return currentWord_; }
    const TCodeDictionary& CodeDictionary() const { return session_.CodeDictionary(); }
    TPicturePane* PicturePane() const { return picturePane_; }
    TVariantsModel* VariantsModel() const { return variantsModel_; }
    Ui::TMainForm* Controls() const { return ui_.get(); }
    QMenu* WordPopupMenu() const { return wordPopupMenu_; }

signals:
    // Every text the status line takes.
    void StatusShown(const QString& text);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void PostStartup();
    void WMStartup();
    void MakeVariants();
    // Writes one user list right after a change; a failure is reported over `owner` and
    // the change stays in memory for the shut-down write.
    void SaveUserList(std::vector<std::string> (TSession::*save)() const, QWidget* owner);
    void ShowVariantWords(const std::string& variant);
    void VariantsVirtualStringTreeChange();
    void WordFocusChanged(int32_t dicIndex);
    void UpdateWordEdit();
    void OpenHelp();
    void ShowCodeHint();
    // The word rows' painting follows the session's table, mode and colour.
    void UpdatePainting();
    // The word column that has the keyboard focus, or that had it when the user went into
    // the menu bar with the keyboard (the menu bar holds the focus meanwhile); or null.
    const TWordTree* FocusedWordColumn() const;
    void SplitterMoved();
    void FormDestroy();
    void RestoreStateAfterRecreate();
    // Runs a command; an error leaves it and is reported, and the program goes on.
    template <class F> void Command(F&& f);

    std::unique_ptr<Ui::TMainForm> ui_;
    QLabel* statusLabel_ = nullptr;
    QMenu* wordPopupMenu_ = nullptr;
    QPointer<QWidget> focusBeforeMenu_;
    QMetaObject::Connection focusTracking_;
    TVariantsModel* variantsModel_ = nullptr;
    TPicturePane* picturePane_ = nullptr;

    TSession session_;
    TWordPainting painting_;
    std::string currentWord_;
    Qt::WindowStates statesBeforeRecreate_;
    bool recreated_ = false;
};

// Creates the main window for a program folder; when that fails, shows the "Ошибка" box
// with the reason and returns null.
std::unique_ptr<TMainForm> CreateMainForm(const std::string& programFolder);
// The same for a layout; an installed program's user folder is prepared first.
std::unique_ptr<TMainForm> CreateMainForm(const TPaths& paths);

} // namespace nb::ui

// The main window: owns every long-lived object of the program (settings, code tables,
// dictionary, user lists, code dictionary, variants and word columns), runs start-up after
// it has appeared, the code-dictionary build with its busy state, the encode command, and
// the saves at shut-down. The work itself is the engine's; this class wires it to the
// controls.
#pragma once

#include "code/NumbreliaTypesUnit.h"
#include "code/WordCodeUnit.h"
#include "core/IniFileUnit.h"
#include "core/SettingsUnit.h"
#include "core/UtilsUnit.h"
#include "dictionary/CodeDictionaryUnit.h"
#include "dictionary/WordListUnit.h"
#include "encoding/WordNodeDelegate.h"

#include <QMainWindow>

#include <memory>
#include <string>

class QLabel;
class QMenu;

namespace Ui {
class TMainForm;
}

namespace nb::ui {

class TVariantsModel;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // FormCreate: reads the code tables and the settings of this program folder and posts
    // the start-up load. Throws EError when Data/Codes.ini cannot be read or holds no
    // table; nothing has been written then.
    explicit TMainForm(const std::string& programFolder, QWidget* parent = nullptr);
    // FormDestroy: writes the user lists that were loaded, then the settings.
    ~TMainForm() override;

    // The status line; a text that is shown already causes no repaint.
    void ShowStatus(const QString& text);
    QString StatusText() const;
    // Busy state off (true) or on (false).
    void SetControlsEnabled(bool on);
    bool Busy() const;
    void UpdateBrowserPanel();

    // Brings the code dictionary up to date and encodes the number again.
    void BuildCodeDictionary();
    // The encode command.
    void GoButtonClick();
    // The variant of the focused row of the variants list, or empty.
    std::string GetSelectedVariant() const;

    // The pop-up menu commands of the word columns.
    void HideWordMenuItemClick();
    void ShowWordMenuItemClick();
    void HideNumMenuItemClick();

    const TProgSettings& Settings() const { return settings_; }
    const TUserLists& UserLists() const { return userLists_; }
    const TStringList& DicList() const { return dicList_; }
    const std::string& CurrentWord() const { return currentWord_; }
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
    void VariantsVirtualStringTreeChange();
    void WordFocusChanged(int32_t dicIndex);
    void UpdateWordEdit();
    void OpenHelp();
    void SplitterMoved();
    void FormDestroy();
    void RestoreStateAfterRecreate();
    // Runs a command; an error leaves it and is reported, and the program goes on.
    template <class F> void Command(F&& f);

    std::unique_ptr<Ui::TMainForm> ui_;
    QLabel* statusLabel_ = nullptr;
    QMenu* wordPopupMenu_ = nullptr;
    TVariantsModel* variantsModel_ = nullptr;

    TPaths paths_;
    TIniFile settingsFile_;
    TCodeRecArr codeTables_;
    TCodeRec codeTable_;
    TProgSettings settings_;
    TLayoutSettings layout_;
    TStringList dicList_{TStringList::Kind::Sorted};
    TUserLists userLists_;
    TCodeDictionary codeDictionary_;
    TWordPainting painting_;
    std::string currentWord_;
    Qt::WindowStates statesBeforeRecreate_;
    bool recreated_ = false;
};

// Creates the main window for a program folder; when that fails, shows the "Ошибка" box
// with the reason and returns null.
std::unique_ptr<TMainForm> CreateMainForm(const std::string& programFolder);

} // namespace nb::ui

#include "WordListUnit.h"

#include "core/FileUnit.h"

namespace nb {

void LoadListIfExists(TStringList& list, const std::string& path) {
    if (!FileExists(path)) {
        // Something that is there but is no file (a folder, a broken link) is an error;
        // only a true absence means an empty list.
        if (DirectoryExists(path)) throw EError(FormatOpenError(path, "Is a directory"));
        list.Clear();
        return;
    }
    list.LoadFromFile(path);
}

void TUserLists::Load(const TPaths& paths) {
    LoadListIfExists(HidedWordList, paths.HidedWords());
    HidedWordsLoaded = true;
    LoadListIfExists(IgnoredCodeList, paths.IgnoredCodes());
    IgnoredCodesLoaded = true;
    LoadListIfExists(NotebookEntries, paths.Notebook());
    NotebookLoaded = true;
    LoadListIfExists(NotebookNotes, paths.NotebookNotes());
    NotebookNotesLoaded = true;
}

namespace {

void SaveOne(const TStringList& list, bool loaded, const std::string& path,
             std::vector<std::string>& errors) {
    if (!loaded) return;
    try {
        list.SaveToFile(path);
    } catch (const EError& e) {
        errors.emplace_back(e.what());
    }
}

} // namespace

std::vector<std::string> TUserLists::Save(const TPaths& paths) const {
    std::vector<std::string> errors;
    SaveOne(HidedWordList, HidedWordsLoaded, paths.HidedWords(), errors);
    SaveOne(IgnoredCodeList, IgnoredCodesLoaded, paths.IgnoredCodes(), errors);
    auto notebook = SaveNotebook(paths);
    errors.insert(errors.end(), notebook.begin(), notebook.end());
    return errors;
}

std::vector<std::string> TUserLists::SaveNotebook(const TPaths& paths) const {
    std::vector<std::string> errors;
    SaveOne(NotebookEntries, NotebookLoaded, paths.Notebook(), errors);
    SaveOne(NotebookNotes, NotebookNotesLoaded, paths.NotebookNotes(), errors);
    return errors;
}

} // namespace nb

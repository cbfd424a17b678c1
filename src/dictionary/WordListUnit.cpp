#include "WordListUnit.h"

#include "core/FileUnit.h"
#include "core/TextUnit.h"

#include <algorithm>

namespace nb {

void LoadListIfExists(TStringList& list, const std::string& path) {
    if (!FileExists(path)) {
        // Something that is there but is no file (a folder, a broken link) is an error;
        // only a true absence means an empty list.
        if (DirectoryExists(path)) throw EError(FormatOpenError(path, ErrorReason(EISDIR)));
        list.Clear();
        return;
    }
    // The user's own lists: a stray zero byte must not cost the lines after it.
    list.LoadFromFile(path, TNulRule::DropNul);
}

std::string ReadDictionaryText(const std::string& path, bool& converted) {
    std::string text = ReadTextFile(path, TNulRule::StopAtNul);
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    // Windows-1251 letters are never well-formed UTF-8, so this cannot misread a real one.
    converted = !ascii && IsValidUtf8(text);
    return converted ? Utf8ToCp1251(text) : text;
}

bool LoadDictionary(TStringList& list, const std::string& path) {
    bool converted = false;
    list.SetText(ReadDictionaryText(path, converted));
    return converted;
}

namespace {

// Whether a file name is one the program writes atomically.
bool OurFileName(std::string_view name) {
    for (const char* own : {"settings.ini", "notebook.txt", "notebook_add.txt",
                            "notebook_review.txt", "notebook_pieces.txt", "HidedWord.lst", "IgnoredCode.lst", "dic.lst",
                            "Codes.ini",
                            // the first start's copies of the shipped files, staged
                            "dic.lst.shipped", "Codes.ini.shipped"})
        if (name == own) return true;
    return false;
}

// Cache files: "<id>_1.lst" .. "<id>_3.lst".
bool OurCacheFileName(std::string_view name) {
    return name.size() > 6 && name.substr(name.size() - 4) == ".lst" &&
           name[name.size() - 6] == '_' && name[name.size() - 5] >= '1' &&
           name[name.size() - 5] <= '3';
}

} // namespace

int RemoveStaleTempFiles(const TPaths& paths, int minAgeSeconds) {
    int removed = 0;
    std::vector<std::string> folders;
    for (const std::string& file : {paths.Settings(), paths.Notebook(), paths.NotebookNotes(),
                                    paths.HidedWords(), paths.IgnoredCodes(), paths.Dictionary()})
        if (std::find(folders.begin(), folders.end(), ParentFolder(file)) == folders.end())
            folders.push_back(ParentFolder(file));
    for (const auto& folder : folders)
        removed += RemoveStaleTempFiles(folder, OurFileName, minAgeSeconds);
    return removed + RemoveStaleTempFiles(paths.CacheFolder(), OurCacheFileName, minAgeSeconds);
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

std::vector<std::string> TUserLists::SaveHidedWords(const TPaths& paths) const {
    std::vector<std::string> errors;
    SaveOne(HidedWordList, HidedWordsLoaded, paths.HidedWords(), errors);
    return errors;
}

std::vector<std::string> TUserLists::SaveIgnoredCodes(const TPaths& paths) const {
    std::vector<std::string> errors;
    SaveOne(IgnoredCodeList, IgnoredCodesLoaded, paths.IgnoredCodes(), errors);
    return errors;
}

std::vector<std::string> TUserLists::SaveNotebook(const TPaths& paths) const {
    std::vector<std::string> errors;
    SaveOne(NotebookEntries, NotebookLoaded, paths.Notebook(), errors);
    SaveOne(NotebookNotes, NotebookNotesLoaded, paths.NotebookNotes(), errors);
    return errors;
}

} // namespace nb

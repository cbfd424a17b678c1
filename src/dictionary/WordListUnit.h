// The dictionary and the user's lists, and the bookkeeping that keeps a list which was
// never loaded from being written over its file at shutdown.
#pragma once

#include "StringListUnit.h"
#include "core/UtilsUnit.h"

#include <string>
#include <vector>

namespace nb {

// Loads the list from its file when the file exists; a missing file leaves it empty.
// Zero bytes in the file are dropped, so every line is kept (and written back).
// Throws EError when the file exists but cannot be read.
void LoadListIfExists(TStringList& list, const std::string& path);

// Loads the dictionary (Data/dic.lst): its text ends at a zero byte. A file written wholly
// in UTF-8 (well-formed, with non-ASCII text) is converted to Windows-1251, as the
// dictionary editor's import does; the result says whether it was. Throws EError.
bool LoadDictionary(TStringList& list, const std::string& path);
// The same text, for the dictionary editor.
std::string ReadDictionaryText(const std::string& path, bool& converted);

// Removes the temporary files a killed process left beside the program's files and in
// Cache/ (see RemoveStaleTempFiles); never one another running copy is still writing.
int RemoveStaleTempFiles(const TPaths& paths, int minAgeSeconds = 60);

// The user lists loaded at start-up and written back at shutdown: hidden words, ignored
// codes and the two notebook lists, in that order.
struct TUserLists {
    TStringList HidedWordList{TStringList::Kind::Sorted};
    TStringList IgnoredCodeList{TStringList::Kind::Sorted};
    TStringList NotebookEntries{TStringList::Kind::Plain};
    TStringList NotebookNotes{TStringList::Kind::Plain};

    // Loads each list in order; stops at the first error (EError), leaving the lists
    // after it unloaded, and so not to be saved.
    void Load(const TPaths& paths);
    // Writes every list that was loaded (or whose file was absent); a list that never got
    // that far keeps its file untouched. Returns one message per file that could not be
    // written; the others are written regardless.
    std::vector<std::string> Save(const TPaths& paths) const;
    // Writes only the two notebook lists (after a remember), with the same rule.
    std::vector<std::string> SaveNotebook(const TPaths& paths) const;
    // Writes one list right after a change, with the same rule; a failure leaves the
    // change in memory for the shut-down write.
    std::vector<std::string> SaveHidedWords(const TPaths& paths) const;
    std::vector<std::string> SaveIgnoredCodes(const TPaths& paths) const;

    bool HidedWordsLoaded = false;
    bool IgnoredCodesLoaded = false;
    bool NotebookLoaded = false;
    bool NotebookNotesLoaded = false;
};

} // namespace nb

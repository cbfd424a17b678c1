// The dictionary and the user's lists, and the bookkeeping that keeps a list which was
// never loaded from being written over its file at shutdown.
#pragma once

#include "StringListUnit.h"
#include "core/UtilsUnit.h"

#include <string>
#include <vector>

namespace nb {

// Loads the list from its file when the file exists; a missing file leaves it empty.
// Throws EError when the file exists but cannot be read.
void LoadListIfExists(TStringList& list, const std::string& path);

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

    bool HidedWordsLoaded = false;
    bool IgnoredCodesLoaded = false;
    bool NotebookLoaded = false;
    bool NotebookNotesLoaded = false;
};

} // namespace nb

// The program folder and every path built from it.
#pragma once

#include <string>

namespace nb {

// The folder of the running executable, without a trailing '/'. Fixed on first use.
const std::string& ProgramFolder();

// Paths of the program's files. A portable program keeps everything in its own folder
// (Folder, Shared empty). An installed one reads what it ships (the help pages, the original
// dictionary and code tables) from Shared and keeps the user's files in Folder.
struct TPaths {
    std::string Folder;
    std::string Shared{}; // initialised, so TPaths{folder} needs no second value

    bool Installed() const { return !Shared.empty(); }
    const std::string& SharedFolder() const { return Installed() ? Shared : Folder; }

    std::string Settings() const { return Folder + "/settings.ini"; }
    std::string Codes() const { return Folder + "/Data/Codes.ini"; }
    std::string Dictionary() const { return Folder + "/Data/dic.lst"; }
    std::string HidedWords() const { return Folder + "/Data/HidedWord.lst"; }
    std::string IgnoredCodes() const { return Folder + "/Data/IgnoredCode.lst"; }
    std::string Notebook() const { return Folder + "/notebook.txt"; }
    std::string NotebookNotes() const { return Folder + "/notebook_add.txt"; }
    std::string NotebookReview() const { return Folder + "/notebook_review.txt"; }
    std::string NotebookPieces() const { return Folder + "/notebook_pieces.txt"; }
    std::string CacheFolder() const { return Folder + "/Cache"; }
    // Cache file n (1..3) of the table with this identifier.
    std::string CacheFile(const std::string& ident, int n) const {
        return CacheFolder() + "/" + ident + "_" + std::to_string(n) + ".lst";
    }
    std::string HelpIndex() const { return SharedFolder() + "/Help/index.htm"; }
    std::string HelpPictures() const { return SharedFolder() + "/Help/pic.htm"; }
    std::string HelpLoading() const { return SharedFolder() + "/Help/loading.htm"; }
    std::string HelpEdit() const { return SharedFolder() + "/Help/EditHelp.htm"; }
    // The dictionary and code tables as shipped, copied to the user's folder at first start.
    std::string ShippedCodes() const { return SharedFolder() + "/Data/Codes.ini"; }
    std::string ShippedDictionary() const { return SharedFolder() + "/Data/dic.lst"; }
    // Where the tiers of the shipped dictionary begin (never copied: found by word).
    std::string DictionaryTiers() const { return SharedFolder() + "/Data/dic_tiers.ini"; }
};

// The layout of a program whose executable lies in `programFolder`. Portable when that
// folder holds Data/ (even a read-only one); installed when it does not and
// ../share/numbrelia/Data/ does: then the user's files go to `dataHome`/numbrelia, where
// `dataHome` is $XDG_DATA_HOME if absolute, else `home`/.local/share.
TPaths LayoutFor(const std::string& programFolder, const std::string& xdgDataHome,
                 const std::string& home);
// The layout of the running program, from its folder and the environment.
TPaths ProgramPaths();
// For an installed program: creates the user's folder and gives it its own copies of the
// dictionary and code tables where it has none (never over the user's). Nothing to do for
// a portable one. Throws EError with the message shown to the user.
void PrepareUserFolder(const TPaths& paths);

} // namespace nb

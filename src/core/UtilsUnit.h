// The program folder and every path built from it.
#pragma once

#include <string>

namespace nb {

// The folder of the running executable, without a trailing '/'. Fixed on first use.
const std::string& ProgramFolder();

// Paths of the files beside the program, for one program folder.
struct TPaths {
    std::string Folder;

    std::string Settings() const { return Folder + "/settings.ini"; }
    std::string Codes() const { return Folder + "/Data/Codes.ini"; }
    std::string Dictionary() const { return Folder + "/Data/dic.lst"; }
    std::string HidedWords() const { return Folder + "/Data/HidedWord.lst"; }
    std::string IgnoredCodes() const { return Folder + "/Data/IgnoredCode.lst"; }
    std::string Notebook() const { return Folder + "/notebook.txt"; }
    std::string NotebookNotes() const { return Folder + "/notebook_add.txt"; }
    std::string CacheFolder() const { return Folder + "/Cache"; }
    // Cache file n (1..3) of the table with this identifier.
    std::string CacheFile(const std::string& ident, int n) const {
        return CacheFolder() + "/" + ident + "_" + std::to_string(n) + ".lst";
    }
    std::string HelpIndex() const { return Folder + "/Help/index.htm"; }
    std::string HelpPictures() const { return Folder + "/Help/pic.htm"; }
    std::string HelpLoading() const { return Folder + "/Help/loading.htm"; }
    std::string HelpEdit() const { return Folder + "/Help/EditHelp.htm"; }
};

} // namespace nb

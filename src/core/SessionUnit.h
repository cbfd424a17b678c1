// The application itself, shared by the desktop window and the command-line tool: the
// program's files, its code tables and settings, the dictionary, the user lists with the
// notebook, and the code dictionary, with the rules that tie them together. The window
// shows a session and asks it for every change; the tool reads one and never writes a
// user file.
#pragma once

#include "code/NumbreliaTypesUnit.h"
#include "core/IniFileUnit.h"
#include "core/SettingsUnit.h"
#include "core/UtilsUnit.h"
#include "dictionary/CodeDictionaryUnit.h"
#include "dictionary/WordListUnit.h"
#include "encoding/VariantSearchUnit.h"
#include "notebook/PiecesUnit.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nb {

// One word column of a variant: its group and the entries the column lists.
struct TWordColumn {
    std::string Group;
    std::vector<int32_t> Entries; // DicList indices, in display order
    std::vector<bool> Hidden;     // one per entry: on the hidden-word list when made
    int32_t Chosen = -1;          // the remembered word, else the first one shown; -1: none
};

class TSession {
public:
    // Gives an installed program's user its folder (PrepareUserFolder), then reads the code
    // tables and the settings; writes nothing else, so a folder without usable tables is
    // left as it was (EError, naming the file and every skipped table). Tables skipped for
    // a reason are listed in Warnings().
    explicit TSession(TPaths paths);

    // Makes Cache/ and removes the temporary files killed processes left. EError.
    void PrepareFolders() const;
    // Loads the dictionary, then the user lists and the notebook. Returns whether the
    // dictionary had to be converted from UTF-8 (the caller says so). EError.
    bool Load();
    // Brings the code dictionary up to date for the dictionary, table and grouping. It is
    // built aside and taken only when the build succeeds: a failure (EError) leaves the
    // former one working with the dictionary it was made from.
    void Build(const TBuildCallbacks& callbacks);

    // Settings for this run only, before the first build (the tool's options): the code
    // table is chosen again from them.
    void OverrideSettings(const TProgSettings& settings);
    // The settings dialog's result when it differs from the settings in the word order
    // and the cut into pieces alone: taken, and true (nothing the code dictionary or the variants are made of
    // changed). Otherwise false, and nothing taken.
    bool ApplyWordOrder(const TProgSettings& edited);
    // The settings dialog's result: the settings and their table are taken and the code
    // dictionary built; a failed build brings the former settings and table back, so the
    // search never cuts numbers by rules the groups were not made with, and rethrows.
    void ApplySettings(const TProgSettings& edited, const TBuildCallbacks& callbacks);
    // The dictionary editor's OK: writes `bytes` as the dictionary file, loads it and
    // builds. A refused write or a failed build (EError) leaves the former dictionary and
    // code dictionary working together.
    void ReplaceDictionary(const std::string& bytes, const TBuildCallbacks& callbacks);

    // The encode command: the variants of a number in display order, the remembered one
    // selected.
    TEncodeResult Encode(std::string_view numberText, size_t limit = kMaxVariantRows) const;
    // The same rows for a search string, handed out as found and kept nowhere; a cut list
    // that left out the remembered variant still ends with it. Returns whether cut.
    bool StreamVariants(const std::string& searchString, size_t limit,
                        const std::function<void(std::string&& key, int32_t count)>& row) const;
    // The word columns of a variant key. Each chooses the word remembered for it when the
    // notebook holds this very variant, else its first word shown. A column whose every
    // word is hidden shows its first word again, which leaves the hidden-word list (in
    // memory: `hiddenChanged` says whether the list is to be written).
    std::vector<TWordColumn> WordColumns(std::string_view variantKey, bool* hiddenChanged = nullptr);
    // The entries of a group code in display order (dictionary order, or with FamiliarFirst
    // the dictionary file's line order; with BestVariantFirst then cheapest word first).
    std::vector<int32_t> GroupEntries(const std::string& group) const;
    bool IsWordHidden(int32_t entry) const;
    // The first of a column's entries that is not hidden, or -1.
    int32_t FirstShown(const std::vector<int32_t>& entries) const;

    // Changes of the user lists, in memory; each returns whether a list changed, and the
    // caller writes that list (SaveHidedWords, SaveIgnoredCodes).
    // Hides `entry` of a column listing `entries`; a column left with no word shown gets its
    // first entry back.
    bool HideWord(const std::vector<int32_t>& entries, int32_t entry);
    // Hides every entry of the column but `entry`, which is shown.
    bool KeepOnlyWord(const std::vector<int32_t>& entries, int32_t entry);
    // A column never ends up with nothing to show: when every entry is hidden, the first
    // comes back. Every operation above keeps to it.
    bool KeepAWordShown(const std::vector<int32_t>& entries);
    bool SetWordHidden(const std::string& word, bool hidden);
    bool SetCodeIgnored(const std::string& code, bool ignored);

    // The notebook. Whether `words` (one a group, in order) can be stored for `variantKey`.
    static bool CanRemember(const std::string& variantKey, const std::vector<std::string>& words);
    // The note stored for the variant's number.
    std::string NotebookNote(const std::string& variantKey) const;
    // Stores the variant with its words and note, then writes both notebook files at once.
    // Returns one message per file that could not be written (the entry stays in memory).
    std::vector<std::string> Remember(const std::string& variantKey,
                                      const std::vector<std::string>& words, const std::string& note);
    // Deletes what is stored for a notebook key and writes both files at once.
    std::vector<std::string> DeleteNotebookEntry(const std::string& key);
    // Sets the note of a notebook key (empty deletes its line) and writes notebook_add.txt
    // at once. A refused write leaves the notes as they were and returns its message.
    std::vector<std::string> SetNotebookNote(const std::string& key, const std::string& note);

    // Long numbers in pieces (notebook_pieces.txt beside the notebook). The cut of a
    // variant: the remembered one when the notebook holds this very variant with pieces,
    // else `n` groups at most a piece (SplitPieces); empty: the variant is not cut.
    // `n` < 0 means the PieceWords setting.
    std::vector<int32_t> PieceSizes(std::string_view variantKey, int32_t n = -1) const;
    // The place notes remembered for the variant's pieces (one per piece), or none.
    std::vector<std::string> PieceNotes(std::string_view variantKey) const;
    // What is stored for a notebook key when it still fits its entry, or null.
    const TPiecesRec* StoredPieces(std::string_view key) const;
    // Remember with pieces: the entry as Remember stores it, and its cut with a note a
    // piece; `sizes` empty stores it plain, which drops its former pieces. Writes the
    // notebook files at once; EError when the sizes do not cut the variant's groups.
    std::vector<std::string> Remember(const std::string& variantKey, const std::vector<std::string>& words,
                                      const std::string& note, const std::vector<int32_t>& sizes,
                                      const std::vector<std::string>& placeNotes);
    const TPiecesList& Pieces() const { return pieces_; }
    // Reads the notebook files again (another program may have written them since Load).
    void ReloadNotebook();

    // Writes one user list now; the same rule as Save: a list never loaded is not written.
    std::vector<std::string> SaveHidedWords() const;
    std::vector<std::string> SaveIgnoredCodes() const;
    // Shut-down: every loaded list, then the settings. One message per failed file.
    std::vector<std::string> Save();
    // The settings now, as at shut-down (one replacement of the file, under its lock): the
    // settings dialog's OK, so that a crash does not lose them. The messages of a refused
    // write; the settings stay for the write at shut-down.
    std::vector<std::string> WriteSettings();

    const TPaths& Paths() const { return paths_; }
    const std::vector<std::string>& Warnings() const { return warnings_; }
    TIniFile& SettingsFile() { return settingsFile_; }
    const TCodeRecArr& CodeTables() const { return codeTables_; }
    const TCodeRec& CodeTable() const { return codeTable_; }
    const TProgSettings& Settings() const { return settings_; }
    TLayoutSettings& Layout() { return layout_; }
    const TStringList& DicList() const { return dicList_; }
    const TUserLists& UserLists() const { return userLists_; }
    const TCodeDictionary& CodeDictionary() const { return codeDictionary_; }
    const TWordRanking& WordRanking() const { return ranking_; }
    // The cost of a group of a variant, from the words shown now.
    TGroupCost GroupCost() const;

private:
    void BuildWith(TStringList* reloadedDicList, const TBuildCallbacks& callbacks);
    std::vector<std::string> SaveNotebookFiles();
    void LoadPiecesFile();
    const std::string& Word(int32_t entry) const;

    TPaths paths_;
    TIniFile settingsFile_;
    std::vector<std::string> warnings_;
    TCodeRecArr codeTables_;
    TCodeRec codeTable_;
    TProgSettings settings_;
    TLayoutSettings layout_;
    TStringList dicList_{TStringList::Kind::Sorted};
    TUserLists userLists_;
    TCodeDictionary codeDictionary_;
    TWordRanking ranking_; // of dicList_, made with the code dictionary
    TPiecesList pieces_;
    // An unreadable pieces file is never written over (and its pieces are not shown).
    bool piecesLoaded_ = false;
    std::string piecesError_;
};

} // namespace nb

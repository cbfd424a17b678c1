#include "SessionUnit.h"

#include "code/CodeTableUnit.h"
#include "core/FileUnit.h"
#include "core/TextUnit.h"
#include "notebook/NotebookStoreUnit.h"
#include "resources/ResStrUnit.h"

#include <algorithm>
#include <cstdio>

namespace nb {

namespace {

// Puts `item` on a sorted list or takes it off; returns whether the list changed.
bool SetMember(TStringList& list, const std::string& item, bool member) {
    const long i = list.IndexOf(item);
    if (member == (i >= 0)) return false;
    if (member)
        list.Add(item);
    else
        list.Delete(static_cast<size_t>(i));
    return true;
}

} // namespace

TSession::TSession(TPaths paths) : paths_(std::move(paths)), settingsFile_(paths_.Settings()) {
    PrepareUserFolder(paths_);
    if (!FileExists(paths_.Codes())) {
        char text[4096];
        std::snprintf(text, sizeof text, res::kNoCodesFile, paths_.Codes().c_str());
        throw EError(text);
    }
    codeTables_ = LoadCodeTables(paths_.Codes(), &warnings_);
    if (codeTables_.empty()) {
        char head[4096];
        std::snprintf(head, sizeof head, res::kNoCodeTables, paths_.Codes().c_str());
        std::vector<std::string> lines = warnings_;
        lines.insert(lines.begin(), head);
        throw EError(JoinLines(lines));
    }
    LoadSettings(settingsFile_, codeTables_, settings_, layout_);
    codeTable_ = SelectCodeTable(codeTables_, settings_.CodeCode);
}

void TSession::PrepareFolders() const {
    CreateDir(paths_.CacheFolder());
    RemoveStaleTempFiles(paths_);
}

bool TSession::Load() {
    const bool converted = LoadDictionary(dicList_, paths_.Dictionary());
    userLists_.Load(paths_);
    LoadPiecesFile();
    return converted;
}

void TSession::LoadPiecesFile() {
    // The pieces only ever add to the notebook: a file that cannot be read leaves every
    // entry plain and is not written over.
    try {
        LoadPieces(pieces_, paths_.NotebookPieces());
        piecesLoaded_ = true;
        piecesError_.clear();
    } catch (const EError& e) {
        pieces_ = TPiecesList();
        piecesLoaded_ = false;
        piecesError_ = e.what();
    }
}

void TSession::Build(const TBuildCallbacks& callbacks) { BuildWith(nullptr, callbacks); }

void TSession::BuildWith(TStringList* reloadedDicList, const TBuildCallbacks& callbacks) {
    if (callbacks.Starting) callbacks.Starting();
    // The window keeps painting from DicList while the build lets events through; its
    // indices must stay valid until the new lists take over together.
    TCodeDictionary built;
    built.Build(paths_, settingsFile_, reloadedDicList ? *reloadedDicList : dicList_, codeTable_,
                settings_.Grouping(), callbacks);
    if (reloadedDicList) dicList_ = std::move(*reloadedDicList);
    codeDictionary_ = std::move(built);
    ranking_ = TWordRanking(dicList_, ReadTierWords(paths_.DictionaryTiers()));
}

void TSession::OverrideSettings(const TProgSettings& settings) {
    settings_ = settings;
    // As a stored value: a table that is not there means the first one.
    settings_.CodeCode = CheckCodeCode(settings_.CodeCode, codeTables_);
    codeTable_ = SelectCodeTable(codeTables_, settings_.CodeCode);
}

bool TSession::ApplyWordOrder(const TProgSettings& edited) {
    TProgSettings orderOnly = settings_;
    orderOnly.FamiliarFirst = edited.FamiliarFirst;
    orderOnly.PieceWords = edited.PieceWords; // the cut of the phrase needs no build either
    orderOnly.BestVariantFirst = edited.BestVariantFirst; // the costs are made at every build
    if (edited == settings_ || edited != orderOnly) return false;
    settings_ = edited;
    return true;
}

void TSession::ApplySettings(const TProgSettings& edited, const TBuildCallbacks& callbacks) {
    const TProgSettings settingsBefore = settings_;
    const TCodeRec tableBefore = codeTable_;
    OverrideSettings(edited);
    try {
        Build(callbacks);
    } catch (...) {
        settings_ = settingsBefore;
        codeTable_ = tableBefore;
        throw;
    }
}

void TSession::ReplaceDictionary(const std::string& bytes, const TBuildCallbacks& callbacks) {
    WriteFileAtomic(paths_.Dictionary(), bytes);
    TStringList reloaded(TStringList::Kind::Sorted);
    reloaded.LoadFromFile(paths_.Dictionary());
    BuildWith(&reloaded, callbacks);
}

// ---- encoding -------------------------------------------------------------------------------

TEncodeResult TSession::Encode(std::string_view numberText, size_t limit) const {
    const TVariantSearch search(codeDictionary_.GroupCodeList(), userLists_.IgnoredCodeList);
    if (!settings_.BestVariantFirst)
        return MakeVariants(numberText, settings_.Grouping(), search, userLists_.NotebookEntries, limit);
    const TGroupCost cost = GroupCost();
    return MakeVariants(numberText, settings_.Grouping(), search, userLists_.NotebookEntries, limit, &cost);
}

TGroupCost TSession::GroupCost() const {
    return MakeGroupCost([this](const std::string& group) -> const std::vector<int32_t>& {
        return codeDictionary_.EntriesOfGroup(group);
    }, [this](int32_t entry) { return IsWordHidden(entry); }, ranking_);
}

bool TSession::StreamVariants(const std::string& searchString, size_t limit,
                              const std::function<void(std::string&& key, int32_t count)>& row) const {
    const TVariantSearch search(codeDictionary_.GroupCodeList(), userLists_.IgnoredCodeList);
    const std::string remembered = RememberedVariant(userLists_.NotebookEntries, searchString);
    bool rememberedShown = false;
    const auto shown = [&](std::string&& key, int32_t count) {
        if (key == remembered) rememberedShown = true;
        row(std::move(key), count);
    };
    const bool cut = settings_.BestVariantFirst
                         ? search.StreamBestOrder(searchString, limit, GroupCost(), shown)
                         : search.StreamDisplayOrder(searchString, limit, shown);
    // It ranks after every row handed out (it has at least as many groups, or with
    // BestVariantFirst costs at least as much), so it belongs at the end.
    if (cut && !remembered.empty() && !rememberedShown && search.IsVariantOf(remembered, searchString))
        row(std::string(remembered),
            static_cast<int32_t>(std::count(remembered.begin(), remembered.end(), '-') + 1));
    return cut;
}

std::vector<int32_t> TSession::GroupEntries(const std::string& group) const {
    std::vector<int32_t> entries =
        OrderEntries(codeDictionary_.EntriesOfGroup(group), dicList_, settings_.FamiliarFirst);
    return settings_.BestVariantFirst ? RankEntries(std::move(entries), ranking_) : entries;
}

const std::string& TSession::Word(int32_t entry) const { return dicList_[static_cast<size_t>(entry)]; }

bool TSession::IsWordHidden(int32_t entry) const {
    return entry >= 0 && static_cast<size_t>(entry) < dicList_.Count() &&
           userLists_.HidedWordList.Contains(Word(entry));
}

std::vector<TWordColumn> TSession::WordColumns(std::string_view variantKey, bool* hiddenChanged) {
    // The remembered words count only when they belong to this very variant.
    std::vector<std::string> remembered =
        NotebookItems(userLists_.NotebookEntries, NotebookKey(variantKey));
    if (!remembered.empty() && remembered.front() != variantKey) remembered.clear();
    bool changed = false;
    std::vector<TWordColumn> columns;
    for (std::string& group : SplitVariantKey(variantKey)) {
        TWordColumn& c = columns.emplace_back();
        c.Entries = GroupEntries(group);
        c.Group = std::move(group);
        changed |= KeepAWordShown(c.Entries);
        c.Hidden.reserve(c.Entries.size());
        const size_t i = columns.size(); // the column's word in the notebook entry
        for (const int32_t entry : c.Entries) {
            c.Hidden.push_back(IsWordHidden(entry));
            // Remembered words match exactly, letter case included.
            if (!c.Hidden.back() && c.Chosen < 0 && i < remembered.size() && Word(entry) == remembered[i])
                c.Chosen = entry;
        }
        if (c.Chosen < 0) c.Chosen = FirstShown(c.Entries);
    }
    if (hiddenChanged) *hiddenChanged = changed;
    return columns;
}

// ---- user lists -----------------------------------------------------------------------------

bool TSession::SetWordHidden(const std::string& word, bool hidden) {
    return SetMember(userLists_.HidedWordList, word, hidden);
}

bool TSession::SetCodeIgnored(const std::string& code, bool ignored) {
    return SetMember(userLists_.IgnoredCodeList, code, ignored);
}

bool TSession::HideWord(const std::vector<int32_t>& entries, int32_t entry) {
    if (entry < 0 || static_cast<size_t>(entry) >= dicList_.Count()) return false;
    const std::string& word = Word(entry);
    if (!SetWordHidden(word, true)) return false;
    // The first entry that comes back may be this very word: then nothing changed.
    return !KeepAWordShown(entries) || Word(entries.front()) != word;
}

bool TSession::KeepOnlyWord(const std::vector<int32_t>& entries, int32_t entry) {
    bool changed = false;
    for (const int32_t e : entries)
        if (e != entry && e >= 0 && static_cast<size_t>(e) < dicList_.Count())
            changed |= SetWordHidden(Word(e), true);
    if (entry >= 0 && static_cast<size_t>(entry) < dicList_.Count())
        changed |= SetWordHidden(Word(entry), false);
    return KeepAWordShown(entries) || changed;
}

int32_t TSession::FirstShown(const std::vector<int32_t>& entries) const {
    const auto shown = std::find_if(entries.begin(), entries.end(),
                                    [this](int32_t e) { return !IsWordHidden(e); });
    return shown == entries.end() ? -1 : *shown;
}

bool TSession::KeepAWordShown(const std::vector<int32_t>& entries) {
    if (entries.empty() || FirstShown(entries) >= 0) return false;
    return SetWordHidden(Word(entries.front()), false);
}

// ---- notebook -------------------------------------------------------------------------------

bool TSession::CanRemember(const std::string& variantKey, const std::vector<std::string>& words) {
    // Anything else would replace the number's entry by one without its words.
    return !variantKey.empty() && words.size() == SplitVariantKey(variantKey).size();
}

std::string TSession::NotebookNote(const std::string& variantKey) const {
    return userLists_.NotebookNotes.Value(NotebookKey(variantKey));
}

std::vector<std::string> TSession::Remember(const std::string& variantKey,
                                            const std::vector<std::string>& words,
                                            const std::string& note) {
    if (!CanRemember(variantKey, words)) throw EError(res::kNothingToRemember);
    return Remember(variantKey, words, note, {}, {});
}

std::vector<std::string> TSession::Remember(const std::string& variantKey,
                                            const std::vector<std::string>& words, const std::string& note,
                                            const std::vector<int32_t>& sizes,
                                            const std::vector<std::string>& placeNotes) {
    if (!CanRemember(variantKey, words)) throw EError(res::kNothingToRemember);
    if (!sizes.empty() && !SizesFit(sizes, words.size())) throw EError(res::kPiecesDoNotFit);
    RememberEntry(userLists_.NotebookEntries, userLists_.NotebookNotes, variantKey, words, note);
    const std::string key = NotebookKey(variantKey);
    if (sizes.empty())
        pieces_.Remove(key);
    else
        pieces_.Set({key, sizes, placeNotes, userLists_.NotebookEntries.Value(key)});
    // At once, not only at shut-down: a crash must not lose what the user remembered.
    return SaveNotebookFiles();
}

std::vector<std::string> TSession::DeleteNotebookEntry(const std::string& key) {
    nb::DeleteNotebookEntry(userLists_.NotebookEntries, userLists_.NotebookNotes, key);
    pieces_.Remove(key);
    return SaveNotebookFiles();
}

std::vector<std::string> TSession::SetNotebookNote(const std::string& key, const std::string& note) {
    const TStringList before = userLists_.NotebookNotes;
    userLists_.NotebookNotes.SetValue(key, note);
    // Only the notes changed; a list never loaded is not written, as in Save.
    if (!userLists_.NotebookNotesLoaded) return {};
    try {
        userLists_.NotebookNotes.SaveToFile(paths_.NotebookNotes());
    } catch (const EError& e) {
        // What is in memory stays what the file holds, so nothing is half stored.
        userLists_.NotebookNotes = before;
        return {e.what()};
    }
    return {};
}

std::vector<std::string> TSession::SaveNotebookFiles() {
    std::vector<std::string> errors = userLists_.SaveNotebook(paths_);
    if (!userLists_.NotebookLoaded) return errors;
    if (!piecesLoaded_) {
        if (!piecesError_.empty()) errors.push_back(piecesError_);
        return errors;
    }
    pieces_.Sync(userLists_.NotebookEntries);
    try {
        SavePieces(pieces_, paths_.NotebookPieces());
    } catch (const EError& e) {
        errors.emplace_back(e.what());
    }
    return errors;
}

void TSession::ReloadNotebook() {
    TUserLists fresh;
    LoadListIfExists(fresh.NotebookEntries, paths_.Notebook());
    LoadListIfExists(fresh.NotebookNotes, paths_.NotebookNotes());
    userLists_.NotebookEntries = std::move(fresh.NotebookEntries);
    userLists_.NotebookNotes = std::move(fresh.NotebookNotes);
    userLists_.NotebookLoaded = userLists_.NotebookNotesLoaded = true;
    LoadPiecesFile();
}

const TPiecesRec* TSession::StoredPieces(std::string_view key) const {
    return pieces_.Find(key, userLists_.NotebookEntries.Value(key));
}

std::vector<int32_t> TSession::PieceSizes(std::string_view variantKey, int32_t n) const {
    if (n < 0) n = settings_.PieceWords;
    if (RememberedVariant(userLists_.NotebookEntries, NotebookKey(variantKey)) == variantKey)
        if (const TPiecesRec* rec = StoredPieces(NotebookKey(variantKey))) return rec->Sizes;
    return SplitPieces(SplitVariantKey(variantKey).size(), n);
}

std::vector<std::string> TSession::PieceNotes(std::string_view variantKey) const {
    if (RememberedVariant(userLists_.NotebookEntries, NotebookKey(variantKey)) == variantKey)
        if (const TPiecesRec* rec = StoredPieces(NotebookKey(variantKey))) return rec->Notes;
    return {};
}

// ---- saves ----------------------------------------------------------------------------------

std::vector<std::string> TSession::SaveHidedWords() const { return userLists_.SaveHidedWords(paths_); }

std::vector<std::string> TSession::SaveIgnoredCodes() const { return userLists_.SaveIgnoredCodes(paths_); }

std::vector<std::string> TSession::Save() {
    // Lists that were never loaded are not written (a failed start keeps the user's files).
    std::vector<std::string> errors = userLists_.Save(paths_);
    // Every change was written at once; what is left is a line a hand edit made stale.
    if (userLists_.NotebookLoaded && piecesLoaded_ && pieces_.Sync(userLists_.NotebookEntries)) {
        try {
            SavePieces(pieces_, paths_.NotebookPieces());
        } catch (const EError& e) {
            errors.emplace_back(e.what());
        }
    }
    for (std::string& e : WriteSettings()) errors.push_back(std::move(e));
    return errors;
}

std::vector<std::string> TSession::WriteSettings() {
    try {
        SaveSettings(settingsFile_, settings_, layout_);
    } catch (const std::exception& e) {
        return {e.what()};
    }
    return {};
}

} // namespace nb

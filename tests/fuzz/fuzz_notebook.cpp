// The notebook files: any content loads, lists rows, and remembers on top; the pieces file
// beside them reads, writes back what it read, and never loses a line it did not understand.
#include "FuzzUtil.h"

#include "dictionary/WordListUnit.h"
#include "notebook/NotebookStoreUnit.h"
#include "notebook/PiecesUnit.h"
#include "encoding/VariantSearchUnit.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = nbfuzz::Parts(data, size, 4);
    const std::string dir = nbfuzz::Scratch() + "/notebook-case";
    nb::TPaths paths{dir};
    nbfuzz::WriteFile(paths.Notebook(), parts[0]);
    nbfuzz::WriteFile(paths.NotebookNotes(), parts[1]);
    nb::TUserLists lists;
    lists.Load(paths);
    (void)nb::NotebookExportText(nb::NotebookRows(lists.NotebookEntries, lists.NotebookNotes));
    std::vector<std::string> words = nb::ReadCommaList(parts[2]);
    const size_t before = lists.NotebookEntries.Count();
    nb::RememberEntry(lists.NotebookEntries, lists.NotebookNotes, "12-34", words, std::string(parts[2].substr(0, 20)));
    NB_CHECK(nb::RememberedVariant(lists.NotebookEntries, "1234") == "12-34");
    auto items = nb::NotebookItems(lists.NotebookEntries, "1234");
    items.erase(items.begin());
    NB_CHECK(items == words);
    NB_CHECK(lists.NotebookEntries.Count() <= before + 1);

    nbfuzz::WriteFile(paths.NotebookPieces(), parts[3]);
    nb::TPiecesList pieces;
    nb::LoadPieces(pieces, paths.NotebookPieces());
    const std::string text = pieces.Text();
    nb::TPiecesList again;
    again.SetText(text);
    NB_CHECK(again.Text() == text);
    size_t raw = 0;
    for (const auto& line : pieces.Lines()) {
        raw += !line.Good;
        if (!line.Good) continue;
        const nb::TPiecesRec* rec = pieces.Find(line.Rec.Key, lists.NotebookEntries.Value(line.Rec.Key));
        if (rec) {
            const auto entry = nb::ReadCommaList(lists.NotebookEntries.Value(rec->Key));
            NB_CHECK(nb::SizesFit(rec->Sizes, nb::SplitVariantKey(entry.front()).size()));
            NB_CHECK(rec->Notes.size() == rec->Sizes.size());
        }
    }
    pieces.Sync(lists.NotebookEntries);
    size_t rawAfter = 0;
    for (const auto& line : pieces.Lines()) rawAfter += !line.Good;
    NB_CHECK(rawAfter == raw);
    return 0;
}

// The notebook files: any content loads, lists rows, and remembers on top.
#include "FuzzUtil.h"

#include "dictionary/WordListUnit.h"
#include "notebook/NotebookStoreUnit.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = nbfuzz::Parts(data, size, 3);
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
    return 0;
}

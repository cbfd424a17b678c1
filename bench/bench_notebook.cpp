// The notebook window with a big notebook, off screen: filling its rows (the window shown
// and painted), deleting one entry (the notebook files written at once), sorting by a
// column and searching. Run with
// QT_QPA_PLATFORM=offscreen.
#include "TestUtil.h"

#include "core/MessageBoxUnit.h"
#include "dictionary/WordListUnit.h"
#include "notebook/NotebookFormUnit.h"
#include "notebook/NotebookStoreUnit.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <string>

namespace {

// `n` entries of three words, every other one with a note.
void FillNotebook(nb::TUserLists& lists, size_t n) {
    std::vector<std::string> entries, notes;
    for (size_t i = 0; i < n; ++i) {
        const std::string key = std::to_string(1000000 + i);
        entries.push_back(key + "=" + key.substr(0, 2) + "-" + key.substr(2, 2) + "-" + key.substr(4) +
                          ",word" + std::to_string(i % 97) + ",word" + std::to_string(i % 89) + ",word" +
                          std::to_string(i % 83));
        if (i % 2 == 0) notes.push_back(key + "=note " + std::to_string(i));
    }
    lists.NotebookEntries.Assign(std::move(entries));
    lists.NotebookNotes.Assign(std::move(notes));
    lists.NotebookLoaded = lists.NotebookNotesLoaded = true;
}

void BM_NotebookWindowRows(benchmark::State& state) {
    nb::TUserLists lists;
    FillNotebook(lists, static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        nb::ui::TNotebookForm form;
        form.SetLists(lists.NotebookEntries, lists.NotebookNotes);
        form.BuildRows();
        form.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(form.Model()->rowCount());
    }
}
BENCHMARK(BM_NotebookWindowRows)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_NotebookDelete(benchmark::State& state) {
    nbtest::TempDir dir;
    const nb::TPaths paths{dir.Path(), {}};
    nb::TUserLists lists;
    FillNotebook(lists, static_cast<size_t>(state.range(0)));
    nb::ui::TNotebookForm form;
    form.SetLists(lists.NotebookEntries, lists.NotebookNotes, [&](const std::string& key) {
        nb::DeleteNotebookEntry(lists.NotebookEntries, lists.NotebookNotes, key);
        return lists.SaveNotebook(paths);
    });
    form.BuildRows();
    form.show();
    QApplication::processEvents();
    nb::ui::TMessageBox::SetAnswererForTesting([](const nb::ui::TMessage&) { return QMessageBox::Yes; });
    for (auto _ : state) {
        // The focused row, the first: every later line moves up.
        form.DeleteButtonClick();
        QApplication::processEvents();
    }
    nb::ui::TMessageBox::SetAnswererForTesting({});
    state.counters["left"] = static_cast<double>(form.Model()->rowCount());
}
BENCHMARK(BM_NotebookDelete)->Arg(100000)->Iterations(20)->Unit(benchmark::kMillisecond);

// A header click (ascending by words, descending, notebook order in turn) and a search
// typed and cleared, on the big notebook.
void BM_NotebookSortAndSearch(benchmark::State& state) {
    nb::TUserLists lists;
    FillNotebook(lists, static_cast<size_t>(state.range(0)));
    nb::ui::TNotebookForm form;
    form.SetLists(lists.NotebookEntries, lists.NotebookNotes);
    form.BuildRows();
    form.show();
    QApplication::processEvents();
    const bool search = state.range(1) != 0;
    for (auto _ : state) {
        if (search) {
            form.View()->SetFilterText(QStringLiteral("word5 note"));
            form.View()->SetFilterText(QString());
        } else {
            form.HeaderClicked(nb::ui::TNotebookModel::WordsColumn);
        }
        QApplication::processEvents();
    }
    state.SetLabel(search ? "search typed and cleared" : "header click on the words");
}
BENCHMARK(BM_NotebookSortAndSearch)->Args({100000, 0})->Args({100000, 1})->Iterations(6)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

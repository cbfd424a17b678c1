// Engine benchmarks: the code-dictionary build (rebuild and valid cache) on the shipped
// dictionary, the words of a variant, and the variant search against the plain recursion.
// The normal test build compiles them too, so they keep up with the engine.
//
//   cmake -S . -B build-bench -G Ninja -DNUMBRELIA_BENCH=ON -DNUMBRELIA_GUI=OFF
//   cmake --build build-bench --target bench_engine
//   build-bench/bench/bench_engine --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "PlainSearch.h"

#include "code/CodeTableUnit.h"
#include "core/FileUnit.h"
#include "core/IniFileUnit.h"
#include "core/SessionUnit.h"
#include "dictionary/CodeDictionaryUnit.h"
#include "encoding/RankingUnit.h"
#include "encoding/VariantSearchUnit.h"
#include "notebook/ReviewLogUnit.h"
#include "notebook/ReviewStatsUnit.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;
using namespace nb;

namespace {

struct Shipped {
    TStringList dic{TStringList::Kind::Sorted};
    TCodeRec table;
    std::string folder;

    Shipped() {
        dic.LoadFromFile(NUMBRELIA_DATA_DIR "/Data/dic.lst");
        table = LoadCodeTables(NUMBRELIA_DATA_DIR "/Data/Codes.ini").at(0);
        std::string templ = (fs::temp_directory_path() / "numbrelia-bench-XXXXXX").string();
        if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp");
        folder = templ;
        CreateDir(folder + "/Cache");
    }
    ~Shipped() { fs::remove_all(folder); }
};

Shipped& Data() {
    static Shipped s;
    return s;
}

TGrouping Grouping(int mode) { return {static_cast<TGroupingMode>(mode), false}; }

// The code dictionary of the shipped data in one grouping mode, built once.
const TCodeDictionary& Built(int mode) {
    static TCodeDictionary dicts[3];
    static bool done[3] = {};
    if (!done[mode]) {
        TIniFile ini(Data().folder + "/settings.ini");
        dicts[mode].Build(TPaths{Data().folder}, ini, Data().dic, Data().table, Grouping(mode), {});
        done[mode] = true;
    }
    return dicts[mode];
}

void BM_Rebuild(benchmark::State& state) {
    TPaths paths{Data().folder};
    TIniFile ini(paths.Settings());
    TBuildCallbacks cb;
    cb.ProcessEvents = [] {}; // the window's event pump is measured apart, in the GUI
    std::string last;
    cb.ShowStatus = [&](const std::string& s) { last = s; };
    for (auto _ : state) {
        ini.WriteString("CacheCRC", Data().table.Ident, ""); // forces the rebuild
        TCodeDictionary d;
        d.Build(paths, ini, Data().dic, Data().table, Grouping(0), cb);
        benchmark::DoNotOptimize(d.GroupCodeList().Count());
    }
    state.counters["entries"] = static_cast<double>(Data().dic.Count());
}
BENCHMARK(BM_Rebuild)->Unit(benchmark::kMillisecond);

void BM_ValidCache(benchmark::State& state) {
    TPaths paths{Data().folder};
    TIniFile ini(paths.Settings());
    TCodeDictionary warm;
    warm.Build(paths, ini, Data().dic, Data().table, Grouping(0), {});
    for (auto _ : state) {
        TCodeDictionary d;
        d.Build(paths, ini, Data().dic, Data().table, Grouping(0), {});
        if (!d.CacheReused()) state.SkipWithError("cache not reused");
    }
}
BENCHMARK(BM_ValidCache)->Unit(benchmark::kMillisecond);

// Loading the dictionary file itself (sorting with the collation), part of every start.
void BM_LoadDictionary(benchmark::State& state) {
    for (auto _ : state) {
        TStringList dic(TStringList::Kind::Sorted);
        dic.LoadFromFile(NUMBRELIA_DATA_DIR "/Data/dic.lst");
        benchmark::DoNotOptimize(dic.Count());
    }
}
BENCHMARK(BM_LoadDictionary)->Unit(benchmark::kMillisecond);

// The word columns of a three-group variant as the window and the tool get them from the
// session: each group's entries in order, hidden ones marked, the chosen word.
void BM_WordsOfVariant(benchmark::State& state) {
    const std::string folder = Data().folder + "/session";
    CreateDir(folder);
    CreateDir(folder + "/Data");
    fs::copy_file(NUMBRELIA_DATA_DIR "/Data/Codes.ini", folder + "/Data/Codes.ini",
                  fs::copy_options::overwrite_existing);
    fs::copy_file(NUMBRELIA_DATA_DIR "/Data/dic.lst", folder + "/Data/dic.lst",
                  fs::copy_options::overwrite_existing);
    TSession session(TPaths{folder});
    session.PrepareFolders();
    session.Load();
    TBuildCallbacks quiet;
    quiet.HandleFirstStart = false;
    session.Build(quiet);
    session.SetWordHidden(session.DicList()[100], true);
    for (auto _ : state) benchmark::DoNotOptimize(session.WordColumns("52-70-563").size());
}
BENCHMARK(BM_WordsOfVariant)->Unit(benchmark::kMicrosecond);

const char* Number(int digits) {
    static const std::string pi =
        "3141592653589793238462643383279502884197169399375105820974944592307816406286"
        "208998628034825342117067982148086513282306647093844609550582231725359408128";
    static std::string cut[101];
    if (cut[digits].empty()) cut[digits] = pi.substr(0, static_cast<size_t>(digits));
    return cut[digits].c_str();
}

// Display order of the shipped dictionary's variants, up to the bound.
void BM_Search(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(1));
    const TVariantSearch search(Built(mode).GroupCodeList(), TStringList(TStringList::Kind::Sorted));
    size_t rows = 0;
    bool cut = false;
    for (auto _ : state) {
        const auto r = search.DisplayOrder(Number(static_cast<int>(state.range(0))));
        rows = r.Rows.size();
        cut = r.Cut;
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["cut"] = cut;
}
BENCHMARK(BM_Search)
    ->ArgsProduct({{10, 20, 40, 100}, {0, 1, 2}})
    ->ArgNames({"digits", "mode"})
    ->Unit(benchmark::kMillisecond);

// The plain recursion on the same inputs, where it finishes in reasonable time.
void BM_PlainSearch(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(1));
    const TStringList none(TStringList::Kind::Sorted);
    size_t rows = 0;
    for (auto _ : state) {
        std::vector<std::string> r;
        nbtest::PlainSearch(r, Number(static_cast<int>(state.range(0))), Built(mode).GroupCodeList(), none);
        rows = r.size();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_PlainSearch)
    ->ArgsProduct({{10, 20}, {0, 2}})
    ->ArgNames({"digits", "mode"})
    ->Unit(benchmark::kMillisecond);

// The first 1,000 variants of a 10,000-digit number (fixed digits), in display order
// (best = 0) and best first (best = 1) with the shipped tiers: the cost of a group is
// worked out from the dictionary on every run, as each encode of the window does.
void BM_FirstThousandOfTenThousandDigits(benchmark::State& state) {
    const bool best = state.range(0) != 0;
    const int mode = static_cast<int>(state.range(1));
    static std::string digits;
    if (digits.empty()) {
        uint32_t x = 20261209;
        for (int i = 0; i < 10000; ++i) {
            x = x * 1103515245u + 12345u;
            digits += static_cast<char>('0' + (x >> 16) % 10);
        }
    }
    const TCodeDictionary& dict = Built(mode);
    const TStringList none(TStringList::Kind::Sorted);
    const TWordRanking ranking(Data().dic, ReadTierWords(NUMBRELIA_DATA_DIR "/Data/dic_tiers.ini"));
    size_t rows = 0;
    for (auto _ : state) {
        const TVariantSearch search(dict.GroupCodeList(), none);
        if (best) {
            const TGroupCost cost = MakeGroupCost(
                [&](const std::string& g) -> const std::vector<int32_t>& { return dict.EntriesOfGroup(g); },
                [](int32_t) { return false; }, ranking);
            rows = search.BestOrder(digits, cost, 1000).Rows.size();
        } else {
            rows = search.DisplayOrder(digits, 1000).Rows.size();
        }
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_FirstThousandOfTenThousandDigits)
    ->ArgsProduct({{0, 1}, {0, 1, 2}})
    ->ArgNames({"best", "mode"})
    ->Unit(benchmark::kMillisecond);

// Every one- and two-digit code a group: 20 digits have 10,946 variants.
TStringList DenseGroups() {
    TStringList g(TStringList::Kind::Sorted);
    for (int i = 0; i < 10; ++i) g.Add(std::to_string(i));
    for (int i = 0; i < 100; ++i) g.Add(std::string{char('0' + i / 10), char('0' + i % 10)});
    return g;
}

void BM_DenseTwentyDigits(benchmark::State& state) {
    const TStringList groups = DenseGroups();
    const TVariantSearch search(groups, TStringList(TStringList::Kind::Sorted));
    size_t rows = 0;
    for (auto _ : state) rows = search.DisplayOrder("31415926535897932384").Rows.size();
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_DenseTwentyDigits)->Unit(benchmark::kMillisecond);

void BM_DenseTwentyDigitsPlain(benchmark::State& state) {
    const TStringList groups = DenseGroups();
    const TStringList none(TStringList::Kind::Sorted);
    size_t rows = 0;
    for (auto _ : state) {
        std::vector<std::string> r;
        nbtest::PlainSearch(r, "31415926535897932384", groups, none);
        rows = r.size();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_DenseTwentyDigitsPlain)->Unit(benchmark::kMillisecond);

// The statistics window's work on a year of reviewing: 20,000 log lines read and counted
// with a deck of 2,000 cards.
void BM_ReviewStats(benchmark::State& state) {
    const int64_t today = nb::DaysFromCivil(2026, 12, 1);
    std::string log;
    std::vector<nb::TReviewCard> cards(2000);
    for (size_t i = 0; i < cards.size(); ++i) {
        cards[i].Key = std::to_string(1000 + i / 2);
        cards[i].Direction = i % 2 ? nb::TReviewDirection::PhraseToNumber : nb::TReviewDirection::NumberToPhrase;
        cards[i].Source = cards[i].Key + ",a";
        nb::GradeCard(cards[i], nb::TReviewGrade::Good, today - static_cast<int64_t>(i % 300));
    }
    for (int i = 0; i < 20000; ++i) {
        nb::TReviewLogEntry e;
        e.Day = today - 365 + i * 365 / 20000;
        e.Key = std::to_string(1000 + i % 1000);
        e.Grade = static_cast<nb::TReviewGrade>(i % 4);
        e.Elapsed = i % 7;
        e.Stability = 3.5;
        e.Difficulty = 5;
        log += nb::ReviewLogLine(e);
    }
    for (auto _ : state) {
        const auto entries = nb::ReadReviewLog(log);
        benchmark::DoNotOptimize(nb::ComputeReviewStats(cards, entries, today, 20));
    }
}
BENCHMARK(BM_ReviewStats)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// numbrelia-cli: the engine from a terminal, on the same program folder and files as the
// desktop program. It reads the settings, lists and notebook but never writes them; it
// uses and refreshes the code-dictionary cache exactly as the program does, and, installed,
// makes the user's folder at its first start as the program does.
#include "code/CodeTableUnit.h"
#include "code/WordCodeUnit.h"
#include "core/FileUnit.h"
#include "core/SettingsUnit.h"
#include "core/TextUnit.h"
#include "core/UtilsUnit.h"
#include "dictionary/CodeDictionaryUnit.h"
#include "dictionary/WordListUnit.h"
#include "encoding/VariantSearchUnit.h"
#include "notebook/ReviewUnit.h"
#include "notebook/NotebookStoreUnit.h"
#include "resources/ResStrUnit.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace nb;

constexpr const char* kUsage =
    "Usage: numbrelia-cli [OPTIONS] COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  code ENTRY...     the codes of dictionary entries:\n"
    "                    ENTRY<TAB>full code<TAB>group code<TAB>entry with [key] letters\n"
    "  variants NUMBER   the variants of a number in display order: KEY<TAB>COUNT;\n"
    "                    NUMBER is ASCII digits, with blanks, dots, parentheses,\n"
    "                    hyphens between digits and a leading + allowed\n"
    "  words VARIANT     the words of each group of a variant as the window shows them:\n"
    "                    GROUP<TAB>word<TAB>word...\n"
    "  hint              the code hint of the code table\n"
    "  build             build the code dictionary: \"cache reused\" or \"cache rebuilt\",\n"
    "                    then the checksum record\n"
    "  review [--date YYYY-MM-DD]\n"
    "                    the notebook's review cards due on the day (default today), in\n"
    "                    review order: KEY<TAB>number|phrase<TAB>due date; nothing due, no lines\n"
    "\n"
    "Options (defaults come from the folder's settings.ini):\n"
    "  --dir DIR         a portable program folder (default: this program's files, in its\n"
    "                    own folder or, installed, in ~/.local/share/numbrelia)\n"
    "  --table IDENT     the code table (a section of Data/Codes.ini)\n"
    "  --mode 0|1|2      grouping: 0 all letters, 1 two-digit groups, 2 three-digit groups\n"
    "  --add-null        the zero rule on;  --no-add-null  off\n"
    "  --familiar-first  words in the dictionary file's line order, not dictionary order\n"
    "  --limit N         list at most N variants\n"
    "\n"
    "Exit status: 0 success, 1 no result or a file error, 2 bad usage.\n";

struct UsageError {
    std::string message;
};

struct Options {
    std::optional<std::string> dir; // a portable program folder; none: the program's own files
    std::optional<std::string> table;
    std::optional<TGroupingMode> mode;
    std::optional<bool> addNull;
    bool familiarFirst = false;
    size_t limit = kMaxVariantRows;
    std::string command;
    std::vector<std::string> args;
};

Options Parse(int argc, char** argv) {
    Options o;
    int i = 1;
    auto value = [&](const std::string& name) -> std::string {
        if (i + 1 >= argc) throw UsageError{name + " needs a value"};
        return argv[++i];
    };
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-h" || a == "--help") {
            std::cout << kUsage;
            std::exit(0);
        } else if (a == "--dir") {
            o.dir = value(a);
        } else if (a == "--table") {
            // Arguments are UTF-8; the tables' identifiers are Windows-1251.
            const std::string v = value(a);
            std::string ident;
            if (!Utf8ToCp1251(v, ident)) throw UsageError{"no code table can be named \"" + v + "\""};
            o.table = ident;
        } else if (a == "--mode") {
            const std::string v = value(a);
            if (v != "0" && v != "1" && v != "2") throw UsageError{"--mode takes 0, 1 or 2, not \"" + v + "\""};
            o.mode = static_cast<TGroupingMode>(v[0] - '0');
        } else if (a == "--add-null") {
            o.addNull = true;
        } else if (a == "--no-add-null") {
            o.addNull = false;
        } else if (a == "--familiar-first") {
            o.familiarFirst = true;
        } else if (a == "--limit") {
            const std::string v = value(a);
            int32_t n = 0;
            if (!ParseInt32(v, n) || n < 1) throw UsageError{"--limit takes a positive number, not \"" + v + "\""};
            o.limit = static_cast<size_t>(n);
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            throw UsageError{"unknown option " + a};
        } else {
            o.command = a;
            o.args.assign(argv + i + 1, argv + argc);
            break;
        }
    }
    if (o.command.empty()) throw UsageError{"no command given"};
    const bool needsArgs = o.command == "code";
    const bool oneArg = o.command == "variants" || o.command == "words";
    const bool noArgs = o.command == "hint" || o.command == "build";
    const bool review = o.command == "review"; // checks its own arguments
    if (!needsArgs && !oneArg && !noArgs && !review) throw UsageError{"unknown command " + o.command};
    if (needsArgs && o.args.empty()) throw UsageError{"code needs at least one entry"};
    if (oneArg && o.args.size() != 1) throw UsageError{o.command + " takes exactly one argument"};
    if (noArgs && !o.args.empty()) throw UsageError{o.command + " takes no arguments"};
    while (o.dir && o.dir->size() > 1 && o.dir->back() == '/') o.dir->pop_back();
    return o;
}

// Everything a command may need, set up as the desktop program sets it up.
struct Session {
    TPaths paths;
    TCodeRecArr tables;
    TProgSettings settings;
    TCodeRec table;

    explicit Session(const Options& o) : paths{o.dir ? TPaths{*o.dir, {}} : ProgramPaths()} {
        if (!paths.Installed() && !DirectoryExists(paths.Folder))
            throw EError("No such folder: " + paths.Folder);
        PrepareUserFolder(paths);
        std::vector<std::string> skipped;
        tables = LoadCodeTables(paths.Codes(), &skipped);
        for (const auto& warning : skipped) std::cerr << "numbrelia-cli: " << warning << '\n';
        if (tables.empty()) throw EError("No code table in " + paths.Codes());
        TLayoutSettings layout;
        LoadSettings(TIniFile(paths.Settings()), tables, settings, layout);
        if (o.table) {
            if (FindCodeTable(tables, *o.table) < 0) {
                std::string known;
                for (const auto& t : tables) known += (known.empty() ? "" : ", ") + Cp1251ToUtf8(t.Ident);
                throw UsageError{"no code table \"" + Cp1251ToUtf8(*o.table) + "\" in " + paths.Codes() +
                                 " (tables: " + known + ")"};
            }
            settings.CodeCode = *o.table;
        }
        if (o.mode) settings.VariantMakeType = static_cast<int32_t>(*o.mode);
        if (o.addNull) settings.AddNull = *o.addNull;
        table = SelectCodeTable(tables, settings.CodeCode);
    }
};

struct Dictionary {
    TStringList dic{TStringList::Kind::Sorted};
    TUserLists lists;
    TCodeDictionary codes;
    bool reused = false;

    explicit Dictionary(Session& s) {
        if (LoadDictionary(dic, s.paths.Dictionary())) {
            char buf[4096];
            std::snprintf(buf, sizeof buf, res::kDictionaryConverted, s.paths.Dictionary().c_str());
            std::cerr << "numbrelia-cli: " << buf << '\n';
        }
        lists.Load(s.paths); // read only: nothing here is ever saved
        TIniFile ini(s.paths.Settings());
        TBuildCallbacks cb;
        cb.HandleFirstStart = false;
        if (!DirectoryExists(s.paths.CacheFolder())) CreateDir(s.paths.CacheFolder());
        RemoveStaleTempFiles(s.paths);
        codes.Build(s.paths, ini, dic, s.table, s.settings.Grouping(), cb);
        reused = codes.CacheReused();
    }
};

std::string Out(const std::string& cp1251) { return Cp1251ToUtf8(cp1251); }

int Code(const Options& o) {
    Session s(o);
    const TWordCoder coder(s.table.Letters);
    for (const auto& arg : o.args) {
        const std::string entry = Utf8ToCp1251(arg);
        const std::string full = coder.WordToCode(entry);
        const auto marks = coder.MarkKeyLetters(entry, s.settings.Grouping().Mode);
        std::string marked;
        for (size_t i = 0; i < entry.size(); ++i) {
            if (marks[i]) marked += '[';
            marked += entry[i];
            if (marks[i]) marked += ']';
        }
        std::cout << Out(entry) << '\t' << full << '\t'
                  << AdjustCode(full, s.settings.Grouping()) << '\t'
                  << Out(marked) << '\n';
    }
    return 0;
}

// The number argument of `variants`: ASCII digits and the separators of written numbers
// (blanks, dots, parentheses, hyphens between digits, a leading +). Scripts get no
// guessing: anything else, or no digit at all, is bad usage.
std::string CliNumber(const std::string& text) {
    const auto bad = [&text] {
        return UsageError{"\"" + text + "\" is no number: ASCII digits, with blanks, dots, "
                          "parentheses, hyphens between digits and a leading + allowed"};
    };
    std::string digits;
    bool hyphenOpen = false; // a hyphen that still waits for its digit
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits += c;
            hyphenOpen = false;
        } else if (c == '-') {
            if (digits.empty()) throw bad();
            hyphenOpen = true;
        } else if (c == '+') {
            if (text.find_first_not_of(" \t") != i) throw bad();
        } else if (c != ' ' && c != '\t' && c != '.' && c != '(' && c != ')') {
            throw bad();
        }
    }
    if (digits.empty() || hyphenOpen) throw bad();
    return digits;
}

int Variants(const Options& o) {
    const std::string number = CliNumber(o.args[0]);
    Session s(o);
    Dictionary d(s);
    const TVariantSearch search(d.codes.GroupCodeList(), d.lists.IgnoredCodeList);
    const std::string digits = SearchString(number, s.settings.Grouping());
    // Rows go out as the search finds them, so a long list costs no memory.
    const std::string remembered = RememberedVariant(d.lists.NotebookEntries, digits);
    bool rememberedShown = false;
    size_t rows = 0;
    const auto print = [&](const std::string& key, int32_t count) {
        std::fwrite(key.data(), 1, key.size(), stdout);
        std::fprintf(stdout, "\t%d\n", static_cast<int>(count));
        ++rows;
    };
    const bool cut = search.StreamDisplayOrder(digits, o.limit, [&](std::string&& key, int32_t count) {
        if (key == remembered) rememberedShown = true;
        print(key, count);
    });
    // As in the window: a cut list that left out the remembered variant still ends with it
    // (it has at least as many groups as every row listed).
    if (cut && !remembered.empty() && !rememberedShown && search.IsVariantOf(remembered, digits))
        print(remembered, static_cast<int32_t>(std::count(remembered.begin(), remembered.end(), '-') + 1));
    if (rows == 0) {
        char buf[4096];
        std::snprintf(buf, sizeof buf, res::kNoVariant, number.c_str());
        std::cerr << buf << '\n';
        return 1;
    }
    // A full disk or a closed pipe must not pass for a complete list.
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw EError(std::string("Cannot write the output: ") + std::strerror(errno));
    if (cut)
        std::cerr << "The list was cut at " << rows
                  << " variants; this number has more (--limit raises the bound).\n";
    return 0;
}

int Words(const Options& o) {
    Session s(o);
    Dictionary d(s);
    const std::vector<std::string> groups = SplitVariantKey(o.args[0]);
    for (const std::string& g : groups)
        if (g.empty() || g.find_first_not_of("0123456789") != std::string::npos)
            throw UsageError{"\"" + o.args[0] + "\" is no variant: groups of digits joined by -"};
    std::string out;
    for (const auto& g : groups) {
        const std::vector<int32_t> entries = OrderEntries(d.codes.EntriesOfGroup(g), d.dic, o.familiarFirst);
        if (entries.empty()) {
            std::cerr << "numbrelia-cli: " << g << " is the code of no dictionary word\n";
            return 1;
        }
        std::string line = g;
        for (int32_t index : entries) {
            const std::string& word = d.dic[static_cast<size_t>(index)];
            if (d.lists.HidedWordList.Contains(word)) continue;
            line += '\t' + Out(word);
        }
        // As the window: a group with every word hidden shows its first one (the window
        // also takes it off the list; this tool never writes it).
        if (line == g) line += '\t' + Out(d.dic[static_cast<size_t>(entries.front())]);
        out += line + '\n';
    }
    std::cout << out;
    return 0;
}

int Hint(const Options& o) {
    Session s(o);
    std::cout << Out(CodeHintText(s.table.Letters)) << '\n';
    return 0;
}

int Build(const Options& o) {
    Session s(o);
    Dictionary d(s);
    std::cout << (d.reused ? "cache reused" : "cache rebuilt") << '\n'
              << TIniFile(s.paths.Settings()).ReadString(kCacheSection, s.table.Ident, "") << '\n';
    return 0;
}

// Read-only, like every command here: the deck is synced with the notebook in memory only.
int Review(const Options& o) {
    std::optional<int64_t> day;
    if (o.args.size() == 2 && o.args[0] == "--date") {
        day = ParseDay(o.args[1]);
        if (!day) throw UsageError{"--date takes a date YYYY-MM-DD, not \"" + o.args[1] + "\""};
    } else if (!o.args.empty()) {
        throw UsageError{"review takes no arguments but --date YYYY-MM-DD"};
    }
    if (!day) {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        day = DaysFromCivil(local.tm_year + 1900, static_cast<uint32_t>(local.tm_mon + 1),
                            static_cast<uint32_t>(local.tm_mday));
    }
    Session s(o);
    TStringList entries(TStringList::Kind::Plain);
    LoadListIfExists(entries, s.paths.Notebook());
    std::string error;
    const auto cards = LoadDeck(s.paths.NotebookReview(), entries, &error);
    if (!error.empty()) throw EError(error);
    std::string out;
    for (size_t i : DueCards(cards, *day, s.settings.ReviewNewCardsPerDay)) {
        const TReviewCard& c = cards[i];
        out += c.Key + '\t' + DirectionName(c.Direction) + '\t' + DayText(c.IsNew() ? *day : c.Due) + '\n';
    }
    std::cout << out;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const Options o = Parse(argc, argv);
        if (o.command == "code") return Code(o);
        if (o.command == "variants") return Variants(o);
        if (o.command == "words") return Words(o);
        if (o.command == "hint") return Hint(o);
        if (o.command == "review") return Review(o);
        return Build(o);
    } catch (const UsageError& e) {
        std::cerr << "numbrelia-cli: " << e.message << "\n\n" << kUsage;
        return 2;
    } catch (const EError& e) {
        std::cerr << "numbrelia-cli: " << e.what() << '\n';
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "numbrelia-cli: " << e.what() << '\n';
        return 1;
    }
}

// numbrelia-cli: the engine from a terminal, on the same program folder and files as the
// desktop program. It reads the settings, lists and notebook but never writes them; it
// uses and refreshes the code-dictionary cache exactly as the program does.
#include "code/CodeTableUnit.h"
#include "code/WordCodeUnit.h"
#include "core/FileUnit.h"
#include "core/SettingsUnit.h"
#include "core/TextUnit.h"
#include "core/UtilsUnit.h"
#include "dictionary/CodeDictionaryUnit.h"
#include "dictionary/WordListUnit.h"
#include "encoding/VariantSearchUnit.h"
#include "resources/ResStrUnit.h"

#include <cstdio>
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
    "  variants NUMBER   the variants of a number in display order: KEY<TAB>COUNT\n"
    "  words VARIANT     the words of each group of a variant: GROUP<TAB>word<TAB>word...\n"
    "  hint              the code hint of the code table\n"
    "  build             build the code dictionary: \"cache reused\" or \"cache rebuilt\",\n"
    "                    then the checksum record\n"
    "\n"
    "Options (defaults come from the folder's settings.ini):\n"
    "  --dir DIR         the program folder (default: the folder of this program)\n"
    "  --table IDENT     the code table (a section of Data/Codes.ini)\n"
    "  --mode 0|1|2      grouping: 0 all letters, 1 two-digit groups, 2 three-digit groups\n"
    "  --add-null        the zero rule on;  --no-add-null  off\n"
    "  --limit N         list at most N variants\n"
    "\n"
    "Exit status: 0 success, 1 no result or a file error, 2 bad usage.\n";

struct UsageError {
    std::string message;
};

struct Options {
    std::string dir;
    std::optional<std::string> table;
    std::optional<int> mode;
    std::optional<bool> addNull;
    size_t limit = kMaxVariantRows;
    std::string command;
    std::vector<std::string> args;
};

Options Parse(int argc, char** argv) {
    Options o;
    o.dir = ProgramFolder();
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
            o.table = value(a);
        } else if (a == "--mode") {
            const std::string v = value(a);
            if (v != "0" && v != "1" && v != "2") throw UsageError{"--mode takes 0, 1 or 2, not \"" + v + "\""};
            o.mode = v[0] - '0';
        } else if (a == "--add-null") {
            o.addNull = true;
        } else if (a == "--no-add-null") {
            o.addNull = false;
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
    if (!needsArgs && !oneArg && !noArgs) throw UsageError{"unknown command " + o.command};
    if (needsArgs && o.args.empty()) throw UsageError{"code needs at least one entry"};
    if (oneArg && o.args.size() != 1) throw UsageError{o.command + " takes exactly one argument"};
    if (noArgs && !o.args.empty()) throw UsageError{o.command + " takes no arguments"};
    while (o.dir.size() > 1 && o.dir.back() == '/') o.dir.pop_back();
    return o;
}

// Everything a command may need, set up as the desktop program sets it up.
struct Session {
    TPaths paths;
    TCodeRecArr tables;
    TProgSettings settings;
    TCodeRec table;

    explicit Session(const Options& o) : paths{o.dir} {
        if (!DirectoryExists(o.dir)) throw EError("No such folder: " + o.dir);
        tables = LoadCodeTables(paths.Codes());
        if (tables.empty()) throw EError("No code table in " + paths.Codes());
        TLayoutSettings layout;
        LoadSettings(TIniFile(paths.Settings()), tables, settings, layout);
        if (o.table) {
            if (FindCodeTable(tables, *o.table) < 0) {
                std::string known;
                for (const auto& t : tables) known += (known.empty() ? "" : ", ") + t.Ident;
                throw UsageError{"no code table \"" + *o.table + "\" in " + paths.Codes() +
                                 " (tables: " + known + ")"};
            }
            settings.CodeCode = *o.table;
        }
        if (o.mode) settings.VariantMakeType = *o.mode;
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
        dic.LoadFromFile(s.paths.Dictionary());
        lists.Load(s.paths); // read only: nothing here is ever saved
        TIniFile ini(s.paths.Settings());
        TBuildCallbacks cb;
        cb.HandleFirstStart = false;
        if (!DirectoryExists(s.paths.CacheFolder())) CreateDir(s.paths.CacheFolder());
        codes.Build(s.paths, ini, dic, s.table, s.settings.VariantMakeType, s.settings.AddNull, cb);
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
        const auto marks = coder.MarkKeyLetters(entry, s.settings.VariantMakeType);
        std::string marked;
        for (size_t i = 0; i < entry.size(); ++i) {
            if (marks[i]) marked += '[';
            marked += entry[i];
            if (marks[i]) marked += ']';
        }
        std::cout << Out(entry) << '\t' << full << '\t'
                  << AdjustCode(full, s.settings.VariantMakeType, s.settings.AddNull) << '\t'
                  << Out(marked) << '\n';
    }
    return 0;
}

int Variants(const Options& o) {
    Session s(o);
    Dictionary d(s);
    const TVariantSearch search(d.codes.GroupCodeList, d.lists.IgnoredCodeList);
    const TEncodeResult r = MakeVariants(o.args[0], s.settings.VariantMakeType, s.settings.AddNull,
                                         search, d.lists.NotebookEntries, o.limit);
    if (r.Rows.empty()) {
        char buf[4096];
        std::snprintf(buf, sizeof buf, res::kNoVariant, r.Number.c_str());
        std::cerr << buf << '\n';
        return 1;
    }
    std::string out;
    for (const auto& row : r.Rows) out += row.Variant + '\t' + std::to_string(row.Count) + '\n';
    std::cout << out;
    if (r.Cut)
        std::cerr << "The list was cut at " << r.Rows.size()
                  << " variants; this number has more (--limit raises the bound).\n";
    return 0;
}

int Words(const Options& o) {
    Session s(o);
    Dictionary d(s);
    std::vector<std::string> groups;
    std::string group;
    for (char c : o.args[0] + "-") {
        if (c == '-') {
            if (group.empty()) throw UsageError{"\"" + o.args[0] + "\" is no variant: groups of digits joined by -"};
            groups.push_back(group);
            group.clear();
        } else if (c >= '0' && c <= '9') {
            group += c;
        } else {
            throw UsageError{"\"" + o.args[0] + "\" is no variant: groups of digits joined by -"};
        }
    }
    for (const auto& g : groups) {
        std::string line = g;
        for (int32_t index : d.codes.EntriesOfGroup(g)) {
            const std::string& word = d.dic[static_cast<size_t>(index)];
            if (d.lists.HidedWordList.Contains(word)) continue;
            line += '\t' + Out(word);
        }
        std::cout << line << '\n';
    }
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

} // namespace

int main(int argc, char** argv) {
    try {
        const Options o = Parse(argc, argv);
        if (o.command == "code") return Code(o);
        if (o.command == "variants") return Variants(o);
        if (o.command == "words") return Words(o);
        if (o.command == "hint") return Hint(o);
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

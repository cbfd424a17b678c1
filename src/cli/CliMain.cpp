// numbrelia-cli: the desktop program's session from a terminal, on the same program folder
// and files. It reads the settings, lists and notebook but never writes them (`grade`
// writes the review deck and log as the review window does, `remember` the notebook as
// its "Запомнить" does, `note` a note as the notebook window does); it uses and
// refreshes the code-dictionary cache exactly as the program does, and, installed, makes
// the user's folder at its first start as the program does.
#include "code/CodeTableUnit.h"
#include "code/WordCodeUnit.h"
#include "core/FileUnit.h"
#include "core/SessionUnit.h"
#include "core/TextUnit.h"
#include "dictionary/WordListUnit.h"
#include "encoding/VariantSearchUnit.h"
#include "notebook/NotebookStoreUnit.h"
#include "notebook/NotebookViewUnit.h"
#include "notebook/PieceCardsUnit.h"
#include "notebook/PiecesUnit.h"
#include "notebook/ReviewLogUnit.h"
#include "notebook/ReviewStatsUnit.h"
#include "notebook/ReviewUnit.h"
#include "resources/ResStrUnit.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <cmath>
#include <numeric>
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
    "                    ENTRY<TAB>full code<TAB>group code<TAB>entry with [key] letters;\n"
    "                    UTF-8 text of Windows-1251 characters only\n"
    "  variants NUMBER   the variants of a number in display order (or best first):\n"
    "                    KEY<TAB>COUNT;\n"
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
    "  grade KEY number|phrase GRADE [--date YYYY-MM-DD]\n"
    "                    grade a card due on the day as the review window does (GRADE 1 Снова,\n"
    "                    2 Трудно, 3 Хорошо, 4 Легко), write the deck and the review log:\n"
    "                    KEY<TAB>DIRECTION<TAB>next due date; a card not due: status 1\n"
    "  stats [--date YYYY-MM-DD]\n"
    "                    review statistics: NAME<TAB>VALUE lines (cards, new, learning,\n"
    "                    mature, due, reviews, retention), then due YYYY-MM-DD<TAB>N for 30 days\n"
    "  export-cards FILE the review cards as UTF-8 text for flash-card programs:\n"
    "                    front<TAB>back<TAB>tags, one card a line\n"
    "  pieces [--piece-words N] VARIANT\n"
    "                    a long phrase in pieces of at most N words (0 or 2-6; default the\n"
    "                    setting, or the cut remembered for the variant), one a line:\n"
    "                    INDEX<TAB>DIGITS<TAB>GROUPS<TAB>WORDS, GROUPS joined by -, WORDS\n"
    "                    the chosen word of each column joined by ,\n"
    "  remember [--note TEXT] [--pieces N] VARIANT [WORD...]\n"
    "                    store the variant in the notebook as the window's \"Запомнить\"\n"
    "                    does, with a word a group (default the chosen word of each\n"
    "                    column) and, with --pieces, cut into pieces of at most N words;\n"
    "                    without --note the stored note stays; prints the notebook key.\n"
    "                    A word not in its column: exit 1; a wrong number of words: exit 2\n"
    "  notebook [--sort code|words|note|next[:desc]] [--filter TEXT]\n"
    "                    the notebook as its window lists it, in notebook order or sorted,\n"
    "                    only the entries the search TEXT finds:\n"
    "                    KEY<TAB>CODE<TAB>WORDS<TAB>NOTE<TAB>NEXT, NEXT the next review date,\n"
    "                    new (never reviewed) or - (no card); under an entry in pieces a\n"
    "                    line a piece: KEY#I<TAB>GROUPS<TAB>WORDS<TAB>PLACE<TAB>NEXT\n"
    "  note KEY [TEXT]   set the note of a notebook entry as the notebook window does (no\n"
    "                    TEXT or an empty one deletes it), written at once; prints the key.\n"
    "                    No such entry: exit 1\n"
    "\n"
    "Options (defaults come from the folder's settings.ini):\n"
    "  --dir DIR         a portable program folder (default: this program's files, in its\n"
    "                    own folder or, installed, in ~/.local/share/numbrelia)\n"
    "  --table IDENT     the code table (a section of Data/Codes.ini)\n"
    "  --mode 0|1|2      grouping: 0 all letters, 1 two-digit groups, 2 three-digit groups\n"
    "  --add-null        the zero rule on;  --no-add-null  off\n"
    "  --familiar-first  words in the dictionary file's line order, not dictionary order\n"
    "  --best-first      the window's suggestion: variants best first, the words of each\n"
    "                    column best word first;  --no-best-first  the usual order\n"
    "  --limit N         list at most N variants (default 200000; a list is also cut\n"
    "                    at 64 MiB of keys)\n"
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
    std::optional<bool> bestFirst; // none: the setting
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
        } else if (a == "--best-first") {
            o.bestFirst = true;
        } else if (a == "--no-best-first") {
            o.bestFirst = false;
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
    // These check their own arguments.
    const bool review = o.command == "review" || o.command == "grade" || o.command == "stats" ||
                        o.command == "export-cards" || o.command == "pieces" || o.command == "remember" ||
                        o.command == "notebook" || o.command == "note";
    if (!needsArgs && !oneArg && !noArgs && !review) throw UsageError{"unknown command " + o.command};
    if (needsArgs && o.args.empty()) throw UsageError{"code needs at least one entry"};
    if (oneArg && o.args.size() != 1) throw UsageError{o.command + " takes exactly one argument"};
    if (noArgs && !o.args.empty()) throw UsageError{o.command + " takes no arguments"};
    while (o.dir && o.dir->size() > 1 && o.dir->back() == '/') o.dir->pop_back();
    return o;
}

// The session of the desktop program, opened as it opens it, with the options applied.
struct Session : TSession {
    explicit Session(const Options& o) : TSession(Open(o)) {
        for (const auto& warning : Warnings()) std::cerr << "numbrelia-cli: " << warning << '\n';
        TProgSettings settings = Settings();
        if (o.table) {
            if (FindCodeTable(CodeTables(), *o.table) < 0) {
                std::string known;
                for (const auto& t : CodeTables()) known += (known.empty() ? "" : ", ") + Cp1251ToUtf8(t.Ident);
                throw UsageError{"no code table \"" + Cp1251ToUtf8(*o.table) + "\" in " + Paths().Codes() +
                                 " (tables: " + known + ")"};
            }
            settings.CodeCode = *o.table;
        }
        if (o.mode) settings.VariantMakeType = static_cast<int32_t>(*o.mode);
        if (o.addNull) settings.AddNull = *o.addNull;
        settings.FamiliarFirst = o.familiarFirst;
        if (o.bestFirst) settings.BestVariantFirst = *o.bestFirst;
        OverrideSettings(settings);
    }

    // The window's start-up past its first steps: the dictionary, the lists and the code
    // dictionary. Nothing here is ever saved.
    void LoadAndBuild() {
        PrepareFolders();
        if (Load()) {
            char buf[4096];
            std::snprintf(buf, sizeof buf, res::kDictionaryConverted, Paths().Dictionary().c_str());
            std::cerr << "numbrelia-cli: " << buf << '\n';
        }
        TBuildCallbacks cb;
        cb.HandleFirstStart = false;
        Build(cb);
    }

private:
    static TPaths Open(const Options& o) {
        const TPaths paths = o.dir ? TPaths{*o.dir, {}} : ProgramPaths();
        if (!paths.Installed() && !DirectoryExists(paths.Folder))
            throw EError("No such folder: " + paths.Folder);
        return paths;
    }
};

std::string Out(const std::string& cp1251) { return Cp1251ToUtf8(cp1251); }

int Code(const Options& o) {
    Session s(o);
    const TWordCoder coder(s.CodeTable().Letters);
    // A '?' in place of a letter would be coded as if it were the entry: refused first,
    // before any line is written, as --table refuses such a name.
    std::vector<std::string> entries;
    for (const auto& arg : o.args) {
        std::string entry;
        if (!Utf8ToCp1251(arg, entry))
            throw UsageError{"\"" + (IsValidUtf8(arg) ? arg : Out(entry)) +
                             "\" cannot be coded: it is no UTF-8 text of Windows-1251 characters"};
        entries.push_back(std::move(entry));
    }
    for (const auto& entry : entries) {
        const std::string full = coder.WordToCode(entry);
        const auto marks = coder.MarkKeyLetters(entry, s.Settings().Grouping().Mode);
        std::string marked;
        for (size_t i = 0; i < entry.size(); ++i) {
            if (marks[i]) marked += '[';
            marked += entry[i];
            if (marks[i]) marked += ']';
        }
        std::cout << Out(entry) << '\t' << full << '\t'
                  << AdjustCode(full, s.Settings().Grouping()) << '\t'
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
    s.LoadAndBuild();
    // Rows go out as the search finds them, so a long list costs no memory.
    size_t rows = 0;
    const std::string digits = SearchString(number, s.Settings().Grouping());
    const bool cut = s.StreamVariants(digits, o.limit, [&](std::string&& key, int32_t count) {
        std::fwrite(key.data(), 1, key.size(), stdout);
        std::fprintf(stdout, "\t%d\n", static_cast<int>(count));
        ++rows;
    });
    if (rows == 0) {
        char buf[4096];
        std::snprintf(buf, sizeof buf, res::kNoVariant, number.c_str());
        std::cerr << "numbrelia-cli: " << buf << '\n';
        return 1;
    }
    // A full disk or a closed pipe must not pass for a complete list.
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw EError(std::string("Cannot write the output: ") + std::strerror(errno));
    // Which bound cut it: only the row limit is the user's to raise.
    // (The remembered variant may follow a list cut at the limit as one row more.)
    if (cut && rows >= o.limit)
        std::cerr << "The list was cut at " << rows << " variants by the limit of " << o.limit
                  << " rows; this number has more (--limit raises the bound).\n";
    else if (cut)
        std::cerr << "The list was cut at " << rows << " variants by the bound of 64 MiB of "
                  << "variant keys; this number has more (--limit cannot raise this bound).\n";
    return 0;
}

void CheckVariant(const std::string& variant) {
    for (const std::string& g : SplitVariantKey(variant))
        if (g.empty() || g.find_first_not_of("0123456789") != std::string::npos)
            throw UsageError{"\"" + variant + "\" is no variant: groups of digits joined by -"};
}

// The window's columns, the all-hidden rule included (this tool never writes the list);
// empty, with the message said, when a group is the code of no dictionary word.
std::vector<TWordColumn> Columns(Session& s, const std::string& variant) {
    std::vector<TWordColumn> columns = s.WordColumns(variant);
    for (const TWordColumn& column : columns)
        if (column.Entries.empty()) {
            std::cerr << "numbrelia-cli: " << column.Group << " is the code of no dictionary word\n";
            return {};
        }
    return columns;
}

int Words(const Options& o) {
    CheckVariant(o.args[0]);
    Session s(o);
    s.LoadAndBuild();
    const std::vector<TWordColumn> columns = Columns(s, o.args[0]);
    if (columns.empty()) return 1;
    std::string out;
    for (const TWordColumn& column : columns) {
        out += column.Group;
        for (size_t i = 0; i < column.Entries.size(); ++i)
            if (!column.Hidden[i]) out += '\t' + Out(s.DicList()[static_cast<size_t>(column.Entries[i])]);
        out += '\n';
    }
    std::cout << out;
    return 0;
}

int Hint(const Options& o) {
    Session s(o);
    std::cout << Out(CodeHintText(s.CodeTable().Letters)) << '\n';
    return 0;
}

int Build(const Options& o) {
    Session s(o);
    s.LoadAndBuild();
    std::cout << (s.CodeDictionary().CacheReused() ? "cache reused" : "cache rebuilt") << '\n'
              << s.SettingsFile().ReadString(kCacheSection, s.CodeTable().Ident, "") << '\n';
    return 0;
}

// `--date YYYY-MM-DD` taken out of `args` (default today).
int64_t DateArgument(std::vector<std::string>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--date") continue;
        if (i + 1 >= args.size()) throw UsageError{"--date needs a value"};
        const auto day = ParseDay(args[i + 1]);
        if (!day) throw UsageError{"--date takes a date YYYY-MM-DD, not \"" + args[i + 1] + "\""};
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        return *day;
    }
    return ReviewToday();
}

// As in the window: a pieces file that cannot be read leaves every entry plain.
TPiecesList SessionPieces(const Session& s) {
    TPiecesList pieces;
    try {
        LoadPieces(pieces, s.Paths().NotebookPieces());
    } catch (const EError& e) {
        std::cerr << "numbrelia-cli: " << e.what() << '\n';
    }
    return pieces;
}

// The deck of the session's notebook; a file that cannot be read stops the command.
TReviewDeck SessionDeck(const Session& s, TStringList& entries, TPiecesList* piecesOut = nullptr) {
    LoadListIfExists(entries, s.Paths().Notebook());
    TPiecesList pieces = SessionPieces(s);
    std::string error;
    TReviewDeck deck = LoadDeck(s.Paths().NotebookReview(), entries, &error, &pieces);
    if (piecesOut) *piecesOut = std::move(pieces);
    if (!error.empty()) throw EError(error);
    if (!deck.Unread.empty())
        std::cerr << "numbrelia-cli: " << deck.Unread.size() << " line(s) of "
                  << s.Paths().NotebookReview() << " could not be read; they are kept as they are\n";
    return deck;
}

// Read-only, like every command here: the deck is synced with the notebook in memory only.
int Review(const Options& o) {
    std::vector<std::string> args = o.args;
    const int64_t day = DateArgument(args);
    if (!args.empty()) throw UsageError{"review takes no arguments but --date YYYY-MM-DD"};
    Session s(o);
    TStringList entries(TStringList::Kind::Plain);
    const auto cards = SessionDeck(s, entries).Cards;
    std::string out;
    for (size_t i : DueCards(cards, day, s.Settings().ReviewNewCardsPerDay)) {
        const TReviewCard& c = cards[i];
        out += c.Key + '\t' + DirectionName(c.Direction) + '\t' + DayText(c.IsNew() ? day : c.Due) + '\n';
    }
    std::cout << out;
    return 0;
}

// Writes the deck and the log as the review window's grade does.
int Grade(const Options& o) {
    std::vector<std::string> args = o.args;
    const int64_t day = DateArgument(args);
    if (args.size() != 3) throw UsageError{"grade takes KEY number|phrase GRADE [--date YYYY-MM-DD]"};
    const auto dir = ParseDirection(args[1]);
    if (!dir) throw UsageError{"the direction is number or phrase, not \"" + args[1] + "\""};
    if (args[2].size() != 1 || args[2][0] < '1' || args[2][0] > '4')
        throw UsageError{"the grade is 1, 2, 3 or 4, not \"" + args[2] + "\""};
    const auto grade = static_cast<TReviewGrade>(args[2][0] - '1');
    Session s(o);
    // One writer at a time in the folder, as for settings.ini.
    const TFileLock lock(s.Paths().Folder);
    TStringList entries(TStringList::Kind::Plain);
    TReviewDeck deck = SessionDeck(s, entries);
    const auto due = DueCards(deck.Cards, day, s.Settings().ReviewNewCardsPerDay);
    for (size_t i : due) {
        TReviewCard& card = deck.Cards[i];
        if (card.Key != args[0] || card.Direction != *dir) continue;
        const TReviewCard before = card;
        GradeCard(card, grade, day, s.Settings().ReviewDesiredRetention);
        SaveReviewDeck(s.Paths().NotebookReview(), deck);
        AppendReviewLog(ReviewLogPath(s.Paths().NotebookReview()), MakeLogEntry(before, card, grade, day));
        std::cout << card.Key << '\t' << DirectionName(card.Direction) << '\t' << DayText(card.Due) << '\n';
        return 0;
    }
    const bool known = std::any_of(deck.Cards.begin(), deck.Cards.end(), [&](const TReviewCard& c) {
        return c.Key == args[0] && c.Direction == *dir;
    });
    std::cerr << "numbrelia-cli: " << (known ? "the card is not due on " + DayText(day)
                                             : "the notebook has no card " + args[0] + " " + args[1])
              << '\n';
    return 1;
}

int Stats(const Options& o) {
    std::vector<std::string> args = o.args;
    const int64_t day = DateArgument(args);
    if (!args.empty()) throw UsageError{"stats takes no arguments but --date YYYY-MM-DD"};
    Session s(o);
    TStringList entries(TStringList::Kind::Plain);
    const auto cards = SessionDeck(s, entries).Cards;
    const auto log = LoadReviewLog(ReviewLogPath(s.Paths().NotebookReview()));
    const TReviewStats st = ComputeReviewStats(cards, log, day, s.Settings().ReviewNewCardsPerDay);
    std::string out = "cards\t" + std::to_string(st.Cards) + "\nnew\t" + std::to_string(st.New) +
                      "\nlearning\t" + std::to_string(st.Learning) + "\nmature\t" +
                      std::to_string(st.Mature) + "\ndue\t" + std::to_string(st.DueToday) +
                      "\nreviews\t" + std::to_string(st.Reviews) + "\nretention\t";
    if (const auto share = st.Retention30.Share()) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%ld.%ld%%", std::lround(*share * 1000) / 10,
                      std::lround(*share * 1000) % 10);
        out += buf;
    } else {
        out += '-';
    }
    out += '\n';
    for (int i = 0; i < kStatsDays; ++i)
        out += "due " + DayText(day + i) + '\t' + std::to_string(st.DuePerDay[static_cast<size_t>(i)]) + '\n';
    std::cout << out;
    return 0;
}

// Front, back and tags of every card, TAB-separated in UTF-8: the plain text that common
// flash-card programs import.
int ExportCards(const Options& o) {
    if (o.args.size() != 1) throw UsageError{"export-cards takes exactly one FILE"};
    Session s(o);
    TStringList entries(TStringList::Kind::Plain), notes(TStringList::Kind::Plain);
    TPiecesList pieces;
    const auto cards = SessionDeck(s, entries, &pieces).Cards;
    LoadListIfExists(notes, s.Paths().NotebookNotes());
    // A field must not break the line or the columns.
    auto field = [](std::string text) {
        for (char& c : text)
            if (c == '\t' || c == '\r' || c == '\n') c = ' ';
        return Out(text);
    };
    std::string out;
    for (const TReviewCard& c : cards) {
        const auto face = CardFace(entries, notes, pieces, c.Key);
        if (!face) continue;
        std::string words, groups;
        for (const auto& w : face->Words) words += (words.empty() ? "" : " - ") + w;
        for (const auto& g : face->Groups) groups += (groups.empty() ? "" : "-") + g;
        // A piece's note is its place on the journey.
        std::string note = face->Piece > 0 ? face->PlaceNote : face->EntryNote;
        if (!note.empty()) note = " (" + note + ")";
        const bool number = c.Direction == TReviewDirection::NumberToPhrase;
        out += field(number ? groups : words) + '\t' + field(number ? words + note : groups + note) +
               "\tnumbrelia numbrelia-" + DirectionName(c.Direction) + '\n';
    }
    WriteFileAtomic(o.args[0], out);
    return 0;
}

// "--piece-words N" / "--pieces N": 0 (not cut) or the setting's 2..6.
int32_t PieceWordsArg(const std::string& name, const std::string& v) {
    int32_t n = 0;
    if (!ParseInt32(v, n) || (n != 0 && (n < kMinPieceWords || n > kMaxPieceWords)))
        throw UsageError{name + " takes 0 or 2 to 6, not \"" + v + "\""};
    return n;
}

int Pieces(const Options& o) {
    std::optional<int32_t> n;
    std::vector<std::string> rest;
    for (size_t i = 0; i < o.args.size(); ++i) {
        if (o.args[i] == "--piece-words" && i + 1 < o.args.size())
            n = PieceWordsArg(o.args[i], o.args[i + 1]), ++i;
        else
            rest.push_back(o.args[i]);
    }
    if (rest.size() != 1) throw UsageError{"pieces takes [--piece-words N] VARIANT"};
    const std::string& variant = rest[0];
    CheckVariant(variant);
    Session s(o);
    s.LoadAndBuild();
    const std::vector<TWordColumn> columns = Columns(s, variant);
    if (columns.empty()) return 1;
    std::vector<std::string> groups, words;
    for (const TWordColumn& c : columns) {
        groups.push_back(c.Group);
        words.push_back(c.Chosen >= 0 ? s.DicList()[static_cast<size_t>(c.Chosen)] : std::string());
    }
    // An explicit N cuts afresh; else the remembered cut, else the setting's.
    std::vector<int32_t> sizes = n ? SplitPieces(groups.size(), *n) : s.PieceSizes(variant);
    if (sizes.empty()) sizes = {static_cast<int32_t>(groups.size())}; // not cut: one piece
    std::string out;
    int index = 0;
    for (const TPiece& p : MakePieces(groups, words, sizes)) {
        std::string g, w;
        for (const auto& x : p.Groups) g += (g.empty() ? "" : "-") + x;
        for (const auto& x : p.Words) w += (w.empty() ? "" : ",") + Out(x);
        out += std::to_string(++index) + '\t' + p.Digits + '\t' + g + '\t' + w + '\n';
    }
    std::cout << out;
    return 0;
}

// A note as the notebook files can hold it: Windows-1251 text on one line.
std::string NoteArgument(const std::string& text) {
    std::string note;
    if (!Utf8ToCp1251(text, note))
        throw UsageError{"the note has characters the notebook files cannot hold (Windows-1251 only)"};
    if (note.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        throw UsageError{"a note is one line"};
    return note;
}

int Remember(const Options& o) {
    std::optional<std::string> note;
    std::optional<int32_t> n;
    std::vector<std::string> rest;
    for (size_t i = 0; i < o.args.size(); ++i) {
        if (rest.empty() && o.args[i] == "--note" && i + 1 < o.args.size())
            note = NoteArgument(o.args[++i]);
        else if (rest.empty() && o.args[i] == "--pieces" && i + 1 < o.args.size())
            n = PieceWordsArg(o.args[i], o.args[i + 1]), ++i;
        else
            rest.push_back(o.args[i]);
    }
    if (rest.empty()) throw UsageError{"remember takes [--note TEXT] [--pieces N] VARIANT [WORD...]"};
    const std::string variant = rest[0];
    CheckVariant(variant);
    const size_t groupCount = SplitVariantKey(variant).size();
    if (rest.size() > 1 && rest.size() - 1 != groupCount)
        throw UsageError{"remember needs one word for each of the " + std::to_string(groupCount) +
                         " groups of " + variant + ", or none"};
    Session s(o);
    s.LoadAndBuild();
    const std::vector<TWordColumn> columns = Columns(s, variant);
    if (columns.empty()) return 1;
    std::vector<std::string> words;
    for (size_t i = 0; i < columns.size(); ++i) {
        const TWordColumn& c = columns[i];
        if (rest.size() == 1) {
            words.push_back(s.DicList()[static_cast<size_t>(c.Chosen)]);
            continue;
        }
        // Only what the window's column shows can be chosen there.
        const std::string word = Utf8ToCp1251(rest[i + 1]);
        bool shown = false;
        for (size_t k = 0; k < c.Entries.size() && !shown; ++k)
            shown = !c.Hidden[k] && s.DicList()[static_cast<size_t>(c.Entries[k])] == word;
        if (!shown) {
            std::cerr << "numbrelia-cli: \"" << rest[i + 1] << "\" is not a word of the column " << c.Group << '\n';
            return 1;
        }
        words.push_back(word);
    }
    // The window and another copy of this tool write the notebook too: what they stored
    // before this lock is read again, so it is not written over.
    const TFileLock lock(s.Paths().Folder);
    s.ReloadNotebook();
    const std::string key = NotebookKey(variant);
    std::vector<int32_t> sizes = n ? SplitPieces(groupCount, *n) : std::vector<int32_t>{};
    // The same cut again keeps its place notes, as the window shows them for editing.
    std::vector<std::string> placeNotes;
    if (const TPiecesRec* rec = s.StoredPieces(key); rec && rec->Sizes == sizes) placeNotes = rec->Notes;
    const std::vector<std::string> errors =
        s.Remember(variant, words, note ? *note : s.NotebookNote(variant), sizes, placeNotes);
    for (const auto& e : errors) std::cerr << "numbrelia-cli: " << e << '\n';
    if (!errors.empty()) return 1;
    std::cout << key << '\n';
    return 0;
}

// What the notebook window lists, through the same rows, order and search.
int Notebook(const Options& o) {
    std::optional<TNotebookColumn> column;
    bool descending = false;
    std::string filter;
    for (size_t i = 0; i < o.args.size(); ++i) {
        const std::string& a = o.args[i];
        if (a == "--sort" && i + 1 < o.args.size()) {
            std::string v = o.args[++i];
            if (v.size() > 5 && v.compare(v.size() - 5, 5, ":desc") == 0) descending = true, v.resize(v.size() - 5);
            if (v == "code") column = TNotebookColumn::Code;
            else if (v == "words") column = TNotebookColumn::Words;
            else if (v == "note") column = TNotebookColumn::Note;
            else if (v == "next") column = TNotebookColumn::NextReview;
            else throw UsageError{"--sort takes code, words, note or next, with :desc or not, not \"" + o.args[i] + "\""};
        } else if (a == "--filter" && i + 1 < o.args.size()) {
            if (!Utf8ToCp1251(o.args[++i], filter)) throw UsageError{"the --filter text has characters no notebook holds"};
        } else {
            throw UsageError{"notebook takes [--sort COLUMN[:desc]] [--filter TEXT]"};
        }
    }
    Session s(o);
    TStringList entries(TStringList::Kind::Plain), notes(TStringList::Kind::Plain);
    LoadListIfExists(entries, s.Paths().Notebook());
    LoadListIfExists(notes, s.Paths().NotebookNotes());
    const TPiecesList pieces = SessionPieces(s);
    // As in the window: a deck that cannot be read leaves the dates out.
    std::string error;
    const TReviewDeck deck = LoadDeck(s.Paths().NotebookReview(), entries, &error, &pieces);
    if (!error.empty()) std::cerr << "numbrelia-cli: " << error << '\n';
    const std::vector<TNotebookRec> rows = NotebookRows(entries, notes, &pieces, error.empty() ? &deck.Cards : nullptr);
    std::vector<size_t> order(rows.size());
    if (column)
        order = NotebookOrder(rows, *column, descending);
    else
        std::iota(order.begin(), order.end(), size_t{0});
    auto next = [](int64_t day, bool hasCards) {
        return day != kNoDay ? DayText(day) : std::string(hasCards ? "new" : "-");
    };
    const TNotebookFilter search(filter);
    std::string out;
    for (size_t i : order) {
        const TNotebookRec& r = rows[i];
        if (!search.Matches(r)) continue;
        out += r.Key + '\t' + Out(r.Code) + '\t' + Out(r.Words) + '\t' + Out(r.Note) + '\t' +
               next(r.NextReview, r.HasCards) + '\n';
        for (const TNotebookPiece& p : r.Pieces)
            out += r.Key + '#' + std::to_string(p.Index) + '\t' + p.Groups + '\t' + Out(p.Words) + '\t' +
                   Out(p.Place) + '\t' + next(p.NextReview, p.HasCards) + '\n';
    }
    std::cout << out;
    return 0;
}

int Note(const Options& o) {
    if (o.args.empty() || o.args.size() > 2) throw UsageError{"note takes KEY [TEXT]"};
    const std::string& key = o.args[0];
    const std::string note = o.args.size() == 2 ? NoteArgument(o.args[1]) : std::string();
    Session s(o);
    // One writer at a time, and what the window stored before the lock is read again.
    const TFileLock lock(s.Paths().Folder);
    s.ReloadNotebook();
    if (NotebookItems(s.UserLists().NotebookEntries, key).size() < 2) {
        std::cerr << "numbrelia-cli: the notebook has no entry " << key << '\n';
        return 1;
    }
    const std::vector<std::string> errors = s.SetNotebookNote(key, note);
    for (const auto& e : errors) std::cerr << "numbrelia-cli: " << e << '\n';
    if (!errors.empty()) return 1;
    std::cout << key << '\n';
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
        if (o.command == "grade") return Grade(o);
        if (o.command == "stats") return Stats(o);
        if (o.command == "export-cards") return ExportCards(o);
        if (o.command == "pieces") return Pieces(o);
        if (o.command == "remember") return Remember(o);
        if (o.command == "notebook") return Notebook(o);
        if (o.command == "note") return Note(o);
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

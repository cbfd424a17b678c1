// A long number memorised as a journey: its variant's groups cut into pieces of a few
// groups each, every piece a scene with its own words and an optional place note (the
// door, the hall, the kitchen...). The notebook keeps the whole entry as one line as
// always; the cut and the notes live in notebook_pieces.txt beside it.
#pragma once

#include "dictionary/StringListUnit.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nb {

inline constexpr int32_t kMinPieceWords = 2;
inline constexpr int32_t kMaxPieceWords = 6;

// One piece: its groups with their digits, the chosen word of each group, its place note.
struct TPiece {
    std::string Digits;
    std::vector<std::string> Groups;
    std::vector<std::string> Words; // one per group; fewer when the columns have none
    std::string Note;
};

// The sizes (groups per piece) of `groupCount` groups cut into pieces of at most `n`
// groups: as few pieces as that allows, as even as possible, the longer ones first
// (10 groups by 3: 3-3-2-2, never a lone group at the end). Empty when `n` is below 1 or
// the groups fit one piece: such a variant is not cut.
std::vector<int32_t> SplitPieces(size_t groupCount, int32_t n);
// Whether the boundary after piece `boundary` can move by one group: `delta` +1 moves it
// right (the piece takes the next piece's first group), -1 left. A piece never gets
// empty, nor longer than 2n groups.
bool CanMoveBoundary(const std::vector<int32_t>& sizes, size_t boundary, int delta, int32_t n);
// Moves it when it can; returns whether it did.
bool MoveBoundary(std::vector<int32_t>& sizes, size_t boundary, int delta, int32_t n);
// Whether `sizes` cut `groupCount` groups: every piece has a group, and they add up.
bool SizesFit(const std::vector<int32_t>& sizes, size_t groupCount);
// The piece that holds group `column`, or -1.
int PieceOfColumn(const std::vector<int32_t>& sizes, size_t column);
// The pieces of a variant's groups and chosen words under `sizes`; `notes` gives each its
// note (missing ones are empty).
std::vector<TPiece> MakePieces(const std::vector<std::string>& groups,
                               const std::vector<std::string>& words,
                               const std::vector<int32_t>& sizes,
                               const std::vector<std::string>& notes = {});
// A place note as it can be stored: one line, control characters made blanks.
std::string PlaceNote(std::string_view text);
// "3-3-2-2".
std::string SizesText(const std::vector<int32_t>& sizes);

// What notebook_pieces.txt stores for one notebook entry.
struct TPiecesRec {
    std::string Key;                // the notebook key (digits)
    std::vector<int32_t> Sizes;     // groups per piece
    std::vector<std::string> Notes; // one per piece, possibly empty
    std::string Source;             // the entry's comma list the cut was made for
};

// The file's lines in file order. A line the reader cannot take is kept as it was, so a
// write never loses it.
class TPiecesList {
public:
    struct Line {
        std::string Raw; // the text of a line that was not understood
        bool Good = false;
        TPiecesRec Rec;
    };

    void SetText(std::string_view text);
    std::string Text() const;
    const std::vector<Line>& Lines() const { return lines_; }

    // The record of a key when it still fits its entry: `entryValue` is the notebook's
    // comma list for the key; its words must be what the cut was made for and the sizes
    // must cut its groups. Otherwise null: the entry is plain.
    const TPiecesRec* Find(std::string_view key, std::string_view entryValue) const;
    // Replaces what is stored for the record's key (every line of that key goes), or adds
    // it at the end.
    void Set(TPiecesRec rec);
    // Removes every line of a key, understood or not.
    bool Remove(std::string_view key);
    // Drops the records that no longer fit their entry (the words changed by hand, the
    // entry gone); lines that were not understood stay.
    bool Sync(const TStringList& entries);

private:
    std::vector<Line> lines_;
};

// notebook_pieces.txt: the reader and the atomic writer through the file layer. Loading
// a missing file gives an empty list; one that exists but cannot be read throws EError.
void LoadPieces(TPiecesList& list, const std::string& path);
void SavePieces(const TPiecesList& list, const std::string& path);

} // namespace nb

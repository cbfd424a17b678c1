// The review cards of the notebook, pieces included: an entry remembered plain gives its
// two cards under its notebook key as always; an entry with pieces gives two cards per
// piece instead, keyed "KEY#I" (I from 1): number -> phrase (cue: the piece's place note,
// and the previous piece's digits and words, or for the first piece the entry's note;
// answer: the piece's words) and phrase -> number (cue: the piece's words; answer: its
// digits). A failed piece so comes back alone. The scheduler sees only keys and sources.
#pragma once

#include "dictionary/StringListUnit.h"
#include "notebook/PiecesUnit.h"
#include "notebook/ReviewUnit.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nb {

// The cards' keys and sources in notebook order: entries with at least one word, each
// key once; an entry's pieces count only while they fit it (TPiecesList::Find).
std::vector<TCardSource> CardSources(const TStringList& entries, const TPiecesList& pieces);

// The notebook key of a card ("31415#2" -> "31415"), and its piece (0 for a whole entry).
std::string EntryKeyOfCard(std::string_view cardKey);
int PieceOfCard(std::string_view cardKey);

// What a card shows. For a whole entry Digits and Words are the entry's, Cue* empty.
struct TCardFace {
    std::string EntryKey;
    int Piece = 0;                   // from 1; 0: the whole entry
    int PieceCount = 0;              // pieces of the entry; 0: plain
    std::string Variant;             // the entry's variant key
    std::string Digits;              // what phrase -> number asks for
    std::vector<std::string> Groups; // its groups
    std::vector<std::string> Words;  // what number -> phrase asks for
    std::string EntryNote;           // the entry's note
    std::string PlaceNote;           // the piece's place note
    std::string PreviousDigits;      // the piece before this one, for its cue
    std::vector<std::string> PreviousWords;
    // The whole journey, one piece a line "I. DIGITS — WORDS (PLACE)", for after the
    // entry's last piece; empty for a plain entry.
    std::vector<std::string> Journey;
};

// The face of a card key, or none when the notebook no longer holds it.
std::optional<TCardFace> CardFace(const TStringList& entries, const TStringList& notes,
                                  const TPiecesList& pieces, std::string_view cardKey);

} // namespace nb

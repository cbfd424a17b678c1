// The user settings in settings.ini, section NumbreliaSettings.
#pragma once

#include "code/NumbreliaTypesUnit.h"
#include "core/IniFileUnit.h"

#include <cstdint>
#include <string>

namespace nb {

inline constexpr const char* kSettingsSection = "NumbreliaSettings";
inline constexpr const char* kCacheSection = "CacheCRC";

inline constexpr int32_t kDefaultLetterColor = 255; // pure red, 0x00BBGGRR
inline constexpr int32_t kDefaultVariantsWidth = 225;
inline constexpr int32_t kDefaultBrowserHeight = 240;
inline constexpr int32_t kDefaultCodeWidth = 170;
inline constexpr int32_t kDefaultTextWidth = 250;
inline constexpr int32_t kDefaultNoteWidth = 150;
inline constexpr int32_t kDefaultReviewWidth = 150; // the notebook's next review column
inline constexpr int32_t kDefaultReviewNewCardsPerDay = 20;
inline constexpr int32_t kMaxReviewNewCardsPerDay = 9999;
// The share of reviews the scheduler aims to have recalled, 0.70 to 0.99.
inline constexpr double kDefaultReviewDesiredRetention = 0.90;

struct TProgSettings {
    std::string CodeCode;
    int32_t LetterColor = kDefaultLetterColor;
    bool ShowPic = false;
    int32_t VariantMakeType = 0; // a TGroupingMode value, 0..2 as read
    bool AddNull = false;
    // Word columns in the dictionary file's line order rather than dictionary order.
    bool FamiliarFirst = false;
    // New review cards shown per day, 0 to 9999.
    int32_t ReviewNewCardsPerDay = kDefaultReviewNewCardsPerDay;
    double ReviewDesiredRetention = kDefaultReviewDesiredRetention;
    // Long phrases cut into pieces of at most this many words; 0: not cut.
    int32_t PieceWords = 0;
    // Variants best first, each column's best word first and chosen (RankingUnit).
    bool BestVariantFirst = false;

    bool operator==(const TProgSettings&) const = default;

    // The grouping the two fields above stand for.
    TGrouping Grouping() const { return {static_cast<TGroupingMode>(VariantMakeType), AddNull}; }
};

// What is read at main window creation besides the record.
struct TLayoutSettings {
    int32_t VariantsVirtualStringTreeWidth = kDefaultVariantsWidth;
    int32_t BrowserPanelHeight = kDefaultBrowserHeight;
    bool HideSettings = false;
};

// Reads the keys in their documented order and applies the checks. `layout` holds the
// controls' current sizes on entry (the defaults) and the stored ones on return.
void LoadSettings(const TIniFile& ini, const TCodeRecArr& tables, TProgSettings& settings,
                  TLayoutSettings& layout);
// A stored size of one of two panes sharing `available` pixels (or of a column in a view
// `available` wide, other = 0), brought within reach: at least `minimum`, and leaving the
// other pane `other`, so that a hand-edited or damaged value never hides a pane and is
// not written back. When the room is too small for both minimums, half of it.
int32_t ClampPaneSize(int32_t stored, int32_t available, int32_t minimum, int32_t other);

// Writes the seven values of shutdown in their documented order, then FamiliarFirst, then
// the two review values (ReviewNewCardsPerDay, ReviewDesiredRetention with two decimals),
// then PieceWords and BestVariantFirst, each when it is on or was set, in one replacement
// of the file.
// Throws EError.
void SaveSettings(TIniFile& ini, const TProgSettings& settings, const TLayoutSettings& layout);

} // namespace nb

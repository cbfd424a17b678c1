#include "SettingsUnit.h"

#include "code/CodeTableUnit.h"
#include "notebook/PiecesUnit.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace nb {

namespace {

// "0.90": two decimals with a point, whatever the locale.
std::string RetentionText(double r) {
    const long hundredths = std::lround(std::clamp(r, 0.70, 0.99) * 100);
    return "0." + std::to_string(hundredths);
}

// A decimal from 0.70 to 0.99 (a point or a comma); anything else is the default.
double ParseRetention(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v,
                                           std::chars_format::fixed);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
        !(v >= 0.70 - 1e-9 && v <= 0.99 + 1e-9))
        return kDefaultReviewDesiredRetention;
    return std::round(v * 100) / 100;
}

} // namespace

void LoadSettings(const TIniFile& ini, const TCodeRecArr& tables, TProgSettings& settings,
                  TLayoutSettings& layout) {
    const char* s = kSettingsSection;
    settings.CodeCode = CheckCodeCode(ini.ReadString(s, "CodeCode", ""), tables);
    settings.LetterColor = ini.ReadInteger(s, "LetterColor", kDefaultLetterColor);
    settings.ShowPic = ini.ReadBool(s, "ShowPic", false);
    settings.VariantMakeType = ini.ReadInteger(s, "VariantMakeType", 0);
    if (settings.VariantMakeType < 0 || settings.VariantMakeType > 2) settings.VariantMakeType = 0;
    settings.AddNull = ini.ReadBool(s, "AddNull", false);
    layout.VariantsVirtualStringTreeWidth =
        ini.ReadInteger(s, "VariantsVirtualStringTreeWidth", layout.VariantsVirtualStringTreeWidth);
    layout.BrowserPanelHeight = ini.ReadInteger(s, "BrowserPanelHeight", layout.BrowserPanelHeight);
    layout.HideSettings = ini.ReadBool(s, "HideSettings", false);
    settings.FamiliarFirst = ini.ReadBool(s, "FamiliarFirst", false);
    settings.ReviewNewCardsPerDay =
        std::clamp(ini.ReadInteger(s, "ReviewNewCardsPerDay", kDefaultReviewNewCardsPerDay), 0,
                   kMaxReviewNewCardsPerDay);
    settings.ReviewDesiredRetention = ParseRetention(ini.ReadString(s, "ReviewDesiredRetention", ""));
    // Only the dialog's choices; anything else is off.
    settings.PieceWords = ini.ReadInteger(s, "PieceWords", 0);
    if (settings.PieceWords < kMinPieceWords || settings.PieceWords > kMaxPieceWords) settings.PieceWords = 0;
    settings.BestVariantFirst = ini.ReadBool(s, "BestVariantFirst", false);
}

int32_t ClampPaneSize(int32_t stored, int32_t available, int32_t minimum, int32_t other) {
    const int64_t most = int64_t{available} - other;
    if (most < minimum) return std::max(0, available / 2);
    return static_cast<int32_t>(std::clamp<int64_t>(stored, minimum, most));
}

void SaveSettings(TIniFile& ini, const TProgSettings& settings, const TLayoutSettings& layout) {
    // One replacement of the file: a kill in the middle leaves the old values or the new.
    auto flag = [](bool b) { return std::string(b ? "1" : "0"); };
    std::vector<std::pair<std::string, std::string>> values{{"CodeCode", settings.CodeCode},
                      {"LetterColor", std::to_string(settings.LetterColor)},
                      {"ShowPic", flag(settings.ShowPic)},
                      {"AddNull", flag(settings.AddNull)},
                      {"VariantMakeType", std::to_string(settings.VariantMakeType)},
                      {"VariantsVirtualStringTreeWidth",
                       std::to_string(layout.VariantsVirtualStringTreeWidth)},
                      {"BrowserPanelHeight", std::to_string(layout.BrowserPanelHeight)},
                      {"FamiliarFirst", flag(settings.FamiliarFirst)},
                      {"ReviewNewCardsPerDay", std::to_string(settings.ReviewNewCardsPerDay)},
                      {"ReviewDesiredRetention", RetentionText(settings.ReviewDesiredRetention)}};
    // Off and never set, a file stays as it always was.
    if (settings.PieceWords != 0 || !ini.ReadString(kSettingsSection, "PieceWords", "").empty())
        values.emplace_back("PieceWords", std::to_string(settings.PieceWords));
    if (settings.BestVariantFirst || !ini.ReadString(kSettingsSection, "BestVariantFirst", "").empty())
        values.emplace_back("BestVariantFirst", flag(settings.BestVariantFirst));
    ini.WriteStrings(kSettingsSection, values);
}

} // namespace nb

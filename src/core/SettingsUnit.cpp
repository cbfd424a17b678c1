#include "SettingsUnit.h"

#include "code/CodeTableUnit.h"
#include "notebook/PiecesUnit.h"

#include <algorithm>

namespace nb {

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
        std::max(0, ini.ReadInteger(s, "ReviewNewCardsPerDay", kDefaultReviewNewCardsPerDay));
    // Only the dialog's choices; anything else is off.
    settings.PieceWords = ini.ReadInteger(s, "PieceWords", 0);
    if (settings.PieceWords < kMinPieceWords || settings.PieceWords > kMaxPieceWords) settings.PieceWords = 0;
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
                      {"FamiliarFirst", flag(settings.FamiliarFirst)}};
    // Off and never set, a file stays as it always was.
    if (settings.PieceWords != 0 || !ini.ReadString(kSettingsSection, "PieceWords", "").empty())
        values.emplace_back("PieceWords", std::to_string(settings.PieceWords));
    ini.WriteStrings(kSettingsSection, values);
}

} // namespace nb

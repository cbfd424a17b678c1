#include "SettingsUnit.h"

#include "code/CodeTableUnit.h"

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
}

int32_t ClampPaneSize(int32_t stored, int32_t available, int32_t minimum, int32_t other) {
    const int64_t most = int64_t{available} - other;
    if (most < minimum) return std::max(0, available / 2);
    return static_cast<int32_t>(std::clamp<int64_t>(stored, minimum, most));
}

void SaveSettings(TIniFile& ini, const TProgSettings& settings, const TLayoutSettings& layout) {
    // One replacement of the file: a kill in the middle leaves the old values or the new.
    auto flag = [](bool b) { return std::string(b ? "1" : "0"); };
    ini.WriteStrings(kSettingsSection,
                     {{"CodeCode", settings.CodeCode},
                      {"LetterColor", std::to_string(settings.LetterColor)},
                      {"ShowPic", flag(settings.ShowPic)},
                      {"AddNull", flag(settings.AddNull)},
                      {"VariantMakeType", std::to_string(settings.VariantMakeType)},
                      {"VariantsVirtualStringTreeWidth",
                       std::to_string(layout.VariantsVirtualStringTreeWidth)},
                      {"BrowserPanelHeight", std::to_string(layout.BrowserPanelHeight)},
                      {"FamiliarFirst", flag(settings.FamiliarFirst)}});
}

} // namespace nb

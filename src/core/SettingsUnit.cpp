#include "SettingsUnit.h"

#include "code/CodeTableUnit.h"

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
}

void SaveSettings(TIniFile& ini, const TProgSettings& settings, const TLayoutSettings& layout) {
    const char* s = kSettingsSection;
    ini.WriteString(s, "CodeCode", settings.CodeCode);
    ini.WriteInteger(s, "LetterColor", settings.LetterColor);
    ini.WriteBool(s, "ShowPic", settings.ShowPic);
    ini.WriteBool(s, "AddNull", settings.AddNull);
    ini.WriteInteger(s, "VariantMakeType", settings.VariantMakeType);
    ini.WriteInteger(s, "VariantsVirtualStringTreeWidth", layout.VariantsVirtualStringTreeWidth);
    ini.WriteInteger(s, "BrowserPanelHeight", layout.BrowserPanelHeight);
}

} // namespace nb

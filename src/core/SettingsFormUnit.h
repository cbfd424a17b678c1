// The settings dialog: active code table, key-letter colour, grouping mode, picture pane,
// zero rule, word order and the review's desired retention and new cards per day. It has no behaviour of its own; EditSettings fills it from the settings
// record, shows it and copies the values back on OK.
#pragma once

#include "code/NumbreliaTypesUnit.h"
#include "core/SettingsUnit.h"

#include <QColor>
#include <QComboBox>
#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class TSettingsForm;
}

namespace nb::ui {

// A colour picker over stored colour values (0x00BBGGRR, or 0xFF0000nn for a desktop
// colour): the standard, extended and desktop colours by name, and a first item "Другой..."
// that asks for any colour. A value that is not in the list sits in that first item, so
// it is kept until the user picks something else.
class TColorBox : public QComboBox {
    Q_OBJECT
public:
    explicit TColorBox(QWidget* parent = nullptr);

    void SetColorValue(int32_t value);
    int32_t ColorValue() const;
    // The item holding this value, or -1; the custom item counts only when it holds it.
    int FindColorValue(int32_t value) const;

    // Asks for a colour when the user picks the custom item; nullopt means cancelled.
    using Chooser = std::function<std::optional<QColor>(QWidget* parent, const QColor& initial)>;
    // Replaces the colour dialog (tests); an empty function restores it.
    static void SetChooserForTesting(Chooser chooser);

    static constexpr int kCustomItem = 0;

private:
    void ItemActivated(int index);
    void SetCustomValue(int32_t value);

    int previousIndex_ = -1;
};

class TSettingsForm : public QDialog {
    Q_OBJECT
public:
    explicit TSettingsForm(QWidget* parent = nullptr);
    ~TSettingsForm() override;

    // Puts the tables and the record into the controls.
    void Fill(const TCodeRecArr& tables, const TProgSettings& settings);
    // Copies the controls into the record. With no table selected the table stays as it
    // was, since there is no identifier in the list to take.
    void Apply(const TCodeRecArr& tables, TProgSettings& settings) const;

    Ui::TSettingsForm* Controls() const { return ui_.get(); }

private:
    std::unique_ptr<Ui::TSettingsForm> ui_;
};

// The settings command's dialog part: shows the dialog modally over `owner`; on OK copies
// its values into `settings` and returns true; otherwise changes nothing and returns
// false. The caller then selects the table by CodeCode and runs the build.
bool EditSettings(QWidget* owner, const TCodeRecArr& tables, TProgSettings& settings);

} // namespace nb::ui

// The "О программе" window: the icon, the program's name and file version, a line about
// the program, links to the projects it is built on and two e-mail addresses.
#pragma once

#include "web/rpVersionInfo.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TAboutForm;
}

namespace nb::ui {

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    // Reads the version information anew; the version line is filled by the opener.
    explicit TAboutForm(QWidget* parent = nullptr);
    ~TAboutForm() override;

    const TrpVersionInfo& VersionInfo() const { return versionInfo_; }
    Ui::TAboutForm* Controls() const { return ui_.get(); }

    void EMailHLink1LabelClick();
    void EMailHLink2LabelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TAboutForm> ui_;
    TrpVersionInfo versionInfo_;
};

// AboutActionExecute: the window with the file version, shown modally and then destroyed.
void AboutActionExecute(QWidget* owner);

} // namespace nb::ui

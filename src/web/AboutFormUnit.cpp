#include "AboutFormUnit.h"

#include "ui_AboutForm.h"

#include "controls/HLinkLabelUnit.h"
#include "web/DesktopUnit.h"

#include <QScreen>

#include <initializer_list>

namespace nb::ui {

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TAboutForm>()) {
    ui_->setupUi(this);
    setWindowIcon(ProgramIcon());
    ui_->IconImage->setPixmap(ProgramIcon().pixmap(32, 32));

    // Links are blue here, whatever colour the desktop gives links elsewhere.
    for (THLinkLabel* link : findChildren<THLinkLabel*>()) {
        QPalette p = link->palette();
        p.setColor(QPalette::WindowText, Qt::blue);
        link->setPalette(p);
    }
    // The program has no mail address yet: a line without one is not shown rather than
    // one that leads nowhere.
    const bool noMail = ui_->EMailHLink1Label->URL().isEmpty() && ui_->EMailHLink2Label->URL().isEmpty();
    for (QWidget* w : std::initializer_list<QWidget*>{ui_->EMailCaptionLabel, ui_->EMailHLink1Label, ui_->EMail1Label,
                                                      ui_->EMailHLink2Label, ui_->EMail2Label})
        w->setVisible(!noMail);
    ui_->EMailHLink1Label->SetOnClick([this] { EMailHLink1LabelClick(); });
    ui_->EMailHLink2Label->SetOnClick([this] { EMailHLink2LabelClick(); });

    // Enter and Esc both close the window through the one button.
    connect(ui_->CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    ui_->CloseButton->setFocus();

    // A fixed border; the classic size is the least, a larger desktop font may need more.
    setFixedSize(sizeHint().expandedTo(QSize(283, 289)));
}

TAboutForm::~TAboutForm() = default;

void TAboutForm::EMailHLink1LabelClick() { OpenMailTo(ui_->EMailHLink1Label->URL()); }

void TAboutForm::EMailHLink2LabelClick() { OpenMailTo(ui_->EMailHLink2Label->URL()); }

void TAboutForm::showEvent(QShowEvent* event) {
    // Centred on the screen, not on the owner.
    if (const QScreen* s = parentWidget() ? parentWidget()->screen() : screen())
        move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

void AboutActionExecute(QWidget* owner) {
    TAboutForm form(owner);
    form.Controls()->VersionLabel->setText(QString::fromUtf8(form.VersionInfo().FileVersion()));
    form.exec();
}

} // namespace nb::ui

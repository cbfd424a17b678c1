#include "DesktopUnit.h"

#include "core/FileUnit.h"
#include "core/UtilsUnit.h"
#include "web/HelpFormUnit.h"

#include <QDesktopServices>
#include <QFile>

namespace nb::ui {

namespace {

TDesktop::Opener& TestOpener() {
    static TDesktop::Opener opener;
    return opener;
}

} // namespace

bool TDesktop::OpenUrl(const QUrl& url) {
    if (const Opener& opener = TestOpener()) return opener(url);
    return QDesktopServices::openUrl(url);
}

bool TDesktop::OpenFile(const QString& path) { return OpenUrl(QUrl::fromLocalFile(path)); }

void TDesktop::SetOpenerForTesting(Opener opener) { TestOpener() = std::move(opener); }

void OpenURLInBrowser(const QString& url) {
    // A link written without a scheme ("www.qt.io") is a web address, not a file name.
    QUrl target = QUrl::fromUserInput(url.trimmed());
    if (target.isValid()) TDesktop::OpenUrl(target);
}

void OpenMailTo(const QString& address) {
    TDesktop::OpenUrl(QUrl(QStringLiteral("mailto:") + address.trimmed()));
}

void OpenHelpIndex(const TPaths& paths, QWidget* owner) {
    if (!FileExists(paths.HelpIndex())) return;
    const QString path = PathToQString(paths.HelpIndex());
    // A desktop without a program for local pages says so only on the standard error.
    if (!TDesktop::OpenFile(path)) ShowHelpWindow(owner, path);
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/numbrelia-%1.png").arg(size), QSize(size, size));
    return icon;
}

QString PathToQString(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace nb::ui

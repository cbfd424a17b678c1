// Hand-overs to the desktop: a web address, an e-mail address or a local file opened by the
// program the user chose for it (the default browser, mail program or viewer). Everything
// the program gives to the desktop goes through TDesktop, so the window tests can record
// the requests instead of starting a browser.
#pragma once

#include <QIcon>
#include <QString>
#include <QUrl>

#include <functional>
#include <string>

class QWidget;

namespace nb {
struct TPaths;
}

namespace nb::ui {

class TDesktop {
public:
    // Asks the desktop to open the URL; false when it refused. Callers ignore the result:
    // the desktop's own reaction is all the user sees.
    static bool OpenUrl(const QUrl& url);
    static bool OpenFile(const QString& path);

    // While set, requests go to this function instead of the desktop; its result is the
    // desktop's answer. Pass an empty function to reach the desktop again.
    using Opener = std::function<bool(const QUrl&)>;
    static void SetOpenerForTesting(Opener opener);
};

// A default web address opened in the desktop's browser (the hyperlink labels' click).
void OpenURLInBrowser(const QString& url);

// An e-mail address given to the mail program, as "mailto:" + address.
void OpenMailTo(const QString& address);

// HelpActionExecute and the help at the very first start: Help/index.htm of the program
// folder in the desktop's browser or, when the desktop refuses it, in the program's own
// help window over `owner`. A folder without the page opens nothing.
void OpenHelpIndex(const TPaths& paths, QWidget* owner = nullptr);

// The program's icon in every shipped size, for the window frames and the About window.
QIcon ProgramIcon();

// A path of the engine (bytes in the file-name encoding) as text.
QString PathToQString(const std::string& path);

} // namespace nb::ui

// The embedded browser as the windows use it: Navigate(address) and ReadyState(). An
// address is a local path (shown as a file URL) or a web address. The Chromium-based view
// behind it is created on first use, so a window whose picture pane stays hidden never
// starts the browser engine.
#pragma once

#include <QUrl>
#include <QWidget>

class QWebEngineProfile;
class QWebEngineView;

namespace nb::ui {

// The URL for an address: web and file URLs as they are, anything else a local path.
QUrl BrowserUrl(const QString& address);

// Settings the browser engine reads at start-up; call before the QApplication exists.
// As root Chromium refuses to start with its sandbox, so the sandbox is switched off, and
// the standard error says so once; for every other user it stays on.
void PrepareBrowserEngine();

class TWebBrowser : public QWidget {
    Q_OBJECT
public:
    enum : int { kUninitialized = 0, kLoading = 1, kComplete = 4 };

    explicit TWebBrowser(QWidget* parent = nullptr);

    // What the view shows. Help (the default): the program's own pages, without JavaScript
    // (none of them needs it) and without access from them to other files or to the web,
    // so a page put in the help folder can neither read the user's files nor send them
    // away. Pictures: the search providers' pages, which need JavaScript, in an
    // off-the-record profile of their own (nothing kept on disk), with no access from local
    // content to files or the web either.
    enum class TContent { Help, Pictures };
    // Before the view is first used.
    void SetContent(TContent content) { content_ = content; }

    // Starts loading the address and returns at once. Throws EError for an address that
    // makes no URL.
    void Navigate(const QString& address);
    // 4 once the last navigation finished loading (an error page counts), 1 while it
    // loads, 0 before the first navigation.
    int ReadyState() const { return readyState_; }
    QUrl CurrentUrl() const { return url_; }

    // The browser view, created on first use; a navigation before that creates it as soon
    // as the event loop runs.
    QWebEngineView* View();

private:
    TContent content_ = TContent::Help;
    QWebEngineProfile* profile_ = nullptr;
    QWebEngineView* view_ = nullptr;
    QUrl url_;
    int readyState_ = kUninitialized;
};

} // namespace nb::ui

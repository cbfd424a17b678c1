// The picture search pane's logic: the search address for the word the user focused last,
// built for the selected tab's provider and shown after a short delay, preceded by the local
// loading page. The main window owns the pane and keeps the settings record and the current
// word it reads; the tab strip and the browser are the window's controls.
#pragma once

#include "core/SettingsUnit.h"
#include "core/UtilsUnit.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTabBar>
#include <QTimer>

#include <functional>
#include <string>

namespace nb::ui {

class TWebBrowser;

class TPicturePane : public QObject {
    Q_OBJECT
public:
    // What the pane uses of a browser: start loading an address, and the load state
    // (4 = the last load finished).
    struct TBrowserPort {
        std::function<void(const QString&)> Navigate;
        std::function<int()> ReadyState;
    };

    static constexpr int kDelayMs = 500;
    // The loading page is local and normally loads at once; a browser that never reports
    // its load complete must not hold the search back for good.
    static constexpr int kLoadingWaitMs = 5000;

    // Watches the tab strip for tab changes (create the pane after the tabs are added, or
    // adding them counts as switching). `settings` (ShowPic) and `currentWord`
    // (Windows-1251) are read at each request and must outlive the pane; the browser
    // must outlive it too.
    TPicturePane(QTabBar* tabSet, TWebBrowser* browser, const TPaths& paths,
                 const TProgSettings& settings, const std::string& currentWord,
                 QObject* parent = nullptr);
    TPicturePane(QTabBar* tabSet, TBrowserPort browser, const TPaths& paths,
                 const TProgSettings& settings, const std::string& currentWord,
                 QObject* parent = nullptr);

    // Builds the address for the tab from the current word and arms the delay; an armed
    // delay keeps its time, so a burst of requests is served once, with its last address.
    // Nothing happens while pictures are off.
    void RequestPictures(int tab);
    // The tab strip's change to `newTab` (always allowed).
    void TabSetChange(int newTab);
    // The delay's expiry: the loading page, a bounded wait for it, then the address that
    // is current after the wait.
    void ShowPicTimerTimer();

    const QString& PictureUrl() const { return pictureUrl_; }
    QTimer& ShowPicTimer() { return showPicTimer_; }

    // Shorter times for the tests.
    void SetDelay(int ms) { showPicTimer_.setInterval(ms); }
    void SetLoadingWait(int ms) { loadingWaitMs_ = ms; }

private:
    void WaitForLoadingPage();

    QPointer<QTabBar> tabSet_;
    TBrowserPort browser_;
    TPaths paths_;
    const TProgSettings& settings_;
    const std::string& currentWord_;
    QString pictureUrl_;
    QTimer showPicTimer_;
    int loadingWaitMs_ = kLoadingWaitMs;
};

} // namespace nb::ui

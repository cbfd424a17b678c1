#include "PicturePaneUnit.h"

#include "core/MessageBoxUnit.h"
#include "web/BrowserUnit.h"
#include "web/DesktopUnit.h"
#include "web/InetUtilUnit.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTabBar>

namespace nb::ui {

TPicturePane::TPicturePane(QTabBar* tabSet, TWebBrowser* browser, const TPaths& paths,
                           const TProgSettings& settings, const std::string& currentWord,
                           QObject* parent)
    : TPicturePane(tabSet,
                   TBrowserPort{[browser](const QString& address) { browser->Navigate(address); },
                                [browser] { return browser->ReadyState(); }},
                   paths, settings, currentWord, parent) {}

TPicturePane::TPicturePane(QTabBar* tabSet, TBrowserPort browser, const TPaths& paths,
                           const TProgSettings& settings, const std::string& currentWord,
                           QObject* parent)
    : QObject(parent), tabSet_(tabSet), browser_(std::move(browser)), paths_(paths),
      settings_(settings), currentWord_(currentWord) {
    showPicTimer_.setObjectName(QStringLiteral("ShowPicTimer"));
    showPicTimer_.setSingleShot(true);
    // A coarse timer may fire up to 5% early; the delay is half a second, never less.
    showPicTimer_.setTimerType(Qt::PreciseTimer);
    showPicTimer_.setInterval(kDelayMs);
    connect(&showPicTimer_, &QTimer::timeout, this, &TPicturePane::ShowPicTimerTimer);
    if (tabSet)
        connect(tabSet, &QTabBar::currentChanged, this, &TPicturePane::TabSetChange);
}

void TPicturePane::RequestPictures(int tab) {
    if (!settings_.ShowPic) return;
    // An index that is no tab keeps the address there was.
    if (const std::optional<std::string> url = MakePictureUrl(tab, currentWord_))
        pictureUrl_ = QString::fromLatin1(*url);
    if (!showPicTimer_.isActive()) showPicTimer_.start();
}

void TPicturePane::TabSetChange(int newTab) { RequestPictures(newTab); }

void TPicturePane::ShowPicTimerTimer() {
    showPicTimer_.stop();
    // The wait runs the event loop: the window, and this pane with it, may be gone after it.
    const QPointer<TPicturePane> self(this);
    try {
        browser_.Navigate(PathToQString(paths_.HelpLoading()));
        WaitForLoadingPage();
        if (!self) return;
        // Requests made during the wait count: the address is the one current now.
        browser_.Navigate(pictureUrl_);
    } catch (const std::exception& e) {
        if (self) TMessageBox::Error(tabSet_ ? tabSet_->window() : nullptr, QString::fromUtf8(e.what()));
    }
}

void TPicturePane::WaitForLoadingPage() {
    if (browser_.ReadyState() == TWebBrowser::kComplete) return;
    QEventLoop loop;
    QElapsedTimer waited;
    waited.start();
    // The browser reports no event the pane could wait for, so the state is polled; the
    // loop meanwhile serves the window, including new requests and this pane's own timer.
    const QPointer<TPicturePane> self(this);
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!self || browser_.ReadyState() == TWebBrowser::kComplete ||
            waited.elapsed() >= loadingWaitMs_)
            loop.quit();
    });
    poll.start(10);
    loop.exec();
}

} // namespace nb::ui

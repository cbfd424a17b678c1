#include "BrowserUnit.h"

#include "core/FileUnit.h"
#include "resources/ResStrUnit.h"

#include <QCoreApplication>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <cstdio>

#include <unistd.h>

namespace nb::ui {

namespace {

// NUMBRELIA_TRACE_NAVIGATION=1 writes every navigation and finished load to the standard
// error, so what the browser shows can be followed from outside (the real-window test).
void Trace(const char* what, const QUrl& url) {
    static const bool on = qEnvironmentVariableIntValue("NUMBRELIA_TRACE_NAVIGATION") == 1;
    if (!on) return;
    std::fprintf(stderr, "browser %s %s\n", what, url.toEncoded().constData());
    std::fflush(stderr);
}

} // namespace

QUrl BrowserUrl(const QString& address) {
    static const QStringList schemes{QStringLiteral("http"), QStringLiteral("https"),
                                     QStringLiteral("file"), QStringLiteral("about"),
                                     QStringLiteral("data")};
    const qsizetype colon = address.indexOf(QLatin1Char(':'));
    if (colon > 0 && schemes.contains(address.left(colon), Qt::CaseInsensitive))
        return QUrl(address, QUrl::StrictMode);
    return QUrl::fromLocalFile(address);
}

void PrepareBrowserEngine() {
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        std::fputs(nb::res::kSandboxOff, stderr);
    }
    // The browser view shares its OpenGL context with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

TWebBrowser::TWebBrowser(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

QWebEngineView* TWebBrowser::View() {
    if (!view_) {
        view_ = new QWebEngineView(this);
        if (content_ == TContent::Pictures) {
            // Made after the view, so that it goes after the view's page, which needs it.
            profile_ = new QWebEngineProfile(this); // no storage name: off the record
            view_->setPage(new QWebEnginePage(profile_, view_));
        }
        QWebEngineSettings* settings = view_->settings();
        settings->setAttribute(QWebEngineSettings::JavascriptEnabled, content_ == TContent::Pictures);
        // A help page links to the other help pages, which the engine refuses to open from a
        // local page without file access. Help runs no script, so no page can read a file
        // and send it anywhere (nor reach the web); the picture pane's pages, which do run
        // scripts, get no file access.
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, content_ == TContent::Help);
        settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
        layout()->addWidget(view_);
        connect(view_, &QWebEngineView::loadStarted, this, [this] { readyState_ = kLoading; });
        connect(view_, &QWebEngineView::loadFinished, this, [this] {
            readyState_ = kComplete;
            Trace("loaded", view_->url());
        });
        if (!url_.isEmpty()) view_->setUrl(url_);
    }
    return view_;
}

void TWebBrowser::Navigate(const QString& address) {
    const QUrl url = BrowserUrl(address);
    if (!url.isValid())
        throw EError("Cannot navigate to \"" + address.toStdString() + "\". " +
                     url.errorString().toStdString());
    url_ = url;
    Trace("navigate", url);
    // Loading counts from the call on, so a caller polling right after it never sees the
    // previous page's completion.
    readyState_ = kLoading;
    if (view_) {
        view_->setUrl(url);
    } else {
        // Starting the browser engine takes a while; what the caller changed in the window
        // gets painted first.
        QMetaObject::invokeMethod(this, [this] { View(); }, Qt::QueuedConnection);
    }
}

} // namespace nb::ui

// The picture pane over the real browser engine, in a real X server (the test runs under
// Xvfb): the loading page first, then the provider's address. The network may be closed;
// the engine's error page for the provider completes the load all the same.
#include "UiFixture.h"

#include "core/SettingsUnit.h"
#include "core/UtilsUnit.h"
#include "web/BrowserUnit.h"
#include "web/PicturePaneUnit.h"

#include <QElapsedTimer>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <gtest/gtest.h>

using namespace nb;
using namespace nb::ui;
using nbtest::TempDir;
using nbtest::W;

namespace {
constexpr int kLoadTimeoutMs = 30000; // the first load starts the browser engine
}

TEST(PicturePaneBrowser, ShowsTheLoadingPageThenTheProvidersAddress) {
    TempDir dir;
    dir.Write("Help/loading.htm", "<html><body>loading</body></html>");
    dir.Write("Help/pic.htm", "<html><body>pic</body></html>");
    const QUrl loading = QUrl::fromLocalFile(QString::fromStdString(dir / "Help/loading.htm"));

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* browser = new TWebBrowser(&window);
    auto* tabs = new QTabBar(&window);
    layout->addWidget(browser);
    layout->addWidget(tabs);
    for (const char* caption : {"Яндекс", "Google", "Yahoo"}) tabs->addTab(QString::fromUtf8(caption));
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // The engine's first start is slow; the pane's bounded wait is meant for a warm engine.
    browser->Navigate(QString::fromStdString(dir / "Help/pic.htm"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser->ReadyState() == 4; }, kLoadTimeoutMs));

    TProgSettings settings;
    settings.ShowPic = true;
    std::string word = W("кот");
    TPicturePane pane(tabs, browser, TPaths{dir.Path()}, settings, word);

    std::vector<QUrl> urls;
    QObject::connect(browser->View(), &QWebEngineView::urlChanged, [&](const QUrl& u) { urls.push_back(u); });
    QElapsedTimer clock;
    clock.start();
    tabs->setCurrentIndex(1);
    const QUrl provider(pane.PictureUrl());
    ASSERT_TRUE(provider.isValid());
    EXPECT_EQ(provider.query(QUrl::FullyEncoded).contains(QStringLiteral("q=%D0%BA%D0%BE%D1%82&")), true)
        << provider.toString().toStdString();

    ASSERT_TRUE(QTest::qWaitFor([&] { return browser->CurrentUrl() == provider; }, kLoadTimeoutMs));
    EXPECT_GE(clock.elapsed(), TPicturePane::kDelayMs);
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser->ReadyState() == 4; }, kLoadTimeoutMs))
        << "the provider's page, or the engine's error page, completes";
    ASSERT_FALSE(urls.empty());
    EXPECT_EQ(urls.front(), loading) << "the loading page comes first";
    EXPECT_EQ(urls.back(), provider);
}

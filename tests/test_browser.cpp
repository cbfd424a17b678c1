// The embedded browser with the real browser engine, in a real X server (the test runs
// under Xvfb): loads complete, error pages complete too, and the main window's picture
// pane shows the placeholder page on every variant selection.
#include "UiFixture.h"

#include "ui_MainForm.h"

#include "encoding/VariantsModel.h"
#include "web/BrowserUnit.h"

#include <QSplitterHandle>
#include <QWebEngineView>
#include <QTest>
#include <gtest/gtest.h>

using namespace nbtest;
using nb::ui::TWebBrowser;

namespace {
constexpr int kLoadTimeoutMs = 30000; // the first load starts the browser engine
}

TEST(WebBrowser, ReadyStateFollowsEachNavigation) {
    TempDir dir;
    dir.Write("Help/pic.htm", "<html><body>pic</body></html>");
    TWebBrowser browser;
    browser.resize(300, 200);
    browser.show();
    EXPECT_EQ(browser.ReadyState(), 0);

    browser.Navigate(QString::fromStdString(dir / "Help/pic.htm"));
    EXPECT_EQ(browser.ReadyState(), 1) << "loading from the call on";
    EXPECT_TRUE(browser.CurrentUrl().isLocalFile());
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser.ReadyState() == 4; }, kLoadTimeoutMs));

    // A missing page ends in the engine's error page, which completes as well.
    browser.Navigate(QString::fromStdString(dir / "Help/missing.htm"));
    EXPECT_EQ(browser.ReadyState(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser.ReadyState() == 4; }, kLoadTimeoutMs));
}

// Proves: a help page can neither run a script nor, in the picture pane where scripts run,
// read a local file with a synchronous request (whose answer it could send away).
TEST(WebBrowser, LocalPagesReadNoLocalFiles) {
    TempDir dir;
    dir.Write("secret.txt", "hostname-secret");
    const std::string probe =
        "<html><head><title>untouched</title><script>"
        "try { var x = new XMLHttpRequest(); x.open('GET', 'file://" + (dir / "secret.txt") + "', false);"
        " x.send(); document.title = 'read:' + x.responseText; }"
        " catch (e) { document.title = 'blocked'; }"
        "</script></head><body>probe</body></html>";
    dir.Write("Help/probe.htm", probe);
    for (const auto content : {TWebBrowser::TContent::Help, TWebBrowser::TContent::Pictures}) {
        TWebBrowser browser;
        browser.SetContent(content);
        browser.resize(300, 200);
        browser.show();
        browser.Navigate(QString::fromStdString(dir / "Help/probe.htm"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return browser.ReadyState() == 4; }, kLoadTimeoutMs));
        QTest::qWait(200); // the title change reaches the view a moment after the load
        const QString title = browser.View()->title();
        EXPECT_FALSE(title.startsWith(QStringLiteral("read:"))) << title.toStdString();
        EXPECT_EQ(title, content == TWebBrowser::TContent::Help ? QStringLiteral("untouched")
                                                                : QStringLiteral("blocked"))
            << "help pages run no script; the picture pane's do, without file access";
    }
}

TEST(PicturePane, EveryVariantSelectionShowsThePlaceholderPage) {
    TempDir dir;
    WriteFixture(dir);
    dir.Write("Help/pic.htm", "<html><body>pic</body></html>");
    dir.Write("settings.ini", "[NumbreliaSettings]\r\nShowPic=1\r\nBrowserPanelHeight=150\r\n");
    auto form = StartForm(dir);
    ASSERT_TRUE(form);
    const auto* ui = form->Controls();
    EXPECT_TRUE(ui->BrowserPanel->isVisible());
    EXPECT_TRUE(ui->WebBrowserSplitter->handle(1)->isVisible());
    EXPECT_EQ(ui->BrowserPanel->height(), 150);
    EXPECT_EQ(ui->TabSet->count(), 3);
    EXPECT_EQ(ui->TabSet->tabText(0), QStringLiteral("Яндекс"));
    EXPECT_EQ(ui->TabSet->currentIndex(), 0);

    TWebBrowser* browser = ui->WordWebBrowser;
    EXPECT_EQ(browser->CurrentUrl(), QUrl::fromLocalFile(QString::fromStdString(dir / "Help/pic.htm")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser->ReadyState() == 4; }, kLoadTimeoutMs));

    QTreeView* tree = ui->VariantsVirtualStringTree;
    tree->selectionModel()->setCurrentIndex(form->VariantsModel()->index(2, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(browser->ReadyState(), 1) << "navigated again";
    EXPECT_TRUE(QTest::qWaitFor([&] { return browser->ReadyState() == 4; }, kLoadTimeoutMs));
}

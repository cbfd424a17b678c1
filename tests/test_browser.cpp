// The embedded browser with the real browser engine, in a real X server (the test runs
// under Xvfb): loads complete, error pages complete too, the main window's picture pane
// shows the placeholder page on every variant selection, and the help window follows a
// link and goes back.
#include "UiFixture.h"

#include "ui_MainForm.h"

#include "encoding/VariantsModel.h"
#include "web/BrowserUnit.h"
#include "web/HelpFormUnit.h"

#include <QSplitterHandle>
#include <QWebEngineHistory>
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

// The help window's way back, as a user takes it: a link clicked in the page, then
// Alt+Left or Backspace.
TEST(HelpWindow, AltLeftAndBackspaceGoBackAPage) {
    TempDir dir;
    const std::string link =
        "<a href='b.htm' style='display:block;width:100%;height:300px;font-size:60px'>next</a>";
    dir.Write("Help/a.htm", "<html><body style='margin:0'>" + link + "</body></html>");
    dir.Write("Help/b.htm", "<html><body>b</body></html>");
    QWidget owner;
    nb::ui::ShowHelpWindow(&owner, QString::fromStdString(dir / "Help/a.htm"));
    const QList<nb::ui::THelpForm*> forms = owner.findChildren<nb::ui::THelpForm*>();
    ASSERT_EQ(forms.size(), 1);
    nb::ui::THelpForm* form = forms[0];
    QWebEngineView* view = form->Browser()->View();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    auto at = [&](const char* page) {
        return QTest::qWaitFor([&] { return view->url().fileName() == QLatin1String(page) &&
                                            form->Browser()->ReadyState() == 4; }, kLoadTimeoutMs);
    };
    ASSERT_TRUE(at("a.htm"));
    for (const auto& back : {QKeyCombination(Qt::AltModifier, Qt::Key_Left), QKeyCombination(Qt::NoModifier, Qt::Key_Backspace)}) {
        QWidget* page = view->focusProxy() ? view->focusProxy() : view;
        QTest::qWait(300); // the page lays out its link before it takes a click
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(100, 100));
        ASSERT_TRUE(at("b.htm")) << view->url().toString().toStdString();
        EXPECT_TRUE(view->history()->canGoBack());
        QTest::keyClick(page, back.key(), back.keyboardModifiers());
        EXPECT_TRUE(at("a.htm")) << "back with " << QKeySequence(back).toString().toStdString();
    }
}

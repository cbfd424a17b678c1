// The embedded browser with the real browser engine, in a real X server (the test runs
// under Xvfb): loads complete, error pages complete too, and the main window's picture
// pane shows the placeholder page on every variant selection.
#include "UiFixture.h"

#include "ui_MainForm.h"

#include "encoding/VariantsModel.h"
#include "web/BrowserUnit.h"

#include <QSplitterHandle>
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

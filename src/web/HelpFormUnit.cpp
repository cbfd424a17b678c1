#include "HelpFormUnit.h"

#include "core/MessageBoxUnit.h"
#include "resources/ResStrUnit.h"
#include "web/BrowserUnit.h"
#include "web/DesktopUnit.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>

#include <exception>

namespace nb::ui {

namespace {

QPointer<THelpForm>& OpenHelpForm() {
    static QPointer<THelpForm> form;
    return form;
}

QString NotShownText(const QString& path) {
    return QString::asprintf(res::kHelpNotOpened, path.toUtf8().constData());
}

} // namespace

THelpForm::THelpForm(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new TWebBrowser(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(res::kHelpTitle) + QStringLiteral(" - ") +
                   QString::fromUtf8(res::kProductName));
    setWindowIcon(ProgramIcon());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    // Closed like the program's dialogs.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    // Back as in a web browser: the help pages link to each other. The page, when it has
    // the focus, takes these keys for itself before any shortcut sees them, so they are
    // caught on their way to it; the shortcuts serve the rest of the window.
    for (const QKeySequence& keys : {QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::Key_Backspace)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &THelpForm::GoBack);
    qApp->installEventFilter(this);
    // Two thirds of the screen: room for the page beside the main window.
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    resize(area.size() * 2 / 3);
    move(area.center() - rect().center());
}

void THelpForm::ShowPage(const QString& path) {
    path_ = path;
    browser_->Navigate(path);
    show();
    raise();
    activateWindow();
    // The view exists once the event loop has run; its load reports come from then on.
    QMetaObject::invokeMethod(
        this,
        [this] {
            connect(browser_->View(), &QWebEngineView::loadFinished, this, &THelpForm::PageLoaded,
                    Qt::UniqueConnection);
        },
        Qt::QueuedConnection);
}

bool THelpForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        isAncestorOf(static_cast<QWidget*>(watched))) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto mods = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Left && mods == Qt::AltModifier) ||
            (key->key() == Qt::Key_Backspace && mods == Qt::NoModifier)) {
            GoBack();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void THelpForm::GoBack() {
    QWebEngineView* view = browser_->View();
    if (view->history()->canGoBack()) view->back();
}

void THelpForm::PageLoaded(bool ok) {
    if (ok) return;
    // Closed first: the box must not sit over an empty window.
    QWidget* owner = parentWidget();
    const QString text = NotShownText(path_);
    close();
    TMessageBox::Error(owner, text);
}

void ShowHelpWindow(QWidget* owner, const QString& path) {
    QPointer<THelpForm>& form = OpenHelpForm();
    try {
        if (!form || form->parentWidget() != owner) {
            delete form;
            form = new THelpForm(owner);
        }
        form->ShowPage(path);
    } catch (const std::exception&) {
        delete form;
        TMessageBox::Error(owner, NotShownText(path));
    }
}

} // namespace nb::ui

// The desktop program: one copy per user, one main window; the window does the rest.
#include "core/FileUnit.h"
#include "core/MainFormUnit.h"
#include "core/SignalUnit.h"
#include "core/SingleInstanceUnit.h"
#include "core/StartupUnit.h"
#include "core/UtilsUnit.h"
#include "resources/ResStrUnit.h"
#include "web/BrowserUnit.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

#include <cstdio>

namespace {

// Ends the event loop once the window has closed. Qt's own rule (quit when the last
// window closes) posts a quit that showing any window cancels, and the browser engine
// shows an off-screen window of its own a moment after a page loads: a close just before
// that would leave the program running without a window.
class TQuitWhenClosed : public QObject {
public:
    explicit TQuitWhenClosed(QWidget* window) : window_(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // Checked once the event is over: re-creating the native window hides it briefly.
        if (event->type() == QEvent::Hide && !event->spontaneous())
            QTimer::singleShot(0, this, [this] {
                if (window_ && window_->isHidden()) QCoreApplication::quit();
            });
        return false;
    }

private:
    QPointer<QWidget> window_;
};

} // namespace

int main(int argc, char* argv[]) {
    // Qt would abort without a screen; say what is missing instead.
    if (!nb::ui::HasGraphicalSession(argc, argv)) {
        std::fprintf(stderr, nb::res::kNoDisplay, argc > 0 ? argv[0] : "numbrelia");
        return 1;
    }
    // Before anything else: a log-out or Ctrl+C during start-up must not end the program
    // unsaved; the request waits until the window can take it.
    nb::ui::InstallCloseSignals();
    // The window speaks Russian, its file errors too (the command-line tool keeps English).
    nb::SetRussianMessages(true);
    const nb::TPaths paths = nb::ProgramPaths();

    // A second copy ends at once, without a window or a message.
    nb::TSingleInstance instance;
    if (!instance.Acquire()) return 0;

    nb::ui::PrepareBrowserEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(nb::res::kProductName));
    nb::ui::InstallQtTranslation(app);
    QApplication::setQuitOnLastWindowClosed(false);
    // Closes boxes shown before the window exists and, later, the window itself.
    nb::ui::TSignalCloser closer;

    std::unique_ptr<nb::ui::TMainForm> form = nb::ui::CreateMainForm(paths);
    if (!form) return 1;
    TQuitWhenClosed quitter(form.get());
    form->showMaximized();
    closer.Watch(form.get());
    const int rc = QApplication::exec();
    // A signal now still closes a box the shut-down shows, but no longer the window.
    closer.Watch(nullptr);
    form.reset(); // the shut-down saves, while the application still exists
    return rc;
}

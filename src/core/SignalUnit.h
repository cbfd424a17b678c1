// SIGTERM (log-out, shut-down, kill), SIGINT (Ctrl+C in the terminal that started the
// program) and SIGHUP (the terminal or session went away) close the program the way the
// close box does, so the shut-down saves the user's files.
//
// The handler only writes the signal number into a pipe; a socket notifier reads it on the
// user-interface thread. There, an open modal dialog or message box is closed first, as
// its own close box would (what it had not confirmed is dropped), then the window is asked
// to close. A close refused while the window is busy is asked again every 100 ms until it
// is granted. A signal the program was started with ignored (SIGHUP under nohup, SIGINT in
// a background job of a shell) stays ignored.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QSocketNotifier;
class QWidget;

namespace nb::ui {

// Installs the handlers. Call first thing in main: a signal that comes before a window is
// watched waits in the pipe instead of ending the program unsaved. False when the pipe
// cannot be made; the signals then keep their default action.
bool InstallCloseSignals();

class TSignalCloser : public QObject {
public:
    // Needs the application object and InstallCloseSignals.
    TSignalCloser();
    ~TSignalCloser() override;

    // The window to close; null stops closing it (before it is destroyed).
    void Watch(QWidget* window);
    // The last signal seen, 0 when none (for the tests and the log of a close).
    int LastSignal() const { return lastSignal_; }

private:
    void ReadSignals();
    void TryClose();

    QSocketNotifier* notifier_ = nullptr;
    QPointer<QWidget> window_;
    QTimer retry_;
    bool pending_ = false;
    int lastSignal_ = 0;
};

} // namespace nb::ui

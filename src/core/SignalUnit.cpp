#include "SignalUnit.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace nb::ui {
namespace {

// Written by the handler, read by the notifier; lives as long as the process.
int pipeFds[2] = {-1, -1};

extern "C" void OnCloseSignal(int sig) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(sig);
    // A full pipe already holds a close request; losing this byte loses nothing.
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &byte, 1);
    errno = saved;
}

constexpr int kRetryMs = 100;

} // namespace

bool InstallCloseSignals() {
    if (pipeFds[0] < 0 && ::pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) != 0) {
        pipeFds[0] = pipeFds[1] = -1;
        return false;
    }
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction old {};
        ::sigaction(sig, nullptr, &old);
        if (sig != SIGTERM && old.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = OnCloseSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(sig, &action, nullptr);
    }
    return true;
}

TSignalCloser::TSignalCloser() {
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, [this] { TryClose(); });
    if (pipeFds[0] < 0) return;
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { ReadSignals(); });
    // Signals that came before this object existed are waiting in the pipe.
    ReadSignals();
}

TSignalCloser::~TSignalCloser() = default;

void TSignalCloser::Watch(QWidget* window) {
    window_ = window;
    if (pending_) TryClose();
}

void TSignalCloser::ReadSignals() {
    unsigned char bytes[64];
    ssize_t n;
    while ((n = ::read(pipeFds[0], bytes, sizeof bytes)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0) {
            lastSignal_ = bytes[n - 1];
            pending_ = true;
        }
    if (pending_) TryClose();
}

void TSignalCloser::TryClose() {
    if (!pending_) return;
    // A dialog first: the window's own close box does nothing while one is open.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->close();
        retry_.start();
        return;
    }
    if (!window_) return; // no window yet: the request waits for Watch
    if (window_->isHidden() || window_->close()) {
        pending_ = false;
        return;
    }
    retry_.start(); // refused while busy
}

} // namespace nb::ui

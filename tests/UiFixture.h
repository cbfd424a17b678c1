// Shared by the window tests: a small program folder, a started main window, and a
// recorder that answers message boxes.
#pragma once

#include "TestUtil.h"

#include "core/MainFormUnit.h"
#include "core/MessageBoxUnit.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace nbtest {

// Creates the window on the folder, shows it and waits for the idle prompt.
std::unique_ptr<nb::ui::TMainForm> StartForm(const TempDir& dir);
bool WaitIdle(const nb::ui::TMainForm& form, int timeoutMs = 5000);

// Outside a TBoxRecorder a message box fails the running test (and is answered OK), so
// a test never waits for a box nobody sees.
void FailOnMessageBoxes();

// Answers every box with `Answer` (OK) and keeps what it was shown; restores real boxes
// on exit.
class TBoxRecorder {
public:
    TBoxRecorder();
    ~TBoxRecorder();
    std::vector<nb::ui::TMessage> Boxes;
    QMessageBox::StandardButton Answer = QMessageBox::Ok;
};

// Acts on the dialog of type T as soon as it runs modally. A dialog the action leaves
// open is closed after a while with a failure, so a broken test cannot hang the run.
template <class T> class TModalDialogDriver {
public:
    explicit TModalDialogDriver(std::function<void(T&)> action) : action_(std::move(action)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            // In a real X server a dialog holding the browser engine may be shown before
            // it becomes the active modal widget.
            for (QWidget* w : QApplication::topLevelWidgets())
                if (!dialog && w->isVisible() && w->isModal()) dialog = qobject_cast<T*>(w);
            if (!dialog) return;
            timer_.stop();
            shown_ = true;
            action_(*dialog);
            if (dialog->isVisible())
                QTimer::singleShot(5000, dialog, [dialog] {
                    if (!dialog->isVisible()) return;
                    ADD_FAILURE() << "the dialog was left open";
                    dialog->reject();
                });
        });
        timer_.start(5);
    }
    bool Shown() const { return shown_; }

private:
    std::function<void(T&)> action_;
    QTimer timer_;
    bool shown_ = false;
};

// Types text the way a keyboard layout gives letters: key events with their text (QTest
// knows only ASCII keys).
void TypeText(QWidget* widget, const QString& text);

// The words of a word column, top to bottom, with hidden ones left out, as UTF-8.
std::vector<std::string> VisibleWords(const nb::ui::TMainForm& form, size_t column);
// The focused word of every column, as UTF-8.
std::vector<std::string> FocusedWords(const nb::ui::TMainForm& form);
// The variant keys of the variants list, top to bottom.
std::vector<std::string> VariantRows(const nb::ui::TMainForm& form);

} // namespace nbtest

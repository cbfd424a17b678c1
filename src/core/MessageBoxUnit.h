// Every message box of the program goes through here, so the GUI tests can answer the
// boxes ahead of time instead of blocking on a modal window nobody sees.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace nb::ui {

struct TMessage {
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QString Title;
    QString Text;
    QMessageBox::StandardButtons Buttons = QMessageBox::Ok;
    // The button Enter presses; none: the style's choice (the first accepting one).
    QMessageBox::StandardButton Default = QMessageBox::NoButton;
};

class TMessageBox {
public:
    // Shows a modal box owned by `owner` and returns the button that closed it.
    static QMessageBox::StandardButton Show(QWidget* owner, const TMessage& message);

    // The "Ошибка" and "Предупреждение" boxes with one OK button.
    static void Error(QWidget* owner, const QString& text);
    static void Warning(QWidget* owner, const QString& text);

    // While set, boxes are handed to this function instead of being shown; its result is
    // the button "pressed". Pass an empty function to show real boxes again.
    using Answerer = std::function<QMessageBox::StandardButton(const TMessage&)>;
    static void SetAnswererForTesting(Answerer answerer);
};

} // namespace nb::ui

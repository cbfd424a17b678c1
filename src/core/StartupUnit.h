// What the desktop program settles before its first window: a screen to show it on, and
// Qt's own texts (standard buttons, file dialogs, context menus) in Russian like the rest.
#pragma once

class QCoreApplication;
class QTranslator;

namespace nb::ui {

// False when Qt would find no screen and abort: no X or Wayland display is named, and
// the platform chosen (-platform on the command line, else QT_QPA_PLATFORM; the default
// is X or Wayland) needs one. Call before the QApplication exists.
bool HasGraphicalSession(int argc, char* argv[]);

// Loads Qt's Russian translation from Qt's translations folder into the application,
// whatever the system's language, and makes Russian the default locale; returns the
// translation (owned by the application), or null when it is not installed: Qt then
// speaks English.
QTranslator* InstallQtTranslation(QCoreApplication& app);

} // namespace nb::ui

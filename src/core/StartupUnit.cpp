#include "StartupUnit.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace nb::ui {

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

// The platforms that show windows on an X or Wayland display; "xcb:option" and
// "wayland-egl" count too. Every other one (offscreen, vnc, eglfs...) brings its own.
bool NeedsDisplay(std::string_view platform) {
    return platform.empty() || platform.starts_with("xcb") || platform.starts_with("wayland");
}

} // namespace

bool HasGraphicalSession(int argc, char* argv[]) {
    if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY")) return true;
    std::string_view platform;
    if (const char* env = std::getenv("QT_QPA_PLATFORM")) platform = env;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            platform = argv[i + 1];
    // A list ("wayland;xcb") is tried in order; the first that works wins.
    while (!platform.empty()) {
        const size_t end = platform.find(';');
        if (!NeedsDisplay(platform.substr(0, end))) return true;
        if (end == std::string_view::npos) break;
        platform.remove_prefix(end + 1);
    }
    return false;
}

namespace {

QTranslator* Install(QCoreApplication& app, const QString& name) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

} // namespace

QTranslator* InstallQtTranslation(QCoreApplication& app) {
    // Dates and file types in the file dialogs follow the same language.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    // The embedded browser's context menu has a catalogue of its own.
    Install(app, QStringLiteral("qtwebengine_ru"));
    return Install(app, QStringLiteral("qtbase_ru"));
}

} // namespace nb::ui

// The desktop program: one copy per user, one main window; the window does the rest.
#include "core/MainFormUnit.h"
#include "core/SingleInstanceUnit.h"
#include "core/UtilsUnit.h"
#include "resources/ResStrUnit.h"
#include "web/BrowserUnit.h"

#include <QApplication>

#include <cstdlib>
#include <ctime>

int main(int argc, char* argv[]) {
    const std::string& folder = nb::ProgramFolder();
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    // A second copy ends at once, without a window or a message.
    nb::TSingleInstance instance;
    if (!instance.Acquire()) return 0;

    nb::ui::PrepareBrowserEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(nb::res::kProductName));

    std::unique_ptr<nb::ui::TMainForm> form = nb::ui::CreateMainForm(folder);
    if (!form) return 1;
    form->showMaximized();
    const int rc = QApplication::exec();
    form.reset(); // the shut-down saves, while the application still exists
    return rc;
}

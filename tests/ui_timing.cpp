// Prints how long the main window takes for the things a user waits for, on a copy of a
// program folder's data (the shipped data, normally). Not a test: it asserts nothing.
//   ui_timing DATA_DIR [NUMBER]
// Off screen unless a display is set. Times are wall-clock, from the window's creation.
#include "UiFixture.h"

#include "ui_MainForm.h"

#include "encoding/VariantsModel.h"
#include "encoding/WordsView.h"
#include "resources/ResStrUnit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

double StartToIdle(const std::string& folder) {
    QElapsedTimer timer;
    timer.start();
    nb::ui::TMainForm form(folder);
    form.show();
    if (!nbtest::WaitIdle(form, 120000)) return -1;
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DATA_DIR [NUMBER]\n", argv[0]);
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const std::string number = argc > 2 ? argv[2] : "52705632487163509274";

    nbtest::TempDir dir;
    fs::copy(argv[1], dir.Path(), fs::copy_options::recursive);
    fs::remove(dir / "Help/index.htm"); // the first start would open it in a browser
    dir.Write("settings.ini", "[NumbreliaSettings]\r\nFirstStart=0\r\n");

    std::printf("start-up to the idle prompt, cache rebuilt:  %8.1f ms\n", StartToIdle(dir.Path()));
    std::printf("start-up to the idle prompt, cache valid:    %8.1f ms\n", StartToIdle(dir.Path()));

    nb::ui::TMainForm form(dir.Path());
    form.show();
    if (!nbtest::WaitIdle(form, 120000)) return 1;
    QElapsedTimer timer;
    timer.start();
    form.Controls()->NumEdit->setText(QString::fromLatin1(number));
    form.GoButtonClick();
    const double encode = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const int rows = form.VariantsModel()->RowCount();
    std::printf("encode %s (%d rows%s), list and words:  %8.1f ms\n", number.c_str(), rows,
                form.Controls()->VariantsCutLabel->isHidden() ? "" : ", cut", encode);

    // Selecting rows one after the other, as the arrow keys do.
    QTreeView* tree = form.Controls()->VariantsVirtualStringTree;
    const int picks = std::min(rows, 50);
    timer.restart();
    for (int r = 0; r < picks; ++r)
        tree->selectionModel()->setCurrentIndex(form.VariantsModel()->index(r * (rows / picks), 0),
                                                QItemSelectionModel::ClearAndSelect |
                                                    QItemSelectionModel::Rows);
    std::printf("selecting a variant (words view), mean of %d:  %8.2f ms\n", picks,
                static_cast<double>(timer.nsecsElapsed()) / 1e6 / picks);
    timer.restart();
    tree->scrollToBottom();
    tree->repaint();
    std::printf("scrolling the list to its end and painting:  %8.2f ms\n",
                static_cast<double>(timer.nsecsElapsed()) / 1e6);
    return 0;
}

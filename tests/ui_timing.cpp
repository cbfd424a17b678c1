// Prints how long the main window takes for the things a user waits for, on a copy of a
// program folder's data (the shipped data, normally). Not a test: it asserts nothing.
//   ui_timing DATA_DIR [NUMBER] [--best-first]
// --best-first times the window with "Сначала лучшие варианты" on.
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
#include <random>
#include <string>
#include <vector>

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
    std::vector<std::string> args;
    bool bestFirst = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--best-first")
            bestFirst = true;
        else
            args.emplace_back(argv[i]);
    }
    if (args.empty()) {
        std::fprintf(stderr, "usage: %s DATA_DIR [NUMBER] [--best-first]\n", argv[0]);
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const std::string number = args.size() > 1 ? args[1] : "52705632487163509274";

    nbtest::TempDir dir;
    fs::copy(args[0], dir.Path(), fs::copy_options::recursive);
    fs::remove(dir / "Help/index.htm"); // the first start would open it in a browser
    dir.Write("settings.ini", std::string("[NumbreliaSettings]\r\nFirstStart=0\r\n") +
                                  (bestFirst ? "BestVariantFirst=1\r\n" : ""));

    std::printf("start-up to the idle prompt, cache rebuilt:  %8.1f ms\n", StartToIdle(dir.Path()));
    std::printf("start-up to the idle prompt, cache valid:    %8.1f ms\n", StartToIdle(dir.Path()));
    std::fflush(stdout);

    nb::ui::TMainForm form(dir.Path());
    form.show();
    if (!nbtest::WaitIdle(form, 120000)) return 1;
    // A 20-digit number and a 10,000-digit one (the longest the field takes), each encoded,
    // listed and its words shown and painted.
    std::mt19937 rng(10000);
    std::string longNumber;
    for (int i = 0; i < nb::ui::kMaxNumberDigits; ++i) longNumber += static_cast<char>('0' + rng() % 10);
    QElapsedTimer timer;
    for (const std::string& digits : {number, longNumber}) {
        timer.start();
        form.Controls()->NumEdit->setText(QString::fromLatin1(digits));
        form.GoButtonClick();
        form.repaint();
        const double encode = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        std::printf("encode %zu digits: %.1f ms\n", digits.size(), encode);
        std::printf("  (%d rows%s, %zu of %zu word columns made)\n", form.VariantsModel()->RowCount(),
                    form.Controls()->VariantsCutLabel->isHidden() ? "" : ", cut",
                    form.Controls()->WordsPanel->WordTrees().size(),
                    form.Controls()->WordsPanel->ColumnCount());
        std::fflush(stdout);
    }
    const int rows = form.VariantsModel()->RowCount();

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

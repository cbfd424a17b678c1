// Runs GoogleTest inside a QApplication; without a display the windows are drawn
// off screen.
#include "UiFixture.h"

#include "web/BrowserUnit.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    nb::ui::PrepareBrowserEngine();
    QApplication app(argc, argv);
    // Windows closed by a test must not end the application the other tests run in.
    QApplication::setQuitOnLastWindowClosed(false);
    nbtest::FailOnMessageBoxes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

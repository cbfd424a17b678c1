// The help page in a window of the program, over the embedded browser: for a desktop that
// has no program registered to open local pages.
#pragma once

#include <QWidget>

namespace nb::ui {

class TWebBrowser;

class THelpForm : public QWidget {
    Q_OBJECT
public:
    // A window of its own (over `owner` when given), deleted when closed.
    explicit THelpForm(QWidget* owner = nullptr);

    // Shows the window with the page; throws EError for a path that makes no address.
    // A page the browser then fails to load gets the error box and closes the window.
    void ShowPage(const QString& path);

    TWebBrowser* Browser() const { return browser_; }
    // Alt+Left and Backspace: the page before, when there is one.
    void GoBack();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PageLoaded(bool ok);

    TWebBrowser* browser_;
    QString path_;
};

// The help page in the one help window of the program, created or brought to the front;
// an error box naming the page when even this cannot show it.
void ShowHelpWindow(QWidget* owner, const QString& path);

} // namespace nb::ui

// A label that works as a hyperlink: its text in the link colour, underlined with the hand
// cursor while the mouse is over it, and a click opens URL in the desktop's browser. A
// window that wants another action on click sets an OnClick handler, which then replaces
// the browser.
#pragma once

#include <QLabel>

#include <functional>

namespace nb::ui {

class THLinkLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString URL READ URL WRITE setURL)
public:
    explicit THLinkLabel(QWidget* parent = nullptr);

    QString URL() const { return url_; }
    void setURL(const QString& url) { url_ = url; }

    // Replaces the default click action (opening URL in the browser); empty restores it.
    void SetOnClick(std::function<void()> handler) { onClick_ = std::move(handler); }

signals:
    void Clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetHover(bool on);

    QString url_;
    std::function<void()> onClick_;
    bool pressed_ = false;
};

} // namespace nb::ui

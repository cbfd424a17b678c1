#include "HLinkLabelUnit.h"

#include "web/DesktopUnit.h"

#include <QMouseEvent>

namespace nb::ui {

THLinkLabel::THLinkLabel(QWidget* parent) : QLabel(parent) {
    // The desktop's colour for links; a window may set its own through the palette.
    QPalette p = palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::Link));
    setPalette(p);
}

void THLinkLabel::SetHover(bool on) {
    QFont f = font();
    f.setUnderline(on);
    setFont(f);
    if (on)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void THLinkLabel::enterEvent(QEnterEvent* event) {
    SetHover(true);
    QLabel::enterEvent(event);
}

void THLinkLabel::leaveEvent(QEvent* event) {
    SetHover(false);
    QLabel::leaveEvent(event);
}

void THLinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void THLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a left press and release on the label; a press dragged off it is no click.
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (!click) return;
    emit Clicked();
    if (onClick_)
        onClick_();
    else
        OpenURLInBrowser(url_);
}

} // namespace nb::ui

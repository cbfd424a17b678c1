#include "MyPanelUnit.h"

#include <QPainter>
#include <QPaintEvent>

namespace nb::ui {

TMyPanel::TMyPanel(QWidget* parent) : QWidget(parent) {
    // The panel covers every pixel it owns, so nothing of the parent needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize TMyPanel::sizeHint() const {
    // Without a layout the panel asks for its classic default size.
    return layout() ? QWidget::sizeHint() : QSize(185, 41);
}

void TMyPanel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().brush(backgroundRole()));
}

} // namespace nb::ui

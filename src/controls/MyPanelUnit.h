// The panel used for every panel of the windows. A plain QWidget shows whatever its parent
// painted beneath it; this panel always paints its own background with the brush of its
// background role, so a strip given the tool-tip colour or a view given the base colour
// shows that colour under any style.
#pragma once

#include <QWidget>

namespace nb::ui {

class TMyPanel : public QWidget {
    Q_OBJECT
public:
    explicit TMyPanel(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace nb::ui

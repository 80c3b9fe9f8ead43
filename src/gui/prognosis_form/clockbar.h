#pragma once

#include <QWidget>

class QSvgRenderer;

namespace kalvado {

// picSimulP: the growing bar of the match clock, the clock-bar picture
// stretched over whatever width the clock gives it.
class ClockBar final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClockBar)

public:
    explicit ClockBar(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer *m_picture = nullptr;
};

} // namespace kalvado

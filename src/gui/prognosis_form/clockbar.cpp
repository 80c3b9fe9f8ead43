#include "gui/prognosis_form/clockbar.h"

#include <QPainter>
#include <QSvgRenderer>

namespace kalvado {

ClockBar::ClockBar(QWidget *parent)
    : QWidget(parent), m_picture(new QSvgRenderer(QStringLiteral(":/clock/simbar.svg"), this)) {
    m_picture->setAspectRatioMode(Qt::IgnoreAspectRatio);
}

void ClockBar::paintEvent(QPaintEvent *) {
    if (width() <= 0) return;
    QPainter painter(this);
    m_picture->render(&painter, QRectF(rect()));
}

} // namespace kalvado

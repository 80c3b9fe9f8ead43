#include "gui/shell/picturebox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace kalvado {

PictureBox::PictureBox(const QString &svg, QWidget *parent) : QWidget(parent), m_svg(svg) {}

void PictureBox::setPictureSize(const QSize &size) {
    m_pictureSize = size;
    m_cache = QPixmap();
    update();
}

void PictureBox::setBorder(const QColor &colour, int width) {
    m_border = colour;
    m_borderWidth = width;
    update();
}

QPixmap PictureBox::Render(const QString &svg, const QSize &size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(svg);
    if (renderer.isValid() && !size.isEmpty()) {
        QPainter p(&pixmap);
        renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return pixmap;
}

void PictureBox::paintEvent(QPaintEvent *) {
    const QSize wanted = m_pictureSize.isValid() ? m_pictureSize : size();
    // Rendering an SVG is far dearer than drawing a pixmap; redo it only on resize.
    if (m_cache.size() != wanted) m_cache = Render(m_svg, wanted);
    QPainter p(this);
    p.drawPixmap(0, 0, m_cache);
    if (m_border.isValid() && m_borderWidth > 0) {
        QPen pen(m_border, m_borderWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const qreal half = m_borderWidth / 2.0;
        p.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
    }
}

void PictureBox::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) m_pressed = true;
    event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event) {
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click) emit clicked();
}

} // namespace kalvado

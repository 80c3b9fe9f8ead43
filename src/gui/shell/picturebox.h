#pragma once

#include <QColor>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QWidget>

namespace kalvado {

// A picture drawn from an SVG resource; used for pictures, images and
// picture buttons alike. By default the picture fills the box; with a fixed
// picture size it is drawn at that size from the top-left corner and the box
// shows as much of it as its own size allows (a bar revealed by widening).
class PictureBox final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PictureBox)

public:
    explicit PictureBox(const QString &svg, QWidget *parent = nullptr);

    QString svg() const { return m_svg; }
    void setPictureSize(const QSize &size);
    QSize pictureSize() const { return m_pictureSize; }
    // A border drawn over the picture (picture buttons); invalid for none.
    void setBorder(const QColor &colour, int width);

    // The picture as this box draws it at the given size.
    static QPixmap Render(const QString &svg, const QSize &size);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString m_svg;
    QSize m_pictureSize;
    QColor m_border;
    int m_borderWidth = 0;
    bool m_pressed = false;
    QPixmap m_cache;
};

} // namespace kalvado

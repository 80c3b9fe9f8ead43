#include "gui/common/twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace kalvado {

void CentreWindow(QWidget *window) {
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize size =
        window->frameSize().isValid() && window->isVisible() ? window->frameSize() : window->size();
    const int leftTw = (area.width() - size.width()) * kTwipsPerPixel / 2;
    const int topTw = (area.height() - size.height()) * kTwipsPerPixel / 2;
    window->move(area.left() + leftTw / kTwipsPerPixel, area.top() + topTw / kTwipsPerPixel);
}

} // namespace kalvado

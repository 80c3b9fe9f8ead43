#pragma once

#include <QRect>
#include <QWidget>
#include <QtMath>

namespace kalvado {

// Positions and sizes are laid out in twips, 15 to a pixel at 96 DPI.
constexpr int kTwipsPerPixel = 15;
inline int Px(int twips) {
    return qRound(twips / double(kTwipsPerPixel));
}
inline QRect TwipRect(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}
inline void PlaceTw(QWidget *w, int left, int top, int width, int height) {
    w->setGeometry(TwipRect(left, top, width, height));
}

// Centres a window on its screen: each of left and top is the integer half of
// the difference between screen and window size, taken in whole twips.
void CentreWindow(QWidget *window);

} // namespace kalvado

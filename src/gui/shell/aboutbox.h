#pragma once

#include "gui/common/appcontext.h"

#include <QWidget>

#include <array>

class QLabel;
class QTimer;

namespace kalvado {

class PictureBox;

// frmForAs: name and version, a banner whose colour cycles, and a picture
// button that lights up under the pointer and closes the box.
class AboutBox final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutBox)

public:
    explicit AboutBox(AppContext &ctx, QWidget *parent = nullptr);

    // One tick of the 85 ms banner timer.
    void Timer1Tick();

    std::array<QLabel *, 1> Label1{}; // the banner, Label1_0
    QLabel *Label2 = nullptr;
    PictureBox *picN = nullptr;  // highlighted look, underneath
    PictureBox *picOK = nullptr; // normal look, on top
    QTimer *Timer1 = nullptr;

    // The banner's colour after the given one.
    static QColor NextBannerColour(const QColor &current);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AppContext &m_ctx;
};

} // namespace kalvado

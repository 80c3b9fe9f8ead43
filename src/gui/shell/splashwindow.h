#pragma once

#include "gui/common/appcontext.h"

#include <QWidget>

class QFrame;
class QLabel;
class QTimer;

namespace kalvado {

class PictureBox;

// frmSplash: fills its bar while it creates the main window and the
// prognosis form, then shows the main window and stays open behind it.
class SplashWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SplashWindow)

public:
    explicit SplashWindow(AppContext &ctx, QWidget *parent = nullptr);

    // One tick of the 1 ms progress timer.
    void Timer1Tick();
    // The bar's width in the frame's units (100 fill the frame).
    int progress() const { return m_progress; }

    QFrame *Picture1 = nullptr;
    PictureBox *picPro = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    PictureBox *Image1 = nullptr;
    PictureBox *Image2 = nullptr;
    PictureBox *Image3 = nullptr;
    PictureBox *Image4 = nullptr;
    QTimer *Timer1 = nullptr;

private:
    void placeBar();

    AppContext &m_ctx;
    int m_progress = 15;
};

} // namespace kalvado

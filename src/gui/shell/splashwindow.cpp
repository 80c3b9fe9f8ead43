#include "gui/shell/splashwindow.h"

#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "gui/common/windows.h"
#include "gui/shell/picturebox.h"

#include <QFrame>
#include <QLabel>
#include <QTimer>

namespace kalvado {

namespace {
constexpr int kFullScale = 100; // Picture1's width in its own units
}

SplashWindow::SplashWindow(AppContext &ctx, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Kalvado"));
    setFixedSize(Px(7200), Px(4500));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 64, 32));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    PictureBox **images[] = {&Image1, &Image2, &Image3, &Image4};
    for (int i = 0; i < 4; ++i) {
        auto *image = new PictureBox(QStringLiteral(":/splash/splash%1.svg").arg(i + 1), this);
        image->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        PlaceTw(image, 300 + 1680 * i, 360, 1560, 1170);
        *images[i] = image;
    }

    auto *title = PlainLabel(QStringLiteral("Kalvado - Ruby"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    title->setAlignment(Qt::AlignCenter);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2);
    title->setFont(titleFont);
    PlaceTw(title, 300, 1800, 6600, 720);

    Label1 = PlainLabel(QStringLiteral("Зареждане...."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    PlaceTw(Label1, 300, 2940, 6600, 330);

    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Picture1->setLineWidth(1);
    QPalette framePal = Picture1->palette();
    framePal.setColor(QPalette::Window, QColor(0, 32, 16));
    framePal.setColor(QPalette::WindowText, QColor(200, 200, 200));
    Picture1->setPalette(framePal);
    Picture1->setAutoFillBackground(true);
    PlaceTw(Picture1, 300, 3330, 6600, 360);

    picPro = new PictureBox(QStringLiteral(":/splash/bar.svg"), Picture1);
    picPro->setObjectName(QStringLiteral("picPro"));
    picPro->setPictureSize(Picture1->contentsRect().size());
    placeBar();

    Label2 = PlainLabel(QStringLiteral("Version 3.3"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PlaceTw(Label2, 300, 3840, 6600, 330);

    CentreWindow(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &SplashWindow::Timer1Tick);
    Timer1->start();
}

void SplashWindow::placeBar() {
    // The bar is drawn at the frame's full width and revealed from the left;
    // past 100 units it simply fills the frame.
    const QRect inside = Picture1->contentsRect();
    const int width = qMin(inside.width(), m_progress * inside.width() / kFullScale);
    picPro->setGeometry(inside.left(), inside.top(), width, inside.height());
}

void SplashWindow::Timer1Tick() {
    m_progress += 3;
    placeBar();
    if (m_progress >= 50 && m_progress <= 90) {
        Label1->setText(QStringLiteral("Настройки...."));
        if (m_ctx.windows) m_ctx.windows->load(WindowId::Kalv);
    }
    if (m_progress >= 90) {
        Label1->setText(QStringLiteral("Стартиране...."));
        if (m_ctx.windows) m_ctx.windows->load(WindowId::Pro);
    }
    if (m_progress >= 100) {
        Timer1->stop();
        if (m_ctx.windows) m_ctx.windows->show(WindowId::Kalv);
    }
}

} // namespace kalvado

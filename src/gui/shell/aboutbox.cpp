#include "gui/shell/aboutbox.h"

#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "gui/shell/picturebox.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>

#include <iterator>

namespace kalvado {

namespace {
const QColor kBackground(0, 0, 64);
}

QColor AboutBox::NextBannerColour(const QColor &current) {
    static const QColor cycle[] = {QColor(255, 255, 255), QColor(255, 0, 0), QColor(255, 255, 0),
                                   QColor(0, 255, 0), QColor(255, 192, 128)};
    constexpr int count = int(std::size(cycle));
    for (int i = 0; i < count; ++i)
        if (current.rgb() == cycle[i].rgb()) return cycle[(i + 1) % count];
    return current;
}

AboutBox::AboutBox(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmForAs"));
    setWindowTitle(QStringLiteral("Kalvado - Ruby  version 3.1"));
    setFixedSize(Px(5400), Px(3600));
    setMouseTracking(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBackground);
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    auto *banner = PlainLabel(QStringLiteral("Kalvado - прогнози за футбола"), this);
    banner->setObjectName(QStringLiteral("Label1_0"));
    banner->setAlignment(Qt::AlignCenter);
    QFont bannerFont = banner->font();
    bannerFont.setBold(true);
    bannerFont.setPointSizeF(bannerFont.pointSizeF() * 1.6);
    banner->setFont(bannerFont);
    SetColours(banner, kBackground, QColor(255, 192, 128));
    PlaceTw(banner, 150, 240, 5100, 540);
    Label1[0] = banner;

    Label2 = PlainLabel(QStringLiteral("Kalvado - Ruby  version 3.3"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    PlaceTw(Label2, 150, 960, 5100, 300);

    auto *text = PlainLabel(QStringLiteral("Прогнози за футболни мачове по формата на отборите, "
                                           "коефициентите и съотношението на силите."),
                            this);
    text->setObjectName(QStringLiteral("lblText"));
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    PlaceTw(text, 150, 1380, 5100, 900);

    picN = new PictureBox(QStringLiteral(":/about/ok_hover.svg"), this);
    picN->setObjectName(QStringLiteral("picN"));
    PlaceTw(picN, 1800, 2640, 1800, 600);
    picN->setCursor(Qt::PointingHandCursor);
    connect(picN, &PictureBox::clicked, this, &QWidget::close);

    picOK = new PictureBox(QStringLiteral(":/about/ok_normal.svg"), this);
    picOK->setObjectName(QStringLiteral("picOK"));
    PlaceTw(picOK, 1800, 2640, 1800, 600);
    picOK->setMouseTracking(true);
    picOK->installEventFilter(this);

    CentreWindow(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(85);
    connect(Timer1, &QTimer::timeout, this, &AboutBox::Timer1Tick);
    Timer1->start();
}

void AboutBox::Timer1Tick() {
    QLabel *banner = Label1[0];
    const QColor next = NextBannerColour(TextColourOf(banner));
    if (next != TextColourOf(banner)) SetColours(banner, kBackground, next);
}

void AboutBox::mouseMoveEvent(QMouseEvent *event) {
    picOK->show();
    QWidget::mouseMoveEvent(event);
}

bool AboutBox::eventFilter(QObject *watched, QEvent *event) {
    if (watched == picOK && (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove))
        picOK->hide();
    return QWidget::eventFilter(watched, event);
}

void AboutBox::closeEvent(QCloseEvent *event) {
    // Opened again, the box starts with the button's normal look.
    picOK->show();
    QWidget::closeEvent(event);
}

} // namespace kalvado

#include "gui/archive/statisticswindow.h"

#include "gui/archive/archivequeries.h"
#include "gui/archive/archivewindow.h"
#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "gui/common/windows.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace kalvado {

namespace {

constexpr int kBarTwipsPerPercent = 22;
constexpr int kBarHeight = 330;

} // namespace

std::optional<int> HitPercent(int hits, int completed) {
    if (completed <= 0) return std::nullopt;
    // Exact integer rounding: 37,5 goes to 38 and 12,5 to 12.
    const qint64 scaled = qint64(hits) * 100;
    qint64 q = scaled / completed;
    const qint64 twice = 2 * (scaled % completed);
    if (twice > completed || (twice == completed && q % 2 != 0)) ++q;
    return int(q);
}

StatisticsWindow::StatisticsWindow(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmStat"));
    setWindowTitle(QStringLiteral("Статистика-само за въведени реални резултати"));
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    CentreWindow(this);
    count();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &StatisticsWindow::Timer1Tick);
    Timer1->start();
}

void StatisticsWindow::build() {
    setFixedSize(TwipRect(0, 0, 7320, 4200).size());
    QFont bold = font();
    bold.setBold(true);

    const auto label = [this](const QString &text, int left, int top, int width) {
        auto *l = PlainLabel(text, this);
        PlaceTw(l, left, top, width, 300);
        return l;
    };
    const auto number = [&](const char *name, int left, int top, int width) {
        QLabel *l = label(QStringLiteral("0"), left, top, width);
        l->setObjectName(QString::fromLatin1(name));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setFont(bold);
        return l;
    };
    const auto percentSign = [&](int left, int top) {
        label(QStringLiteral("%"), left, top, 240)->setFont(bold);
    };

    constexpr int kValueLeft = 5160;
    label(QStringLiteral("Брой Прогнози:"), 240, 240, 4800);
    lblProg = number("lblProg", kValueLeft, 240, 1200);
    label(QStringLiteral("Брой Познати: (знак)"), 240, 600, 4800);
    lblPoz = number("lblPoz", kValueLeft, 600, 1200);
    label(QStringLiteral("Брой Познати точни резултати:"), 240, 960, 4800);
    lblPozTr = number("lblPozTr", kValueLeft, 960, 1200);

    label(QStringLiteral("Процент на познаваемост: (знак)"), 240, 1440, 4800);
    lblPP = number("lblPP", kValueLeft, 1440, 1200);
    percentSign(6420, 1440);
    label(QStringLiteral("Процент на познаваемост (точен резултат): "), 240, 1800, 4800);
    lblPTR = number("lblPTR", kValueLeft, 1800, 1200);
    percentSign(6420, 1800);

    // A bar over its background, 22 twips to the percent, with the
    // percentage on either side.
    const auto bar = [&](QWidget *&background, QWidget *&fill, QLabel *&before, const char *beforeName,
                         QLabel *&after, const char *afterName, const char *backgroundName,
                         const char *fillName, int top, const QColor &colour) {
        before = number(beforeName, 240, top + 15, 720);
        percentSign(1000, top + 15);
        background = new QWidget(this);
        background->setObjectName(QString::fromLatin1(backgroundName));
        SetColours(background, QColor(40, 60, 40), Qt::white);
        PlaceTw(background, 1440, top, 100 * kBarTwipsPerPercent, kBarHeight);
        fill = new QWidget(background);
        fill->setObjectName(QString::fromLatin1(fillName));
        SetColours(fill, colour, Qt::white);
        PlaceTw(fill, 0, 0, 0, kBarHeight);
        after = number(afterName, 3840, top + 15, 720);
        percentSign(4600, top + 15);
    };
    bar(Picture1, picProc, lblProc, "lblProc", lblProcD, "lblProcD", "Picture1", "picProc", 2400,
        QColor(90, 200, 60));
    bar(Picture2, picProcTR, lblProcTR, "lblProcTR", lblProcDTR, "lblProcDTR", "Picture2", "picProcTR", 2880,
        QColor(240, 180, 40));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    PlaceTw(cmdOK, 5160, 3480, 1680, 450);
    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);

    // In the free corner left of OK, so that nothing else moves.
    cmdPazar =
        Named(new QPushButton(QStringLiteral("Сравнение с букмейкърите"), this), QStringLiteral("cmdPazar"));
    PlaceTw(cmdPazar, 240, 3480, 3600, 450);
    connect(cmdPazar, &QPushButton::clicked, this, [this] { m_ctx.windows->show(WindowId::Pazar); });
}

void StatisticsWindow::count() {
    auto *archive = m_ctx.windows->get<ArchiveWindow>(WindowId::Data);
    if (!archive) return;
    archive->storeRealResult();
    const HitCounts counts = CountHits(m_ctx.connectionName);
    // The count walks the whole archive and leaves its cursor past the end.
    MovePastEnd(*archive->archiveCursor());
    lblProg->setText(QString::number(counts.completed));
    lblPoz->setText(QString::number(counts.signs));
    lblPozTr->setText(QString::number(counts.exact));
}

void StatisticsWindow::Timer1Tick() {
    const int completed = lblProg->text().toInt();
    // Without completed prognoses the percentages keep what they showed.
    if (const auto p = HitPercent(lblPoz->text().toInt(), completed)) lblPP->setText(QString::number(*p));
    if (const auto p = HitPercent(lblPozTr->text().toInt(), completed)) lblPTR->setText(QString::number(*p));
    lblProc->setText(lblPP->text());
    lblProcD->setText(lblPP->text());
    lblProcTR->setText(lblPTR->text());
    lblProcDTR->setText(lblPTR->text());
    picProc->resize(Px(lblPP->text().toInt() * kBarTwipsPerPercent), picProc->height());
    picProcTR->resize(Px(lblPTR->text().toInt() * kBarTwipsPerPercent), picProcTR->height());
}

} // namespace kalvado

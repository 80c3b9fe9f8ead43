#include "gui/archive/marketcomparisonwindow.h"

#include "engine/numbertext.h"
#include "gui/archive/archiveexport.h"
#include "gui/archive/archivewindow.h"
#include "gui/archive/statisticswindow.h"
#include "gui/common/filedialogs.h"
#include "gui/common/messageboxes.h"
#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "gui/common/windows.h"

#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QValueAxis>

#include <algorithm>

namespace kalvado {

namespace {

constexpr int kRow = 300; // twips per table line
constexpr int kChartTop = 4380;
// Small enough that the window and its frame fit a 1280×720 screen with a panel.
constexpr int kChartHeight = 4320;
constexpr int kButtonsTop = kChartTop + kChartHeight + 120;
// More points than the chart has pixels only cost drawing time.
constexpr int kChartBuckets = 1200;

} // namespace

QList<QPointF> ProfitChartPoints(const std::vector<double> &curve) {
    QList<QPointF> points{QPointF(0, 0)};
    const qsizetype n = qsizetype(curve.size());
    const qsizetype bucket = std::max<qsizetype>(1, (n + kChartBuckets - 1) / kChartBuckets);
    points.reserve(2 * (n / bucket + 2));
    for (qsizetype start = 0; start < n; start += bucket) {
        const qsizetype end = std::min(n, start + bucket);
        qsizetype lo = start;
        qsizetype hi = start;
        for (qsizetype i = start + 1; i < end; ++i) {
            if (curve[i] < curve[lo]) lo = i;
            if (curve[i] > curve[hi]) hi = i;
        }
        points.append(QPointF(double(std::min(lo, hi) + 1), curve[std::min(lo, hi)]));
        if (lo != hi) points.append(QPointF(double(std::max(lo, hi) + 1), curve[std::max(lo, hi)]));
    }
    if (n > 0 && points.last().x() != double(n)) points.append(QPointF(double(n), curve[n - 1]));
    return points;
}

double ProfitTickStep(int count) {
    for (double power = 1;; power *= 10)
        for (const double step : {power, 2 * power, 5 * power})
            if (count <= 10 * step) return step;
}

QString PercentText(int hits, int of) {
    const std::optional<int> p = HitPercent(hits, of);
    return p ? QString::number(*p) + QStringLiteral(" %") : QString();
}

MarketComparisonWindow::MarketComparisonWindow(AppContext &ctx, QWidget *parent)
    : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmPazar"));
    setWindowTitle(QStringLiteral("Сравнение с букмейкърите"));
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    CentreWindow(this);
    // A real result just typed in the archive counts too.
    if (auto *archive = m_ctx.windows ? m_ctx.windows->ifLoaded<ArchiveWindow>(WindowId::Data) : nullptr)
        archive->storeRealResult();
    m_comparison = CompareWithMarket(m_ctx.connectionName);
    fill(m_comparison);
}

void MarketComparisonWindow::build() {
    setFixedSize(TwipRect(0, 0, 10560, kButtonsTop + 450 + 210).size());
    QFont bold = font();
    bold.setBold(true);

    // Every label is plain text: nothing here is ever read as markup.
    const RowLabels rows(this, kRow, bold);

    rows.label(QStringLiteral("Завършени прогнози с коефициенти:"), 240, 240, 5400);
    lblCompared = rows.number(QStringLiteral("lblCompared"), 5640, 240, 1200);
    rows.label(QStringLiteral("Завършени прогнози без коефициенти (не са сравнени):"), 240, 540, 5400);
    lblLeftOut = rows.number(QStringLiteral("lblLeftOut"), 5640, 540, 1200);
    lblNote = Named(rows.label(QString(), 240, 840, 10080), QStringLiteral("lblNote"));
    lblNote->setWordWrap(true);
    lblNote->resize(lblNote->width(), Px(2 * kRow));

    // Hits, each with its count and percentage of the compared prognoses.
    constexpr int kHitsTop = 1560;
    rows.heading(QStringLiteral("Познати"), 240, kHitsTop, 3600);
    rows.heading(QStringLiteral("Брой"), 3840, kHitsTop, 840, Qt::AlignRight | Qt::AlignVCenter);
    rows.heading(QStringLiteral("%"), 4740, kHitsTop, 780, Qt::AlignRight | Qt::AlignVCenter);
    const QString hitNames[4] = {
        QStringLiteral("Знак – прогнози Kalvado"), QStringLiteral("Знак – фаворит на букмейкърите"),
        QStringLiteral("Знак – винаги „1“"), QStringLiteral("Точен резултат – прогнози Kalvado")};
    for (int i = 0; i < 4; ++i) {
        const int top = kHitsTop + (i + 1) * kRow;
        rows.label(hitNames[i], 240, top, 3600);
        lblHits[i] = rows.number(QStringLiteral("lblHits_%1").arg(i), 3840, top, 840);
        lblHitsPct[i] = rows.number(QStringLiteral("lblHitsPct_%1").arg(i), 4740, top, 780);
    }

    // Predicted sign against real sign.
    constexpr int kTableLeft = 6120;
    rows.heading(QStringLiteral("Прогноза \\ реален знак"), kTableLeft, kHitsTop, 4200);
    const QString signs[3] = {QStringLiteral("1"), QStringLiteral("X"), QStringLiteral("2")};
    for (int r = 0; r < 3; ++r)
        rows.heading(signs[r], kTableLeft + 1800 + r * 840, kHitsTop + kRow, 780,
                     Qt::AlignRight | Qt::AlignVCenter);
    for (int p = 0; p < 3; ++p) {
        const int top = kHitsTop + (p + 2) * kRow;
        rows.label(QStringLiteral("прогноза ") + signs[p], kTableLeft, top, 1800);
        for (int r = 0; r < 3; ++r) {
            QLabel *cell = rows.number(QStringLiteral("lblSigns_%1_%2").arg(p).arg(r),
                                       kTableLeft + 1800 + r * 840, top, 780);
            // The hits lie on the diagonal.
            if (p == r) SetColours(cell, QColor(220, 245, 210), Qt::black);
            lblSigns[p][r] = cell;
        }
    }

    // A stake of 1 on every compared prognosis at its odds.
    constexpr int kMoneyTop = 3240;
    rows.heading(QStringLiteral("Залог 1 на всяка среща"), 240, kMoneyTop, 3600);
    rows.heading(QStringLiteral("Залози"), 3840, kMoneyTop, 840, Qt::AlignRight | Qt::AlignVCenter);
    rows.heading(QStringLiteral("Печалба"), 4740, kMoneyTop, 1500, Qt::AlignRight | Qt::AlignVCenter);
    rows.heading(QStringLiteral("Доходност"), 6300, kMoneyTop, 1500, Qt::AlignRight | Qt::AlignVCenter);
    const QString stakeNames[2] = {QStringLiteral("Прогнози Kalvado"),
                                   QStringLiteral("Фаворит на букмейкърите")};
    for (int i = 0; i < 2; ++i) {
        const int top = kMoneyTop + (i + 1) * kRow;
        rows.label(stakeNames[i], 240, top, 3600);
        lblStakes[i] = rows.number(QStringLiteral("lblStakes_%1").arg(i), 3840, top, 840);
        lblProfit[i] = rows.number(QStringLiteral("lblProfit_%1").arg(i), 4740, top, 1500);
        lblYield[i] = rows.number(QStringLiteral("lblYield_%1").arg(i), 6300, top, 1500);
    }

    cmdExport = Named(new QPushButton(QStringLiteral("Експорт в CSV…"), this), QStringLiteral("cmdExport"));
    cmdExport->setToolTip(QStringLiteral("Целият архив във файл за електронна таблица"));
    PlaceTw(cmdExport, 240, kButtonsTop, 2400, 450);
    connect(cmdExport, &QPushButton::clicked, this, &MarketComparisonWindow::cmdExportClick);
    cmdOK = Named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    PlaceTw(cmdOK, 8640, kButtonsTop, 1680, 450);
    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);
}

void MarketComparisonWindow::fill(const MarketComparison &c) {
    lblCompared->setText(QString::number(c.compared));
    lblLeftOut->setText(QString::number(c.withoutOdds()));
    if (c.compared == 0) {
        lblNote->setText(
            QStringLiteral("Няма завършени прогнози с коефициенти, затова няма с какво да се сравни. "
                           "Сравнението изисква коефициентите 1, X и 2, въведени при прогнозата, "
                           "и реалния резултат, въведен в архива."));
    } else {
        lblNote->setText(
            QStringLiteral("Сравняват се само завършените прогнози, въведени с коефициенти; "
                           "процентите са от броя им. Фаворит е знакът с най-нисък коефициент."));
    }
    const int hits[4] = {c.signHits, c.favouriteHits, c.homeHits, c.exactHits};
    for (int i = 0; i < 4; ++i) {
        lblHits[i]->setText(QString::number(hits[i]));
        lblHitsPct[i]->setText(PercentText(hits[i], c.compared));
    }
    const __int128 profits[2] = {c.prognosisProfit, c.favouriteProfit};
    for (int i = 0; i < 2; ++i) {
        lblStakes[i]->setText(QString::number(c.compared));
        lblProfit[i]->setText(ProfitText(profits[i]));
        const std::optional<QString> yield = YieldText(profits[i], c.compared);
        lblYield[i]->setText(yield ? *yield + QStringLiteral(" %") : QString());
    }
    for (int p = 0; p < 3; ++p)
        for (int r = 0; r < 3; ++r)
            lblSigns[p][r]->setText(QString::number(c.signTable[p][r]));
    if (c.compared > 0) buildChart(c);
}

void MarketComparisonWindow::buildChart(const MarketComparison &c) {
    auto *chart = new QChart;
    chart->setLocale(BulgarianLocale());
    chart->setLocalizeNumbers(true);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignBottom);

    const auto series = [&](const QString &name, const std::vector<double> &curve, const QPen &pen) {
        auto *s = new QLineSeries(chart);
        s->setName(name);
        s->replace(ProfitChartPoints(curve));
        s->setPen(pen);
        chart->addSeries(s);
        return s;
    };
    QLineSeries *prognoses =
        series(QStringLiteral("Прогнози Kalvado"), c.prognosisCurve, QPen(QColor(40, 130, 40), 3));
    QLineSeries *favourite = series(QStringLiteral("Фаворит на букмейкърите"), c.favouriteCurve,
                                    QPen(QColor(200, 90, 20), 2, Qt::DashLine));

    auto *x = new QValueAxis(chart);
    x->setTitleText(QStringLiteral("Прогноза по ред в архива"));
    x->setLabelFormat(QStringLiteral("%.0f"));
    x->setRange(0, std::max(1, c.compared));
    // Ticks on whole prognoses: 1, 2 or 5 times a power of ten, at most ten steps.
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    x->setTickInterval(ProfitTickStep(c.compared));
    auto *y = new QValueAxis(chart);
    y->setTitleText(QStringLiteral("Натрупана печалба (залог 1)"));
    y->setLabelFormat(QStringLiteral("%.2f"));
    const auto [loP, hiP] = std::minmax_element(c.prognosisCurve.begin(), c.prognosisCurve.end());
    const auto [loF, hiF] = std::minmax_element(c.favouriteCurve.begin(), c.favouriteCurve.end());
    // Zero, where both start, stays in sight.
    const double lo = std::min({0.0, *loP, *loF});
    const double hi = std::max({0.0, *hiP, *hiF});
    y->setRange(lo, hi > lo ? hi : lo + 1);
    y->applyNiceNumbers();
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QLineSeries *s : {prognoses, favourite}) {
        s->attachAxis(x);
        s->attachAxis(y);
    }

    chtProfit = Named(new QChartView(chart, this), QStringLiteral("chtProfit"));
    chtProfit->setRenderHint(QPainter::Antialiasing);
    PlaceTw(chtProfit, 240, kChartTop, 10080, kChartHeight);
}

QString MarketComparisonWindow::askExportPath() {
    return AskCsvExportPath(this, m_ctx.settings, QStringLiteral("Kalvado-архив.csv"));
}

void MarketComparisonWindow::cmdExportClick() {
    const QString path = m_choosePath ? m_choosePath() : askExportPath();
    if (path.isEmpty() || !m_ctx.messages) return;
    if (m_ctx.settings) RememberFolder(*m_ctx.settings, path);
    if (QFileInfo(path).isFile() &&
        m_ctx.messages->show(this, QStringLiteral("Kalvado"),
                             QStringLiteral("Файлът вече съществува:\n%1\n\nДа бъде ли заменен?")
                                 .arg(QDir::toNativeSeparators(path)),
                             MessageBoxes::Icon::Question,
                             MessageBoxes::Buttons::YesNo) != MessageBoxes::Answer::Yes)
        return;
    if (auto *archive = m_ctx.windows ? m_ctx.windows->ifLoaded<ArchiveWindow>(WindowId::Data) : nullptr)
        archive->storeRealResult();
    int rows = 0;
    const QString error = ExportArchiveCsv(m_ctx.connectionName, path, &rows);
    if (error.isEmpty())
        m_ctx.messages->show(this, QStringLiteral("Kalvado"),
                             QStringLiteral("Архивът (%1) е записан във файла:\n%2")
                                 .arg(CountText(rows, QStringLiteral("прогноза"), QStringLiteral("прогнози")),
                                      QDir::toNativeSeparators(path)),
                             MessageBoxes::Icon::Information, MessageBoxes::Buttons::Ok);
    else
        m_ctx.messages->show(this, QStringLiteral("Kalvado"), error, MessageBoxes::Icon::Exclamation,
                             MessageBoxes::Buttons::Ok);
}

} // namespace kalvado

#include "gui/history/replaywindow.h"

#include "engine/numbertext.h"
#include "gui/archive/marketcomparisonwindow.h"
#include "gui/archive/statisticswindow.h"
#include "gui/common/filedialogs.h"
#include "gui/common/messageboxes.h"
#include "gui/common/twips.h"
#include "gui/common/widgets.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QValueAxis>

#include <algorithm>

namespace kalvado {

namespace {

constexpr int kRow = 300; // twips per line
constexpr int kResultsTop = 1080;
constexpr int kRightLeft = 6360;
constexpr int kRightWidth = 9600;
constexpr int kChartHeight = 4500;

QString YieldPercent(__int128 ticks, int stakes) {
    const std::optional<QString> yield = YieldText(ticks, stakes);
    return yield ? *yield + QStringLiteral(" %") : QString();
}

QString LeagueText(const LeagueSummary &l) {
    return QStringLiteral("%1 (%2)").arg(l.name, l.code);
}

// A file name the user's file system takes, from a league code that may hold anything.
QString FileNamePart(const QString &text) {
    QString out;
    for (const QChar c : text)
        out += c.isLetterOrNumber() ? c : u'-';
    return out;
}

} // namespace

ReplayWindow::ReplayWindow(AppContext &ctx, QWidget *parent)
    : QWidget(parent), m_ctx(ctx), m_store(ctx.connectionName) {
    setObjectName(QStringLiteral("frmProverka"));
    setWindowTitle(QStringLiteral("Проверка на формулата"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &ReplayWindow::runSlice);
    build();
    CentreWindow(this);
    loadLeagues();
    clearShown();
}

ReplayWindow::~ReplayWindow() {
    // The replay refers to the index: it goes first.
    m_timer.stop();
    m_replay.reset();
}

void ReplayWindow::build() {
    setFixedSize(TwipRect(0, 0, 16200, 9150).size());
    QFont bold = font();
    bold.setBold(true);

    // Every label is plain text: nothing here is ever read as markup.
    const RowLabels rows(this, kRow, bold);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;

    // The choice and the run.
    rows.label(QStringLiteral("Лига:"), 240, 210, 600);
    cmbLiga = Named(new QComboBox(this), QStringLiteral("cmbLiga"));
    PlaceTw(cmbLiga, 840, 180, 4200, 360);
    rows.label(QStringLiteral("Сезони от:"), 5220, 210, 960);
    cmbOt = Named(new QComboBox(this), QStringLiteral("cmbOt"));
    PlaceTw(cmbOt, 6180, 180, 1500, 360);
    rows.label(QStringLiteral("до:"), 7800, 210, 360);
    cmbDo = Named(new QComboBox(this), QStringLiteral("cmbDo"));
    PlaceTw(cmbDo, 8160, 180, 1500, 360);
    cmdPusni = Named(new QPushButton(QStringLiteral("Провери"), this), QStringLiteral("cmdPusni"));
    cmdPusni->setDefault(true);
    PlaceTw(cmdPusni, 9900, 165, 1500, 390);
    cmdSpri = Named(new QPushButton(QStringLiteral("Спри"), this), QStringLiteral("cmdSpri"));
    PlaceTw(cmdSpri, 11520, 165, 1500, 390);
    prgHod = Named(new QProgressBar(this), QStringLiteral("prgHod"));
    PlaceTw(prgHod, 13200, 180, 2760, 360);
    lblHod = Named(rows.label(QString(), 240, 630, 15720), QStringLiteral("lblHod"));
    connect(cmbLiga, &QComboBox::currentIndexChanged, this, &ReplayWindow::leagueChanged);
    connect(cmdPusni, &QPushButton::clicked, this, &ReplayWindow::cmdPusniClick);
    connect(cmdSpri, &QPushButton::clicked, this, &ReplayWindow::Stop);

    // Matches and hits, each with its count and percentage.
    constexpr int kNameW = 3900, kCountL = 4140, kCountW = 900, kPctL = 5100, kPctW = 780;
    int top = kResultsTop;
    rows.heading(QStringLiteral("Мачове"), 240, top, kNameW);
    rows.heading(QStringLiteral("Брой"), kCountL, top, kCountW, right);
    rows.heading(QStringLiteral("%"), kPctL, top, kPctW, right);
    for (int i = 0; i < 7; ++i) {
        top += kRow;
        const QString name = i == 0   ? QStringLiteral("В избраните сезони")
                             : i == 1 ? QStringLiteral("Повторени")
                             : i == 2 ? QStringLiteral("Пропуснати")
                                      : ReplayLeftOutText(ReplayLeftOut(i - 2));
        // The reasons sit under "Пропуснати".
        const int indent = i > 2 ? 240 : 0;
        QLabel *l =
            rows.label(i > 2 ? QStringLiteral("– ") + name : name, 240 + indent, top, kNameW - indent);
        l->setToolTip(name);
        lblMachove[i] = rows.number(QStringLiteral("lblMachove_%1").arg(i), kCountL, top, kCountW);
        lblMachovePct[i] = rows.number(QStringLiteral("lblMachovePct_%1").arg(i), kPctL, top, kPctW);
    }
    top += kRow + 120;
    rows.heading(QStringLiteral("Познати (от повторените)"), 240, top, kNameW);
    const QString hitNames[5] = {QStringLiteral("Знак – формулата"), QStringLiteral("Знак – фаворитът"),
                                 QStringLiteral("Знак – винаги „1“"),
                                 QStringLiteral("Точен резултат – формулата"),
                                 QStringLiteral("Точен резултат – винаги 1:1")};
    for (int i = 0; i < 5; ++i) {
        top += kRow;
        rows.label(hitNames[i], 240, top, kNameW);
        lblHits[i] = rows.number(QStringLiteral("lblHits_%1").arg(i), kCountL, top, kCountW);
        lblHitsPct[i] = rows.number(QStringLiteral("lblHitsPct_%1").arg(i), kPctL, top, kPctW);
    }

    // The formula's calls and what happened, with the calls against the real sign.
    top += kRow + 120;
    const QString signs[3] = {QStringLiteral("1"), QStringLiteral("X"), QStringLiteral("2")};
    constexpr int kCellW = 660;
    const int cols[7] = {1140, 1860, 2580, 3300, 4080, 4740, 5400};
    rows.heading(QStringLiteral("Знак"), 240, top, 900);
    rows.heading(QStringLiteral("Прогноза"), cols[0], top, 2 * kCellW + 60,
                 Qt::AlignHCenter | Qt::AlignVCenter);
    rows.heading(QStringLiteral("Реално"), cols[2], top, 2 * kCellW + 60,
                 Qt::AlignHCenter | Qt::AlignVCenter);
    rows.heading(QStringLiteral("Прогноза \\ реално"), cols[4], top, 3 * kCellW,
                 Qt::AlignHCenter | Qt::AlignVCenter);
    top += kRow;
    const QString subheads[7] = {QStringLiteral("Брой"),
                                 QStringLiteral("%"),
                                 QStringLiteral("Брой"),
                                 QStringLiteral("%"),
                                 signs[0],
                                 signs[1],
                                 signs[2]};
    for (int c = 0; c < 7; ++c)
        rows.heading(subheads[c], cols[c], top, kCellW, right);
    for (int s = 0; s < 3; ++s) {
        top += kRow;
        rows.label(QStringLiteral("„%1“").arg(signs[s]), 240, top, 900);
        lblCalls[s] = rows.number(QStringLiteral("lblCalls_%1").arg(s), cols[0], top, kCellW);
        lblCallsPct[s] = rows.number(QStringLiteral("lblCallsPct_%1").arg(s), cols[1], top, kCellW);
        lblReal[s] = rows.number(QStringLiteral("lblReal_%1").arg(s), cols[2], top, kCellW);
        lblRealPct[s] = rows.number(QStringLiteral("lblRealPct_%1").arg(s), cols[3], top, kCellW);
        for (int r = 0; r < 3; ++r) {
            QLabel *cell =
                rows.number(QStringLiteral("lblSigns_%1_%2").arg(s).arg(r), cols[4 + r], top, kCellW);
            // The hits lie on the diagonal.
            if (s == r) SetColours(cell, QColor(220, 245, 210), Qt::black);
            lblSigns[s][r] = cell;
        }
    }

    // A stake of 1 on every replayed match at its held odds.
    top += kRow + 120;
    rows.heading(QStringLiteral("Залог 1 на всеки мач"), 240, top, 2460);
    rows.heading(QStringLiteral("Залози"), 2700, top, 840, right);
    rows.heading(QStringLiteral("Печалба"), 3540, top, 1140, right);
    rows.heading(QStringLiteral("Доходност"), 4740, top, 1320, right);
    const QString stakeNames[3] = {QStringLiteral("Формулата"), QStringLiteral("Фаворитът"),
                                   QStringLiteral("Винаги „1“")};
    for (int i = 0; i < 3; ++i) {
        top += kRow;
        rows.label(stakeNames[i], 240, top, 2460);
        lblStakes[i] = rows.number(QStringLiteral("lblStakes_%1").arg(i), 2700, top, 840);
        lblProfit[i] = rows.number(QStringLiteral("lblProfit_%1").arg(i), 3540, top, 1140);
        lblYield[i] = rows.number(QStringLiteral("lblYield_%1").arg(i), 4740, top, 1320);
    }

    // The profit over the matches, and one line per season.
    chtProfit = Named(new QChartView(new QChart, this), QStringLiteral("chtProfit"));
    chtProfit->setRenderHint(QPainter::Antialiasing);
    PlaceTw(chtProfit, kRightLeft, kResultsTop, kRightWidth, kChartHeight);
    lblNote = Named(rows.label(QString(), kRightLeft + 240, kResultsTop, kRightWidth - 480, Qt::AlignCenter),
                    QStringLiteral("lblNote"));
    lblNote->setWordWrap(true);
    lblNote->resize(lblNote->width(), Px(kChartHeight));

    grdSezoni = Named(new QTableWidget(0, 7, this), QStringLiteral("grdSezoni"));
    grdSezoni->setHorizontalHeaderLabels(
        {QStringLiteral("Сезон"), QStringLiteral("Мачове"), QStringLiteral("Повторени"),
         QStringLiteral("Познати\nформула"), QStringLiteral("Познати\nфаворит"),
         QStringLiteral("Доходност\nформула"), QStringLiteral("Доходност\nфаворит")});
    grdSezoni->verticalHeader()->hide();
    grdSezoni->verticalHeader()->setDefaultSectionSize(Px(kRow) + 2);
    grdSezoni->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grdSezoni->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdSezoni->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdSezoni->setWordWrap(false);
    PlaceTw(grdSezoni, kRightLeft, kResultsTop + kChartHeight + 120, kRightWidth, 2520);

    cmdEksport = Named(new QPushButton(QStringLiteral("Експорт в CSV…"), this), QStringLiteral("cmdEksport"));
    cmdEksport->setToolTip(QStringLiteral("Всеки мач на проверката във файл за електронна таблица"));
    PlaceTw(cmdEksport, 240, 8520, 2400, 450);
    connect(cmdEksport, &QPushButton::clicked, this, &ReplayWindow::cmdEksportClick);
    cmdOK = Named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    PlaceTw(cmdOK, 14280, 8520, 1680, 450);
    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);
}

void ReplayWindow::loadLeagues() {
    m_leagues = m_store.Leagues();
    // Only leagues with seasons can be replayed.
    m_leagues.removeIf([](const LeagueSummary &l) { return l.seasons.isEmpty(); });
    const QSignalBlocker block(cmbLiga);
    cmbLiga->clear();
    for (const LeagueSummary &l : std::as_const(m_leagues))
        cmbLiga->addItem(LeagueText(l), l.code);
    leagueChanged();
}

void ReplayWindow::leagueChanged() {
    const int i = cmbLiga->currentIndex();
    const QStringList seasons = i >= 0 ? m_leagues[i].seasons : QStringList();
    cmbOt->clear();
    cmbDo->clear();
    cmbOt->addItems(seasons);
    cmbDo->addItems(seasons);
    cmbDo->setCurrentIndex(int(seasons.size()) - 1);
    setRunning(isRunning());
}

void ReplayWindow::setRunning(bool running) {
    const bool any = !m_leagues.isEmpty();
    cmbLiga->setEnabled(!running && any);
    cmbOt->setEnabled(!running && any);
    cmbDo->setEnabled(!running && any);
    cmdPusni->setEnabled(!running && any);
    cmdSpri->setEnabled(running);
    cmdEksport->setEnabled(!running && m_result.has_value());
}

void ReplayWindow::cmdPusniClick() {
    const int i = cmbLiga->currentIndex();
    if (i < 0) return;
    Run(m_leagues[i].code, cmbOt->currentText(), cmbDo->currentText());
}

bool ReplayWindow::Run(const QString &league, const QString &fromSeason, const QString &toSeason) {
    Stop();
    const auto l = std::find_if(m_leagues.cbegin(), m_leagues.cend(),
                                [&](const LeagueSummary &s) { return s.code == league; });
    if (l == m_leagues.cend()) return false;
    qsizetype from = l->seasons.indexOf(fromSeason);
    qsizetype to = l->seasons.indexOf(toSeason);
    if (from < 0 || to < 0) return false;
    if (from > to) std::swap(from, to);
    const QStringList seasons = l->seasons.mid(from, to - from + 1);

    QHash<QString, QString> links;
    for (const ClubLink &link : m_store.Links())
        if (!link.tim.isEmpty()) links.insert(link.name, link.tim);
    m_index = MatchIndex(m_store.AllMatches());
    m_replay = std::make_unique<Replay>(m_index, league, seasons, std::move(links));
    m_runName = LeagueText(*l) + QStringLiteral(", ") +
                (seasons.size() == 1
                     ? QStringLiteral("сезон %1").arg(seasons.constFirst())
                     : QStringLiteral("сезони %1 – %2").arg(seasons.constFirst(), seasons.constLast()));
    prgHod->setRange(0, std::max(1, m_replay->total()));
    prgHod->setValue(0);
    lblHod->setText(QStringLiteral("Проверка: %1 …").arg(m_runName));
    setRunning(true);
    m_timer.start();
    return true;
}

void ReplayWindow::runSlice() {
    if (!m_replay) {
        m_timer.stop();
        return;
    }
    const bool over = m_replay->Step(m_sliceSize);
    prgHod->setValue(m_replay->done());
    if (!over) {
        lblHod->setText(
            QStringLiteral("Проверка: %1 – %2 от %3 …")
                .arg(m_runName)
                .arg(m_replay->done())
                .arg(CountText(m_replay->total(), QStringLiteral("мач"), QStringLiteral("мача"))));
        return;
    }
    m_timer.stop();
    m_result = m_replay->Result();
    m_replay.reset();
    m_index = MatchIndex();
    prgHod->setRange(0, 1);
    prgHod->setValue(1);
    lblHod->setText(QStringLiteral("Готово: %1.").arg(m_runName));
    showResult(*m_result);
    setRunning(false);
}

void ReplayWindow::Stop() {
    const bool wasRunning = isRunning();
    m_timer.stop();
    m_replay.reset();
    m_index = MatchIndex();
    m_result.reset();
    clearShown();
    if (wasRunning) lblHod->setText(QStringLiteral("Проверката е спряна; нищо от нея не е преброено."));
    setRunning(false);
}

void ReplayWindow::clearShown() {
    prgHod->setRange(0, 1);
    prgHod->setValue(0);
    lblHod->clear();
    for (QLabel *l : lblMachove)
        l->clear();
    for (QLabel *l : lblMachovePct)
        l->clear();
    for (QLabel *l : lblHits)
        l->clear();
    for (QLabel *l : lblHitsPct)
        l->clear();
    for (int s = 0; s < 3; ++s) {
        for (QLabel *l : {lblCalls[s], lblCallsPct[s], lblReal[s], lblRealPct[s], lblStakes[s], lblProfit[s],
                          lblYield[s]})
            l->clear();
        for (QLabel *l : lblSigns[s])
            l->clear();
    }
    grdSezoni->setRowCount(0);
    chtProfit->chart()->removeAllSeries();
    for (QAbstractAxis *axis : chtProfit->chart()->axes()) {
        chtProfit->chart()->removeAxis(axis);
        delete axis;
    }
    chtProfit->hide();
    lblNote->setText(m_leagues.isEmpty()
                         ? QStringLiteral("Историята на мачовете е празна. Заредете сезони в „История на "
                                          "мачовете“ и проверете формулата върху тях.")
                         : QStringLiteral("Изберете лига и сезони и натиснете „Провери“. Всеки изигран мач "
                                          "се прогнозира с данните, известни преди него, и се сравнява с "
                                          "реалния резултат и с коефициентите."));
    lblNote->show();
}

void ReplayWindow::showResult(const ReplayResult &r) {
    const ReplayTotals &t = r.totals;
    const int counts[7] = {t.matches,    t.replayed,  t.matches - t.replayed, t.leftOut[1], t.leftOut[2],
                           t.leftOut[3], t.leftOut[4]};
    for (int i = 0; i < 7; ++i) {
        lblMachove[i]->setText(QString::number(counts[i]));
        lblMachovePct[i]->setText(PercentText(counts[i], t.matches));
    }
    const int hits[5] = {t.formulaHits, t.favouriteHits, t.homeHits, t.exactHits, t.oneOneHits};
    for (int i = 0; i < 5; ++i) {
        lblHits[i]->setText(QString::number(hits[i]));
        lblHitsPct[i]->setText(PercentText(hits[i], t.replayed));
    }
    const __int128 profits[3] = {t.formulaProfit, t.favouriteProfit, t.homeProfit};
    for (int s = 0; s < 3; ++s) {
        lblCalls[s]->setText(QString::number(t.calls[s]));
        lblCallsPct[s]->setText(PercentText(t.calls[s], t.replayed));
        lblReal[s]->setText(QString::number(t.real[s]));
        lblRealPct[s]->setText(PercentText(t.real[s], t.replayed));
        for (int c = 0; c < 3; ++c)
            lblSigns[s][c]->setText(QString::number(t.table[s][c]));
        lblStakes[s]->setText(QString::number(t.replayed));
        lblProfit[s]->setText(ProfitText(profits[s]));
        lblYield[s]->setText(YieldPercent(profits[s], t.replayed));
    }

    // A season of the range may hold only matches not yet played: no line for it.
    grdSezoni->setRowCount(0);
    for (const ReplaySeason &season : r.bySeason) {
        const ReplayTotals &s = season.totals;
        if (s.matches == 0) continue;
        const int row = grdSezoni->rowCount();
        grdSezoni->insertRow(row);
        const QString cells[7] = {season.season,
                                  QString::number(s.matches),
                                  QString::number(s.replayed),
                                  PercentText(s.formulaHits, s.replayed),
                                  PercentText(s.favouriteHits, s.replayed),
                                  YieldPercent(s.formulaProfit, s.replayed),
                                  YieldPercent(s.favouriteProfit, s.replayed)};
        for (int c = 0; c < 7; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            grdSezoni->setItem(row, c, item);
        }
    }

    if (t.replayed > 0) {
        showChart(r);
    } else {
        lblNote->setText(t.matches == 0
                             ? QStringLiteral("В избраните сезони няма изигран мач.")
                             : QStringLiteral("Нито един мач не можа да се повтори: вижте причините вляво. "
                                              "Най-често на отборите им липсват осемте мача от годината "
                                              "преди срещата или мачът е без коефициенти."));
    }
}

void ReplayWindow::showChart(const ReplayResult &r) {
    QChart *chart = chtProfit->chart();
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
    QLineSeries *formula = series(QStringLiteral("Формулата"), r.formulaCurve, QPen(QColor(40, 130, 40), 3));
    QLineSeries *favourite =
        series(QStringLiteral("Фаворитът"), r.favouriteCurve, QPen(QColor(200, 90, 20), 2, Qt::DashLine));

    const int n = int(std::max(r.formulaCurve.size(), r.favouriteCurve.size()));
    auto *x = new QValueAxis(chart);
    x->setTitleText(QStringLiteral("Повторен мач по ред"));
    x->setLabelFormat(QStringLiteral("%.0f"));
    x->setRange(0, std::max(1, n));
    // Ticks on whole matches: 1, 2 or 5 times a power of ten, at most ten steps.
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    x->setTickInterval(ProfitTickStep(n));
    auto *y = new QValueAxis(chart);
    y->setTitleText(QStringLiteral("Натрупана печалба"));
    y->setLabelFormat(QStringLiteral("%.2f"));
    // Zero, where both start, stays in sight.
    double lo = 0;
    double hi = 0;
    for (const std::vector<double> *curve : {&r.formulaCurve, &r.favouriteCurve})
        for (const double v : *curve) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    y->setRange(lo, hi > lo ? hi : lo + 1);
    y->applyNiceNumbers();
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QLineSeries *s : {formula, favourite}) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    lblNote->hide();
    chtProfit->show();
}

QString ReplayWindow::askExportPath() {
    return AskCsvExportPath(
        this, m_ctx.settings,
        QStringLiteral("Kalvado-проверка-%1.csv").arg(FileNamePart(m_result ? m_result->league : QString())));
}

void ReplayWindow::cmdEksportClick() {
    if (!m_result) return;
    const QString path = m_choosePath ? m_choosePath() : askExportPath();
    if (path.isEmpty()) return;
    if (m_ctx.settings) RememberFolder(*m_ctx.settings, path);
    ExportTo(path);
}

bool ReplayWindow::ExportTo(const QString &path) {
    if (!m_result || !m_ctx.messages) return false;
    const QString native = QDir::toNativeSeparators(path);
    if (QFileInfo(path).isFile() &&
        m_ctx.messages->show(this, QStringLiteral("Kalvado"),
                             QStringLiteral("Файлът вече съществува:\n%1\n\nДа бъде ли заменен?").arg(native),
                             MessageBoxes::Icon::Question,
                             MessageBoxes::Buttons::YesNo) != MessageBoxes::Answer::Yes)
        return false;
    const QString error = ExportReplayCsv(*m_result, path);
    if (!error.isEmpty()) {
        m_ctx.messages->show(this, QStringLiteral("Kalvado"), error, MessageBoxes::Icon::Exclamation,
                             MessageBoxes::Buttons::Ok);
        return false;
    }
    const qsizetype n = m_result->matches.size();
    const QString written = n == 1 ? QStringLiteral("Записан е %1 във файла:\n%2")
                                   : QStringLiteral("Записани са %1 във файла:\n%2");
    m_ctx.messages->show(this, QStringLiteral("Kalvado"),
                         written.arg(CountText(n, QStringLiteral("мач"), QStringLiteral("мача")), native),
                         MessageBoxes::Icon::Information, MessageBoxes::Buttons::Ok);
    return true;
}

} // namespace kalvado

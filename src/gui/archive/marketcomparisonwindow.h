#pragma once

#include "gui/archive/marketcomparison.h"
#include "gui/common/appcontext.h"

#include <QWidget>

#include <QList>
#include <QPointF>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;

class QChartView;

namespace kalvado {

// A cumulative profit curve as chart points, from 0 before the first stake,
// thinned to the lowest and highest point of each of at most 1200 buckets so
// that no peak is lost.
QList<QPointF> ProfitChartPoints(const std::vector<double> &curve);
// A whole-number tick step that gives at most about ten ticks for `count`.
double ProfitTickStep(int count);
// "37 %" (a half to the even neighbour); empty without a count.
QString PercentText(int hits, int of);

// The completed prognoses against the bookmakers: sign hits of the
// prognoses, of the favourite and of "always 1", exact scores, the return of
// a flat stake, predicted against real sign, and the profit over time; and
// the export of the whole archive. Counts once, when it opens.
class MarketComparisonWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MarketComparisonWindow)

public:
    explicit MarketComparisonWindow(AppContext &ctx, QWidget *parent = nullptr);

    const MarketComparison &comparison() const { return m_comparison; }

    // Where "Експорт в CSV…" asks for the file; tests answer without a dialog.
    // An empty answer cancels.
    void setExportPathChooser(std::function<QString()> chooser) { m_choosePath = std::move(chooser); }

    QLabel *lblCompared = nullptr;
    QLabel *lblLeftOut = nullptr;
    QLabel *lblNote = nullptr;
    // Sign hits: prognoses, favourite, always "1"; then exact scores.
    QLabel *lblHits[4] = {};
    QLabel *lblHitsPct[4] = {};
    // Flat stake of 1: prognoses, favourite.
    QLabel *lblStakes[2] = {};
    QLabel *lblProfit[2] = {};
    QLabel *lblYield[2] = {};
    // [predicted][real]: "1", "X", "2".
    QLabel *lblSigns[3][3] = {};
    QChartView *chtProfit = nullptr; // none when nothing could be compared
    QPushButton *cmdExport = nullptr;
    QPushButton *cmdOK = nullptr;

private:
    void build();
    void fill(const MarketComparison &c);
    void buildChart(const MarketComparison &c);
    void cmdExportClick();
    QString askExportPath();

    AppContext &m_ctx;
    MarketComparison m_comparison;
    std::function<QString()> m_choosePath;
};

} // namespace kalvado

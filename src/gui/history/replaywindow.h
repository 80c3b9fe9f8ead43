#pragma once

#include "gui/common/appcontext.h"
#include "history/historystore.h"
#include "history/matchindex.h"
#include "history/replay.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

class QChartView;

namespace kalvado {

// The formula replayed on past seasons of one league held in the history:
// its sign and score hits against the favourite and "always 1", its calls
// against what happened, the return of a flat stake, one line per season and
// the profit over the matches. Runs in slices from a timer, so the window
// answers and the run can be stopped; only a whole run is shown. Reads the
// history and writes nothing but the export file (and the last folder of its
// dialog).
class ReplayWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReplayWindow)

public:
    explicit ReplayWindow(AppContext &ctx, QWidget *parent = nullptr);
    ~ReplayWindow() override;

    // Replays the league's seasons from `fromSeason` to `toSeason` (either
    // order, both included); false when the league or a season is not held.
    bool Run(const QString &league, const QString &fromSeason, const QString &toSeason);
    // Discards the run under way; nothing of it stays shown.
    void Stop();
    bool isRunning() const { return m_replay != nullptr; }
    // The last whole run, if any.
    const ReplayResult *result() const { return m_result ? &*m_result : nullptr; }
    // Writes the shown result to `path`, asking before replacing a file and
    // saying how it went; true when the file was written.
    bool ExportTo(const QString &path);

    // One slice of the run (the timer's tick).
    void runSlice();
    // Matches replayed per slice.
    void setSliceSize(int matches) { m_sliceSize = qMax(1, matches); }
    // Where "Експорт в CSV…" asks for the file; tests answer without a dialog.
    // An empty answer cancels.
    void setExportPathChooser(std::function<QString()> chooser) { m_choosePath = std::move(chooser); }

    QComboBox *cmbLiga = nullptr;
    QComboBox *cmbOt = nullptr;
    QComboBox *cmbDo = nullptr;
    QPushButton *cmdPusni = nullptr;
    QPushButton *cmdSpri = nullptr;
    QProgressBar *prgHod = nullptr;
    QLabel *lblHod = nullptr;
    // Matches of the seasons, replayed, left out, then left out by reason
    // (FewMatches .. EngineFailed); each with its percentage of the matches.
    QLabel *lblMachove[7] = {};
    QLabel *lblMachovePct[7] = {};
    // Sign hits: formula, favourite, always "1"; exact scores: formula, always 1:1.
    QLabel *lblHits[5] = {};
    QLabel *lblHitsPct[5] = {};
    // By sign "1", "X", "2": the formula's calls and what happened.
    QLabel *lblCalls[3] = {};
    QLabel *lblCallsPct[3] = {};
    QLabel *lblReal[3] = {};
    QLabel *lblRealPct[3] = {};
    QLabel *lblSigns[3][3] = {}; // [called][real]
    // Flat stake of 1: formula, favourite, always "1".
    QLabel *lblStakes[3] = {};
    QLabel *lblProfit[3] = {};
    QLabel *lblYield[3] = {};
    QTableWidget *grdSezoni = nullptr;
    QChartView *chtProfit = nullptr;
    QLabel *lblNote = nullptr; // in the chart's place while there is none
    QPushButton *cmdEksport = nullptr;
    QPushButton *cmdOK = nullptr;

private:
    void build();
    void loadLeagues();
    void leagueChanged();
    void cmdPusniClick();
    void cmdEksportClick();
    QString askExportPath();
    void setRunning(bool running);
    void clearShown();
    void showResult(const ReplayResult &r);
    void showChart(const ReplayResult &r);

    AppContext &m_ctx;
    HistoryStore m_store;
    QList<LeagueSummary> m_leagues;
    // The replay reads the index as it goes: it lives as long as the run.
    MatchIndex m_index;
    std::unique_ptr<Replay> m_replay;
    std::optional<ReplayResult> m_result;
    QString m_runName; // "name (code)" of the league under way
    QTimer m_timer;
    int m_sliceSize = 100;
    std::function<QString()> m_choosePath;
};

} // namespace kalvado

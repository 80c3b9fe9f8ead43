#include "gui/windowset.h"

#include "gui/archive/archivewindow.h"
#include "gui/archive/marketcomparisonwindow.h"
#include "gui/archive/statisticswindow.h"
#include "gui/club_windows/clublistwindow.h"
#include "gui/club_windows/clubresultswindow.h"
#include "gui/common/windows.h"
#include "gui/finance/financewindow.h"
#include "gui/history/historywindow.h"
#include "gui/history/replaywindow.h"
#include "gui/prognosis_form/prognosisform.h"
#include "gui/shell/aboutbox.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/optionswindow.h"
#include "gui/shell/splashwindow.h"

namespace kalvado {

void RegisterWindows(AppContext &ctx) {
    Windows &w = *ctx.windows;
    AppContext *c = &ctx;
    w.setFactory(WindowId::Splash, [c] { return new SplashWindow(*c); });
    w.setFactory(WindowId::Kalv, [c] { return new MainWindow(*c); });
    w.setFactory(WindowId::Pro, [c] { return new PrognosisForm(*c); });
    w.setFactory(WindowId::Tims, [c] { return new ClubResultsWindow(*c); });
    w.setFactory(WindowId::New, [c] { return new ClubListWindow(*c); });
    w.setFactory(WindowId::Data, [c] { return new ArchiveWindow(*c); });
    w.setFactory(WindowId::Stat, [c] { return new StatisticsWindow(*c); });
    w.setFactory(WindowId::Finans, [c] { return new FinanceWindow(*c); });
    w.setFactory(WindowId::Opt, [c] { return new OptionsWindow(*c); });
    w.setFactory(WindowId::ForAs, [c] { return new AboutBox(*c); });
    w.setFactory(WindowId::Pazar, [c] { return new MarketComparisonWindow(*c); });
    w.setFactory(WindowId::Istoria, [c] { return new HistoryWindow(*c); });
    w.setFactory(WindowId::Proverka, [c] { return new ReplayWindow(*c); });
}

} // namespace kalvado

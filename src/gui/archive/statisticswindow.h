#pragma once

#include "gui/common/appcontext.h"

#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;
class QTimer;

namespace kalvado {

// Percentage of hits among the completed prognoses, as a whole number with a
// half going to the even neighbour; nothing when there are no completed ones.
std::optional<int> HitPercent(int hits, int completed);

// How often the archived prognoses got the sign and the exact score right,
// over the rows that have a real result. Counts once, when it opens.
class StatisticsWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatisticsWindow)

public:
    explicit StatisticsWindow(AppContext &ctx, QWidget *parent = nullptr);

    // Percentages and bars from the three counts.
    void Timer1Tick();

    QLabel *lblProg = nullptr;
    QLabel *lblPoz = nullptr;
    QLabel *lblPozTr = nullptr;
    QLabel *lblPP = nullptr;
    QLabel *lblPTR = nullptr;
    QLabel *lblProc = nullptr;
    QLabel *lblProcD = nullptr;
    QLabel *lblProcTR = nullptr;
    QLabel *lblProcDTR = nullptr;
    QWidget *Picture1 = nullptr;
    QWidget *Picture2 = nullptr;
    QWidget *picProc = nullptr;
    QWidget *picProcTR = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdPazar = nullptr; // opens the comparison with the bookmakers
    QTimer *Timer1 = nullptr;

private:
    void build();
    void count();

    AppContext &m_ctx;
};

} // namespace kalvado

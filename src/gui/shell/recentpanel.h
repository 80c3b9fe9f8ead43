#pragma once

#include "gui/common/appcontext.h"

#include <QWidget>

#include <array>

class QLabel;
class QTimer;

namespace kalvado {

// The "Последни 5 Прогнози" grid of the main window: six columns of five
// cells; row 0 is the oldest prognosis, row 4 the newest.
class RecentPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecentPanel)

public:
    explicit RecentPanel(AppContext &ctx, QWidget *parent = nullptr);

    // Shifts every row up by one and puts the new prognosis into row 4. When
    // oddsEntered is false the three odds cells read "N\A".
    void AddPrognosis(const QString &home, const QString &guest, bool oddsEntered, const QString &k1,
                      const QString &kX, const QString &k2, const QString &homeGoals, const QString &guestGoals);
    void LoadPanel();
    void SavePanel();
    // One tick of the 10 ms highlight timer.
    void Timer1Tick();

    std::array<QLabel *, 5> lblMa4{};
    std::array<QLabel *, 5> lblOne{};
    std::array<QLabel *, 5> lblRaven{};
    std::array<QLabel *, 5> lblDvoika{};
    std::array<QLabel *, 5> lblRD{};
    std::array<QLabel *, 5> lblRG{};

private:
    AppContext &m_ctx;
};

} // namespace kalvado

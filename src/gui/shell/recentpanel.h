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
                      const QString &kX, const QString &k2, const QString &homeGoals,
                      const QString &guestGoals);
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

    // Where the owning window puts the panel: its top edge and size, in
    // twips. Row n then stands 6600 + 360 n twips from the window's top.
    static constexpr int kTopTw = 5880;
    static constexpr int kWidthTw = 8280;
    static constexpr int kHeightTw = 8040 + 360 - kTopTw;

private:
    struct Column {
        std::array<QLabel *, 5> *cells;
        const char *key; // settings key prefix in section Last
    };
    std::array<Column, 6> columns();
    void fitMatchTexts();

    AppContext &m_ctx;
};

} // namespace kalvado

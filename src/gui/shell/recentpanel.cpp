#include "gui/shell/recentpanel.h"

#include "engine/numbertext.h"
#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "storage/settingsstore.h"

#include <QLabel>

namespace kalvado {

namespace {
const QColor kOrange(255, 128, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);
const QString kSection = QStringLiteral("Last");

constexpr int kRow0Tw = 6600;
constexpr int kRowStepTw = 360;
constexpr int kCellHeightTw = 330;

QLabel *Heading(QWidget *parent, const QString &name, const QString &text, int left, int top, int width,
                int height) {
    auto *label = PlainLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    PlaceTw(label, left, top - RecentPanel::kTopTw, width, height);
    return label;
}

void Green(QLabel *cell) {
    // The tick runs every 10 ms; leave an already green cell alone.
    if (BackgroundOf(cell) != kGreen) SetColours(cell, kGreen, kBlue);
}
} // namespace

RecentPanel::RecentPanel(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("RecentPanel"));
    resize(Px(kWidthTw), Px(kHeightTw));

    struct Place {
        std::array<QLabel *, 5> *cells;
        const char *name;
        int left;
        int width;
        Qt::Alignment align;
    };
    const Place places[] = {
        {&lblMa4, "lblMa4", 240, 3750, Qt::AlignLeft | Qt::AlignVCenter},
        {&lblOne, "lblOne", 4080, 900, Qt::AlignCenter},
        {&lblRaven, "lblRaven", 5040, 900, Qt::AlignCenter},
        {&lblDvoika, "lblDvoika", 6000, 900, Qt::AlignCenter},
        {&lblRD, "lblRD", 7080, 450, Qt::AlignCenter},
        {&lblRG, "lblRG", 7680, 450, Qt::AlignCenter},
    };
    for (const Place &place : places) {
        for (int n = 0; n < 5; ++n) {
            auto *cell = PlainLabel(this);
            cell->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(place.name)).arg(n));
            // Club names and stored cells are shown as written, never as markup.
            cell->setTextFormat(Qt::PlainText);
            cell->setAlignment(place.align);
            cell->setIndent(place.align & Qt::AlignLeft ? 4 : -1);
            SetColours(cell, kOrange, kBlue);
            PlaceTw(cell, place.left, kRow0Tw + kRowStepTw * n - kTopTw, place.width, kCellHeightTw);
            (*place.cells)[n] = cell;
        }
    }
    for (int n = 0; n < 5; ++n) {
        auto *colon = PlainLabel(QStringLiteral(":"), this);
        colon->setObjectName(QStringLiteral("lblColon_%1").arg(n));
        colon->setAlignment(Qt::AlignCenter);
        PlaceTw(colon, 7530, kRow0Tw + kRowStepTw * n - kTopTw, 150, kCellHeightTw);
    }

    Heading(this, QStringLiteral("lblHDomakin"), QStringLiteral("Домакин"), 240, 6240, 1875, 300);
    Heading(this, QStringLiteral("lblHGost"), QStringLiteral("Гост"), 2115, 6240, 1875, 300);
    Heading(this, QStringLiteral("lblHKoef"), QStringLiteral("Коефициент"), 4080, 5880, 2820, 300);
    Heading(this, QStringLiteral("lblH1"), QStringLiteral("1"), 4080, 6240, 900, 300);
    Heading(this, QStringLiteral("lblHX"), QStringLiteral("X"), 5040, 6240, 900, 300);
    Heading(this, QStringLiteral("lblH2"), QStringLiteral("2"), 6000, 6240, 900, 300);
    Heading(this, QStringLiteral("lblHRezultat"), QStringLiteral("Прогнозен резултат"), 6960, 5880, 1320,
            660);
}

std::array<RecentPanel::Column, 6> RecentPanel::columns() {
    return {{{&lblMa4, "M"},
             {&lblOne, "K1"},
             {&lblRaven, "KX"},
             {&lblDvoika, "K2"},
             {&lblRD, "PD"},
             {&lblRG, "PG"}}};
}

void RecentPanel::AddPrognosis(const QString &home, const QString &guest, bool oddsEntered, const QString &k1,
                               const QString &kX, const QString &k2, const QString &homeGoals,
                               const QString &guestGoals) {
    for (const Column &column : columns())
        for (int i = 0; i < 4; ++i)
            (*column.cells)[i]->setText((*column.cells)[i + 1]->text());

    const QString none = QStringLiteral("N\\A");
    lblMa4[4]->setText(home + QStringLiteral(" - ") + guest);
    lblOne[4]->setText(oddsEntered ? k1 : none);
    lblRaven[4]->setText(oddsEntered ? kX : none);
    lblDvoika[4]->setText(oddsEntered ? k2 : none);
    lblRD[4]->setText(homeGoals);
    lblRG[4]->setText(guestGoals);
    fitMatchTexts();

    // Highlights stay with the cells, not with the rows that moved; start
    // them afresh and let the next tick mark the signs again.
    for (int i = 0; i < 5; ++i)
        for (QLabel *cell : {lblOne[i], lblRaven[i], lblDvoika[i]})
            SetColours(cell, kOrange, kBlue);
}

void RecentPanel::LoadPanel() {
    if (!m_ctx.settings) return;
    for (const Column &column : columns())
        for (int n = 4; n >= 0; --n)
            (*column.cells)[n]->setText(
                m_ctx.settings->ReadSetting(kSection, QLatin1String(column.key) + QString::number(n)));
    fitMatchTexts();
}

void RecentPanel::fitMatchTexts() {
    // Two long club names do not fit the cell at the normal size; shrink
    // rather than cut the guest's name off.
    for (QLabel *cell : lblMa4)
        FitLabelText(cell, font());
}

void RecentPanel::SavePanel() {
    if (!m_ctx.settings) return;
    for (const Column &column : columns())
        for (int n = 4; n >= 0; --n)
            m_ctx.settings->WriteSetting(kSection, QLatin1String(column.key) + QString::number(n),
                                         (*column.cells)[n]->text());
}

void RecentPanel::Timer1Tick() {
    // D and G carry over from row to row: a goal cell that does not read as a
    // number keeps the value of the row before it.
    int d = 0;
    int g = 0;
    for (int i = 0; i < 5; ++i) {
        if (const auto v = IntegerText(lblRD[i]->text())) d = *v;
        if (const auto v = IntegerText(lblRG[i]->text())) g = *v;
        if (lblRD[i]->text().isEmpty()) continue;
        if (d > g)
            Green(lblOne[i]);
        else if (d < g)
            Green(lblDvoika[i]);
        else
            Green(lblRaven[i]);
    }
}

} // namespace kalvado

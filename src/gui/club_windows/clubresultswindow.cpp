#include "gui/club_windows/clubresultswindow.h"

#include "engine/numbertext.h"
#include "gui/common/clubboxes.h"
#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "gui/common/windows.h"
#include "gui/shell/optionswindow.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace kalvado {

namespace {

constexpr int kOptionsLeftTw = 2520;
constexpr int kOptionsRightTw = 4200;
constexpr int kOptionsTopTw = 1560;
constexpr int kOptionLineTw = 240;

QString MatchesCaption(int count) {
    return CountText(count, QStringLiteral("мач"), QStringLiteral("мача"));
}

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &text, QRect twips) {
    auto *label = PlainLabel(text, parent);
    if (!name.isEmpty()) label->setObjectName(name);
    PlaceTw(label, twips.x(), twips.y(), twips.width(), twips.height());
    return label;
}

} // namespace

ClubResultsWindow::ClubResultsWindow(AppContext &ctx, QWidget *parent)
    : QWidget(parent), m_ctx(ctx), m_datTims(ctx.connectionName, QStringLiteral("Tims")) {
    setObjectName(QStringLiteral("frmTims"));
    setWindowTitle(QStringLiteral("Статистикака на клуб"));
    // Kept above every other window from the moment it is loaded, also while
    // the rest of the program is minimised.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setFixedSize(Px(6240), Px(3360));

    Label2 = MakeLabel(this, QStringLiteral("Label2"), QStringLiteral("Последно въвеждане на:"),
                       QRect(120, 120, 2760, 255));
    lblDate = MakeLabel(this, QStringLiteral("lblDate"), {}, QRect(2880, 120, 3240, 255));
    lblInfo = MakeLabel(this, QStringLiteral("lblInfo"), QStringLiteral("Последни 7 мача на:"),
                        QRect(120, 450, 2760, 255));
    lblClub = MakeLabel(this, QStringLiteral("lblClub"), {}, QRect(2880, 450, 3240, 255));
    QFont bold = lblClub->font();
    bold.setBold(true);
    lblClub->setFont(bold);

    for (int k = 0; k < kStoredMatches; ++k) {
        const int top = 840 + k * 300;
        QLabel *number = MakeLabel(this, {}, QString::number(k + 1), QRect(240, top, 300, 255));
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblV[k] = MakeLabel(this, QStringLiteral("lblV_%1").arg(k), {}, QRect(660, top, 420, 255));
        lblV[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblV[k]->setFont(bold);
        QLabel *colon = MakeLabel(this, {}, QStringLiteral(":"), QRect(1080, top, 150, 255));
        colon->setAlignment(Qt::AlignCenter);
        lblP[k] = MakeLabel(this, QStringLiteral("lblP_%1").arg(k), {}, QRect(1230, top, 420, 255));
        lblP[k]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        lblP[k]->setFont(bold);
    }

    Label3 = MakeLabel(this, QStringLiteral("Label3"), QStringLiteral("Въведи автоматично последните..."),
                       QRect(2400, 1200, 3720, 255));

    m_optGroup = new QButtonGroup(this);
    m_optGroup->setExclusive(true);
    for (int i = 0; i < kOptions; ++i) {
        optI[i] = new QRadioButton(MatchesCaption(i), this);
        optI[i]->setObjectName(QStringLiteral("optI_%1").arg(i));
        PlaceTw(optI[i], i % 2 == 0 ? kOptionsLeftTw : kOptionsRightTw,
                kOptionsTopTw + (i / 2) * kOptionLineTw, 1320, 240);
        m_optGroup->addButton(optI[i], i);
    }
    optI[0]->setChecked(true);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    PlaceTw(cmdOK, 3720, 2640, 1320, 420);
    connect(cmdOK, &QPushButton::clicked, this, &ClubResultsWindow::FillBoxes);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(5);
    connect(Timer1, &QTimer::timeout, this, &ClubResultsWindow::Timer1Tick);

    // The labels follow the cursor, which recording also moves; they never
    // show a row other than the looked-up club's.
    connect(&m_datTims, &RecordSet::currentChanged, this, &ClubResultsWindow::showCurrentRow);
    m_datTims.open();
    m_datTims.refresh();
    showCurrentRow();

    CentreWindow(this);
}

void ClubResultsWindow::StartLookup() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    Timer1->start();
}

ClubBoxes *ClubResultsWindow::prognosisForm() const {
    return m_ctx.windows ? dynamic_cast<ClubBoxes *>(m_ctx.windows->load(WindowId::Pro)) : nullptr;
}

bool ClubResultsWindow::sixMatchOn() const {
    OptionsWindow *options = m_ctx.windows ? m_ctx.windows->get<OptionsWindow>(WindowId::Opt) : nullptr;
    return options && options->sixMatchOn();
}

QString ClubResultsWindow::chosenName(const ClubBoxes *form, bool *guest) {
    const QString guestName = form ? form->guestName() : QString();
    *guest = !guestName.isEmpty();
    if (*guest) return guestName;
    return form ? form->homeName() : QString();
}

bool ClubResultsWindow::onShownRow() const {
    if (!m_datTims.hasCurrent()) return false;
    if (m_shownClub.isNull()) return true;
    return !m_shownClub.isEmpty() && m_datTims.value(QStringLiteral("Tim")) == m_shownClub;
}

void ClubResultsWindow::showCurrentRow() {
    const bool show = onShownRow();
    const auto column = [&](const QString &name) { return show ? m_datTims.value(name) : QString(); };
    lblDate->setText(DateText(column(QStringLiteral("Date"))));
    lblClub->setText(show || m_shownClub.isNull() ? column(QStringLiteral("Tim")) : m_shownClub);
    for (int k = 0; k < kStoredMatches; ++k) {
        lblV[k]->setText(column(QStringLiteral("v%1").arg(k + 1)));
        lblP[k]->setText(column(QStringLiteral("p%1").arg(k + 1)));
    }
}

void ClubResultsWindow::Timer1Tick() {
    Timer1->stop();
    bool guest = false;
    const QString name = chosenName(prognosisForm(), &guest);

    // Set before the move so that the labels show this club's row or nothing.
    m_shownClub = name.isNull() ? QStringLiteral("") : name;
    if (name.isEmpty() || !m_datTims.findFirst(QStringLiteral("Tim"), name)) showCurrentRow();
    setWindowTitle(QStringLiteral("Последни 7 мача на ") + m_shownClub);

    const bool hasData = onShownRow() && !m_datTims.value(QStringLiteral("v1")).isEmpty();
    lblInfo->setText(hasData ? QStringLiteral("Последни 7 мача на:") : QStringLiteral("Няма данни за:"));
    for (int i = 1; i < kOptions; ++i)
        optI[i]->setEnabled(hasData);

    LayOutOptions(sixMatchOn());
}

void ClubResultsWindow::LayOutOptions(bool sixMatch) {
    // In six-match mode the form's two oldest boxes are fixed, so options 1
    // and 2 go and the rest are captioned by the visible boxes they fill.
    PlaceTw(optI[0], kOptionsLeftTw, kOptionsTopTw + (sixMatch ? kOptionLineTw : 0), 1320, 240);
    optI[1]->setVisible(!sixMatch);
    optI[2]->setVisible(!sixMatch);
    for (int i = 3; i < kOptions; ++i)
        optI[i]->setText(MatchesCaption(sixMatch ? i - 2 : i));
    optI[0]->setChecked(true);
}

void ClubResultsWindow::FillBoxes() {
    const int n = m_optGroup->checkedId();
    if (n >= 1 && n < kOptions) {
        ClubBoxes *form = prognosisForm();
        bool guest = false;
        const QString name = chosenName(form, &guest);
        // Only the shown club's own boxes receive its results: a miss, a club
        // without results, or a name changed on the form since the lookup
        // fills nothing.
        const bool hasData = !m_shownClub.isNull() && onShownRow() && name == m_shownClub &&
                             !m_datTims.value(QStringLiteral("v1")).isEmpty();
        if (form && hasData) {
            for (int j = 0; j < n; ++j) {
                const int stored = kStoredMatches + 1 - n + j; // 1-based stored match
                form->setResult(guest, j, lblV[stored - 1]->text(), lblP[stored - 1]->text());
            }
        }
    }
    hide();
}

} // namespace kalvado

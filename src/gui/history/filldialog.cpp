#include "gui/history/filldialog.h"

#include "gui/common/messageboxes.h"
#include "gui/common/widgets.h"
#include "history/historystore.h"
#include "history/matchindex.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace kalvado {

HistoryFillDialog::HistoryFillDialog(AppContext &ctx, std::unique_ptr<HistoryBoxes> boxes, QString home,
                                     QString away, QString league, const QDate &date, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_boxes(std::move(boxes)), m_home(std::move(home)),
      m_away(std::move(away)), m_league(std::move(league)) {
    setObjectName(QStringLiteral("dlgOtIstoria"));
    setWindowTitle(QStringLiteral("От историята"));
    setAttribute(Qt::WA_DeleteOnClose);

    const HistoryStore store(ctx.connectionName);
    auto *grid = new QGridLayout(this);
    QLabel *clubs = PlainLabel(QStringLiteral("%1 – %2").arg(m_home, m_away), this);
    QFont bold = clubs->font();
    bold.setBold(true);
    clubs->setFont(bold);
    grid->addWidget(clubs, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Лига:"), this), 1, 0);
    lblLiga = Named(PlainLabel(QStringLiteral("%1 (%2)").arg(store.LeagueName(m_league), m_league), this),
                    QStringLiteral("lblLiga"));
    grid->addWidget(lblLiga, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Мачове до:"), this), 2, 0);
    dateD = Named(new QDateEdit(date, this), QStringLiteral("dateD"));
    dateD->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    dateD->setCalendarPopup(true);
    grid->addWidget(dateD, 2, 1);
    lblRezultat = Named(PlainLabel(this), QStringLiteral("lblRezultat"));
    lblRezultat->setWordWrap(true);
    lblRezultat->setMinimumWidth(420);
    grid->addWidget(lblRezultat, 3, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdPopalni = Named(new QPushButton(QStringLiteral("Попълни"), this), QStringLiteral("cmdPopalni"));
    cmdPopalni->setDefault(true);
    cmdZatvori = Named(new QPushButton(QStringLiteral("Затвори"), this), QStringLiteral("cmdZatvori"));
    buttons->addWidget(cmdPopalni);
    buttons->addWidget(cmdZatvori);
    grid->addLayout(buttons, 4, 0, 1, 2);
    connect(cmdPopalni, &QPushButton::clicked, this, &HistoryFillDialog::Fill);
    connect(cmdZatvori, &QPushButton::clicked, this, &QDialog::close);
}

HistoryFillDialog::~HistoryFillDialog() = default;

void HistoryFillDialog::Fill() {
    const HistoryStore store(m_ctx.connectionName);
    const MatchIndex index(store.MatchesForFill(m_home, m_away, m_league, dateD->date()));
    const FillPlan plan = PlanFill(index, m_home, m_away, m_league, dateD->date(), m_boxes->fillOptions());
    ApplyFill(plan, *m_boxes);
    lblRezultat->setText(plan.Summary(store.LeagueName(m_league)));
    adjustSize();
}

HistoryFillDialog *ShowHistoryFill(AppContext &ctx, std::unique_ptr<HistoryBoxes> boxes, QWidget *parent) {
    const HistoryStore store(ctx.connectionName);
    const auto refuse = [&](const QString &text) {
        ctx.messages->show(parent, QStringLiteral("Kalvado"), text, MessageBoxes::Icon::Exclamation,
                           MessageBoxes::Buttons::Ok);
        return nullptr;
    };
    // A club counts as found when the history holds a match of it: a link
    // alone (the built-in ones) says nothing about its matches. Its league is
    // that of its latest match.
    struct Found {
        QString name;
        QString league;
    };
    const auto find = [&](const QString &typed) -> std::optional<Found> {
        if (typed.isEmpty()) return std::nullopt;
        const std::optional<QString> name = store.HistoryClubFor(typed);
        const std::optional<QString> league = name ? store.LatestLeague(*name) : std::nullopt;
        if (!league) return std::nullopt;
        return Found{*name, *league};
    };
    const QString typedHome = boxes->homeName().trimmed();
    const QString typedAway = boxes->guestName().trimmed();
    const std::optional<Found> home = find(typedHome);
    const std::optional<Found> away = find(typedAway);
    QStringList missing;
    const auto name = [](const QString &typed, const QString &empty) {
        return typed.isEmpty() ? empty : QStringLiteral("„%1“").arg(typed);
    };
    if (!home) missing << name(typedHome, QStringLiteral("(домакинът не е въведен)"));
    if (!away) missing << name(typedAway, QStringLiteral("(гостът не е въведен)"));
    // Only for a club not found: was nothing imported yet?
    if (!missing.isEmpty() && store.Leagues().isEmpty())
        return refuse(
            QStringLiteral("Историята на мачовете е празна. Внесете или изтеглете мачовете на лигата "
                           "в „История на мачовете“."));
    if (!missing.isEmpty())
        return refuse(
            QStringLiteral("В историята на мачовете няма клуб %1. Свържете го с клуб от историята в "
                           "„История на мачовете“.")
                .arg(missing.join(QStringLiteral(" и "))));
    // The league of their next match from today, else the home club's.
    QString league = home->league;
    QDate date = ctx.now().date();
    if (const std::optional<MatchRow> next = store.NextMatch(home->name, away->name, date)) {
        league = next->league;
        date = next->date;
    }
    auto *dialog = new HistoryFillDialog(ctx, std::move(boxes), home->name, away->name, league, date, parent);
    dialog->setWindowFlag(Qt::Dialog);
    dialog->adjustSize();
    // Over the form's clock area, clear of the boxes it fills.
    if (parent && parent->isVisible()) {
        const QRect form = parent->frameGeometry();
        dialog->move(std::max(form.left(), form.right() - dialog->width() - 8),
                     std::max(form.top(), form.bottom() - dialog->height() - 48));
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

} // namespace kalvado

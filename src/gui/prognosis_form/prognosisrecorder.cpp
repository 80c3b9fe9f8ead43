#include "gui/prognosis_form/prognosisrecorder.h"

#include "engine/numbertext.h"
#include "engine/prognosis.h"
#include "gui/archive/archivewindow.h"
#include "gui/club_windows/clubresultswindow.h"
#include "gui/common/messageboxes.h"
#include "gui/common/windows.h"
#include "gui/prognosis_form/prognosisform.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/recentpanel.h"
#include "storage/database.h"
#include "storage/schemaupgrade.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTimer>

#include <algorithm>

namespace kalvado {

namespace {

// The cursor of another window, opened when that window has not opened it.
RecordSet *ready(RecordSet *cursor) {
    if (!cursor) return nullptr;
    if (!cursor->isOpen() && !cursor->open()) return nullptr;
    return cursor;
}

} // namespace

QString PrognosisRecorder::FailureText() {
    return QStringLiteral("Не сте въвели правилно резултатите") + QStringLiteral("\r\n") +
           QStringLiteral("или не сте въвели всички срещи.");
}

bool PrognosisRecorder::Run() {
    const PrognosisInputs in = m_form.ReadInputs();
    const std::optional<Prognosis> p = ComputePrognosis(in);
    // A row without a club name would end every later scan of the archive
    // and of the club table, hiding the rows after it.
    if (!p || IsBlankName(in.homeName) || IsBlankName(in.guestName)) {
        fail();
        return false;
    }
    if (!store(in, *p)) {
        failWrite();
        return false;
    }
    m_form.lblProD->setText(QString::number(p->homeGoals));
    m_form.lblProg->setText(QString::number(p->guestGoals));

    m_form.tmrProgres->start();
    m_form.cmdPro->setEnabled(false);

    m_form.lblZnak->setText(SignText(p->sign));
    if (!addToPanel()) {
        fail();
        return false;
    }
    return true;
}

RecordSet::Values PrognosisRecorder::archiveRow(const RecordSet &kd, const PrognosisInputs &in,
                                                const Prognosis &p, int nom, const QString &when) const {
    const QLocale &bg = BulgarianLocale();
    RecordSet::Values row{{QStringLiteral("Nom"), nom},
                          {QStringLiteral("Dom"), bg.toLower(in.homeName)},
                          {QStringLiteral("Gost"), bg.toLower(in.guestName)},
                          {QStringLiteral("proD"), QString::number(p.homeGoals)},
                          {QStringLiteral("proG"), QString::number(p.guestGoals)}};
    // The odds and the moment go along when the file has room for them (one
    // that could not be upgraded keeps its rows without).
    const QStringList extra = ArchiveOddsColumns();
    if (std::all_of(extra.begin(), extra.end(),
                    [&kd](const QString &c) { return kd.columns().contains(c); })) {
        const QString odds[] = {in.k1, in.kX, in.k2};
        for (int i = 0; i < 3; ++i)
            row.append({extra.at(i), in.oddsAnnounced ? RecordSet::textOrNull(odds[i]) : QVariant()});
        row.append({extra.at(3), when});
    }
    return row;
}

bool PrognosisRecorder::store(const PrognosisInputs &in, const Prognosis &p) {
    m_writeError = QSqlError();
    auto *archive = m_ctx.windows ? m_ctx.windows->get<ArchiveWindow>(WindowId::Data) : nullptr;
    auto *window = m_ctx.windows ? m_ctx.windows->get<ClubResultsWindow>(WindowId::Tims) : nullptr;
    RecordSet *kd = archive ? archive->archiveCursor() : nullptr;
    RecordSet *clubs = window ? window->clubCursor() : nullptr;
    QSqlDatabase db = QSqlDatabase::database(m_ctx.connectionName, false);
    if (!kd || !clubs || !db.isOpen()) return false;
    for (RecordSet *cursor : {kd, clubs}) {
        if (!ready(cursor)) {
            m_writeError = cursor->lastError();
            return false;
        }
    }
    if (!db.transaction()) {
        m_writeError = db.lastError();
        return false;
    }
    // One moment for the archive row and both club rows.
    const QString when = m_ctx.now().toString(DateTimeFormat());
    const int nom = kd->count();
    bool ok = nom >= 0 && kd->append(archiveRow(*kd, in, p, nom, when));
    if (!ok) m_writeError = kd->lastError();
    if (ok && !storeClubRows(*clubs, in, when)) {
        ok = false;
        m_writeError = clubs->lastError();
    }
    if (ok && !db.commit()) {
        ok = false;
        m_writeError = db.lastError();
    }
    if (!ok) {
        db.rollback();
        // The club cursor may hold values that were never committed.
        clubs->refresh();
    }
    return ok;
}

bool PrognosisRecorder::storeClubRows(RecordSet &clubs, const PrognosisInputs &in, const QString &when) {
    clubs.first();
    if (!storeClub(clubs, in.homeName, false, when)) return false;
    clubs.first();
    return storeClub(clubs, in.guestName, true, when);
}

bool PrognosisRecorder::storeClub(RecordSet &clubs, const QString &name, bool guest, const QString &when) {
    const auto &plus = guest ? m_form.txtGGplus : m_form.txtGDplus;
    const auto &minus = guest ? m_form.txtGGminus : m_form.txtGDminus;
    RecordSet::Values values{{QStringLiteral("Date"), when}};
    // Match 1, the oldest, is dropped: v1/p1 take match 2, v7/p7 match 8.
    for (int k = 1; k <= 7; ++k) {
        values.append({QStringLiteral("v%1").arg(k), RecordSet::textOrNull(plus[k]->text())});
        values.append({QStringLiteral("p%1").arg(k), RecordSet::textOrNull(minus[k]->text())});
    }
    if (clubs.findFirst(QStringLiteral("Tim"), name)) return clubs.editCurrent(values);
    // A club the table does not hold yet gets its own row, never another's.
    values.prepend({QStringLiteral("Tim"), name});
    return clubs.append(values);
}

bool PrognosisRecorder::addToPanel() {
    auto *main = m_ctx.windows ? m_ctx.windows->get<MainWindow>(WindowId::Kalv) : nullptr;
    RecentPanel *panel = main ? main->panel() : nullptr;
    if (!panel) return false;
    // The form may be hidden while it records; what counts is whether the
    // user hid the odds.
    const bool oddsEntered = m_form.txt1->isVisibleTo(&m_form);
    panel->AddPrognosis(m_form.lblDomakin->text(), m_form.lblGost->text(), oddsEntered, m_form.txt1->text(),
                        m_form.txtX->text(), m_form.txt2->text(), m_form.lblProD->text(),
                        m_form.lblProg->text());
    return true;
}

// Nothing was stored and the form is as it was: the user may press again
// once the cause is gone.
void PrognosisRecorder::failWrite() {
    if (m_ctx.messages)
        m_ctx.messages->show(&m_form, QStringLiteral("Kalvado"),
                             Database::writeFailureText(m_ctx.connectionName, m_writeError),
                             MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok, m_writeError.text());
}

void PrognosisRecorder::fail() {
    if (m_ctx.messages)
        m_ctx.messages->show(&m_form, QStringLiteral("Kalvado"), FailureText(),
                             MessageBoxes::Icon::Information, MessageBoxes::Buttons::Ok);
    m_form.lblProD->setText(QStringLiteral("0"));
    m_form.lblProg->setText(QStringLiteral("0"));
}

} // namespace kalvado

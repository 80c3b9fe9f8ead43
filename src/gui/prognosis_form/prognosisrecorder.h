#pragma once

#include "gui/common/appcontext.h"
#include "storage/recordset.h"

#include <QSqlError>
#include <QString>

namespace kalvado {

class PrognosisForm;
struct Prognosis;
struct PrognosisInputs;

// The road of one prognosis from the "Прогнозирай" click: compute, start the
// match clock, archive the prognosis, store both clubs' recent results, show
// the sign and add the prognosis to the main window's panel. Any failure shows
// one message and stops. The archive row and both club rows are one
// transaction, stored before the form changes: when the database refuses
// them, nothing is stored and the form stays as it was.
class PrognosisRecorder final {
public:
    PrognosisRecorder(AppContext &ctx, PrognosisForm &form) : m_ctx(ctx), m_form(form) {}
    PrognosisRecorder(const PrognosisRecorder &) = delete;
    PrognosisRecorder &operator=(const PrognosisRecorder &) = delete;

    // False when the run took the failure path.
    bool Run();

    static QString FailureText();
    static QString DateTimeFormat() { return QStringLiteral("yyyy-MM-dd HH:mm:ss"); }

private:
    // The new KD row: every column the prognosis fills.
    RecordSet::Values archiveRow(const RecordSet &kd, const PrognosisInputs &in, const Prognosis &p, int nom,
                                 const QString &when) const;
    bool store(const PrognosisInputs &in, const Prognosis &p);
    bool storeClubRows(RecordSet &clubs, const PrognosisInputs &in, const QString &when);
    bool storeClub(RecordSet &clubs, const QString &name, bool guest, const QString &when);
    bool addToPanel();
    void fail();
    void failWrite();

    AppContext &m_ctx;
    PrognosisForm &m_form;
    QSqlError m_writeError;
};

} // namespace kalvado

#pragma once

#include "gui/common/appcontext.h"

#include <QString>

namespace kalvado {

class PrognosisForm;
class RecordSet;
struct Prognosis;
struct PrognosisInputs;

// The road of one prognosis from the "Прогнозирай" click: compute, start the
// match clock, archive the prognosis, store both clubs' recent results, show
// the sign and add the prognosis to the main window's panel. Any failure shows
// one message and stops; what was done before it stays done.
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
    bool appendArchiveRow(const PrognosisInputs &in);
    bool storeClubRows(const PrognosisInputs &in);
    bool storeClub(RecordSet &clubs, const QString &name, bool guest, const QString &when);
    bool addToPanel();
    void fail();

    AppContext &m_ctx;
    PrognosisForm &m_form;
};

} // namespace kalvado

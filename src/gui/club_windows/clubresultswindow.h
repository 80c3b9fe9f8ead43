#pragma once

#include "gui/common/appcontext.h"
#include "storage/recordset.h"

#include <QWidget>

namespace kalvado {

class ClubResultsWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClubResultsWindow)

public:
    explicit ClubResultsWindow(AppContext &ctx, QWidget *parent = nullptr);
    // datTims: the club cursor, also used by recording.
    RecordSet *clubCursor() { return &m_datTims; }
    // Shows the window and starts the one-shot lookup timer.
    void StartLookup() { show(); }

private:
    AppContext &m_ctx;
    RecordSet m_datTims;
};

} // namespace kalvado

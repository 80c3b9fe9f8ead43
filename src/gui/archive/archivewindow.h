#pragma once

#include "gui/common/appcontext.h"
#include "storage/recordset.h"

#include <QWidget>

namespace kalvado {

class ArchiveWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ArchiveWindow)

public:
    explicit ArchiveWindow(AppContext &ctx, QWidget *parent = nullptr);
    // Data1: the archive cursor, also used by recording and the statistics.
    RecordSet *archiveCursor() { return &m_data1; }

private:
    AppContext &m_ctx;
    RecordSet m_data1;
};

} // namespace kalvado

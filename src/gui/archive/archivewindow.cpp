#include "gui/archive/archivewindow.h"

namespace kalvado {

ArchiveWindow::ArchiveWindow(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx), m_data1(ctx.connectionName, QStringLiteral("KD")) {
    setObjectName(QStringLiteral("frmData"));
    setWindowTitle(QStringLiteral("Архив"));
}

} // namespace kalvado

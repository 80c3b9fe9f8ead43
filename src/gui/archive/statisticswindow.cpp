#include "gui/archive/statisticswindow.h"

namespace kalvado {

StatisticsWindow::StatisticsWindow(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmStat"));
    setWindowTitle(QStringLiteral("Статистика-само за въведени реални резултати"));
}

} // namespace kalvado

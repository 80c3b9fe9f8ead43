#include "gui/club_windows/clubresultswindow.h"

namespace kalvado {

ClubResultsWindow::ClubResultsWindow(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx), m_datTims(ctx.connectionName, QStringLiteral("Tims")) {
    setObjectName(QStringLiteral("frmTims"));
    setWindowTitle(QStringLiteral("Статистикака на клуб"));
}

} // namespace kalvado

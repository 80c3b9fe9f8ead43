#include "gui/club_windows/clublistwindow.h"

namespace kalvado {

ClubListWindow::ClubListWindow(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmNew"));
    setWindowTitle(QStringLiteral("Нов Клуб"));
}

} // namespace kalvado

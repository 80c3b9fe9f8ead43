#include "gui/shell/mainwindow.h"

namespace kalvado {

MainWindow::MainWindow(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmKalv"));
    setWindowTitle(QStringLiteral("Kalvado - Ruby"));
    m_panel = new RecentPanel(ctx, this);
}

} // namespace kalvado

#include "gui/shell/splashwindow.h"

namespace kalvado {

SplashWindow::SplashWindow(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Kalvado"));
}

} // namespace kalvado

#include "gui/shell/optionswindow.h"

namespace kalvado {

OptionsWindow::OptionsWindow(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmOpt"));
    setWindowTitle(QStringLiteral("Опция шест мача"));
}

} // namespace kalvado

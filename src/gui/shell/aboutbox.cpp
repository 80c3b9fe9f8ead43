#include "gui/shell/aboutbox.h"

namespace kalvado {

AboutBox::AboutBox(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmForAs"));
    setWindowTitle(QStringLiteral("Kalvado - Ruby  version 3.1"));
}

} // namespace kalvado

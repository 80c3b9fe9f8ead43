#include "gui/finance/financewindow.h"

namespace kalvado {

FinanceWindow::FinanceWindow(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmFinans"));
    setWindowTitle(QStringLiteral("Финансов анализатор"));
}

} // namespace kalvado

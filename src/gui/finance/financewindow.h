#pragma once

#include "gui/common/appcontext.h"

#include <QWidget>

namespace kalvado {

class FinanceWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FinanceWindow)

public:
    explicit FinanceWindow(AppContext &ctx, QWidget *parent = nullptr);

private:
    AppContext &m_ctx;
};

} // namespace kalvado

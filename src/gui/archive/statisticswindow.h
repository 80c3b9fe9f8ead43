#pragma once

#include "gui/common/appcontext.h"

#include <QWidget>

namespace kalvado {

class StatisticsWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatisticsWindow)

public:
    explicit StatisticsWindow(AppContext &ctx, QWidget *parent = nullptr);

private:
    AppContext &m_ctx;
};

} // namespace kalvado

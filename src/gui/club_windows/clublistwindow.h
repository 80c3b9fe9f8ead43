#pragma once

#include "gui/common/appcontext.h"

#include <QWidget>

namespace kalvado {

class ClubListWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClubListWindow)

public:
    explicit ClubListWindow(AppContext &ctx, QWidget *parent = nullptr);

private:
    AppContext &m_ctx;
};

} // namespace kalvado

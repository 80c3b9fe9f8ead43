#pragma once

#include "gui/common/appcontext.h"

#include <QWidget>

namespace kalvado {

class AboutBox final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutBox)

public:
    explicit AboutBox(AppContext &ctx, QWidget *parent = nullptr);

private:
    AppContext &m_ctx;
};

} // namespace kalvado

#pragma once

#include "gui/common/appcontext.h"

#include <QWidget>

namespace kalvado {

class PrognosisForm final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrognosisForm)

public:
    explicit PrognosisForm(AppContext &ctx, QWidget *parent = nullptr);

private:
    AppContext &m_ctx;
};

} // namespace kalvado

#pragma once

#include "gui/common/appcontext.h"

#include <QWidget>

namespace kalvado {

class OptionsWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OptionsWindow)

public:
    explicit OptionsWindow(AppContext &ctx, QWidget *parent = nullptr);
    // The six-match query: the current state of chk6.
    bool sixMatchOn() const { return false; }

private:
    AppContext &m_ctx;
};

} // namespace kalvado

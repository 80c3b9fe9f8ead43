#pragma once

#include "gui/common/appcontext.h"

#include "gui/shell/recentpanel.h"

#include <QWidget>

namespace kalvado {

class MainWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    explicit MainWindow(AppContext &ctx, QWidget *parent = nullptr);
    // The panel of the last five prognoses; recording adds to it.
    RecentPanel *panel() { return m_panel; }

private:
    AppContext &m_ctx;
    RecentPanel *m_panel = nullptr;
};

} // namespace kalvado

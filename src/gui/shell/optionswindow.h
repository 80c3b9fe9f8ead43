#pragma once

#include "gui/common/appcontext.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace kalvado {

// frmOpt: the six-match option. Closing the window discards it, so an
// unconfirmed change is lost and the next use reads the stored value again.
class OptionsWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OptionsWindow)

public:
    explicit OptionsWindow(AppContext &ctx, QWidget *parent = nullptr);
    // The six-match query: the current state of chk6.
    bool sixMatchOn() const;

    QCheckBox *chk6 = nullptr;
    QPushButton *cmdOK = nullptr;
    QLabel *lblText = nullptr;

private:
    void confirm();

    AppContext &m_ctx;
};

} // namespace kalvado

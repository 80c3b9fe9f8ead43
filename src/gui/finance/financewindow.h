#pragma once

#include "gui/common/appcontext.h"
#include "gui/finance/money.h"

#include <QFont>
#include <QStringList>
#include <QWidget>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace kalvado {

// The status title for money won (w) and invested (v); nothing when the
// title should stay as it is (equal, non-zero amounts).
std::optional<QString> FinanceStatus(Money w, Money v);

// The bettor's ledger: fourteen running totals kept in the settings section
// fin, their grand totals and a status title.
class FinanceWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FinanceWindow)

public:
    explicit FinanceWindow(AppContext &ctx, QWidget *parent = nullptr);
    ~FinanceWindow() override;

    // Grand totals from the totals, and the title from the grand totals as
    // they stood before this tick.
    void Timer1Tick();

    QLineEdit *txtVest = nullptr;
    QLineEdit *txtTalon = nullptr;
    QLineEdit *txtV1 = nullptr;
    QLineEdit *txtV3 = nullptr;
    QLineEdit *txtV5 = nullptr;
    QLineEdit *txtV8 = nullptr;
    QLineEdit *txtV10 = nullptr;
    QLineEdit *txtVS = nullptr;
    QLineEdit *txtP1 = nullptr;
    QLineEdit *txtP3 = nullptr;
    QLineEdit *txtP5 = nullptr;
    QLineEdit *txtP8 = nullptr;
    QLineEdit *txtP10 = nullptr;
    QLineEdit *txtPS = nullptr;

    QLabel *lblE = nullptr;
    QLabel *lblT = nullptr;
    QLabel *lbl1v = nullptr;
    QLabel *lbl3v = nullptr;
    QLabel *lbl5v = nullptr;
    QLabel *lbl8v = nullptr;
    QLabel *lbl10v = nullptr;
    QLabel *lblSv = nullptr;
    QLabel *lbl1 = nullptr;
    QLabel *lbl3 = nullptr;
    QLabel *lbl5 = nullptr;
    QLabel *lbl8 = nullptr;
    QLabel *lbl10 = nullptr;
    QLabel *lblS = nullptr;

    QLabel *lblOv = nullptr;
    QLabel *lblO = nullptr;
    QLabel *lblStatus = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdClear = nullptr;
    QTimer *Timer1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // One running total: its settings key, its label and the box that feeds it.
    struct Ledger {
        const char *key;
        QLabel *total;
        QLineEdit *entry;
    };
    static constexpr int kLedgers = 14;
    static constexpr int kInvested = 8; // the first eight are money invested

    void build();
    void cmdOKClick();
    void cmdClearClick();
    // Writes the fourteen totals to the settings store.
    void saveTotals();
    QStringList totalTexts() const;

    AppContext &m_ctx;
    std::array<Ledger, kLedgers> m_ledgers{};
    QStringList m_savedTotals; // as last saved
    QFont m_grandFont;         // of the grand totals, before any shrinking
};

} // namespace kalvado

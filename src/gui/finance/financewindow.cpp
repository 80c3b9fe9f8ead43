#include "gui/finance/financewindow.h"

#include "gui/common/keyfilter.h"
#include "gui/common/messageboxes.h"
#include "gui/common/settingssave.h"
#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "storage/settingsstore.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <limits>

namespace kalvado {

namespace {

const QString kSection = QStringLiteral("fin");

// An amount read back from a caption; unreadable text counts as nothing.
Money Amount(const QLabel *label) {
    return Money::parse(label->text()).value_or(Money());
}

} // namespace

std::optional<QString> FinanceStatus(Money w, Money v) {
    if (w.isZero() && v.isZero()) return QStringLiteral("Неизвестен");
    // Exact arithmetic, widened so that no product or sum can overflow.
    using Wide = __int128;
    const Wide W = w.ticks();
    const Wide V = v.ticks();
    const auto units = [](int n) { return Wide(n) * Money::kScale; };
    const double dw = w.toDouble();
    const double dv = v.toDouble();
    if (3 * W < V && W + units(250) < V) return QStringLiteral("Кръводарител");
    if (2 * W < V && W + units(75) < V) return QStringLiteral("Силно набутан");
    if (1.5 * dw < dv && W + units(20) < V) return QStringLiteral("Набутан");
    if (1.25 * dw < dv && W + units(10) < V) return QStringLiteral("Леко набутан");
    if (1.2 * dw < dv) return QStringLiteral("Аматьор");
    if (W < V) return QStringLiteral("Надежден играч");
    if (3 * V < W && V + units(850) < W) return QStringLiteral("Заплаха за букмейкърите");
    if (2 * V < W && V + units(100) < W) return QStringLiteral("Башмайстор");
    if (1.5 * dv < dw && V + units(50) < W) return QStringLiteral("Майстор");
    if (1.25 * dv < dw && V + units(5) < W) return QStringLiteral("Кандидат Майстор");
    if (1.2 * dv < dw) return QStringLiteral("Добър Играч");
    if (V < W) return QStringLiteral("Много надежден");
    return std::nullopt;
}

FinanceWindow::FinanceWindow(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmFinans"));
    setWindowTitle(QStringLiteral("Финансов анализатор"));
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    CentreWindow(this);

    for (const Ledger &l : m_ledgers)
        l.total->setText(
            m_ctx.settings->ReadSetting(kSection, QString::fromLatin1(l.key), QStringLiteral("0")));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &FinanceWindow::Timer1Tick);
    Timer1->start();
}

void FinanceWindow::build() {
    setFixedSize(TwipRect(0, 0, 9840, 6000).size());
    QFont bold = font();
    bold.setBold(true);

    const auto label = [this](const QString &text, int left, int top, int width, int height = 285) {
        auto *l = PlainLabel(text, this);
        PlaceTw(l, left, top, width, height);
        return l;
    };
    const auto total = [this](const char *name, int left, int top) {
        auto *l = PlainLabel(QStringLiteral("0"), this);
        l->setObjectName(QString::fromLatin1(name));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        SetColours(l, QColor(255, 255, 225), QColor(0, 0, 128));
        PlaceTw(l, left, top, 1740, 315);
        return l;
    };
    const auto entry = [this](const char *name, int left, int top) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setAlignment(Qt::AlignRight);
        InstallKeyFilter(e, KeyRule::MoneyBox);
        PlaceTw(e, left, top, 1200, 315);
        return e;
    };

    constexpr int kCaptionLeft = 120;
    constexpr int kInvEntry = 3480;
    constexpr int kInvTotal = 4740;
    constexpr int kWonEntry = 6600;
    constexpr int kWonTotal = 7860;
    constexpr int kFirstRow = 660;
    constexpr int kRowStep = 420;

    QLabel *head = label(QStringLiteral("Вложени средства:"), kInvEntry, 240, 2640);
    head->setFont(bold);
    head = label(QStringLiteral("Получени печалби:"), kWonEntry, 240, 2640);
    head->setFont(bold);

    // The "a" of the fourth caption is a Latin letter; the caption is kept as users know it.
    const QStringList captions{
        QStringLiteral("Вестник Еврофутбол:"),
        QStringLiteral("Талон за Еврофутбол:"),
        QStringLiteral("Залог на 1 мач в колонка:"),
        QStringLiteral("Залог на 3-4 мач"
                       "a"
                       " в колонка:"),
        QStringLiteral("Залог на 5-7 мача в колонка:"),
        QStringLiteral("Залог на 8-10 мача в колонка:"),
        QStringLiteral("Залог над 10 мача в колонка:"),
        QStringLiteral("Залог за Супер Джакпот:"),
    };
    for (int row = 0; row < captions.size(); ++row)
        label(captions.at(row), kCaptionLeft, kFirstRow + row * kRowStep + 15, 3300);

    const auto rowTop = [](int row) { return kFirstRow + row * kRowStep; };
    txtVest = entry("txtVest", kInvEntry, rowTop(0));
    lblE = total("lblE", kInvTotal, rowTop(0));
    txtTalon = entry("txtTalon", kInvEntry, rowTop(1));
    lblT = total("lblT", kInvTotal, rowTop(1));
    txtV1 = entry("txtV1", kInvEntry, rowTop(2));
    lbl1v = total("lbl1v", kInvTotal, rowTop(2));
    txtP1 = entry("txtP1", kWonEntry, rowTop(2));
    lbl1 = total("lbl1", kWonTotal, rowTop(2));
    txtV3 = entry("txtV3", kInvEntry, rowTop(3));
    lbl3v = total("lbl3v", kInvTotal, rowTop(3));
    txtP3 = entry("txtP3", kWonEntry, rowTop(3));
    lbl3 = total("lbl3", kWonTotal, rowTop(3));
    txtV5 = entry("txtV5", kInvEntry, rowTop(4));
    lbl5v = total("lbl5v", kInvTotal, rowTop(4));
    txtP5 = entry("txtP5", kWonEntry, rowTop(4));
    lbl5 = total("lbl5", kWonTotal, rowTop(4));
    txtV8 = entry("txtV8", kInvEntry, rowTop(5));
    lbl8v = total("lbl8v", kInvTotal, rowTop(5));
    txtP8 = entry("txtP8", kWonEntry, rowTop(5));
    lbl8 = total("lbl8", kWonTotal, rowTop(5));
    txtV10 = entry("txtV10", kInvEntry, rowTop(6));
    lbl10v = total("lbl10v", kInvTotal, rowTop(6));
    txtP10 = entry("txtP10", kWonEntry, rowTop(6));
    lbl10 = total("lbl10", kWonTotal, rowTop(6));
    txtVS = entry("txtVS", kInvEntry, rowTop(7));
    lblSv = total("lblSv", kInvTotal, rowTop(7));
    txtPS = entry("txtPS", kWonEntry, rowTop(7));
    lblS = total("lblS", kWonTotal, rowTop(7));

    const int sumTop = rowTop(8) + 120;
    label(QStringLiteral("Общо:"), kInvEntry, sumTop + 15, 1200)->setFont(bold);
    lblOv = total("lblOv", kInvTotal, sumTop);
    lblOv->setFont(bold);
    m_grandFont = bold;
    label(QStringLiteral("Общо:"), kWonEntry, sumTop + 15, 1200)->setFont(bold);
    lblO = total("lblO", kWonTotal, sumTop);
    lblO->setFont(bold);

    const int statusTop = sumTop + 600;
    label(QStringLiteral("Вашият Статус:"), kCaptionLeft, statusTop, 2000, 360)->setFont(bold);
    lblStatus = label(QStringLiteral("Неизвестен"), 2160, statusTop, 6840, 360);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    QFont big = bold;
    big.setPointSizeF(big.pointSizeF() * 1.3);
    lblStatus->setFont(big);
    SetColours(lblStatus, palette().color(QPalette::Window), QColor(160, 0, 0));

    const int buttonTop = statusTop + 600;
    cmdOK = new QPushButton(QStringLiteral("Въведи"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    PlaceTw(cmdOK, kInvEntry, buttonTop, 2640, 450);
    cmdClear = new QPushButton(QStringLiteral("Изчисти статистиката"), this);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));
    PlaceTw(cmdClear, kWonEntry, buttonTop, 2640, 450);
    connect(cmdOK, &QPushButton::clicked, this, &FinanceWindow::cmdOKClick);
    connect(cmdClear, &QPushButton::clicked, this, &FinanceWindow::cmdClearClick);

    // Store order of the totals; "Въведи" walks its boxes in the same order.
    m_ledgers = {{
        {"t", lblT, txtTalon},
        {"e", lblE, txtVest},
        {"1v", lbl1v, txtV1},
        {"3v", lbl3v, txtV3},
        {"5v", lbl5v, txtV5},
        {"8v", lbl8v, txtV8},
        {"10v", lbl10v, txtV10},
        {"Sv", lblSv, txtVS},
        {"1", lbl1, txtP1},
        {"3", lbl3, txtP3},
        {"5", lbl5, txtP5},
        {"8", lbl8, txtP8},
        {"10", lbl10, txtP10},
        {"S", lblS, txtPS},
    }};
}

void FinanceWindow::cmdOKClick() {
    // Every amount and every new total is checked before any total changes,
    // so a bad entry never leaves the ledger half updated.
    std::array<QString, kLedgers> sums;
    for (int i = 0; i < kLedgers; ++i) {
        const Ledger &l = m_ledgers[i];
        const QString typed = l.entry->text();
        const std::optional<Money> total = Money::parse(l.total->text());
        const std::optional<Money> amount = typed.isEmpty() ? Money() : Money::parse(typed);
        const std::optional<Money> sum = total && amount ? total->plus(*amount) : std::nullopt;
        if (!sum) {
            m_ctx.messages->show(this, QStringLiteral("Грешка"), QStringLiteral("Въвели сте невалидна сума"),
                                 MessageBoxes::Icon::Information, MessageBoxes::Buttons::Ok);
            if (total && !amount) {
                l.entry->setFocus();
                l.entry->selectAll();
            }
            return;
        }
        sums[i] = sum->toText();
    }
    for (const Ledger &l : m_ledgers)
        if (l.entry->text().isEmpty()) l.entry->setText(QStringLiteral("0"));
    for (int i = 0; i < kLedgers; ++i)
        m_ledgers[i].total->setText(sums[i]);
}

void FinanceWindow::cmdClearClick() {
    const auto answer =
        m_ctx.messages->show(this, QStringLiteral("ВНИМАНИЕ!!!"),
                             QStringLiteral("Данните ще получат стойност НУЛА\nСигурни ли сте?"),
                             MessageBoxes::Icon::Critical, MessageBoxes::Buttons::YesNo);
    if (answer != MessageBoxes::Answer::Yes) return;
    for (const Ledger &l : m_ledgers)
        l.total->setText(QStringLiteral("0"));
}

void FinanceWindow::Timer1Tick() {
    const Money won = Amount(lblO);
    const Money invested = Amount(lblOv);

    // Widened, so that fourteen totals near the limit cannot wrap around.
    __int128 investedSum = 0;
    __int128 wonSum = 0;
    for (int i = 0; i < kLedgers; ++i)
        (i < kInvested ? investedSum : wonSum) += Amount(m_ledgers[i].total).ticks();
    // A grand total beyond the amount range keeps its previous caption.
    const auto show = [](QLabel *label, __int128 ticks) {
        if (ticks >= std::numeric_limits<std::int64_t>::min() &&
            ticks <= std::numeric_limits<std::int64_t>::max())
            label->setText(Money::fromTicks(static_cast<std::int64_t>(ticks)).toText());
    };
    show(lblOv, investedSum);
    show(lblO, wonSum);

    if (const std::optional<QString> title = FinanceStatus(won, invested)) lblStatus->setText(*title);

    for (const Ledger &l : m_ledgers)
        FitLabelText(l.total, font());
    FitLabelText(lblOv, m_grandFont);
    FitLabelText(lblO, m_grandFont);
}

// The program can end without closing this window (its windows are then
// simply destroyed); the totals must survive that too.
FinanceWindow::~FinanceWindow() {
    // Closing saved them already (and told of a failure); only totals changed
    // since then need a word now.
    if (totalTexts() != m_savedTotals) saveTotals();
}

QStringList FinanceWindow::totalTexts() const {
    QStringList texts;
    for (const Ledger &l : m_ledgers)
        texts << l.total->text();
    return texts;
}

void FinanceWindow::saveTotals() {
    for (const Ledger &l : m_ledgers)
        m_ctx.settings->WriteSetting(kSection, QString::fromLatin1(l.key), l.total->text());
    m_savedTotals = totalTexts();
    SaveSettings(m_ctx, this, QStringLiteral("сумите на финансовия анализ"));
}

void FinanceWindow::closeEvent(QCloseEvent *event) {
    saveTotals();
    event->accept();
}

} // namespace kalvado

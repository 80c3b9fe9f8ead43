#include "gui/archive/marketcomparison.h"

#include "engine/numbertext.h"
#include "engine/prognosis.h"
#include "gui/archive/archivequeries.h"
#include "gui/finance/money.h"
#include "storage/fastscan.h"
#include "storage/schemaupgrade.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace kalvado {

namespace {

using Wide = __int128;

// Odds in ten-thousandths; nothing when the text is no odds at all.
std::optional<std::int64_t> OddsTicks(const QString &text) {
    if (!DecimalText(text)) return std::nullopt;
    const std::optional<Money> odds = Money::parse(text);
    if (!odds || *odds < Money::whole(1)) return std::nullopt;
    return odds->ticks();
}

// Goal counts as stored: plain digits are read at once, anything else by the
// archive's own rule.
std::optional<int> GoalsOf(QByteArrayView stored) {
    if (!stored.isEmpty() && stored.size() <= 4) {
        int goals = 0;
        for (const char c : stored) {
            if (c < '0' || c > '9') return Goals(QString::fromUtf8(stored));
            goals = goals * 10 + (c - '0');
        }
        return goals;
    }
    return Goals(QString::fromUtf8(stored));
}

// The few odds texts of an archive repeat from row to row: each short one is
// read once and kept under its bytes.
class OddsReader final {
public:
    std::optional<std::int64_t> operator()(QByteArrayView stored) {
        if (stored.size() > 7) return OddsTicks(QString::fromUtf8(stored));
        quint64 key = quint64(stored.size());
        for (qsizetype i = 0; i < stored.size(); ++i)
            key |= quint64(uchar(stored[i])) << (8 * (i + 1));
        auto it = m_read.constFind(key);
        if (it == m_read.constEnd()) it = m_read.insert(key, OddsTicks(QString::fromUtf8(stored)));
        return *it;
    }

private:
    QHash<quint64, std::optional<std::int64_t>> m_read;
};

int SignIndex(int home, int guest) {
    switch (SignOf(home, guest)) {
    case Sign::Home:
        return 0;
    case Sign::Draw:
        return 1;
    case Sign::Guest:
        return 2;
    }
    return 1;
}

// n / d rounded to the nearest whole number, a half to the even one; d > 0.
Wide RoundedDiv(Wide n, Wide d) {
    const bool negative = n < 0;
    const Wide m = negative ? -n : n;
    Wide q = m / d;
    const Wide twice = 2 * (m % d);
    if (twice > d || (twice == d && q % 2 != 0)) ++q;
    return negative ? -q : q;
}

// A whole number with `decimals` implied decimals as text with the decimal comma.
QString FixedText(Wide value, int decimals) {
    const bool negative = value < 0;
    Wide m = negative ? -value : value;
    QString digits;
    do {
        digits.prepend(QChar(u'0' + int(m % 10)));
        m /= 10;
    } while (m != 0);
    digits = digits.rightJustified(decimals + 1, u'0');
    QString text = digits.left(digits.size() - decimals);
    if (decimals > 0) text += BulgarianLocale().decimalPoint() + digits.right(decimals);
    if (negative) return u'-' + text;
    return value > 0 ? u'+' + text : text;
}

} // namespace

MarketComparison CompareWithMarket(const QString &connection) {
    MarketComparison result;
    const QSqlDatabase db = QSqlDatabase::database(connection, false);
    if (!db.isValid() || !db.isOpen()) return result;
    OddsReader oddsOf;
    Wide prognosisProfit = 0;
    Wide favouriteProfit = 0;
    const auto tally = [&](const QByteArrayView *v) {
        const auto pD = GoalsOf(v[0]);
        const auto pG = GoalsOf(v[1]);
        const auto rD = GoalsOf(v[2]);
        const auto rG = GoalsOf(v[3]);
        if (!pD || !pG || !rD || !rG) return true;
        ++result.completed;
        const std::optional<std::int64_t> odds[3] = {oddsOf(v[4]), oddsOf(v[5]), oddsOf(v[6])};
        if (!odds[0] || !odds[1] || !odds[2]) return true;
        ++result.compared;
        const int predicted = SignIndex(*pD, *pG);
        const int real = SignIndex(*rD, *rG);
        int favourite = 0;
        for (int s = 1; s < 3; ++s)
            if (*odds[s] < *odds[favourite]) favourite = s;
        ++result.signTable[predicted][real];
        // Win: odds - 1; loss: the stake.
        const auto profitOf = [&](int sign) -> Wide {
            return sign == real ? *odds[sign] - Money::kScale : -Money::kScale;
        };
        prognosisProfit += profitOf(predicted);
        favouriteProfit += profitOf(favourite);
        result.signHits += predicted == real;
        result.favouriteHits += favourite == real;
        result.homeHits += real == 0;
        result.exactHits += *pD == *rD && *pG == *rG;
        result.prognosisCurve.push_back(double(prognosisProfit) / Money::kScale);
        result.favouriteCurve.push_back(double(favouriteProfit) / Money::kScale);
        return true;
    };

    const QString odds =
        HasArchiveOddsColumns(db) ? QStringLiteral("k1, kX, k2") : QStringLiteral("NULL, NULL, NULL");
    const QString sql = QStringLiteral("SELECT proD, proG, resD, resG, %1 FROM KD "
                                       "WHERE resD <> '' AND resG <> '' AND %2 ORDER BY rowid")
                            .arg(odds, BeforeFirstEmpty(QStringLiteral("Dom")));
    if (!FastScanUtf8(db, sql, 7, tally)) {
        result = MarketComparison{};
        prognosisProfit = favouriteProfit = 0;
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (q.exec(sql)) {
            QByteArray text[7];
            QByteArrayView values[7];
            while (q.next()) {
                for (int i = 0; i < 7; ++i) {
                    text[i] = q.value(i).toString().toUtf8();
                    values[i] = text[i];
                }
                tally(values);
            }
        }
    }
    result.prognosisProfit = prognosisProfit;
    result.favouriteProfit = favouriteProfit;
    return result;
}

QString ProfitText(__int128 ticks) {
    return FixedText(RoundedDiv(ticks, Money::kScale / 100), 2);
}

std::optional<QString> YieldText(__int128 ticks, int stakes) {
    if (stakes <= 0) return std::nullopt;
    // Percent in tenths: ticks / kScale / stakes * 100 * 10.
    return FixedText(RoundedDiv(ticks * 1000, Wide(stakes) * Money::kScale), 1);
}

} // namespace kalvado

#include "history/replay.h"

#include "engine/csvfield.h"

#include <QSaveFile>

namespace kalvado {

namespace {

constexpr qint64 kStake = 10000; // a stake of 1 in ten-thousandths

// The form's boxes for one replayed match: the form's defaults, then what the
// fill writes.
class InputsTarget final : public FillTarget {
public:
    explicit InputsTarget(PrognosisInputs &in) : m_in(in) {}
    void setBoxText(Box box, int index, const QString &text) override {
        const size_t i = size_t(index & 7);
        switch (box) {
        case Box::HomeScored:
            m_in.home.scored[i] = text;
            break;
        case Box::HomeConceded:
            m_in.home.conceded[i] = text;
            break;
        case Box::GuestScored:
            m_in.guest.scored[i] = text;
            break;
        case Box::GuestConceded:
            m_in.guest.conceded[i] = text;
            break;
        case Box::HomeWins:
            m_in.homeWins = text;
            break;
        case Box::GuestWins:
            m_in.guestWins = text;
            break;
        case Box::HomePlace:
            m_in.homePlace = text;
            break;
        case Box::GuestPlace:
            m_in.guestPlace = text;
            break;
        case Box::Odds1:
            m_in.k1 = text;
            break;
        case Box::OddsX:
            m_in.kX = text;
            break;
        case Box::Odds2:
            m_in.k2 = text;
            break;
        }
    }

private:
    PrognosisInputs &m_in;
};

int SignIndex(Sign s) {
    return s == Sign::Home ? 0 : s == Sign::Draw ? 1 : 2;
}

// The held odds of the three outcomes; nothing when the match has none.
std::optional<std::array<qint64, 3>> HeldOdds(const MatchRow &row) {
    const auto h = OddsTicks(row.oddsH);
    const auto d = OddsTicks(row.oddsD);
    const auto a = OddsTicks(row.oddsA);
    if (!h || !d || !a) return std::nullopt;
    return std::array<qint64, 3>{*h, *d, *a};
}

// A flat stake on `call`: the odds less the stake when it came, else the stake.
qint64 Profit(Sign call, Sign real, const std::array<qint64, 3> &odds) {
    return call == real ? odds[size_t(SignIndex(call))] - kStake : -kStake;
}

void Count(ReplayTotals &t, const ReplayMatch &m) {
    ++t.matches;
    if (m.leftOut != ReplayLeftOut::None) {
        ++t.leftOut[size_t(m.leftOut)];
        return;
    }
    ++t.replayed;
    const std::array<qint64, 3> odds = *HeldOdds(m.row);
    const Prognosis &p = *m.prognosis;
    t.formulaHits += p.sign == m.real;
    t.favouriteHits += *m.favourite == m.real;
    t.homeHits += m.real == Sign::Home;
    t.exactHits += p.homeGoals == *m.row.homeGoals && p.guestGoals == *m.row.awayGoals;
    t.oneOneHits += *m.row.homeGoals == 1 && *m.row.awayGoals == 1;
    ++t.calls[size_t(SignIndex(p.sign))];
    ++t.real[size_t(SignIndex(m.real))];
    ++t.table[size_t(SignIndex(p.sign))][size_t(SignIndex(m.real))];
    t.formulaProfit += *m.profit;
    t.favouriteProfit += Profit(*m.favourite, m.real, odds);
    t.homeProfit += Profit(Sign::Home, m.real, odds);
}

// Ten-thousandths as a decimal with the comma: at least two decimals, no
// trailing zeros beyond them ("-1,00", "0,85", "1,8750" -> "1,875").
QString TicksText(qint64 ticks) {
    const bool negative = ticks < 0;
    const qint64 m = negative ? -ticks : ticks;
    QString fraction = QStringLiteral("%1").arg(m % kStake, 4, 10, QLatin1Char('0'));
    while (fraction.size() > 2 && fraction.endsWith(u'0'))
        fraction.chop(1);
    return (negative ? QStringLiteral("-") : QString()) + QString::number(m / kStake) + u',' + fraction;
}

} // namespace

QString ReplayLeftOutText(ReplayLeftOut reason) {
    switch (reason) {
    case ReplayLeftOut::None:
        return {};
    case ReplayLeftOut::FewMatches:
        return QStringLiteral("под 8 мача в годината преди мача");
    case ReplayLeftOut::NoOdds:
        return QStringLiteral("няма коефициенти");
    case ReplayLeftOut::OddsOutOfRange:
        return QStringLiteral("коефициент извън 1,01–50");
    case ReplayLeftOut::EngineFailed:
        return QStringLiteral("формулата не изчисли мача");
    }
    return {};
}

std::optional<qint64> OddsTicks(const QString &text) {
    const QString t = text.trimmed();
    qint64 whole = 0;
    qint64 fraction = 0;
    int decimals = 0;
    bool point = false;
    bool digits = false;
    bool roundUp = false;
    for (const QChar c : t) {
        if (c == u'.' || c == u',') {
            if (point) return std::nullopt;
            point = true;
        } else if (c >= u'0' && c <= u'9') {
            digits = true;
            const int d = c.unicode() - u'0';
            if (!point) {
                if (whole > 1'000'000) return std::nullopt;
                whole = whole * 10 + d;
            } else if (decimals < 4) {
                fraction = fraction * 10 + d;
                ++decimals;
            } else if (decimals == 4) {
                roundUp = d >= 5; // the fifth decimal rounds; odds never have one
                ++decimals;
            }
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    for (int i = std::min(decimals, 4); i < 4; ++i)
        fraction *= 10;
    const qint64 ticks = whole * kStake + fraction + (roundUp ? 1 : 0);
    if (ticks < kStake) return std::nullopt;
    return ticks;
}

Replay::Replay(const MatchIndex &index, QString league, QStringList seasons, QHash<QString, QString> links)
    : m_index(index), m_league(std::move(league)), m_seasons(std::move(seasons)), m_links(std::move(links)) {
    for (const MatchRow &r : m_index.rows())
        if (r.league == m_league && r.played() && m_seasons.contains(r.season)) m_order.push_back(&r);
}

bool Replay::Step(int count) {
    for (; count > 0 && !finished(); --count, ++m_next) {
        const MatchRow &row = *m_order[size_t(m_next)];
        ReplayMatch m;
        m.row = row;
        m.homeUsed = m_links.value(row.home, row.home);
        m.guestUsed = m_links.value(row.away, row.away);
        m.real = SignOf(*row.homeGoals, *row.awayGoals);

        PrognosisInputs &in = m.inputs;
        in.shansDom = homeChance();
        in.shansGost = guestChance();
        in.homeName = in.homeCaption = m.homeUsed;
        in.guestName = in.guestCaption = m.guestUsed;
        const FillPlan plan = PlanFill(m_index, row.home, row.away, row.league, row.date, FillOptions{});
        InputsTarget target(in);
        ApplyFill(plan, target);

        const auto odds = HeldOdds(row);
        if (odds) {
            const auto &o = *odds;
            m.favourite = o[0] <= o[1] && o[0] <= o[2] ? Sign::Home : o[1] <= o[2] ? Sign::Draw : Sign::Guest;
        }
        if (plan.homeMatches < 8 || plan.guestMatches < 8)
            m.leftOut = ReplayLeftOut::FewMatches;
        else if (!plan.oddsFound || !odds)
            m.leftOut = ReplayLeftOut::NoOdds;
        else if (plan.oddsOutOfRange)
            m.leftOut = ReplayLeftOut::OddsOutOfRange;
        else if (!(m.prognosis = ComputePrognosis(in)))
            m.leftOut = ReplayLeftOut::EngineFailed;
        if (m.leftOut == ReplayLeftOut::None) m.profit = Profit(m.prognosis->sign, m.real, *odds);
        m_done.append(std::move(m));
    }
    return finished();
}

ReplayResult Replay::Result() const {
    ReplayResult r;
    r.league = m_league;
    r.seasons = m_seasons;
    r.matches = m_done;
    for (const QString &s : m_seasons)
        r.bySeason.append({s, {}});
    double formula = 0;
    double favourite = 0;
    for (const ReplayMatch &m : m_done) {
        Count(r.totals, m);
        for (ReplaySeason &s : r.bySeason)
            if (s.season == m.row.season) Count(s.totals, m);
        if (m.leftOut != ReplayLeftOut::None) continue;
        formula += double(*m.profit) / kStake;
        favourite += double(Profit(*m.favourite, m.real, *HeldOdds(m.row))) / kStake;
        r.formulaCurve.push_back(formula);
        r.favouriteCurve.push_back(favourite);
    }
    return r;
}

QStringList ReplayCsvHeader() {
    QStringList h{QStringLiteral("Лига"),
                  QStringLiteral("Сезон"),
                  QStringLiteral("Дата"),
                  QStringLiteral("Домакин"),
                  QStringLiteral("Гост"),
                  QStringLiteral("Домакин във формата"),
                  QStringLiteral("Гост във формата")};
    const QString groups[] = {QStringLiteral("Домакин вкарани %1"), QStringLiteral("Домакин допуснати %1"),
                              QStringLiteral("Гост вкарани %1"), QStringLiteral("Гост допуснати %1")};
    for (const QString &g : groups)
        for (int i = 1; i <= 8; ++i)
            h << g.arg(i);
    h << QStringLiteral("Победи на домакина") << QStringLiteral("Победи на госта")
      << QStringLiteral("Място домакин") << QStringLiteral("Място гост") << QStringLiteral("Коефициент 1")
      << QStringLiteral("Коефициент X") << QStringLiteral("Коефициент 2")
      << QStringLiteral("Прогноза домакин") << QStringLiteral("Прогноза гост")
      << QStringLiteral("Знак на прогнозата") << QStringLiteral("Резултат домакин")
      << QStringLiteral("Резултат гост") << QStringLiteral("Знак на резултата")
      << QStringLiteral("Знак на фаворита") << QStringLiteral("Печалба на формулата")
      << QStringLiteral("Пропуснат, защото");
    return h;
}

QStringList ReplayCsvFields(const ReplayMatch &m) {
    const PrognosisInputs &in = m.inputs;
    QStringList f{m.row.league, m.row.season, m.row.date.toString(Qt::ISODate), m.row.home, m.row.away,
                  m.homeUsed,   m.guestUsed};
    for (const auto *boxes : {&in.home.scored, &in.home.conceded, &in.guest.scored, &in.guest.conceded})
        for (const QString &t : *boxes)
            f << t;
    f << in.homeWins << in.guestWins << in.homePlace << in.guestPlace << in.k1 << in.kX << in.k2;
    if (m.prognosis)
        f << QString::number(m.prognosis->homeGoals) << QString::number(m.prognosis->guestGoals)
          << SignText(m.prognosis->sign);
    else
        f << QString() << QString() << QString();
    f << QString::number(*m.row.homeGoals) << QString::number(*m.row.awayGoals) << SignText(m.real);
    f << (m.favourite ? SignText(*m.favourite) : QString());
    f << (m.profit ? TicksText(*m.profit) : QString());
    f << ReplayLeftOutText(m.leftOut);
    return f;
}

QString ExportReplayCsv(const ReplayResult &result, const QString &path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Файлът %1 не може да бъде създаден. Проверете дали папката съществува и дали "
                              "имате право да пишете в нея.")
            .arg(path);
    QByteArray bytes("\xEF\xBB\xBF");
    const auto line = [&](const QStringList &fields) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i) bytes += ';';
            bytes += CsvField(fields.at(i)).toUtf8();
        }
        bytes += "\r\n";
    };
    line(ReplayCsvHeader());
    for (const ReplayMatch &m : result.matches)
        line(ReplayCsvFields(m));
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        file.cancelWriting();
        return QStringLiteral(
                   "Записът във файла %1 не успя; може би дискът е пълен. Файлът не е създаден, а ако е "
                   "имало такъв, той е останал както преди.")
            .arg(path);
    }
    return {};
}

} // namespace kalvado

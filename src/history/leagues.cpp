#include "history/leagues.h"

namespace kalvado {

const QList<SiteLeague> &SiteLeagues() {
    static const QList<SiteLeague> leagues = {
        {QStringLiteral("E0"), QStringLiteral("Англия – Висша лига"), false},
        {QStringLiteral("E1"), QStringLiteral("Англия – Чемпиъншип"), false},
        {QStringLiteral("E2"), QStringLiteral("Англия – Първа лига"), false},
        {QStringLiteral("E3"), QStringLiteral("Англия – Втора лига"), false},
        {QStringLiteral("EC"), QStringLiteral("Англия – Национална лига"), false},
        {QStringLiteral("SC0"), QStringLiteral("Шотландия – Премиършип"), false},
        {QStringLiteral("SC1"), QStringLiteral("Шотландия – Чемпиъншип"), false},
        {QStringLiteral("SC2"), QStringLiteral("Шотландия – Първа лига"), false},
        {QStringLiteral("SC3"), QStringLiteral("Шотландия – Втора лига"), false},
        {QStringLiteral("D1"), QStringLiteral("Германия – Бундеслига"), false},
        {QStringLiteral("D2"), QStringLiteral("Германия – Втора Бундеслига"), false},
        {QStringLiteral("I1"), QStringLiteral("Италия – Серия А"), false},
        {QStringLiteral("I2"), QStringLiteral("Италия – Серия Б"), false},
        {QStringLiteral("SP1"), QStringLiteral("Испания – Ла Лига"), false},
        {QStringLiteral("SP2"), QStringLiteral("Испания – Сегунда дивисион"), false},
        {QStringLiteral("F1"), QStringLiteral("Франция – Лига 1"), false},
        {QStringLiteral("F2"), QStringLiteral("Франция – Лига 2"), false},
        {QStringLiteral("N1"), QStringLiteral("Нидерландия – Ередивизи"), false},
        {QStringLiteral("B1"), QStringLiteral("Белгия – Про лига"), false},
        {QStringLiteral("P1"), QStringLiteral("Португалия – Примейра лига"), false},
        {QStringLiteral("T1"), QStringLiteral("Турция – Суперлига"), false},
        {QStringLiteral("G1"), QStringLiteral("Гърция – Суперлига"), false},
        {QStringLiteral("ARG"), QStringLiteral("Аржентина – Примера дивисион"), true},
        {QStringLiteral("AUT"), QStringLiteral("Австрия – Бундеслига"), true},
        {QStringLiteral("BRA"), QStringLiteral("Бразилия – Серия А"), true},
        {QStringLiteral("CHN"), QStringLiteral("Китай – Суперлига"), true},
        {QStringLiteral("DNK"), QStringLiteral("Дания – Суперлига"), true},
        {QStringLiteral("FIN"), QStringLiteral("Финландия – Вейкауслига"), true},
        {QStringLiteral("IRL"), QStringLiteral("Ирландия – Премиър дивизия"), true},
        {QStringLiteral("JPN"), QStringLiteral("Япония – Джей лига"), true},
        {QStringLiteral("MEX"), QStringLiteral("Мексико – Лига МХ"), true},
        {QStringLiteral("NOR"), QStringLiteral("Норвегия – Елитсерия"), true},
        {QStringLiteral("POL"), QStringLiteral("Полша – Екстракласа"), true},
        {QStringLiteral("ROU"), QStringLiteral("Румъния – Лига 1"), true},
        {QStringLiteral("RUS"), QStringLiteral("Русия – Премиер лига"), true},
        {QStringLiteral("SWE"), QStringLiteral("Швеция – Алсвенскан"), true},
        {QStringLiteral("SWZ"), QStringLiteral("Швейцария – Суперлига"), true},
        {QStringLiteral("USA"), QStringLiteral("САЩ – МЛС"), true},
    };
    return leagues;
}

QString KnownLeagueName(const QString &code) {
    for (const SiteLeague &l : SiteLeagues())
        if (l.code == code) return l.name;
    return {};
}

QString MainLeagueUrl(const QString &base, const QString &code, int seasonStartYear) {
    const auto two = [](int year) { return QStringLiteral("%1").arg(year % 100, 2, 10, QLatin1Char('0')); };
    return QStringLiteral("%1/mmz4281/%2%3/%4.csv")
        .arg(base, two(seasonStartYear), two(seasonStartYear + 1), code);
}

QString ExtraLeagueUrl(const QString &base, const QString &code) {
    return QStringLiteral("%1/new/%2.csv").arg(base, code);
}

QString FixturesUrl(const QString &base) {
    return base + QStringLiteral("/fixtures.csv");
}

} // namespace kalvado

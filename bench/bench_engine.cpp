// Engine throughput: whole prognoses computed from the texts of a form.
#include "bench/bench.h"
#include "engine/prognosis.h"

#include <QElapsedTimer>
#include <QStringList>

using namespace kalvado;

KALVADO_BENCH("engine: prognoses per second from texts") {
    PrognosisInputs in;
    in.shansDom = QStringLiteral("1,845");
    in.shansGost = QStringLiteral("1,825");
    in.homeWins = QStringLiteral("3");
    in.guestWins = QStringLiteral("1");
    in.homePlace = QStringLiteral("4");
    in.guestPlace = QStringLiteral("12");
    in.homeName = QStringLiteral("Челси");
    in.guestName = QStringLiteral("Левски");
    in.k1 = QStringLiteral("1,85");
    in.kX = QStringLiteral("3,40");
    in.k2 = QStringLiteral("4,20");
    const QStringList goals{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                            QStringLiteral("3")};
    for (int i = 0; i < 8; ++i) {
        in.home.scored[i] = goals[i % 4];
        in.home.conceded[i] = goals[(i + 1) % 4];
        in.guest.scored[i] = goals[(i + 2) % 4];
        in.guest.conceded[i] = goals[(i + 3) % 4];
    }
    const int n = 1'000'000;
    long checksum = 0;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < n; ++i) {
        in.home.scored[7] = goals[i & 3]; // vary an input so nothing is hoisted
        const auto p = ComputePrognosis(in);
        checksum += p ? p->homeGoals * 9 + p->guestGoals : -1;
    }
    const double seconds = t.nsecsElapsed() / 1e9;
    bench::Report(QStringLiteral("prognoses per second (checksum %1)").arg(checksum), n / seconds,
                  QStringLiteral("/s"), QStringLiteral(">= 200000"));
}

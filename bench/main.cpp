// kalvado_bench: the performance figures of the program. Run with an optional
// filter: kalvado_bench engine
#include "bench/bench.h"
#include "engine/numbertext.h"
#include "gui/windowset.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>

#include <QSqlDatabase>

#include <cstdio>
#include <ctime>

namespace kalvado::bench {

namespace {
QList<Case> &cases() {
    static QList<Case> all;
    return all;
}
} // namespace

bool Register(const QString &name, std::function<void()> run) {
    cases().append({name, std::move(run)});
    return true;
}

double MeanMs(int repeats, const std::function<void()> &fn) {
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < repeats; ++i)
        fn();
    return t.nsecsElapsed() / 1e6 / repeats;
}

double CpuMs(int repeats, const std::function<void()> &fn) {
    const std::clock_t start = std::clock();
    for (int i = 0; i < repeats; ++i)
        fn();
    return 1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC / repeats;
}

void Report(const QString &what, double value, const QString &unit, const QString &target) {
    std::printf("%-60s %12.4f %-8s (target %s)\n", qPrintable(what), value, qPrintable(unit),
                qPrintable(target));
    std::fflush(stdout);
}

const QStringList &ArchiveClubs() {
    static const QStringList clubs{"левски",    "цска",       "славия",    "локомотив", "берое",
                                   "ботев",     "черно море", "лудогорец", "арда",      "етър",
                                   "хебър",     "спартак",    "пирин",     "монтана",   "витоша",
                                   "септември", "добруджа",   "марек",     "янтра",     "дунав"};
    return clubs;
}

void BindArchiveRow(QSqlQuery &q, int i) {
    const QStringList &clubs = ArchiveClubs();
    q.addBindValue(i);
    q.addBindValue(clubs[i % clubs.size()]);
    q.addBindValue(clubs[(i * 7 + 3) % clubs.size()]);
    q.addBindValue(QString::number(i % 4));
    q.addBindValue(QString::number(i % 3));
    q.addBindValue(i % 5 ? QVariant(QString::number(i % 5)) : QVariant());
    q.addBindValue(i % 5 ? QVariant(QString::number(i % 2)) : QVariant());
}

QString FreshDatabaseCopy(const QString &folder) {
    const QString target = QDir(folder).filePath(QStringLiteral("KD2.mdb"));
    QFile::remove(target);
    QFile::copy(QStringLiteral(KALVADO_STARTER_DB), target);
    QFile(target).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return target;
}

Program::Program(const QString &connection) {
    database = std::make_unique<Database>(FreshDatabaseCopy(dir.path()), connection);
    settings = std::make_unique<SettingsStore>(dir.filePath(QStringLiteral("Kalvado2.ini")));
    messages.setScripted(true);
    ctx.programDir = dir.path();
    ctx.connectionName = connection;
    ctx.settings = settings.get();
    ctx.windows = &windows;
    ctx.messages = &messages;
    ctx.quit = [] {};
    RegisterWindows(ctx);
}

Program::~Program() {
    windows.destroyAll();
}

void Program::fill(const QString &sql, int rows, const std::function<void(QSqlQuery &, int)> &row) {
    QSqlDatabase db = QSqlDatabase::database(ctx.connectionName);
    db.transaction();
    QSqlQuery q(db);
    q.prepare(sql);
    for (int i = 0; i < rows; ++i) {
        row(q, i);
        q.exec();
    }
    db.commit();
}

} // namespace kalvado::bench

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(assets);
    QLocale::setDefault(kalvado::BulgarianLocale());
    const QString filter = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    for (const auto &c : kalvado::bench::cases()) {
        if (!filter.isEmpty() && !c.name.contains(filter)) continue;
        std::printf("== %s\n", qPrintable(c.name));
        c.run();
    }
    return 0;
}

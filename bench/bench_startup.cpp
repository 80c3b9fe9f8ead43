// Start-up of the real program: from launching the process to the main
// window's first paint, and the resident memory at that moment.
#include "bench/bench.h"
#include "storage/backup.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

struct Run {
    double wallMs = -1;  // seen from outside: launch until the program reports
    double shownMs = -1; // the program's own count from main()
    double rssMb = -1;
};

Run LaunchOnce(const QString &program, const QString &configHome) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("KALVADO_EXIT_WHEN_SHOWN"), QStringLiteral("1"));
    // Never the user's own settings.
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    p.start(program, {});
    Run run;
    QByteArray out;
    static const QRegularExpression line(QStringLiteral("shown_ms=([0-9.]+) rss_kb=(-?[0-9]+)"));
    while (p.waitForReadyRead(10000)) {
        out += p.readAllStandardOutput();
        const auto m = line.match(QString::fromLatin1(out));
        if (m.hasMatch()) {
            run.wallMs = clock.nsecsElapsed() / 1e6;
            run.shownMs = m.captured(1).toDouble();
            run.rssMb = m.captured(2).toDouble() / 1024.0;
            break;
        }
    }
    if (!p.waitForFinished(10000)) p.kill();
    p.waitForFinished();
    return run;
}

} // namespace

KALVADO_BENCH("startup") {
    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kalvado"));
    if (!QFileInfo(program).isExecutable()) {
        std::printf("kalvado not built beside kalvado_bench; skipped\n");
        return;
    }
    QTemporaryDir config;
    LaunchOnce(program, config.path()); // warm the file cache
    constexpr int kRuns = 10;
    double wallSum = 0, wallMax = 0, shownSum = 0, rssMax = 0;
    int ok = 0;
    for (int i = 0; i < kRuns; ++i) {
        const Run r = LaunchOnce(program, config.path());
        if (r.wallMs < 0) continue;
        ++ok;
        wallSum += r.wallMs;
        wallMax = std::max(wallMax, r.wallMs);
        shownSum += r.shownMs;
        rssMax = std::max(rssMax, r.rssMb);
    }
    if (ok == 0) {
        std::printf("the program never reported its main window; nothing measured\n");
        return;
    }
    using kalvado::bench::Report;
    Report(QStringLiteral("start-up, launch to main window shown (mean of %1)").arg(ok), wallSum / ok,
           QStringLiteral("ms"), QStringLiteral("< 400 ms"));
    Report(QStringLiteral("start-up, launch to main window shown (worst)"), wallMax, QStringLiteral("ms"),
           QStringLiteral("< 400 ms"));
    Report(QStringLiteral("  of which main() to main window shown (mean)"), shownSum / ok,
           QStringLiteral("ms"), QStringLiteral("-"));
    Report(QStringLiteral("resident memory when shown (worst)"), rssMax, QStringLiteral("MB"),
           QStringLiteral("< 80 MB"));
}

// The same start with 100,000 archive rows and the day's backup due: the
// program is copied beside its own KD2.mdb, so it backs up into a private folder.
KALVADO_BENCH("startup: backup due") {
    using kalvado::bench::Report;
    const QString built = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kalvado"));
    if (!QFileInfo(built).isExecutable()) {
        std::printf("kalvado not built beside kalvado_bench; skipped\n");
        return;
    }
    constexpr int kRows = 100000;
    kalvado::bench::Program filled(QStringLiteral("bench_startup_backup"));
    filled.fill(QStringLiteral(
                    "INSERT INTO KD (Nom, Dom, Gost, proD, proG, resD, resG) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                kRows, [](QSqlQuery &q, int i) {
                    q.addBindValue(i);
                    q.addBindValue(QStringLiteral("Домакин %1").arg(i % 97));
                    q.addBindValue(QStringLiteral("Гост %1").arg(i % 89));
                    for (int k : {4, 3, 5, 2})
                        q.addBindValue(QString::number(i % k));
                });
    const QString database = filled.database->path();
    const QString program = filled.dir.filePath(QStringLiteral("kalvado"));
    QFile::copy(built, program);
    QTemporaryDir config;
    const kalvado::Backup backup(database,
                                 QDir(config.path()).filePath(QStringLiteral("Kalvado2/Kalvado2.ini")));
    const QString todays =
        QDir(backup.folder()).filePath(kalvado::Backup::DatabaseFileName(QDate::currentDate()));

    constexpr int kRuns = 5;
    double shownSum = 0, shownMax = 0, exitSum = 0;
    int ok = 0, written = 0;
    for (int i = 0; i < kRuns; ++i) {
        QDir(backup.folder()).removeRecursively();
        QElapsedTimer clock;
        clock.start();
        const Run r = LaunchOnce(program, config.path());
        // The program waits for its backup before it ends.
        const double exitMs = clock.nsecsElapsed() / 1e6;
        if (r.wallMs < 0) continue;
        ++ok;
        shownSum += r.wallMs;
        shownMax = std::max(shownMax, r.wallMs);
        exitSum += exitMs;
        if (QFileInfo(todays).isFile()) ++written;
    }
    if (ok == 0) {
        std::printf("the program never reported its main window; nothing measured\n");
        return;
    }
    Report(QStringLiteral("archive rows"), kRows, QStringLiteral("rows"), QStringLiteral("100000"));
    Report(QStringLiteral("start-up with backup due, launch to main window (mean of %1)").arg(ok),
           shownSum / ok, QStringLiteral("ms"), QStringLiteral("< 400 ms"));
    Report(QStringLiteral("start-up with backup due, launch to main window (worst)"), shownMax,
           QStringLiteral("ms"), QStringLiteral("< 400 ms"));
    Report(QStringLiteral("  launch to backup written and program ended (mean)"), exitSum / ok,
           QStringLiteral("ms"), QStringLiteral("-"));
    Report(QStringLiteral("  runs that wrote the day's backup"), written, QStringLiteral("runs"),
           QStringLiteral("%1").arg(ok));

    // The backup alone, and how long the event loop is kept from input while
    // it runs on its own thread.
    QDir(backup.folder()).removeRecursively();
    QElapsedTimer alone;
    alone.start();
    backup.run(QDate::currentDate());
    Report(QStringLiteral("backup of %1 archive rows (VACUUM INTO)").arg(kRows), alone.nsecsElapsed() / 1e6,
           QStringLiteral("ms"), QStringLiteral("-"));
    Report(QStringLiteral("  backup file size"), QFileInfo(todays).size() / 1048576.0, QStringLiteral("MB"),
           QStringLiteral("-"));
    QDir(backup.folder()).removeRecursively();
    double worstGap = 0;
    {
        kalvado::BackgroundBackup background(backup);
        QElapsedTimer gap;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(2);
        QEventLoop loop;
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            worstGap = std::max(worstGap, gap.nsecsElapsed() / 1e6);
            gap.restart();
            if (!background.isRunning()) loop.quit();
        });
        background.start(QDate::currentDate());
        gap.start();
        tick.start();
        loop.exec();
    }
    Report(QStringLiteral("  longest event-loop pause while it runs in the background"), worstGap,
           QStringLiteral("ms"), QStringLiteral("< 50 ms"));
}

#pragma once

#include "gui/common/appcontext.h"
#include "gui/common/messageboxes.h"
#include "gui/common/windows.h"
#include "storage/database.h"
#include "storage/settingsstore.h"

#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace kalvado::bench {

// One measured case: it prints its own figures.
struct Case {
    QString name;
    std::function<void()> run;
};

bool Register(const QString &name, std::function<void()> run);

// Runs fn repeatedly and returns the mean time of one call in milliseconds.
double MeanMs(int repeats, const std::function<void()> &fn);
// The same in processor time: wall-clock figures swing with the load of a
// shared machine.
double CpuMs(int repeats, const std::function<void()> &fn);
void Report(const QString &what, double value, const QString &unit, const QString &target);

// Twenty club names, as the archive stores them (lower case).
const QStringList &ArchiveClubs();
// Binds Nom, Dom, Gost, proD, proG, resD and resG of archive row i: every
// club at home in one row of twenty, four rows in five with a real result.
void BindArchiveRow(QSqlQuery &q, int i);

// A fresh copy of the starter database in a temporary folder.
QString FreshDatabaseCopy(const QString &folder);

// The program with every window over a fresh database copy and settings file.
struct Program {
    explicit Program(const QString &connection);
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    // Many rows in one transaction; `row` binds the values of row i.
    void fill(const QString &sql, int rows, const std::function<void(QSqlQuery &, int)> &row);

    QTemporaryDir dir;
    std::unique_ptr<Database> database;
    std::unique_ptr<SettingsStore> settings;
    MessageBoxes messages;
    Windows windows;
    AppContext ctx;
};

} // namespace kalvado::bench

#define KALVADO_BENCH_CONCAT2(a, b) a##b
#define KALVADO_BENCH_CONCAT(a, b) KALVADO_BENCH_CONCAT2(a, b)
#define KALVADO_BENCH(name)                                                                                  \
    static void KALVADO_BENCH_CONCAT(benchFn_, __LINE__)();                                                  \
    static const bool KALVADO_BENCH_CONCAT(benchReg_, __LINE__) =                                            \
        kalvado::bench::Register(QStringLiteral(name), &KALVADO_BENCH_CONCAT(benchFn_, __LINE__));           \
    static void KALVADO_BENCH_CONCAT(benchFn_, __LINE__)()

#pragma once

#include <QString>

#include <functional>

namespace kalvado::bench {

// One measured case: it prints its own figures.
struct Case {
    QString name;
    std::function<void()> run;
};

bool Register(const QString &name, std::function<void()> run);

// Runs fn repeatedly and returns the mean time of one call in milliseconds.
double MeanMs(int repeats, const std::function<void()> &fn);
void Report(const QString &what, double value, const QString &unit, const QString &target);

// A fresh copy of the starter database in a temporary folder.
QString FreshDatabaseCopy(const QString &folder);

} // namespace kalvado::bench

#define KALVADO_BENCH_CONCAT2(a, b) a##b
#define KALVADO_BENCH_CONCAT(a, b) KALVADO_BENCH_CONCAT2(a, b)
#define KALVADO_BENCH(name)                                                                                 \
    static void KALVADO_BENCH_CONCAT(benchFn_, __LINE__)();                                                 \
    static const bool KALVADO_BENCH_CONCAT(benchReg_, __LINE__) =                                           \
        kalvado::bench::Register(QStringLiteral(name), &KALVADO_BENCH_CONCAT(benchFn_, __LINE__));          \
    static void KALVADO_BENCH_CONCAT(benchFn_, __LINE__)()

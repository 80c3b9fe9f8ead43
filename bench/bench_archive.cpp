// The archive at 100,000 prognoses: the statistics count, a search and the
// navigation moves must stay quick however long the archive grows.
#include "bench/bench.h"
#include "gui/archive/archivewindow.h"
#include "gui/archive/statisticswindow.h"
#include "gui/common/messageboxes.h"
#include "gui/common/windows.h"
#include "gui/windowset.h"
#include "storage/database.h"
#include "storage/settingsstore.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

constexpr int kRows = 100000;

void FillArchive(kalvado::bench::Program &program) {
    program.fill(QStringLiteral(
                     "INSERT INTO KD (Nom, Dom, Gost, proD, proG, resD, resG) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                 kRows, &kalvado::bench::BindArchiveRow);
}

} // namespace

KALVADO_BENCH("archive") {
    using namespace kalvado;
    bench::Program program(QStringLiteral("bench_archive"));
    Windows &windows = program.windows;
    FillArchive(program);

    auto *archive = windows.get<ArchiveWindow>(WindowId::Data);
    bench::Report(QStringLiteral("archive rows"), archive->archiveCursor()->count(), QStringLiteral("rows"),
                  QStringLiteral("100000"));

    QString counted;
    const double statMs = bench::MeanMs(10, [&] {
        auto *stat = windows.get<StatisticsWindow>(WindowId::Stat);
        counted = stat->lblProg->text();
        delete stat;
    });
    bench::Report(QStringLiteral("open statistics (count of ") + counted + QStringLiteral(" completed rows)"),
                  statMs, QStringLiteral("ms"), QStringLiteral("< 100 ms"));

    archive->txtFindD->setText(QStringLiteral("Лудогорец"));
    const double findMs = bench::MeanMs(10, [&] { archive->cmdFind->click(); });
    bench::Report(QStringLiteral("search by home club (") + QString::number(archive->lstFind->count()) +
                      QStringLiteral(" lines)"),
                  findMs, QStringLiteral("ms"), QStringLiteral("< 100 ms"));
    archive->optGost->setChecked(true);
    archive->txtFindD->setText(QStringLiteral("ЛЕВ"));
    const double findGuestMs = bench::MeanMs(10, [&] { archive->cmdFind->click(); });
    bench::Report(QStringLiteral("search by guest club (") + QString::number(archive->lstFind->count()) +
                      QStringLiteral(" lines)"),
                  findGuestMs, QStringLiteral("ms"), QStringLiteral("< 100 ms"));

    archive->navFirst->click();
    bench::Report(QStringLiteral("move next"), bench::MeanMs(2000, [&] { archive->navNext->click(); }),
                  QStringLiteral("ms"), QStringLiteral("< 1 ms"));
    bench::Report(QStringLiteral("move previous"),
                  bench::MeanMs(2000, [&] { archive->navPrevious->click(); }), QStringLiteral("ms"),
                  QStringLiteral("< 1 ms"));
    bool toLast = true;
    bench::Report(QStringLiteral("move first / last"),
                  bench::MeanMs(2000,
                                [&] {
                                    (toLast ? archive->navLast : archive->navFirst)->click();
                                    toLast = !toLast;
                                }),
                  QStringLiteral("ms"), QStringLiteral("< 1 ms"));
    // A typed result is stored with the move.
    int n = 0;
    bench::Report(QStringLiteral("move next storing a typed result"),
                  bench::MeanMs(1000,
                                [&] {
                                    archive->txtresDom->setText(QString::number(n++ % 10));
                                    archive->navNext->click();
                                }),
                  QStringLiteral("ms"), QStringLiteral("< 1 ms"));
}

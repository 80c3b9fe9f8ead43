// The prognosis form: a keystroke in the home box against a large club
// table, and the whole "Прогнозирай" handler against a large archive.
#include "bench/bench.h"
#include "gui/common/messageboxes.h"
#include "gui/common/windows.h"
#include "gui/prognosis_form/prognosisform.h"
#include "gui/windowset.h"
#include "storage/database.h"
#include "storage/settingsstore.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include <ctime>
#include <memory>

using namespace kalvado;

namespace {

PrognosisForm *Form(bench::Program &program) {
    auto *f = program.windows.get<PrognosisForm>(WindowId::Pro);
    for (QTimer *t : {f->tmrEnab, f->tmrTemp, f->tmrShansDom, f->tmrShansGost})
        t->stop();
    return f;
}

void Key(QWidget *w, int key, const QString &text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

void KeystrokeWithClubs(int clubs, const QString &target) {
    bench::Program program(QStringLiteral("bench_keys_%1").arg(clubs));
    program.fill(
        QStringLiteral("INSERT INTO Tims (Tim, Date) VALUES (?, '2024-01-01')"), clubs,
        [](QSqlQuery &q, int i) { q.addBindValue(QStringLiteral("Клуб %1").arg(i, 6, 10, QChar(u'0'))); });
    PrognosisForm *form = Form(program);
    form->show();
    // Every club contains "К", so each keystroke lists the whole table.
    bool typed = false;
    const int repeats = 10;
    const auto keystroke = [&] {
        if (typed)
            Key(form->txtDom, Qt::Key_Backspace, QStringLiteral("\b"));
        else
            Key(form->txtDom, Qt::Key_unknown, QStringLiteral("К"));
        typed = !typed;
    };
    const double ms = bench::MeanMs(repeats, keystroke);
    const double cpuMs = bench::CpuMs(repeats, keystroke);
    bench::Report(QStringLiteral("keystroke in txtDom, %1 clubs listed").arg(form->lstDom->count()), ms,
                  QStringLiteral("ms"), target);
    bench::Report(QStringLiteral("  the same, processor time"), cpuMs, QStringLiteral("ms"), target);
}

} // namespace

KALVADO_BENCH("prognosis: keystroke in the home box, 10,000 clubs") {
    KeystrokeWithClubs(10'000, QStringLiteral("< 15 ms"));
}

KALVADO_BENCH("prognosis: keystroke in the home box, 100,000 clubs") {
    KeystrokeWithClubs(100'000, QStringLiteral("< 150 ms"));
}

KALVADO_BENCH("prognosis: the whole Прогнозирай handler, 100,000 archive rows") {
    bench::Program program(QStringLiteral("bench_record"));
    program.fill(QStringLiteral("INSERT INTO KD (Nom, Dom, Gost, proD, proG, resD, resG) "
                                "VALUES (?, 'арсенал', 'челси', '2', '1', '1', '1')"),
                 100'000, [](QSqlQuery &q, int i) { q.addBindValue(i); });
    PrognosisForm *form = Form(program);
    form->txtDom->setText(QStringLiteral("Арсенал"));
    form->txtGost->setText(QStringLiteral("Челси"));
    for (int i = 0; i < 8; ++i) {
        form->txtGDplus[i]->setText(QString::number(i % 4));
        form->txtGDminus[i]->setText(QString::number((i + 1) % 3));
        form->txtGGplus[i]->setText(QString::number((i + 2) % 4));
        form->txtGGminus[i]->setText(QString::number(i % 2));
    }
    form->txtD->setText(QStringLiteral("2"));
    form->txtG->setText(QStringLiteral("1"));
    form->txt1->setText(QStringLiteral("1,85"));
    form->txtX->setText(QStringLiteral("3,40"));
    form->txt2->setText(QStringLiteral("4,20"));
    form->lblShansDom->setText(QStringLiteral("1,845"));
    form->lblShansGost->setText(QStringLiteral("1,825"));
    // Windows the handler reaches are loaded by the first, unmeasured run.
    form->cmdProClick();
    const double ms = bench::MeanMs(20, [&] {
        form->cmdPro->setEnabled(true);
        form->cmdProClick();
    });
    form->tmrProgres->stop();
    QSqlQuery count(QSqlDatabase::database(program.ctx.connectionName));
    const int archived =
        count.exec(QStringLiteral("SELECT COUNT(*) FROM KD")) && count.next() ? count.value(0).toInt() : -1;
    bench::Report(QStringLiteral("Прогнозирай handler, durable commits, %1 archive rows, %2 messages")
                      .arg(archived)
                      .arg(program.messages.shown().size()),
                  ms, QStringLiteral("ms"), QStringLiteral("< 30 ms"));
}

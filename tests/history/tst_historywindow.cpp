// frmIstoria: the leagues listed, imports and downloads with their summary,
// a database that refuses writes, deleting a league and the club links.
#include "gui/history/downloaddialog.h"
#include "gui/history/historywindow.h"
#include "gui/history/replaywindow.h"
#include "history/historystore.h"
#include "history/leagues.h"
#include "support/localhttpserver.h"
#include "support/testenv.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace kalvado;

namespace {

const QByteArray kHeader = "Div,Date,Time,HomeTeam,AwayTeam,FTHG,FTAG\n";

// One season of E0 whose matches end on `last` (dd/MM/yyyy), with a row the
// reader leaves out on line 3.
QByteArray Season(const QByteArray &first, const QByteArray &last) {
    return kHeader + "E0," + first + ",15:00,Arsenal,Chelsea,2,1\n" +
           "E0,32/13/2023,15:00,Fulham,Spurs,1,1\n" + "E0," + last + ",17:30,Everton,Burnley,0,0\n";
}

void Write(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList Column(QTableWidget *table, int column) {
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r)
        texts << table->item(r, column)->text();
    return texts;
}

int LinkRow(QTableWidget *links, const QString &club) {
    for (int r = 0; r < links->rowCount(); ++r)
        if (links->item(r, 0)->text() == club) return r;
    return -1;
}

} // namespace

class TestHistoryWindow final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestEnv> m_env;

    HistoryWindow *window() { return m_env->windows.get<HistoryWindow>(WindowId::Istoria); }
    QString file(const QString &name) { return m_env->dir.filePath(name); }
    // Stores a season as an import from the program would.
    void seed() {
        const MatchFile read = ReadMatchFile(Season("12/08/2023", "19/05/2024"), QStringLiteral("E0.csv"));
        QVERIFY(read.error.isEmpty());
        QVERIFY(HistoryStore(m_env->ctx.connectionName).Import(read).error.isEmpty());
    }
    QString summary() { return window()->txtRezultat->toPlainText(); }

private slots:
    void init() { m_env = std::make_unique<test::TestEnv>(); }
    void cleanup() { m_env.reset(); }

    void opensListingTheLeaguesHeld() {
        seed();
        HistoryWindow *w = window();
        QCOMPARE(w->objectName(), QStringLiteral("frmIstoria"));
        QCOMPARE(w->windowTitle(), QStringLiteral("История на мачовете"));
        QCOMPARE(w->tblLigi->rowCount(), 1);
        QStringList row;
        for (int c = 0; c < w->tblLigi->columnCount(); ++c)
            row << w->tblLigi->item(0, c)->text();
        QCOMPARE(row, (QStringList{KnownLeagueName("E0"), "E0", "2023/24 (1)", "2", "19.05.2024"}));
        QVERIFY(w->width() <= 1000 && w->height() <= 620);
        // The check of the formula opens on the league chosen here.
        w->tblLigi->setCurrentCell(0, 0);
        QTest::mouseClick(w->cmdProverka, Qt::LeftButton);
        auto *check = m_env->windows.ifLoaded<ReplayWindow>(WindowId::Proverka);
        QVERIFY(check && check->isVisible());
        QCOMPARE(check->cmbLiga->currentData().toString(), QStringLiteral("E0"));
    }

    void importSummarisesEachFileAndStoresOnlyWholeFiles() {
        Write(file("E0.csv"), Season("12/08/2023", "19/05/2024"));
        Write(file("junk.csv"), QByteArray("\x00\xff\x13<html><body>404</body></html>", 34));
        // Refused for its size before a byte is read (a sparse file).
        QFile big(file("big.csv"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(kMaxMatchFileBytes + 1));
        big.close();
        HistoryWindow *w = window();
        w->ImportFiles({file("E0.csv"), file("junk.csv"), file("big.csv")});
        QVERIFY(w->busy());
        QVERIFY(!w->cmdVnesi->isEnabled() && w->cmdOtkaz->isVisibleTo(w));
        QTRY_VERIFY(!w->busy());
        const QStringList lines = summary().split(u'\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY2(
            lines[0].startsWith(QStringLiteral("E0.csv: добавени 2 мача, обновени 0 мача, неиграни 0 мача, "
                                               "пропуснати 1 ред (ред 3: ")),
            qPrintable(lines[0]));
        QVERIFY(lines[1].startsWith(QStringLiteral("junk.csv: ")) &&
                !lines[1].contains(QStringLiteral("добавени")));
        QVERIFY2(lines[2].contains(QStringLiteral("64 MB")), qPrintable(lines[2]));
        QCOMPARE(Column(w->tblLigi, 1), QStringList{"E0"});
        QCOMPARE(Column(w->tblLigi, 3), QStringList{"2"});
        QVERIFY(w->cmdVnesi->isEnabled() && !w->cmdOtkaz->isVisibleTo(w));
        QVERIFY(m_env->messages.shown().isEmpty());
    }

    void readOnlyDatabaseIsBrowsedAndRefusesEveryWrite() {
        seed();
        m_env->refuseWrites(QStringLiteral("read-only"));
        HistoryWindow *w = window();
        QCOMPARE(Column(w->tblLigi, 3), QStringList{"2"});

        Write(file("E0.csv"), Season("11/08/2024", "25/05/2025"));
        w->ImportFiles({file("E0.csv")});
        QTRY_VERIFY(!w->busy());
        QCOMPARE(m_env->messages.shown().size(), 1);
        QCOMPARE(m_env->messages.shown().first().icon, MessageBoxes::Icon::Critical);
        QCOMPARE(Column(w->tblLigi, 3), QStringList{"2"});

        w->tblLigi->selectRow(0);
        m_env->messages.queueAnswer(MessageBoxes::Answer::Yes);
        w->cmdIztrii->click();
        QCOMPARE(m_env->messages.shown().size(), 3); // the question, then the refusal
        QCOMPARE(w->tblLigi->rowCount(), 1);

        const int row = LinkRow(w->tblVrazki, QStringLiteral("Burnley"));
        QVERIFY(row >= 0);
        w->tblVrazki->item(row, 1)->setText(QStringLiteral("Бърнли"));
        QCOMPARE(m_env->messages.shown().size(), 4);
        QCOMPARE(w->tblVrazki->item(row, 1)->text(), QString());
        QVERIFY(!HistoryStore(m_env->ctx.connectionName).LinkedName(QStringLiteral("Burnley")));
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("no keeps it") << false;
        QTest::newRow("yes deletes it") << true;
    }
    void deleteAsksFirst() {
        QFETCH(bool, yes);
        seed();
        HistoryWindow *w = window();
        w->tblLigi->selectRow(0);
        m_env->messages.queueAnswer(yes ? MessageBoxes::Answer::Yes : MessageBoxes::Answer::No);
        w->cmdIztrii->click();
        QCOMPARE(m_env->messages.shown().size(), 1);
        QCOMPARE(m_env->messages.shown().first().text,
                 QStringLiteral("Да изтрия ли лигата „%1“ и всичките ѝ мачове (2 мача)?")
                     .arg(KnownLeagueName("E0")));
        QCOMPARE(w->tblLigi->rowCount(), yes ? 0 : 1);
        QCOMPARE(HistoryStore(m_env->ctx.connectionName).Leagues().size(), yes ? 0 : 1);
    }

    void linkEditIsStoredAtOnce() {
        seed();
        HistoryWindow *w = window();
        HistoryStore store(m_env->ctx.connectionName);
        const int burnley = LinkRow(w->tblVrazki, QStringLiteral("Burnley"));
        const int arsenal = LinkRow(w->tblVrazki, QStringLiteral("Arsenal"));
        QVERIFY(burnley >= 0 && arsenal >= 0);
        w->tblVrazki->item(burnley, 1)->setText(QStringLiteral(" Бърнли "));
        QCOMPARE(store.LinkedName(QStringLiteral("Burnley")),
                 std::optional<QString>(QStringLiteral("Бърнли")));
        QCOMPARE(w->tblVrazki->item(burnley, 1)->text(), QStringLiteral("Бърнли"));
        QVERIFY(store.LinkedName(QStringLiteral("Arsenal")).has_value());
        w->tblVrazki->item(arsenal, 1)->setText(QString());
        QVERIFY(!store.LinkedName(QStringLiteral("Arsenal")).has_value());
        w->txtTarsi->setText(QStringLiteral("бЪрн"));
        QVERIFY(!w->tblVrazki->isRowHidden(burnley) && w->tblVrazki->isRowHidden(arsenal));
        QVERIFY(m_env->messages.shown().isEmpty());
    }

    void downloadSummarisesEachAddress() {
        QTemporaryDir site;
        Write(site.filePath("mmz4281/2223/E0.csv"), Season("06/08/2022", "28/05/2023"));
        Write(site.filePath("mmz4281/2324/E0.csv"), Season("12/08/2023", "19/05/2024"));
        test::LocalHttpServer server(site.path());
        // A mirror named in the settings, written with a trailing slash.
        m_env->settings->WriteSetting(QStringLiteral("hist"), QStringLiteral("url"), server.url("/"));
        DownloadDialog dialog(QDate(2025, 1, 10));
        dialog.cboLiga->setCurrentIndex(dialog.cboLiga->findData(QStringLiteral("E0")));
        dialog.cboDo->setCurrentIndex(dialog.cboDo->findData(2024));
        dialog.cboOt->setCurrentIndex(dialog.cboOt->findData(2022));
        const QList<HistoryDownload::Item> items = dialog.items(HistoryBase(m_env->settings.get()));
        QCOMPARE(items.size(), 3);
        HistoryWindow *w = window();
        w->Download(items);
        QTRY_VERIFY(!w->busy());
        const QStringList lines = summary().split(u'\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[0].startsWith(items[0].url.toString() + QStringLiteral(": добавени 2 мача")),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].startsWith(items[1].url.toString() + QStringLiteral(": добавени 2 мача")),
                 qPrintable(lines[1]));
        QVERIFY2(lines[2].contains(items[2].url.toString()) &&
                     lines[2].contains(QStringLiteral("няма такъв файл")),
                 qPrintable(lines[2]));
        QCOMPARE(Column(w->tblLigi, 2), QStringList{"2022/23 – 2023/24 (2)"});
        QCOMPARE(server.requests().first(), QStringLiteral("/mmz4281/2223/E0.csv"));
    }

    void stoppingStoresNoPartOfAFile() {
        Write(file("E0.csv"), Season("12/08/2023", "19/05/2024"));
        Write(file("E1.csv"), Season("12/08/2023", "19/05/2024").replace("E0,", "E1,"));
        HistoryWindow *w = window();
        w->ImportFiles({file("E0.csv")});
        w->cmdOtkaz->click();
        QVERIFY(!w->busy() && w->cmdVnesi->isEnabled());
        QCOMPARE(summary(), QStringLiteral("E0.csv: не е внесен, спряно преди него"));
        // The next run's file is read after the stopped one's: its result is dropped by then.
        w->ImportFiles({file("E1.csv")});
        QTRY_VERIFY(!w->busy());
        QCOMPARE(Column(w->tblLigi, 1), QStringList{"E1"});
    }
};

QTEST_MAIN(TestHistoryWindow)
#include "tst_historywindow.moc"

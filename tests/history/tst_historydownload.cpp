// Files come from a local server in order; every way a transfer can go wrong
// is told with the address and its cause, and the next file is still fetched.
#include "history/download.h"
#include "support/localhttpserver.h"

#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kalvado;
using kalvado::test::LocalHttpServer;

namespace {

enum class Setup {
    None,
    Status404,
    Status500,
    CutOff,
    DeclaredHuge,
    Stall,
    Refused,
    UnknownHost,
    FileScheme
};

constexpr int kWaitMs = 10'000;

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestHistoryDownload final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        // Large enough to arrive in several pieces.
        for (int i = 0; m_big.size() < 300'000; ++i)
            m_big += "E0,01/01/24,Club " + QByteArray::number(i) + ",Other,1,0\n";
        m_small = "Div,Date,HomeTeam,AwayTeam,FTHG,FTAG\nE0,02/01/24,A,B,2,2\n";
        for (const auto &[name, bytes] : {std::pair{"/a.csv", m_big}, std::pair{"/b.csv", m_small}}) {
            QFile file(m_dir.path() + QLatin1String(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
    }

    void init() { m_server = std::make_unique<LocalHttpServer>(m_dir.path()); }
    void cleanup() { m_server.reset(); }

    void fetchesInOrderFollowingRedirects() {
        m_server->setRedirect("/old.csv", "/b.csv", 301);
        m_server->setRedirect("/moved.csv", m_server->url("/a.csv"), 302);
        HistoryDownload download;
        QSignalSpy fetched(&download, &HistoryDownload::fetched);
        QSignalSpy progress(&download, &HistoryDownload::progress);
        QSignalSpy finished(&download, &HistoryDownload::finished);
        download.start({item("/a.csv"), item("/old.csv"), item("/moved.csv")});
        QVERIFY(download.isRunning());
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, kWaitMs);
        QCOMPARE(finished.at(0).at(0).toBool(), false);
        QVERIFY(!download.isRunning());
        QCOMPARE(fetched.size(), 3);
        const QList<QByteArray> expected = {m_big, m_small, m_big};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(fetched.at(i).at(0).toInt(), i);
            QCOMPARE(fetched.at(i).at(1).toByteArray(), expected.at(i));
        }
        QCOMPARE(m_server->requests(), QStringList({"/a.csv", "/old.csv", "/b.csv", "/moved.csv", "/a.csv"}));
        // The first file's progress ends whole, out of three items.
        QList<QVariant> last;
        for (const QList<QVariant> &p : std::as_const(progress))
            if (p.at(0).toInt() == 0) last = p;
        QCOMPARE(last, QList<QVariant>({0, 3, qint64(m_big.size()), qint64(m_big.size())}));
    }

    void failureIsToldAndTheNextFileFetched_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("cause");
        QTest::newRow("404") << Setup::Status404 << "няма такъв файл (404)";
        QTest::newRow("500") << Setup::Status500 << "сървърът отговори с 500 Internal Server Error";
        QTest::newRow("body cut off") << Setup::CutOff << "връзката прекъсна преди края на файла";
        QTest::newRow("declared above 64 MB") << Setup::DeclaredHuge << "файлът е по-голям от 64 MB";
        QTest::newRow("no data") << Setup::Stall << "няма данни от сървъра 30 секунди";
        QTest::newRow("closed port") << Setup::Refused << "сървърът отказа връзката";
        QTest::newRow("unknown host")
            << Setup::UnknownHost << "непознат адрес на сървъра nonexistent.invalid";
        QTest::newRow("not a web address")
            << Setup::FileScheme << "адресът не е на уеб сайт (http или https)";
    }

    void failureIsToldAndTheNextFileFetched() {
        QFETCH(Setup, setup);
        QFETCH(QString, cause);
        HistoryDownload download;
        QUrl bad(m_server->url("/a.csv"));
        switch (setup) {
        case Setup::Status404:
            bad = m_server->url("/missing.csv");
            break;
        case Setup::Status500:
            m_server->setStatus("/a.csv", 500);
            break;
        case Setup::CutOff:
            m_server->setCutOff("/a.csv");
            break;
        case Setup::DeclaredHuge:
            // The server then keeps the line open: only refusing on the
            // headers ends this before the idle timeout.
            m_server->setDeclaredLength("/a.csv", 65LL * 1024 * 1024);
            break;
        case Setup::Stall:
            m_server->setStall("/a.csv");
            download.setIdleTimeoutMs(300);
            break;
        case Setup::Refused: {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            bad = QStringLiteral("http://127.0.0.1:%1/a.csv").arg(closed.serverPort());
            break;
        }
        case Setup::UnknownHost:
            bad = QStringLiteral("http://nonexistent.invalid/E0.csv");
            break;
        case Setup::FileScheme:
            bad = QUrl::fromLocalFile(m_dir.path() + "/a.csv");
            break;
        case Setup::None:
            break;
        }
        QSignalSpy fetched(&download, &HistoryDownload::fetched);
        QSignalSpy failed(&download, &HistoryDownload::failed);
        QSignalSpy finished(&download, &HistoryDownload::finished);
        download.start({{bad, {}}, item("/b.csv")});
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, kWaitMs);
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.at(0).at(0).toInt(), 0);
        QCOMPARE(failed.at(0).at(1).toString(),
                 "Изтеглянето на " + bad.toDisplayString() + " не успя: " + cause);
        QCOMPARE(fetched.size(), 1);
        QCOMPARE(fetched.at(0).at(0).toInt(), 1);
        QCOMPARE(fetched.at(0).at(1).toByteArray(), m_small);
    }

    void failureTexts_data() {
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("cause");
        QTest::newRow("certificate") << int(QNetworkReply::SslHandshakeFailedError) << 0
                                     << "The certificate has expired"
                                     << "проблем със сертификата на сайта: The certificate has expired";
        QTest::newRow("status without reason") << int(QNetworkReply::ContentAccessDenied) << 403 << ""
                                               << "сървърът отговори с 403";
        QTest::newRow("to plain http") << int(QNetworkReply::InsecureRedirectError) << 301 << ""
                                       << "сървърът пренасочи към незащитен адрес";
        QTest::newRow("unforeseen") << int(QNetworkReply::UnknownNetworkError) << 0 << "Network unreachable"
                                    << "няма връзка със сървъра (Network unreachable)";
    }

    void failureTexts() {
        QFETCH(int, error);
        QFETCH(int, status);
        QFETCH(QString, detail);
        QFETCH(QString, cause);
        DownloadFailure failure;
        failure.error = QNetworkReply::NetworkError(error);
        failure.httpStatus = status;
        failure.detail = detail;
        QCOMPARE(DownloadFailureText(QUrl("https://user:pw@example.org/mmz4281/2324/E0.csv"), failure),
                 "Изтеглянето на https://example.org/mmz4281/2324/E0.csv не успя: " + cause);
    }

    void cancelStopsAtOnce() {
        m_server->setStall("/a.csv");
        HistoryDownload download;
        QSignalSpy progress(&download, &HistoryDownload::progress);
        QSignalSpy fetched(&download, &HistoryDownload::fetched);
        QSignalSpy failed(&download, &HistoryDownload::failed);
        QSignalSpy finished(&download, &HistoryDownload::finished);
        download.start({item("/a.csv"), item("/b.csv")});
        QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty(), kWaitMs);
        download.cancel();
        download.cancel();
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        QVERIFY(!download.isRunning());
        // A later run starts clean; the cancelled one asked for nothing more.
        download.start({item("/b.csv?again")});
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, kWaitMs);
        QCOMPARE(finished.at(1).at(0).toBool(), false);
        QCOMPARE(failed.size(), 0);
        QCOMPARE(fetched.size(), 1);
        QCOMPARE(fetched.at(0).at(0).toInt(), 0);
        QCOMPARE(m_server->requests(), QStringList({"/a.csv", "/b.csv?again"}));
    }

private:
    HistoryDownload::Item item(const QString &path) const { return {QUrl(m_server->url(path)), {}}; }

    QTemporaryDir m_dir;
    std::unique_ptr<LocalHttpServer> m_server;
    QByteArray m_big;
    QByteArray m_small;
};

QTEST_MAIN(TestHistoryDownload)
#include "tst_historydownload.moc"

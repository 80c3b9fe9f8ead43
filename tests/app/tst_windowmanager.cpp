// The real program under a real window manager (Xvfb with openbox) on a small
// 1280×720 screen: what only a window manager decides, the stacking of the
// program's windows and their frames on the screen.
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>
#include <utility>

namespace {

constexpr int kTwipsPerPixel = 15;

// A point of a window's client area, given in twips as the windows are laid out.
QPoint Tw(int left, int top, int dx = 4, int dy = 4) {
    return {left / kTwipsPerPixel + dx, top / kTwipsPerPixel + dy};
}

enum class Trigger { PrognosisFailure, OddsRange };

// Clicks that lead to a window: in the window with that title, at that point.
using Clicks = QList<std::pair<QString, QPoint>>;

const QString kMain = QStringLiteral("^Kalvado - Ruby$");
const QString kForm = QStringLiteral("^Прогнозиране");
const QSize kScreen(1280, 720);

} // namespace

Q_DECLARE_METATYPE(Trigger)
Q_DECLARE_METATYPE(Clicks)

class TestWindowManager final : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_xvfb;
    QProcess m_openbox;
    std::unique_ptr<QProcess> m_program;
    QString m_display;

    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // Settings and data of the program and the window manager stay in the test's folder.
        env.insert(QStringLiteral("HOME"), m_dir.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        return env;
    }

    // Runs an X client to its end and returns what it printed.
    QString x(const QString &program, const QStringList &args) const {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(program, args);
        if (!p.waitForFinished(10000)) p.kill();
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    // Client windows bottom to top, as the window manager stacks them.
    QList<qulonglong> stacking() const {
        QList<qulonglong> ids;
        const QString out = x(QStringLiteral("xprop"),
                              {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
        static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
        for (const auto &m : hex.globalMatch(out))
            ids << m.captured().toULongLong(nullptr, 16);
        return ids;
    }

    QList<qulonglong> visible(const QString &title) const {
        QList<qulonglong> ids;
        const QString out =
            x(QStringLiteral("xdotool"),
              {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), title});
        for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts))
            ids << line.trimmed().toULongLong();
        return ids;
    }

    // The first window with that title that is not among `known`, once it shows.
    qulonglong waitForWindow(const QString &title, const QList<qulonglong> &known = {}) const {
        QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired()) {
            for (qulonglong id : visible(title))
                if (!known.contains(id) && stacking().contains(id)) return id;
            QThread::msleep(100);
        }
        return 0;
    }

    void click(qulonglong window, QPoint at) const {
        x(QStringLiteral("xdotool"),
          {QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(window),
           QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
    }

    // The window with its frame, in screen coordinates.
    QRect frame(qulonglong window) const {
        QHash<QString, int> g;
        const QString shell =
            x(QStringLiteral("xdotool"),
              {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::number(window)});
        for (const QString &line : shell.split(u'\n', Qt::SkipEmptyParts))
            g.insert(line.section(u'=', 0, 0), line.section(u'=', 1).toInt());
        static const QRegularExpression number(QStringLiteral("\\d+"));
        QList<int> extents; // left, right, top, bottom
        for (const auto &m :
             number.globalMatch(x(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window),
                                                            QStringLiteral("_NET_FRAME_EXTENTS")})))
            extents << m.captured().toInt();
        if (extents.size() != 4) return {};
        return QRect(g.value(QStringLiteral("X")) - extents[0], g.value(QStringLiteral("Y")) - extents[2],
                     g.value(QStringLiteral("WIDTH")) + extents[0] + extents[1],
                     g.value(QStringLiteral("HEIGHT")) + extents[2] + extents[3]);
    }

    void keys(const QStringList &names) const {
        x(QStringLiteral("xdotool"),
          QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50")} + names);
    }

private slots:
    void initTestCase() {
        for (const char *tool : {"Xvfb", "openbox", "xdotool", "xprop"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(tool))));
        QVERIFY(m_dir.isValid());
        // A display of its own, whatever else runs: Xvfb picks a free number and says which.
        m_xvfb.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                      QStringLiteral("0"),
                      QStringLiteral("%1x%2x24").arg(kScreen.width()).arg(kScreen.height()),
                      QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QVERIFY(m_xvfb.waitForStarted());
        QDeadlineTimer deadline(20000);
        while (!m_xvfb.canReadLine() && !deadline.hasExpired())
            m_xvfb.waitForReadyRead(200);
        const QString number = QString::fromLatin1(m_xvfb.readLine()).trimmed();
        QVERIFY2(!number.isEmpty(), "Xvfb gave no display number");
        m_display = u':' + number;

        m_openbox.setProcessEnvironment(environment());
        m_openbox.setProcessChannelMode(QProcess::MergedChannels);
        m_openbox.start(QStringLiteral("openbox"), {});
        QVERIFY(m_openbox.waitForStarted());
        while (
            !x(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                 .contains(u'#')) {
            QVERIFY2(!deadline.hasExpired() && m_openbox.state() == QProcess::Running,
                     qPrintable(QStringLiteral("openbox did not start on %1: %2")
                                    .arg(m_display, QString::fromUtf8(m_openbox.readAll()))));
            QThread::msleep(50);
        }

        // The program runs from a copy beside a copy of the starter database,
        // so the build's own KD2.mdb and the user's settings stay untouched.
        const QString program = m_dir.filePath(QStringLiteral("kalvado"));
        QVERIFY(QFile::copy(QStringLiteral(KALVADO_PROGRAM), program));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("help")));
        QVERIFY(QFile::copy(QStringLiteral(KALVADO_SOURCE_DIR "/help/KdHelp.html"),
                            m_dir.filePath(QStringLiteral("help/KdHelp.html"))));
    }

    void init() {
        const QString db = m_dir.filePath(QStringLiteral("KD2.mdb"));
        QFile::remove(db);
        QVERIFY(QFile::copy(QStringLiteral(KALVADO_STARTER_DB), db));
        QVERIFY(QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner));
        m_program = std::make_unique<QProcess>();
        QProcessEnvironment env = environment();
        // No desktop launcher (xdg-open) to hand the help page to.
        env.insert(QStringLiteral("PATH"), m_dir.filePath(QStringLiteral("no-programs")));
        m_program->setProcessEnvironment(env);
        m_program->setWorkingDirectory(m_dir.path());
        m_program->setProcessChannelMode(QProcess::ForwardedChannels);
        m_program->start(m_dir.filePath(QStringLiteral("kalvado")), {});
        QVERIFY(m_program->waitForStarted());
    }

    void cleanup() {
        if (m_program) {
            m_program->kill();
            m_program->waitForFinished(5000);
            m_program.reset();
        }
    }

    void cleanupTestCase() {
        for (QProcess *p : {&m_openbox, &m_xvfb}) {
            p->terminate();
            if (!p->waitForFinished(5000)) p->kill();
        }
    }

    // Every window of the program, reached as the user reaches it, shows
    // whole with its frame on the screen.
    void everyWindowFitsTheScreen_data() {
        QTest::addColumn<Clicks>("clicks");
        QTest::addColumn<QString>("title");
        const std::pair<QString, QPoint> archive{kMain, Tw(240, 3090, 80, 15)};
        const std::pair<QString, QPoint> statistics{QStringLiteral("^Архив$"), Tw(6960, 1440, 80, 15)};
        const std::pair<QString, QPoint> comparison{QStringLiteral("^Статистика-само"),
                                                    Tw(240, 3480, 80, 15)};
        QTest::newRow("splash") << Clicks{} << "^Kalvado$";
        QTest::newRow("main") << Clicks{} << kMain;
        QTest::newRow("prognosis") << Clicks{{kMain, Tw(240, 2580, 80, 15)}} << kForm;
        QTest::newRow("club results") << Clicks{{kMain, Tw(240, 2580, 80, 15)},
                                                {kForm, Tw(240, 360, 40, 8)},
                                                {kForm, Tw(240, 600, 40, 8)}}
                                      << "мача на";
        QTest::newRow("new club") << Clicks{{kMain, Tw(2880, 2580, 80, 15)}} << "^Нов Клуб$";
        QTest::newRow("archive") << Clicks{archive} << "^Архив$";
        QTest::newRow("statistics") << Clicks{archive, statistics} << "^Статистика-само";
        QTest::newRow("comparison") << Clicks{archive, statistics, comparison}
                                    << "^Сравнение с букмейкърите$";
        QTest::newRow("export dialog") << Clicks{archive,
                                                 statistics,
                                                 comparison,
                                                 {QStringLiteral("^Сравнение с"), Tw(240, 8820, 80, 15)}}
                                       << "^Експорт в CSV$";
        QTest::newRow("finance") << Clicks{{kMain, Tw(2880, 3090, 80, 15)}} << "^Финансов анализатор$";
        QTest::newRow("six matches") << Clicks{{kMain, Tw(240, 3600, 80, 15)}} << "^Опция шест мача$";
        QTest::newRow("about") << Clicks{{kMain, Tw(2880, 3600, 80, 15)}} << "^Kalvado - Ruby  version";
        const std::pair<QString, QPoint> history{kMain, Tw(240, 4620, 80, 15)};
        const QString historyTitle = QStringLiteral("^История на мачовете$");
        QTest::newRow("match history") << Clicks{history} << historyTitle;
        // The history window's buttons sit where its layout puts them.
        QTest::newRow("download dialog")
            << Clicks{history, {historyTitle, QPoint(170, 330)}} << "^Изтегли от сайта";
        QTest::newRow("check of the formula")
            << Clicks{history, {historyTitle, QPoint(298, 330)}} << "^Проверка на формулата$";
        // No launcher on this desktop: the program shows the page itself.
        QTest::newRow("help") << Clicks{{kMain, Tw(240, 4110, 80, 15)}} << "^Kalvado – Помощ$";
    }
    void everyWindowFitsTheScreen() {
        QFETCH(Clicks, clicks);
        QFETCH(QString, title);
        for (const auto &[window, at] : clicks) {
            const qulonglong id = waitForWindow(window);
            QVERIFY2(id, qPrintable(window + QStringLiteral(" did not show")));
            click(id, at);
            QThread::msleep(300);
        }
        const qulonglong id = waitForWindow(title);
        QVERIFY2(id, qPrintable(title + QStringLiteral(" did not show")));
        // The window manager places and frames it a moment after it maps.
        QRect shown;
        for (QDeadlineTimer deadline(3000); !deadline.hasExpired(); QThread::msleep(100))
            if ((shown = frame(id)).isValid() && QRect(QPoint(), kScreen).contains(shown)) break;
        QVERIFY2(QRect(QPoint(), kScreen).contains(shown),
                 qPrintable(QStringLiteral("frame at %1,%2 size %3x%4")
                                .arg(shown.x())
                                .arg(shown.y())
                                .arg(shown.width())
                                .arg(shown.height())));
    }

    // With the club recent-results window open (it stays on top), a message
    // box opens above it and every other window of the program, and is modal.
    void messageBoxAboveTheTopmostWindow_data() {
        QTest::addColumn<Trigger>("trigger");
        QTest::addColumn<QString>("title");
        QTest::newRow("prognosis failure") << Trigger::PrognosisFailure << "^Kalvado$";
        QTest::newRow("odds out of range") << Trigger::OddsRange << "^Kalvado - Ruby$";
    }
    void messageBoxAboveTheTopmostWindow() {
        QFETCH(Trigger, trigger);
        QFETCH(QString, title);
        const qulonglong main = waitForWindow(QStringLiteral("^Kalvado - Ruby$"));
        QVERIFY2(main, "the main window did not show");
        click(main, Tw(240, 2580, 80, 15)); // "Прогнозирай"
        const qulonglong form = waitForWindow(QStringLiteral("^Прогнозиране"));
        QVERIFY2(form, "the prognosis form did not show");
        click(form, Tw(240, 360, 40, 8)); // txtDom: every club listed
        QThread::msleep(300);
        click(form, Tw(240, 600, 40, 8)); // the first club of lstDom
        const qulonglong clubs = waitForWindow(QStringLiteral("мача на"));
        QVERIFY2(clubs, "the club recent-results window did not show");

        const QList<qulonglong> before = stacking();
        if (trigger == Trigger::PrognosisFailure) {
            click(form, Tw(240, 6840, 48, 33)); // cmdPro, with the guest club missing
        } else {
            click(form, Tw(2040, 6840, 20, 8)); // txt1
            keys({QStringLiteral("1"), QStringLiteral("Tab")});
        }
        const qulonglong box = waitForWindow(title, before);
        QVERIFY2(box, "no message box showed");
        QTRY_VERIFY_WITH_TIMEOUT(stacking().contains(box), 5000);
        const QList<qulonglong> order = stacking();
        QVERIFY2(order.indexOf(box) > order.indexOf(clubs),
                 "the box is below the club recent-results window");
        QCOMPARE(order.last(), box); // above every window of the program
        QVERIFY(x(QStringLiteral("xprop"),
                  {QStringLiteral("-id"), QString::number(box), QStringLiteral("_NET_WM_STATE")})
                    .contains(QStringLiteral("_NET_WM_STATE_MODAL")));
    }
};

QTEST_GUILESS_MAIN(TestWindowManager)
#include "tst_windowmanager.moc"

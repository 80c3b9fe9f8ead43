#include "support/testenv.h"

#include "gui/prognosis_form/prognosisform.h"
#include "gui/windowset.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <stdexcept>

#include <unistd.h>

// Resource initialisers must be called from the global namespace.
static void initAssets() {
    Q_INIT_RESOURCE(assets);
}

namespace kalvado::test {

namespace {
int g_connection = 0;
}

bool StartAsNobody(QProcess &child, QTemporaryDir &folder, const QStringList &arguments) {
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty()) {
        QTest::qFail("setpriv is needed to drop root's privileges", __FILE__, __LINE__);
        return false;
    }
    // The build folder may be closed to other users (a home folder): the
    // child runs from a copy of this executable in a folder it may enter.
    const QString copy = folder.filePath(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    const auto readable = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                          QFileDevice::ExeOther | QFileDevice::ReadGroup | QFileDevice::ExeGroup;
    if (!folder.isValid() || !QFile::setPermissions(folder.path(), readable | QFileDevice::WriteOwner) ||
        !QFile::copy(QCoreApplication::applicationFilePath(), copy) ||
        !QFile::setPermissions(copy, readable)) {
        QTest::qFail("no copy of the test for the user nobody", __FILE__, __LINE__);
        return false;
    }
    child.setWorkingDirectory(folder.path());
    child.start(setpriv, QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                     QStringLiteral("--clear-groups"), copy} +
                             arguments);
    return true;
}

bool RanAsNobody() {
    if (geteuid() != 0) return false;
    QString function = QString::fromLatin1(QTest::currentTestFunction());
    if (const char *tag = QTest::currentDataTag(); tag && *tag) function += u':' + QString::fromUtf8(tag);
    QTemporaryDir folder;
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    if (!StartAsNobody(child, folder, {function})) return true;
    const bool finished = child.waitForFinished(120000);
    const QByteArray output = child.readAll();
    if (!finished || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        qWarning("%s", output.constData());
        QTest::qFail(qPrintable(QStringLiteral("%1 failed when run as nobody").arg(function)), __FILE__,
                     __LINE__);
    }
    return true;
}

void InitResources() {
    initAssets();
}

TestEnv::TestEnv() {
    InitResources();
    if (!dir.isValid()) throw std::runtime_error("no temporary folder");
    QFile::copy(QStringLiteral(KALVADO_STARTER_DB), dbPath());
    QFile(dbPath()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    database = std::make_unique<Database>(dbPath(), QStringLiteral("test%1").arg(++g_connection));
    settings = std::make_unique<SettingsStore>(settingsPath());
    messages.setScripted(true);
    ctx.programDir = dir.path();
    ctx.connectionName = database->connectionName();
    ctx.settings = settings.get();
    ctx.windows = &windows;
    ctx.messages = &messages;
    ctx.quit = [this] { quitCalled = true; };
    RegisterWindows(ctx);
}

TestEnv::~TestEnv() {
    if (!m_lockConnection.isEmpty()) allowWrites();
    windows.destroyAll();
}

QString TestEnv::dbPath() const {
    return dir.filePath(QStringLiteral("KD2.mdb"));
}

QString TestEnv::settingsPath() const {
    return dir.filePath(QStringLiteral("Kalvado2.ini"));
}

void TestEnv::exec(const QString &sql) {
    QSqlQuery q(QSqlDatabase::database(ctx.connectionName));
    if (!q.exec(sql)) qFatal("test SQL failed: %s (%s)", qPrintable(sql), qPrintable(q.lastError().text()));
}

void TestEnv::clearTable(const QString &table) {
    exec(QStringLiteral("DELETE FROM %1").arg(table));
}

void TestEnv::reopenSettings() {
    settings->sync();
    settings = std::make_unique<SettingsStore>(settingsPath());
    ctx.settings = settings.get();
}

void TestEnv::refuseWrites(const QString &cause) {
    if (cause == QLatin1String("locked")) {
        m_lockConnection = ctx.connectionName + QStringLiteral("-locker");
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_lockConnection);
        other.setDatabaseName(dbPath());
        if (!other.open() || !QSqlQuery(other).exec(QStringLiteral("BEGIN EXCLUSIVE")))
            qFatal("cannot lock the test database");
    } else if (cause == QLatin1String("read-only")) {
        const QString name = database->connectionName();
        database.reset();
        database = std::make_unique<Database>(dbPath(), name, Database::Access::ReadOnly);
    } else {
        exec(cause);
    }
}

void TestEnv::allowWrites() {
    if (!m_lockConnection.isEmpty()) {
        {
            QSqlDatabase other = QSqlDatabase::database(m_lockConnection, false);
            QSqlQuery(other).exec(QStringLiteral("COMMIT"));
            other.close();
        }
        QSqlDatabase::removeDatabase(m_lockConnection);
        m_lockConnection.clear();
    } else {
        QSqlQuery(QSqlDatabase::database(ctx.connectionName))
            .exec(QStringLiteral("DROP TRIGGER IF EXISTS refuse"));
    }
}

PrognosisForm *HandDrivenPrognosisForm(TestEnv &env) {
    auto *form = env.windows.get<PrognosisForm>(WindowId::Pro);
    if (form)
        for (QTimer *t : {form->tmrEnab, form->tmrTemp, form->tmrShansDom, form->tmrShansGost})
            t->stop();
    return form;
}

void TypeText(QWidget *widget, const QString &text) {
    for (const QChar c : text) {
        const ushort u = c.unicode();
        Qt::Key key = Qt::Key_unknown;
        if (u >= '0' && u <= '9')
            key = Qt::Key(Qt::Key_0 + (u - '0'));
        else if (u >= 'a' && u <= 'z')
            key = Qt::Key(Qt::Key_A + (u - 'a'));
        else if (u >= 'A' && u <= 'Z')
            key = Qt::Key(Qt::Key_A + (u - 'A'));
        else if (u == ',')
            key = Qt::Key_Comma;
        else if (u == '.')
            key = Qt::Key_Period;
        else if (u == '-')
            key = Qt::Key_Minus;
        else if (u == ' ')
            key = Qt::Key_Space;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}

} // namespace kalvado::test

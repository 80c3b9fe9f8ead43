// Kalvado: the program starts in the splash window, which brings up the rest.
#include "engine/numbertext.h"
#include "gui/common/appcontext.h"
#include "gui/common/messageboxes.h"
#include "gui/common/qttranslations.h"
#include "gui/common/windows.h"
#include "gui/windowset.h"
#include "storage/backup.h"
#include "storage/database.h"
#include "storage/datalocation.h"
#include "storage/settingsstore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <functional>

namespace {

// Resident memory of this process in kB, or -1 where /proc is not there.
long ResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) return -1;
    // /proc files report no size, so read them whole rather than testing for the end.
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines)
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Runs its action once, when the main window first paints.
class MainWindowShown final : public QObject {
public:
    explicit MainWindowShown(std::function<void()> action) : m_action(std::move(action)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (!m_done && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow() &&
            watched->objectName() == QLatin1String("frmKalv")) {
            m_done = true;
            m_action();
            qApp->removeEventFilter(this);
        }
        return false;
    }

private:
    std::function<void()> m_action;
    bool m_done = false;
};

} // namespace

int main(int argc, char **argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(assets);
    QLocale::setDefault(kalvado::BulgarianLocale());
    kalvado::LoadQtTranslations(app);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/kalvado.svg")));
    // The splash window stays open behind the main window; the program ends
    // when the main window is left, not when the last window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    // The per-user data folder is ~/.local/share/Kalvado2.
    QCoreApplication::setApplicationName(kalvado::SettingsStore::applicationName());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kalvado.Kalvado"));

    const QString programDir = QCoreApplication::applicationDirPath();
    const QString shareDir =
        QDir::cleanPath(QDir(programDir).filePath(QStringLiteral(KALVADO_SHARE_FROM_BIN)));
    const kalvado::DataLocation location(programDir, shareDir,
                                         QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    kalvado::Database database(location.databasePath(), QStringLiteral("KD2"));
    kalvado::SettingsStore settings;
    // Started once the main window shows; leaving the program waits for it.
    kalvado::BackgroundBackup backup(kalvado::Backup(database.path(), settings.fileName()));
    kalvado::MessageBoxes messages;
    kalvado::Windows windows;

    kalvado::AppContext ctx;
    ctx.programDir = programDir;
    ctx.helpPage = kalvado::DataLocation::HelpPage(programDir, shareDir);
    ctx.connectionName = database.connectionName();
    ctx.settings = &settings;
    ctx.windows = &windows;
    ctx.messages = &messages;
    ctx.quit = [] {
        // Every window gets its closing handler, so nothing typed or totalled is lost.
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    };
    kalvado::RegisterWindows(ctx);

    // One message: why the user's file could not be made, else why it cannot be opened.
    if (!database.isOpen())
        messages.show(nullptr, QStringLiteral("Kalvado"),
                      location.errorMessage().isEmpty() ? database.errorMessage() : location.errorMessage(),
                      kalvado::MessageBoxes::Icon::Critical, kalvado::MessageBoxes::Buttons::Ok,
                      location.errorMessage().isEmpty() ? database.errorDetails() : QString());

    // Start-up measurement (KALVADO_EXIT_WHEN_SHOWN=1): when the main window
    // first paints, print the time since main began and the resident memory,
    // then leave without saving anything.
    const bool exitWhenShown = qEnvironmentVariableIsSet("KALVADO_EXIT_WHEN_SHOWN");
    MainWindowShown shown([&] {
        if (database.isOpen()) backup.start(QDate::currentDate());
        if (!exitWhenShown) return;
        std::printf("shown_ms=%.1f rss_kb=%ld\n", sinceStart.nsecsElapsed() / 1e6, ResidentKb());
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    });
    app.installEventFilter(&shown);

    windows.show(kalvado::WindowId::Splash);
    const int code = QApplication::exec();
    settings.sync();
    windows.destroyAll();
    return code;
}

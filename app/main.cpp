// Kalvado: the program starts in the splash window, which brings up the rest.
#include "engine/numbertext.h"
#include "gui/common/appcontext.h"
#include "gui/common/messageboxes.h"
#include "gui/common/windows.h"
#include "gui/windowset.h"
#include "storage/database.h"
#include "storage/settingsstore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QIcon>
#include <QTimer>
#include <QWidget>

#include <cstdio>

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

// Start-up measurement (KALVADO_EXIT_WHEN_SHOWN=1): when the main window
// first paints, print the time since main began and the resident memory,
// then leave without saving anything.
class ShownProbe final : public QObject {
public:
    explicit ShownProbe(const QElapsedTimer &clock) : m_clock(clock) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (!m_done && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow() &&
            watched->objectName() == QLatin1String("frmKalv")) {
            m_done = true;
            std::printf("shown_ms=%.1f rss_kb=%ld\n", m_clock.nsecsElapsed() / 1e6, ResidentKb());
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return false;
    }

private:
    const QElapsedTimer &m_clock;
    bool m_done = false;
};

} // namespace

int main(int argc, char **argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(assets);
    QLocale::setDefault(kalvado::BulgarianLocale());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/kalvado.svg")));
    // The splash window stays open behind the main window; the program ends
    // when the main window is left, not when the last window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString programDir = QCoreApplication::applicationDirPath();
    kalvado::Database database(QDir(programDir).filePath(kalvado::Database::fileName()),
                               QStringLiteral("KD2"));
    kalvado::SettingsStore settings;
    kalvado::MessageBoxes messages;
    kalvado::Windows windows;

    kalvado::AppContext ctx;
    ctx.programDir = programDir;
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

    if (!database.isOpen())
        messages.show(nullptr, QStringLiteral("Kalvado"), database.errorMessage(),
                      kalvado::MessageBoxes::Icon::Critical, kalvado::MessageBoxes::Buttons::Ok,
                      database.errorDetails());

    ShownProbe probe(sinceStart);
    if (qEnvironmentVariableIsSet("KALVADO_EXIT_WHEN_SHOWN")) app.installEventFilter(&probe);

    windows.show(kalvado::WindowId::Splash);
    const int code = QApplication::exec();
    settings.sync();
    windows.destroyAll();
    return code;
}

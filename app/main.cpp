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
#include <QIcon>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(assets);
    QLocale::setDefault(kalvado::BulgarianLocale());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/kalvado.svg")));
    // The splash window stays open behind the main window; the program ends
    // when the main window is left, not when the last window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString programDir = QCoreApplication::applicationDirPath();
    kalvado::Database database(QDir(programDir).filePath(kalvado::Database::fileName()), QStringLiteral("KD2"));
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
                      kalvado::MessageBoxes::Icon::Critical, kalvado::MessageBoxes::Buttons::Ok);

    windows.show(kalvado::WindowId::Splash);
    const int code = QApplication::exec();
    settings.sync();
    windows.destroyAll();
    return code;
}

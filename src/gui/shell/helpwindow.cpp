#include "gui/shell/helpwindow.h"

#include "gui/common/twips.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

namespace kalvado {

HelpWindow::HelpWindow(const QString &page, QWidget *parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Kalvado – Помощ"));
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setOpenExternalLinks(true);
    setSource(QUrl::fromLocalFile(page));
    // Room for the frame and a desktop panel on the smallest screens.
    QSize size(840, 600);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 80));
    resize(size);
    CentreWindow(this);
}

void OpenWithDesktop(const QUrl &url, QObject *context, std::function<void()> failed) {
    // Qt starts the launcher detached and calls that success, even when the
    // launcher then finds nothing to open the page with; so run it here.
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (launcher.isEmpty()) {
        if (!QDesktopServices::openUrl(url)) failed();
        return;
    }
    // Left without a parent: a browser the launcher keeps running outlives
    // the program instead of being killed with it.
    auto *process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::finished, context,
                     [process, failed](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || code != 0) failed();
                     });
    QObject::connect(process, &QProcess::errorOccurred, context,
                     [process, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;
                         process->deleteLater();
                         failed();
                     });
    process->start(launcher, {url.toString(QUrl::FullyEncoded)});
}

} // namespace kalvado

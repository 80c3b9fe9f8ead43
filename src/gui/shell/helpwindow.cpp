#include "gui/shell/helpwindow.h"

#include "gui/common/twips.h"

#include <QGuiApplication>
#include <QScreen>
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

} // namespace kalvado

#pragma once

#include <QTextBrowser>

#include <functional>

class QUrl;

namespace kalvado {

// The help page shown by the program itself, for a desktop that cannot open
// it: links inside the page move within the window, links to the web go to
// the desktop.
class HelpWindow final : public QTextBrowser {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpWindow)

public:
    explicit HelpWindow(const QString &page, QWidget *parent = nullptr);
};

// Hands a page to the desktop's launcher (xdg-open), else to Qt's own way of
// opening it; calls failed, at once or when the launcher ends, where there is
// none or it reports that it could not open the page (a desktop without a
// browser). Nothing is called once context is gone.
void OpenWithDesktop(const QUrl &url, QObject *context, std::function<void()> failed);

} // namespace kalvado

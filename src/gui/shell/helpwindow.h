#pragma once

#include <QTextBrowser>

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

} // namespace kalvado

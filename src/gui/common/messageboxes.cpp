#include "gui/common/messageboxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include <algorithm>

namespace kalvado {

namespace {

// A window manager keeps a window that stays on top (frmTims) above every
// ordinary window, a modal box included: the box would open hidden behind it
// and the program would look frozen. Such a box stays on top as well.
bool TopmostWindowShown() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](const QWidget *w) {
        return w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    });
}

} // namespace

MessageBoxes::Answer MessageBoxes::show(QWidget *parent, const QString &title, const QString &text, Icon icon,
                                        Buttons buttons) {
    m_shown << Shown{title, text, icon, buttons};
    if (m_scripted) {
        if (!m_answers.isEmpty()) return m_answers.takeFirst();
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
    QMessageBox box(parent);
    if (TopmostWindowShown()) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText); // club names in the texts are the user's own
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (buttons == Buttons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return Answer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Не"));
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

} // namespace kalvado

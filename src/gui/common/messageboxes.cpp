#include "gui/common/messageboxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTranslator>

#include <algorithm>

namespace kalvado {

namespace {

// The details button's two labels in Bulgarian, without shipping Qt's
// translation catalogues for them.
class DetailsLabels final : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *, int) const override {
        if (qstrcmp(context, "QMessageBox") != 0) return {};
        if (qstrcmp(sourceText, "Show Details...") == 0) return QStringLiteral("Подробности...");
        if (qstrcmp(sourceText, "Hide Details...") == 0) return QStringLiteral("Скрий подробностите...");
        return {};
    }
};

void InstallDetailsLabels() {
    static DetailsLabels *labels = [] {
        auto *t = new DetailsLabels;
        t->setParent(QCoreApplication::instance());
        QCoreApplication::installTranslator(t);
        return t;
    }();
    Q_UNUSED(labels);
}

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
                                        Buttons buttons, const QString &details) {
    m_shown << Shown{title, text, icon, buttons, details};
    if (m_scripted) {
        if (!m_answers.isEmpty()) return m_answers.takeFirst();
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
    QMessageBox box(parent);
    if (TopmostWindowShown()) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText); // club names in the texts are the user's own
    box.setText(text);
    if (!details.isEmpty()) {
        InstallDetailsLabels();
        box.setDetailedText(details);
    }
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

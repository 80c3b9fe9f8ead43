#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace kalvado {

// Every message box of the program goes through here, so that tests can
// answer them in advance and no test ever blocks on a modal box.
class MessageBoxes final {
public:
    enum class Icon { None, Information, Exclamation, Critical, Question };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    struct Shown {
        QString title;
        QString text;
        Icon icon;
        Buttons buttons;
        QString details;
    };

    // details, when given, sit behind the box's details button.
    Answer show(QWidget *parent, const QString &title, const QString &text, Icon icon, Buttons buttons,
                const QString &details = QString());

    // Scripted mode (tests): boxes are recorded, not shown; answers come from
    // the queue, else Ok for an OK box and No for a question.
    void setScripted(bool scripted) { m_scripted = scripted; }
    void queueAnswer(Answer answer) { m_answers << answer; }
    const QList<Shown> &shown() const { return m_shown; }
    void clearShown() { m_shown.clear(); }

private:
    bool m_scripted = false;
    QList<Answer> m_answers;
    QList<Shown> m_shown;
};

} // namespace kalvado

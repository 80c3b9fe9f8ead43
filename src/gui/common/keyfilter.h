#pragma once

#include <QObject>

class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;

namespace kalvado {

// What a text box does with a typed character. Codes are those of the
// single-byte code page the program's texts assume: anything above "9"
// (letters, Cyrillic, ":" and on) counts as above 57.
enum class KeyRule {
    ScoreBox,   // above "9" acts as Backspace
    OddsBox,    // as ScoreBox, and "." is typed as ","
    ArchiveBox, // above "9" is refused (nothing happens)
    MoneyBox,   // only "," to "9" pass, "." becomes ","; everything else acts as Backspace
};

// Installs the rule on the box. Navigation and editing keys without a
// character (arrows, Delete, Tab) and Ctrl shortcuts pass untouched. The rule
// holds for every other way text can enter the box: any key combination
// (Alt, AltGr, Super), dead keys and input methods, pasting and dropping;
// pasted or dropped text with a refused character is refused whole.
void InstallKeyFilter(QLineEdit *box, KeyRule rule);

class KeyFilter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyFilter)

public:
    KeyFilter(KeyRule rule, QObject *parent) : QObject(parent), m_rule(rule) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool keyPressed(QLineEdit *box, QKeyEvent *key);
    bool inputMethod(QLineEdit *box, QInputMethodEvent *event);

    KeyRule m_rule;
};

} // namespace kalvado

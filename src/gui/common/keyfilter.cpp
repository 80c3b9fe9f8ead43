#include "gui/common/keyfilter.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace kalvado {

void InstallKeyFilter(QLineEdit *box, KeyRule rule) {
    box->installEventFilter(new KeyFilter(rule, box));
}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto *box = qobject_cast<QLineEdit *>(watched);
    auto *key = static_cast<QKeyEvent *>(event);
    if (!box || key->text().isEmpty()) return false;
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    // Tab carries the text "\t" but moves the focus; it is no typed character.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;
    const QString text = key->text();
    const char16_t c = text.at(0).unicode();
    if (c == 0x7f) // Delete
        return false;
    const bool above9 = c > u'9';
    switch (m_rule) {
    case KeyRule::ScoreBox:
    case KeyRule::OddsBox:
        if (above9) {
            box->backspace();
            return true;
        }
        if (m_rule == KeyRule::OddsBox && c == u'.') {
            box->insert(QStringLiteral(","));
            return true;
        }
        return false;
    case KeyRule::ArchiveBox:
        return above9;
    case KeyRule::MoneyBox:
        if (c == u'.') {
            box->insert(QStringLiteral(","));
            return true;
        }
        if (c >= u',' && c <= u'9') return false;
        box->backspace();
        return true;
    }
    return false;
}

} // namespace kalvado

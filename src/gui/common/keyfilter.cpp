#include "gui/common/keyfilter.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

#include <optional>

namespace kalvado {

namespace {

// What a rule does with one typed character.
enum class Verdict { Pass, Comma, Backspace, Refuse };

Verdict Judge(KeyRule rule, QChar ch) {
    const char16_t c = ch.unicode();
    const bool above9 = c > u'9';
    switch (rule) {
    case KeyRule::ScoreBox:
        return above9 ? Verdict::Backspace : Verdict::Pass;
    case KeyRule::OddsBox:
        if (c == u'.') return Verdict::Comma;
        return above9 ? Verdict::Backspace : Verdict::Pass;
    case KeyRule::ArchiveBox:
        return above9 ? Verdict::Refuse : Verdict::Pass;
    case KeyRule::MoneyBox:
        if (c == u'.') return Verdict::Comma;
        return c >= u',' && c <= u'9' ? Verdict::Pass : Verdict::Backspace;
    }
    return Verdict::Refuse;
}

bool AllPass(KeyRule rule, QStringView text) {
    for (const QChar c : text)
        if (Judge(rule, c) != Verdict::Pass) return false;
    return true;
}

// Typed text, one character after the other as separate keystrokes would be.
void TypeFiltered(QLineEdit *box, KeyRule rule, QStringView text) {
    for (const QChar c : text) {
        switch (Judge(rule, c)) {
        case Verdict::Pass:
            box->insert(QString(c));
            break;
        case Verdict::Comma:
            box->insert(QStringLiteral(","));
            break;
        case Verdict::Backspace:
            box->backspace();
            break;
        case Verdict::Refuse:
            break;
        }
    }
}

// Pasted or dropped text goes in whole or not at all: dropping its refused
// characters could turn "2:1" into another number.
std::optional<QString> Pasted(KeyRule rule, const QString &text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        switch (Judge(rule, c)) {
        case Verdict::Pass:
            result += c;
            break;
        case Verdict::Comma:
            result += u',';
            break;
        case Verdict::Backspace:
        case Verdict::Refuse:
            return std::nullopt;
        }
    }
    return result;
}

void PasteFiltered(QLineEdit *box, KeyRule rule, QClipboard::Mode mode) {
    if (box->isReadOnly()) return;
    if (const auto text = Pasted(rule, QGuiApplication::clipboard()->text(mode))) box->insert(*text);
}

// Ctrl and Ctrl+Shift with a printable character are shortcuts (copy, select
// all): the box inserts nothing for them. Every other combination, Alt, AltGr
// and Super included, can insert the key's text.
bool IsShortcut(const QKeyEvent *key) {
    const Qt::KeyboardModifiers mods =
        key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool ctrl = mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier);
    return ctrl && key->text().at(0).category() != QChar::Other_Format;
}

} // namespace

void InstallKeyFilter(QLineEdit *box, KeyRule rule) {
    box->installEventFilter(new KeyFilter(rule, box));
}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event) {
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (!box) return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPressed(box, static_cast<QKeyEvent *>(event));
    case QEvent::InputMethod:
        return inputMethod(box, static_cast<QInputMethodEvent *>(event));
    case QEvent::MouseButtonRelease: {
        // The middle button pastes the X11 selection.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::MiddleButton || !QGuiApplication::clipboard()->supportsSelection() ||
            box->isReadOnly())
            return false;
        box->deselect();
        PasteFiltered(box, m_rule, QClipboard::Selection);
        return true;
    }
    case QEvent::ContextMenu: {
        QMenu *menu = box->createStandardContextMenu();
        // Qt 6.4 names none of the menu's actions; the paste one is known by
        // the box's own (translated) text for it.
        const QString pasteText = QCoreApplication::translate("QLineEdit", "&Paste");
        for (QAction *action : menu->actions()) {
            if (action->objectName() != QLatin1String("edit-paste") && !action->text().startsWith(pasteText))
                continue;
            action->disconnect();
            connect(action, &QAction::triggered, box,
                    [box, rule = m_rule] { PasteFiltered(box, rule, QClipboard::Clipboard); });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QMimeData *data = drop->mimeData();
        if (data && data->hasText() && AllPass(m_rule, data->text())) return false;
        drop->setDropAction(Qt::IgnoreAction);
        drop->ignore();
        return true;
    }
    default:
        return false;
    }
}

bool KeyFilter::keyPressed(QLineEdit *box, QKeyEvent *key) {
    if (key->matches(QKeySequence::Paste)) {
        PasteFiltered(box, m_rule, QClipboard::Clipboard);
        return true;
    }
    const QString text = key->text();
    if (text.isEmpty() || IsShortcut(key)) return false;
    // Tab carries the text "\t" but moves the focus; it is no typed character.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return false;
    if (text == QStringLiteral("\x7f")) return false; // Delete
    if (AllPass(m_rule, text)) return false;
    if (!box->isReadOnly()) TypeFiltered(box, m_rule, text);
    return true;
}

bool KeyFilter::inputMethod(QLineEdit *box, QInputMethodEvent *event) {
    // Dead keys and input methods deliver their characters as a commit.
    const QString commit = event->commitString();
    if (AllPass(m_rule, commit)) return false;
    QInputMethodEvent rest(event->preeditString(), event->attributes());
    rest.setCommitString(QString(), event->replacementStart(), event->replacementLength());
    QCoreApplication::sendEvent(box, &rest);
    if (!box->isReadOnly()) TypeFiltered(box, m_rule, commit);
    return true;
}

} // namespace kalvado

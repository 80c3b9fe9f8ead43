#include "gui/common/widgets.h"

#include "gui/common/twips.h"
#include "storage/recordset.h"

#include <QDateTime>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace kalvado {

void SetColours(QWidget *w, const QColor &background, const QColor &text) {
    QPalette p = w->palette();
    const bool box = qobject_cast<QLineEdit *>(w) || qobject_cast<QListWidget *>(w);
    p.setColor(box ? QPalette::Base : QPalette::Window, background);
    p.setColor(box ? QPalette::Text : QPalette::WindowText, text);
    w->setPalette(p);
    if (!box) w->setAutoFillBackground(true);
}

QColor BackgroundOf(const QWidget *w) {
    const bool box = qobject_cast<const QLineEdit *>(w) || qobject_cast<const QListWidget *>(w);
    return w->palette().color(box ? QPalette::Base : QPalette::Window);
}

QColor TextColourOf(const QWidget *w) {
    const bool box = qobject_cast<const QLineEdit *>(w) || qobject_cast<const QListWidget *>(w);
    return w->palette().color(box ? QPalette::Text : QPalette::WindowText);
}

QLabel *PlainLabel(QWidget *parent) {
    return PlainLabel(QString(), parent);
}

QLabel *PlainLabel(const QString &text, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

QLabel *RowLabels::label(const QString &text, int left, int top, int width, Qt::Alignment align) const {
    QLabel *l = PlainLabel(text, m_parent);
    l->setAlignment(align);
    PlaceTw(l, left, top, width, m_row);
    return l;
}

QLabel *RowLabels::heading(const QString &text, int left, int top, int width, Qt::Alignment align) const {
    QLabel *l = label(text, left, top, width, align);
    l->setFont(m_bold);
    return l;
}

QLabel *RowLabels::number(const QString &name, int left, int top, int width) const {
    return Named(heading(QString(), left, top, width, Qt::AlignRight | Qt::AlignVCenter), name);
}

void BindLabel(QLabel *label, RecordSet *cursor, const QString &column) {
    label->setText(cursor->value(column));
    QObject::connect(cursor, &RecordSet::currentChanged, label,
                     [label, cursor, column] { label->setText(cursor->value(column)); });
}

void FitLabelText(QLabel *label, const QFont &base) {
    constexpr qreal kSmallest = 6;
    QFont font = base;
    const int room = label->contentsRect().width() - 2 * label->margin() - 4;
    while (font.pointSizeF() > kSmallest && QFontMetrics(font).horizontalAdvance(label->text()) > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    if (font != label->font()) label->setFont(font);
}

QString DateText(const QString &stored) {
    const QDateTime withTime = QDateTime::fromString(stored, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (withTime.isValid()) return withTime.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    const QDate date = QDate::fromString(stored, Qt::ISODate);
    if (date.isValid()) return date.toString(QStringLiteral("dd.MM.yyyy"));
    return stored;
}

QString BesideProgram(const QString &programDir, const QString &name) {
    return QDir(programDir).filePath(name);
}

} // namespace kalvado

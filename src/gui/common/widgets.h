#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace kalvado {

class RecordSet;

// Gives a control its name (the objectName tests and the code refer to it by).
template <class W> W *Named(W *w, const QString &name) {
    w->setObjectName(name);
    return w;
}

// A label that shows its text as written: names, totals and captions come
// from the user or the settings file and are never read as markup.
QLabel *PlainLabel(QWidget *parent);
QLabel *PlainLabel(const QString &text, QWidget *parent);

// Plain-text labels one row high, placed in twips on one parent, as the
// counting windows lay out their tables: captions, bold headings and bold
// named numbers aligned right.
class RowLabels final {
public:
    RowLabels(QWidget *parent, int rowTwips, const QFont &bold)
        : m_parent(parent), m_row(rowTwips), m_bold(bold) {}
    QLabel *label(const QString &text, int left, int top, int width,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) const;
    QLabel *heading(const QString &text, int left, int top, int width,
                    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) const;
    QLabel *number(const QString &name, int left, int top, int width) const;

private:
    QWidget *m_parent;
    int m_row;
    QFont m_bold;
};

// Background and text colour of a label or a text box.
void SetColours(QWidget *w, const QColor &background, const QColor &text);
QColor BackgroundOf(const QWidget *w);
QColor TextColourOf(const QWidget *w);

// A label that always shows one column of the cursor's current row (empty
// when there is no current row).
void BindLabel(QLabel *label, RecordSet *cursor, const QString &column);

// Shrinks the label's font from base (not below 6 points) until its text
// fits, rather than let the text lose its ends.
void FitLabelText(QLabel *label, const QFont &base);

// A stored date ("yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss") as the user reads it.
QString DateText(const QString &stored);

// Path of a file beside the executable.
QString BesideProgram(const QString &programDir, const QString &name);

} // namespace kalvado

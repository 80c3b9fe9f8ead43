#pragma once

#include "gui/common/appcontext.h"
#include "storage/recordset.h"

#include <QFont>
#include <QWidget>

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;

namespace kalvado {

// The archive of prognoses, one at a time: real-result entry, the walk to the
// next prognosis without a result, deletion, and the search by club.
class ArchiveWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ArchiveWindow)

public:
    explicit ArchiveWindow(AppContext &ctx, QWidget *parent = nullptr);
    ~ArchiveWindow() override;

    // Data1: the archive cursor, also used by recording and the statistics.
    RecordSet *archiveCursor() { return &m_data1; }

    // Stores a real result typed for the shown row. Anyone about to move the
    // cursor calls this first; it does nothing when nothing was typed. When
    // the database refuses it, the user is told, the typed result stays and
    // the next call tries again.
    bool storeRealResult();

    // One step of the walk to the next prognosis without a real result.
    void Timer1Tick();

    QLabel *lblproNom = nullptr;
    QLabel *lblDom = nullptr;
    QLabel *lblGost = nullptr;
    QLabel *lblPD = nullptr;
    QLabel *lblPG = nullptr;
    QLineEdit *txtresDom = nullptr;
    QLineEdit *txtresG = nullptr;

    // Navigation bar of Data1.
    QFrame *Data1 = nullptr;
    QToolButton *navFirst = nullptr;
    QToolButton *navPrevious = nullptr;
    QToolButton *navNext = nullptr;
    QToolButton *navLast = nullptr;

    QPushButton *cmdVav = nullptr;
    QTimer *Timer1 = nullptr;
    QPushButton *cmdDel = nullptr;
    QPushButton *cmdStat = nullptr;
    QGroupBox *fraCriteria = nullptr;
    QRadioButton *optDom = nullptr;
    QRadioButton *optGost = nullptr;
    QButtonGroup *grpCriteria = nullptr;
    QLineEdit *txtFindD = nullptr;
    QPushButton *cmdFind = nullptr;
    QGroupBox *fraFind = nullptr;
    QListWidget *lstFind = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void cursorChanged();
    void cmdVavClick();
    void cmdDelClick();
    void cmdFindClick();
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();
    // Stores a result typed for a row the cursor has already left.
    bool storePending();
    bool typedChanged() const;
    RecordSet::Values typedResult() const;
    void reportWriteFailure(const QSqlError &error);

    AppContext &m_ctx;
    RecordSet m_data1;
    bool m_shownOnce = false;
    QFont m_valueFont; // of the bound values; club names may shrink from it
    // The row the result boxes belong to and what they showed of it, so that
    // a typed result can be told apart and stored even after the cursor left.
    qint64 m_shownRow = -1;
    QString m_shownResD;
    QString m_shownResG;
    // A typed result whose row the cursor left while it could not be stored.
    qint64 m_pendingRow = -1;
    QString m_pendingResD;
    QString m_pendingResG;
};

} // namespace kalvado

#pragma once

#include "gui/common/alphabetical.h"
#include "gui/common/appcontext.h"
#include "storage/recordset.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kalvado {

// frmNew: adds clubs to Tims by name and, in deletion mode, deletes the
// picked club's row. The list shows the clubs whose names hold the typed text.
class ClubListWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClubListWindow)

public:
    explicit ClubListWindow(AppContext &ctx, QWidget *parent = nullptr);

    // Refills lstFind with the names that contain txtFind's text.
    void FillClubList();
    // Data1: this window's own club cursor.
    RecordSet *clubCursor() { return &m_Data1; }

    QLabel *Label1 = nullptr;
    QLineEdit *txtFind = nullptr;
    QListWidget *lstFind = nullptr;
    QPushButton *cmdOK = nullptr;
    QCheckBox *Check1 = nullptr;
    QPushButton *cmdDel = nullptr;
    QLabel *lblDom = nullptr;

private:
    void setDeletionMode(bool on);
    void addClub();
    void warnNothingSelected();
    void deleteClub();
    void reportWriteFailure();
    QString selectedName() const;

    AppContext &m_ctx;
    RecordSet m_Data1;
    // The club table in alphabetical order; the list widget's own sorting
    // would put it back in code order.
    SortedNames m_sortedClubs;
};

} // namespace kalvado

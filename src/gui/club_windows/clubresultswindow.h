#pragma once

#include "gui/common/appcontext.h"
#include "storage/recordset.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

namespace kalvado {

class ClubBoxes;

// frmTims: the seven stored results of the club picked on the prognosis form,
// and the filling of that club's oldest result boxes with the newest of them.
class ClubResultsWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClubResultsWindow)

public:
    static constexpr int kStoredMatches = 7;
    static constexpr int kOptions = 8;

    explicit ClubResultsWindow(AppContext &ctx, QWidget *parent = nullptr);

    // datTims: the club cursor, also used by recording.
    RecordSet *clubCursor() { return &m_datTims; }
    // Shows the window and starts the one-shot lookup timer.
    void StartLookup();

    // One tick of Timer1: looks the club up once and switches the timer off.
    void Timer1Tick();
    // cmdOK: fills the chosen number of boxes and hides the window.
    void FillBoxes();

    QLabel *Label2 = nullptr;
    QLabel *lblDate = nullptr;
    QLabel *lblInfo = nullptr;
    QLabel *lblClub = nullptr;
    std::array<QLabel *, kStoredMatches> lblV{};
    std::array<QLabel *, kStoredMatches> lblP{};
    QLabel *Label3 = nullptr;
    std::array<QRadioButton *, kOptions> optI{};
    QPushButton *cmdOK = nullptr;
    QTimer *Timer1 = nullptr;

private:
    // Places and captions the options for the six- or eight-match mode and
    // selects optI(0).
    void LayOutOptions(bool sixMatch);
    ClubBoxes *prognosisForm() const;
    bool sixMatchOn() const;
    // The name of the club the prognosis form offers: the guest when its box
    // holds a name, else the home club.
    static QString chosenName(const ClubBoxes *form, bool *guest);
    // True when the cursor stands on the shown club's row (or no lookup has
    // been made yet): only then do the labels show the row.
    bool onShownRow() const;
    void showCurrentRow();

    AppContext &m_ctx;
    RecordSet m_datTims;
    QButtonGroup *m_optGroup = nullptr;
    QString m_shownClub; // the club of the last lookup; null before the first
};

} // namespace kalvado

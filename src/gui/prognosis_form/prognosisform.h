#pragma once

#include "gui/common/alphabetical.h"
#include "gui/common/appcontext.h"
#include "gui/common/clubboxes.h"
#include "storage/recordset.h"

#include <QStringList>
#include <QWidget>

#include <array>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QTimer;

namespace kalvado {

class ClockBar;
class PrognosisRecorder;
struct PrognosisInputs;

// frmPro: the window in which one match is entered, computed and played.
// All state lives in the controls; the controls are public so that the other
// windows and the recording read and write them as the program's own parts.
class PrognosisForm final : public QWidget, public ClubBoxes {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrognosisForm)

public:
    explicit PrognosisForm(AppContext &ctx, QWidget *parent = nullptr);
    ~PrognosisForm() override;

    // ClubBoxes, for the club recent-results window.
    QString homeName() const override;
    QString guestName() const override;
    void setResult(bool guest, int index, const QString &scored, const QString &conceded) override;

    // Club entry.
    void FillClubList(QListWidget *list, const QString &typed, bool reread);
    void NewMatchReset();
    void GuestClickReset();
    void SimulationReset();
    void ChooseHomeClub(const QString &name);
    void ChooseGuestClub(const QString &name);

    // The "Прогнозирай" click.
    void cmdProClick();
    // Everything one prognosis reads, taken from the controls as they stand.
    PrognosisInputs ReadInputs() const;

    // Timer ticks.
    void tmrEnabTick();
    void tmrTempTick();
    void tmrShansDomTick();
    void tmrShansGostTick();
    void tmrProgresTick();

    // Width of the clock bar in units of its container (0 to 73.99985 across).
    double simulBarWidth() const { return m_simulBarWidth; }
    static constexpr double kSimulUnits = 73.99985;

    // Club entry (Data11 is the form's own cursor over Tims).
    RecordSet Data11;
    QLineEdit *txtDom = nullptr;
    QLineEdit *txtGost = nullptr;
    QListWidget *lstDom = nullptr;
    QListWidget *lstGost = nullptr;
    QLabel *lblDoma = nullptr;
    QLabel *lblDomakin = nullptr;
    QLabel *lblGost = nullptr;
    // Head-to-head captions; index 2 does not exist.
    std::array<QLabel *, 4> lblDPG{};
    QLabel *lblGDP = nullptr;

    // Odds, results and head-to-head counts.
    QLineEdit *txt1 = nullptr;
    QLineEdit *txtX = nullptr;
    QLineEdit *txt2 = nullptr;
    std::array<QLineEdit *, 8> txtGDplus{};
    std::array<QLineEdit *, 8> txtGDminus{};
    std::array<QLineEdit *, 8> txtGGplus{};
    std::array<QLineEdit *, 8> txtGGminus{};
    QLineEdit *txtD = nullptr;
    QLineEdit *txtG = nullptr;

    // Factor options.
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QGroupBox *Frame3 = nullptr;
    QGroupBox *Frame4 = nullptr;
    QGroupBox *Frame5 = nullptr;
    QGroupBox *Frame6 = nullptr;
    QGroupBox *Frame7 = nullptr;
    QCheckBox *chkNokoef = nullptr;
    QCheckBox *chkIzkl10 = nullptr;
    QCheckBox *chkIzkCl = nullptr;
    QRadioButton *optLiga = nullptr;
    QRadioButton *optKupa = nullptr;
    QRadioButton *chkD = nullptr;
    QRadioButton *chkG = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *optG = nullptr;
    QRadioButton *optN = nullptr;
    QRadioButton *optD = nullptr;
    QRadioButton *opt0D = nullptr;
    QRadioButton *opt1D = nullptr;
    QRadioButton *opt3D = nullptr;
    QRadioButton *opt0G = nullptr;
    QRadioButton *opt1G = nullptr;
    QRadioButton *opt3G = nullptr;
    QCheckBox *chkTUdom = nullptr;
    QCheckBox *chkTUgost = nullptr;
    QCheckBox *chkTBdom = nullptr;
    QCheckBox *chkTBgost = nullptr;
    QLineEdit *txtClD = nullptr;
    QLineEdit *txtClG = nullptr;
    QPushButton *cmdClD = nullptr;
    QPushButton *cmdClG = nullptr;
    QListWidget *lstClD = nullptr;
    QListWidget *lstClG = nullptr;

    // Match clock.
    QLabel *lblMinuta = nullptr;
    QLabel *lblTempD = nullptr;
    QLabel *lblTempG = nullptr;
    QLabel *lblProD = nullptr;
    QLabel *lblProg = nullptr;
    QLabel *lblZnak = nullptr;
    QListWidget *lstStatistika = nullptr;
    QFrame *picSimul = nullptr;
    ClockBar *picSimulP = nullptr;
    QLabel *lblTemp = nullptr;
    QLabel *lblShansDom = nullptr;
    QLabel *lblShansGost = nullptr;

    QPushButton *cmdPro = nullptr;
    QPushButton *cmdOtIstoria = nullptr; // fills the boxes from the match history

    QTimer *tmrEnab = nullptr;
    QTimer *tmrTemp = nullptr;
    QTimer *tmrShansDom = nullptr;
    QTimer *tmrShansGost = nullptr;
    QTimer *tmrProgres = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildClubEntry();
    void buildScoreEntry();
    void buildOptions();
    void buildClock();
    void setTabOrderChain();
    void connectHandlers();

    void homeTextChanged();
    void guestTextChanged();
    void checkOdds(QLineEdit *box);
    void nokoefClicked();
    void izkl10Clicked();
    void izkClClicked();
    void togglePlaceList(QListWidget *shown, QListWidget *other);
    void kupaClicked();
    void ligaClicked();
    void hidePlaceLists();
    void clearPredictionShown();
    void setSimulBarWidth(double units);
    void stepChance(QLabel *label, double step);
    void addLine(const QString &line);

    AppContext &m_ctx;
    PrognosisRecorder *m_recorder = nullptr;
    // The club table in alphabetical order, for the home list. The list
    // widget's own sorting would put it back in code order.
    SortedNames m_sortedClubs;
    double m_simulBarWidth = 0.0;
    bool m_guestPressed = false;
};

} // namespace kalvado

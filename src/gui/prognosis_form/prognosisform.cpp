#include "gui/prognosis_form/prognosisform.h"

#include "engine/clubs.h"
#include "engine/numbertext.h"
#include "engine/prognosis.h"
#include "gui/club_windows/clubresultswindow.h"
#include "gui/common/keyfilter.h"
#include "gui/common/messageboxes.h"
#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "gui/common/windows.h"
#include "gui/history/filldialog.h"
#include "gui/prognosis_form/clockbar.h"
#include "gui/prognosis_form/formhistoryboxes.h"
#include "gui/prognosis_form/matchclock.h"
#include "engine/oddscheck.h"
#include "gui/prognosis_form/prognosisrecorder.h"
#include "gui/shell/optionswindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>

namespace kalvado {

namespace {

const QColor kOrange(0xFF, 0x80, 0x00);

QLabel *Caption(QWidget *parent, const QString &text, int left, int top, int width, int height = 240) {
    auto *label = PlainLabel(text, parent);
    PlaceTw(label, left, top, width, height);
    return label;
}

QLineEdit *Box(QWidget *parent, const QString &name, int left, int top, int width, int height = 285) {
    auto *box = Named(new QLineEdit(parent), name);
    PlaceTw(box, left, top, width, height);
    return box;
}

QRadioButton *Option(QWidget *parent, const QString &name, const QString &text, int left, int top,
                     int width) {
    auto *option = Named(new QRadioButton(text, parent), name);
    PlaceTw(option, left, top, width, 255);
    return option;
}

QCheckBox *Check(QWidget *parent, const QString &name, const QString &text, int left, int top, int width) {
    auto *check = Named(new QCheckBox(text, parent), name);
    PlaceTw(check, left, top, width, 255);
    return check;
}

// An orange frame with a bold caption (its contents keep the normal font),
// or, for the match-type frame, a plain grey one.
QGroupBox *OptionFrame(QWidget *parent, const QString &name, const QString &title, int left, int top,
                       int width, int height, bool orange = true) {
    auto *frame = Named(new QGroupBox(title, parent), name);
    PlaceTw(frame, left, top, width, height);
    if (!orange) return frame;
    SetColours(frame, kOrange, Qt::black);
    QFont bold = frame->font();
    bold.setBold(true);
    frame->setFont(bold);
    return frame;
}

// Options side by side in a narrow frame: each as wide as its text needs,
// the room left over shared out evenly, so no caption runs into the next
// button.
void SpreadAcross(QGroupBox *frame, std::initializer_list<QRadioButton *> options, int top) {
    int used = 0;
    for (QRadioButton *option : options) {
        // The style's wide gap between circle and caption would not leave
        // room between the buttons.
        option->setStyleSheet(QStringLiteral("QRadioButton { spacing: 2px; }"));
        used += option->sizeHint().width();
    }
    const int gap = std::max(0, (frame->width() - used) / int(options.size() + 1));
    int left = gap;
    for (QRadioButton *option : options) {
        option->setGeometry(left, Px(top), option->sizeHint().width(), Px(255));
        left += option->sizeHint().width() + gap;
    }
}

void NormalFontInside(QGroupBox *frame) {
    QFont normal = frame->font();
    normal.setBold(false);
    for (QWidget *child : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        child->setFont(normal);
}

int LabelNumber(const QLabel *label) {
    return IntegerText(label->text()).value_or(0);
}

} // namespace

PrognosisForm::PrognosisForm(AppContext &ctx, QWidget *parent)
    : QWidget(parent), Data11(ctx.connectionName, QStringLiteral("Tims")), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmPro"));
    setWindowTitle(QStringLiteral("Прогнозиране-придвижвай се с клавиш Tab"));
    setFixedSize(Px(11085), Px(8460));
    // The twip layout was drawn for a small 8-point face.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    m_recorder = new PrognosisRecorder(ctx, *this);

    buildClubEntry();
    buildScoreEntry();
    buildOptions();
    buildClock();
    // The drop-down lists lie over the boxes beneath them.
    lstDom->raise();
    lstGost->raise();
    lstClD->raise();
    lstClG->raise();
    // The lists start 45 twips above the bottom edge of the name boxes; the
    // boxes stay on top so the typed name is not cut off.
    txtDom->raise();
    txtGost->raise();
    setTabOrderChain();
    connectHandlers();

    // Fills the boxes from the match history. Tab passes it by, so a whole
    // match is still entered in the form's own order.
    cmdOtIstoria = Named(new QPushButton(QStringLiteral("От историята"), this), QStringLiteral("cmdOtIstoria"));
    cmdOtIstoria->setFocusPolicy(Qt::ClickFocus);
    cmdOtIstoria->setToolTip(QStringLiteral("Попълва резултатите, срещите, местата и коефициентите от "
                                            "историята на мачовете"));
    PlaceTw(cmdOtIstoria, 7440, 180, 3525, 375);
    connect(cmdOtIstoria, &QPushButton::clicked, this, [this] {
        ShowHistoryFill(m_ctx, std::make_unique<FormHistoryBoxes>(*this, m_ctx.windows), this);
    });

    CentreWindow(this);
    // Without a usable KD2.mdb the cursor stays closed: the lists stay empty
    // and a prognosis stops at its database step.
    Data11.open();
    Data11.refresh();

    tmrEnab->start();
    tmrTemp->start();
    tmrShansDom->start();
    tmrShansGost->start();
}

PrognosisForm::~PrognosisForm() {
    delete m_recorder;
}

void PrognosisForm::buildClubEntry() {
    Caption(this, QStringLiteral("Домакин"), 240, 120, 3375);
    Caption(this, QStringLiteral("Гост"), 3840, 120, 3375);
    txtDom = Box(this, QStringLiteral("txtDom"), 240, 360, 3375);
    txtDom->setToolTip(QStringLiteral("Въведи отбор домакин"));
    txtGost = Box(this, QStringLiteral("txtGost"), 3840, 360, 3375);
    txtGost->setToolTip(QStringLiteral("Въведи отбор гост"));
    for (QLineEdit *box : {txtDom, txtGost})
        SetColours(box, Qt::black, Qt::white);

    lstDom = Named(new QListWidget(this), QStringLiteral("lstDom"));
    PlaceTw(lstDom, 240, 600, 3375, 2205);
    lstGost = Named(new QListWidget(this), QStringLiteral("lstGost"));
    PlaceTw(lstGost, 3840, 600, 3375, 2205);
    for (QListWidget *list : {lstDom, lstGost}) {
        list->setUniformItemSizes(true);
        list->hide();
    }

    // Bound to the current club of Data11, below the visible area.
    lblDoma = Named(PlainLabel(this), QStringLiteral("lblDoma"));
    PlaceTw(lblDoma, 240, 8760, 3375, 240);
    BindLabel(lblDoma, &Data11, QStringLiteral("Tim"));

    Caption(this, QStringLiteral("В мачовете между двата тима за последните 10 години:"), 480, 3780, 6600);
    lblDPG[0] =
        Named(Caption(this, QStringLiteral("е победил"), 480, 4080, 5655), QStringLiteral("lblDPG_0"));
    lblDPG[1] = Named(Caption(this, QStringLiteral("пъти"), 6720, 4080, 600), QStringLiteral("lblDPG_1"));
    lblGDP = Named(Caption(this, QStringLiteral("е победил"), 480, 4440, 5655), QStringLiteral("lblGDP"));
    lblDPG[3] = Named(Caption(this, QStringLiteral("пъти"), 6720, 4440, 600), QStringLiteral("lblDPG_3"));
    // The count box reaches 15 twips into these labels.
    lblDPG[1]->setIndent(Px(60));
    lblDPG[3]->setIndent(Px(60));

    // The score line of the clock area: home name, predicted goals, guest name.
    lblDomakin = Named(Caption(this, {}, 4080, 6120, 2895, 285), QStringLiteral("lblDomakin"));
    lblDomakin->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblGost = Named(Caption(this, {}, 8040, 6120, 2895, 285), QStringLiteral("lblGost"));
    for (QLabel *name : {lblDomakin, lblGost}) {
        QFont f = name->font();
        f.setBold(true);
        name->setFont(f);
    }
}

void PrognosisForm::buildScoreEntry() {
    const QString instruction = QStringLiteral(
        "Въведете резултатите от последните 8 играни мача като номер 1 е най-отдавна играния мач");
    for (const int left : {360, 4080}) {
        QLabel *label = Caption(this, instruction, left, 1080, 3000, 960);
        label->setWordWrap(true);
    }
    // Two blocks of four matches per club, each match a scored/conceded pair.
    struct Column {
        std::array<QLineEdit *, 8> *boxes;
        const char *name;
        int leftLow;  // indices 0-3
        int leftHigh; // indices 4-7
    };
    const Column columns[] = {{&txtGDplus, "txtGDplus", 600, 2160},
                              {&txtGDminus, "txtGDminus", 1080, 2640},
                              {&txtGGplus, "txtGGplus", 4320, 5880},
                              {&txtGGminus, "txtGGminus", 4800, 6360}};
    static constexpr int rowTops[] = {2160, 2520, 2880, 3240};
    for (const Column &c : columns) {
        for (int i = 0; i < 8; ++i) {
            QLineEdit *box = Box(this, QStringLiteral("%1_%2").arg(QLatin1String(c.name)).arg(i),
                                 i < 4 ? c.leftLow : c.leftHigh, rowTops[i % 4], 375);
            InstallKeyFilter(box, KeyRule::ScoreBox);
            (*c.boxes)[i] = box;
        }
    }
    for (const int left : {360, 1920, 4080, 5640}) {
        const int first = (left == 360 || left == 4080) ? 1 : 5;
        for (int r = 0; r < 4; ++r)
            Caption(this, QString::number(first + r), left, rowTops[r] + 30, 225);
    }

    txtD = Box(this, QStringLiteral("txtD"), 6240, 4080, 495);
    txtG = Box(this, QStringLiteral("txtG"), 6240, 4440, 495);
    InstallKeyFilter(txtD, KeyRule::ScoreBox);
    InstallKeyFilter(txtG, KeyRule::ScoreBox);

    Caption(this, QStringLiteral("Среден коефициент на букмейкърите"), 360, 6480, 3600);
    txt1 = Box(this, QStringLiteral("txt1"), 2040, 6840, 855);
    txtX = Box(this, QStringLiteral("txtX"), 2040, 7200, 855);
    txt2 = Box(this, QStringLiteral("txt2"), 2040, 7560, 855);
    const QString oddsNames[] = {QStringLiteral("1"), QStringLiteral("X"), QStringLiteral("2")};
    int top = 6840;
    for (const QString &name : oddsNames) {
        Caption(this, name, 1800, top + 30, 225);
        top += 360;
    }
    for (QLineEdit *box : {txt1, txtX, txt2})
        InstallKeyFilter(box, KeyRule::OddsBox);

    cmdPro = Named(new QPushButton(QStringLiteral("Прогнозирай"), this), QStringLiteral("cmdPro"));
    PlaceTw(cmdPro, 240, 6840, 1455, 1005);
    QFont bold = cmdPro->font();
    bold.setBold(true);
    cmdPro->setFont(bold);
}

void PrognosisForm::buildOptions() {
    QLabel *heading = Caption(this, QStringLiteral("Опции"), 7440, 600, 3525, 285);
    heading->setAlignment(Qt::AlignCenter);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.2);
    heading->setFont(headingFont);

    Frame1 = OptionFrame(this, QStringLiteral("Frame1"), QStringLiteral("Място в "), 9240, 960, 1725, 2025);
    Caption(Frame1, QStringLiteral("касирането"), 120, 240, 1500);
    txtClD = Box(Frame1, QStringLiteral("txtClD"), 120, 540, 495);
    cmdClD = Named(new QPushButton(QStringLiteral("Домакин"), Frame1), QStringLiteral("cmdClD"));
    PlaceTw(cmdClD, 675, 525, 945, 315);
    txtClG = Box(Frame1, QStringLiteral("txtClG"), 120, 1080, 495);
    cmdClG = Named(new QPushButton(QStringLiteral("Гост"), Frame1), QStringLiteral("cmdClG"));
    PlaceTw(cmdClG, 675, 1065, 945, 315);
    chkIzkCl = Check(Frame1, QStringLiteral("chkIzkCl"), QStringLiteral("Изключи"), 120, 1560, 1500);
    txtClD->setText(QStringLiteral("10"));
    txtClG->setText(QStringLiteral("10"));
    lstClD = Named(new QListWidget(Frame1), QStringLiteral("lstClD"));
    PlaceTw(lstClD, 120, 825, 615, 1035);
    lstClG = Named(new QListWidget(Frame1), QStringLiteral("lstClG"));
    PlaceTw(lstClG, 120, 1365, 615, 645);
    for (QListWidget *list : {lstClD, lstClG}) {
        for (int place = 1; place <= 24; ++place)
            list->addItem(QString::number(place));
        list->hide();
    }
    NormalFontInside(Frame1);

    Frame2 = OptionFrame(this, QStringLiteral("Frame2"), QStringLiteral("Домакин"), 7440, 960, 1680, 1920);
    QLabel *advantage = Caption(Frame2, QStringLiteral("Влияние на фактор домакинство"), 120, 240, 1500, 600);
    advantage->setWordWrap(true);
    optG = Option(Frame2, QStringLiteral("optG"), QStringLiteral("Малко"), 120, 900, 1440);
    optN = Option(Frame2, QStringLiteral("optN"), QStringLiteral("Нормално"), 120, 1200, 1440);
    optD = Option(Frame2, QStringLiteral("optD"), QStringLiteral("Голямо"), 120, 1500, 1440);
    optN->setChecked(true);
    NormalFontInside(Frame2);

    Frame6 = OptionFrame(this, QStringLiteral("Frame6"), QStringLiteral("Треньор пред уволнение"), 7440, 3000,
                         3525, 960);
    chkTUdom = Check(Frame6, QStringLiteral("chkTUdom"), QStringLiteral("На домакините"), 120, 300, 3300);
    chkTUgost = Check(Frame6, QStringLiteral("chkTUgost"), QStringLiteral("На гостите"), 120, 600, 3300);
    NormalFontInside(Frame6);

    Frame7 = OptionFrame(this, QStringLiteral("Frame7"), QStringLiteral("Трансферна бомба"), 7440, 4080, 3525,
                         900);
    chkTBdom =
        Check(Frame7, QStringLiteral("chkTBdom"), QStringLiteral("В тима на домакините"), 120, 300, 3300);
    chkTBgost =
        Check(Frame7, QStringLiteral("chkTBgost"), QStringLiteral("В тима на гостите"), 120, 580, 3300);
    NormalFontInside(Frame7);

    Frame3 = OptionFrame(this, QStringLiteral("Frame3"), QStringLiteral("Контузени"), 7440, 5040, 1680, 1050);
    Caption(Frame3, QStringLiteral("играчи на отбора домакин"), 120, 240, 1500, 420)->setWordWrap(true);
    opt0D = Option(Frame3, QStringLiteral("opt0D"), QStringLiteral("0"), 120, 690, 450);
    opt1D = Option(Frame3, QStringLiteral("opt1D"), QStringLiteral("1-3"), 540, 690, 600);
    opt3D = Option(Frame3, QStringLiteral("opt3D"), QStringLiteral("3+"), 1110, 690, 540);
    opt0D->setChecked(true);
    NormalFontInside(Frame3);
    SpreadAcross(Frame3, {opt0D, opt1D, opt3D}, 690);

    Frame4 = OptionFrame(this, QStringLiteral("Frame4"), QStringLiteral("Контузени"), 9240, 5040, 1725, 1050);
    Caption(Frame4, QStringLiteral("играчи на отбора гост"), 120, 240, 1500, 420)->setWordWrap(true);
    opt0G = Option(Frame4, QStringLiteral("opt0G"), QStringLiteral("0"), 120, 690, 450);
    opt1G = Option(Frame4, QStringLiteral("opt1G"), QStringLiteral("1-3"), 540, 690, 600);
    opt3G = Option(Frame4, QStringLiteral("opt3G"), QStringLiteral("3+"), 1110, 690, 540);
    opt0G->setChecked(true);
    NormalFontInside(Frame4);
    SpreadAcross(Frame4, {opt0G, opt1G, opt3G}, 690);

    Frame5 = OptionFrame(this, QStringLiteral("Frame5"), QStringLiteral("Мача е за :"), 360, 5160, 2400, 1080,
                         false);
    optLiga = Option(Frame5, QStringLiteral("optLiga"), QStringLiteral("Лига"), 240, 360, 1800);
    optKupa = Option(Frame5, QStringLiteral("optKupa"), QStringLiteral("Купа"), 240, 660, 1800);
    optLiga->setChecked(true);
    NormalFontInside(Frame5);

    chkD = Option(this, QStringLiteral("chkD"), QStringLiteral("Домакина е от по-горна дивизия"), 3600, 5280,
                  3600);
    chkG =
        Option(this, QStringLiteral("chkG"), QStringLiteral("Госта е от по-горна дивизия"), 3600, 5520, 3600);
    Option1 = Option(this, QStringLiteral("Option1"), QStringLiteral("Тимовете са от една дивизия"), 3600,
                     5760, 3600);
    Option1->setChecked(true);
    for (QRadioButton *division : {chkD, chkG, Option1})
        division->hide();

    // One exclusive group per question.
    const std::initializer_list<std::initializer_list<QRadioButton *>> groups = {{optG, optN, optD},
                                                                                 {opt0D, opt1D, opt3D},
                                                                                 {opt0G, opt1G, opt3G},
                                                                                 {optLiga, optKupa},
                                                                                 {chkD, chkG, Option1}};
    for (const auto &members : groups) {
        auto *group = new QButtonGroup(this);
        for (QRadioButton *option : members) {
            group->addButton(option);
            option->installEventFilter(this);
        }
    }

    chkIzkl10 =
        Check(this, QStringLiteral("chkIzkl10"), QStringLiteral("Изключи от прогнозата"), 480, 4680, 3000);
    chkNokoef = Check(this, QStringLiteral("chkNokoef"), QStringLiteral(" Не е обявен"), 2040, 7920, 1920);
}

void PrognosisForm::buildClock() {
    lstStatistika = Named(new QListWidget(this), QStringLiteral("lstStatistika"));
    PlaceTw(lstStatistika, 4080, 6480, 6735, 750);
    SetColours(lstStatistika, kOrange, Qt::black);
    lstStatistika->setFocusPolicy(Qt::TabFocus);

    Caption(this, QStringLiteral("-"), 7455, 6120, 105, 285)->setAlignment(Qt::AlignCenter);
    lblProD = Named(Caption(this, QStringLiteral("0"), 7080, 6120, 375, 285), QStringLiteral("lblProD"));
    lblProg = Named(Caption(this, QStringLiteral("0"), 7560, 6120, 375, 285), QStringLiteral("lblProg"));
    lblProD->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel *goals : {lblProD, lblProg}) {
        QFont f = goals->font();
        f.setBold(true);
        goals->setFont(f);
        goals->hide();
    }

    Caption(this, QStringLiteral("Минута:"), 4080, 7440, 900);
    lblMinuta = Named(Caption(this, QStringLiteral("0"), 5040, 7440, 495), QStringLiteral("lblMinuta"));
    lblTempD = Named(Caption(this, QStringLiteral("0"), 5640, 7440, 375), QStringLiteral("lblTempD"));
    lblTempD->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Caption(this, QStringLiteral(":"), 6015, 7440, 105)->setAlignment(Qt::AlignCenter);
    lblTempG = Named(Caption(this, QStringLiteral("0"), 6120, 7440, 375), QStringLiteral("lblTempG"));

    Caption(this, QStringLiteral("Прогнозен знак:"), 8280, 7380, 1740);
    lblZnak = Named(Caption(this, {}, 10080, 7320, 495, 375), QStringLiteral("lblZnak"));
    lblZnak->setAlignment(Qt::AlignCenter);
    SetColours(lblZnak, Qt::yellow, Qt::black);
    QFont signFont = lblZnak->font();
    signFont.setBold(true);
    lblZnak->setFont(signFont);
    lblZnak->hide();

    picSimul = Named(new QFrame(this), QStringLiteral("picSimul"));
    PlaceTw(picSimul, 4080, 7920, 6720, 375);
    SetColours(picSimul, QColor(0xFF, 0xC0, 0x80), Qt::black);
    picSimul->setFocusPolicy(Qt::TabFocus);
    picSimulP = Named(new ClockBar(picSimul), QStringLiteral("picSimulP"));
    // 15 twips wide at the start, in the container's units.
    setSimulBarWidth(15.0 * kSimulUnits / 6720.0);

    // Counters the clock and the engine read; never shown.
    lblTemp = Named(PlainLabel(QStringLiteral("0"), this), QStringLiteral("lblTemp"));
    lblShansDom = Named(PlainLabel(QStringLiteral("0"), this), QStringLiteral("lblShansDom"));
    lblShansGost = Named(PlainLabel(QStringLiteral("0"), this), QStringLiteral("lblShansGost"));
    for (QLabel *counter : {lblTemp, lblShansDom, lblShansGost})
        counter->hide();

    const auto timer = [this](const QString &name, int interval) {
        auto *t = Named(new QTimer(this), name);
        t->setTimerType(Qt::PreciseTimer);
        t->setInterval(interval);
        return t;
    };
    tmrEnab = timer(QStringLiteral("tmrEnab"), 20);
    tmrTemp = timer(QStringLiteral("tmrTemp"), 14);
    tmrShansDom = timer(QStringLiteral("tmrShansDom"), 100);
    tmrShansGost = timer(QStringLiteral("tmrShansGost"), 100);
    tmrProgres = timer(QStringLiteral("tmrProgres"), 21);
}

void PrognosisForm::setTabOrderChain() {
    QList<QWidget *> chain{txtDom, txtGost};
    for (int i = 0; i < 8; ++i)
        chain << txtGDplus[i] << txtGDminus[i];
    for (int i = 0; i < 8; ++i)
        chain << txtGGplus[i] << txtGGminus[i];
    chain << txtD << txtG << txt1 << txtX << txt2 << cmdPro;
    chain << optG << optN << optD << opt0D << opt1D << opt3D << opt0G << opt1G << opt3G << optKupa << optLiga
          << chkD << chkG << Option1 << lstDom << lstGost << chkIzkl10 << picSimul << lstStatistika
          << chkNokoef << chkTUdom << chkTUgost << chkTBdom << chkTBgost << txtClD << cmdClD << chkIzkCl
          << txtClG << cmdClG << lstClD << lstClG;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void PrognosisForm::connectHandlers() {
    connect(txtDom, &QLineEdit::textChanged, this, &PrognosisForm::homeTextChanged);
    connect(txtGost, &QLineEdit::textChanged, this, &PrognosisForm::guestTextChanged);
    txtDom->installEventFilter(this);
    txtGost->installEventFilter(this);
    lstGost->viewport()->installEventFilter(this);
    Frame1->installEventFilter(this);
    // The name is copied before the list is refilled under the clicked item.
    const auto chooser = [this](QListWidget *list, void (PrognosisForm::*choose)(const QString &)) {
        const auto pick = [this, choose](QListWidgetItem *item) {
            if (item) (this->*choose)(item->text());
        };
        connect(list, &QListWidget::itemClicked, this, pick);
        connect(list, &QListWidget::itemActivated, this, pick);
    };
    chooser(lstDom, &PrognosisForm::ChooseHomeClub);
    chooser(lstGost, &PrognosisForm::ChooseGuestClub);

    for (QLineEdit *box : {txt1, txtX, txt2})
        box->installEventFilter(this);
    for (int i = 0; i < 8; ++i) {
        connect(txtGDminus[i], &QLineEdit::textChanged, cmdPro, [this] { cmdPro->setEnabled(true); });
        connect(txtGGplus[i], &QLineEdit::textChanged, cmdPro, [this] { cmdPro->setEnabled(true); });
    }

    connect(chkNokoef, &QCheckBox::clicked, this, &PrognosisForm::nokoefClicked);
    connect(chkIzkl10, &QCheckBox::clicked, this, &PrognosisForm::izkl10Clicked);
    connect(chkIzkCl, &QCheckBox::clicked, this, &PrognosisForm::izkClClicked);
    connect(cmdClD, &QPushButton::clicked, this, [this] { togglePlaceList(lstClD, lstClG); });
    connect(cmdClG, &QPushButton::clicked, this, [this] { togglePlaceList(lstClG, lstClD); });
    connect(lstClD, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        txtClD->setText(item->text());
        lstClD->hide();
    });
    connect(lstClG, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        txtClG->setText(item->text());
        lstClG->hide();
    });
    connect(optKupa, &QRadioButton::clicked, this, &PrognosisForm::kupaClicked);
    connect(optLiga, &QRadioButton::clicked, this, &PrognosisForm::ligaClicked);

    connect(cmdPro, &QPushButton::clicked, this, &PrognosisForm::cmdProClick);

    connect(tmrEnab, &QTimer::timeout, this, &PrognosisForm::tmrEnabTick);
    connect(tmrTemp, &QTimer::timeout, this, &PrognosisForm::tmrTempTick);
    connect(tmrShansDom, &QTimer::timeout, this, &PrognosisForm::tmrShansDomTick);
    connect(tmrShansGost, &QTimer::timeout, this, &PrognosisForm::tmrShansGostTick);
    connect(tmrProgres, &QTimer::timeout, this, &PrognosisForm::tmrProgresTick);
}

// ---- ClubBoxes

QString PrognosisForm::homeName() const {
    return txtDom->text();
}

QString PrognosisForm::guestName() const {
    return txtGost->text();
}

void PrognosisForm::setResult(bool guest, int index, const QString &scored, const QString &conceded) {
    if (index < 0 || index > 7) return;
    (guest ? txtGGplus : txtGDplus)[index]->setText(scored);
    (guest ? txtGGminus : txtGDminus)[index]->setText(conceded);
}

// ---- Club entry

void PrognosisForm::FillClubList(QListWidget *list, const QString &typed, bool reread) {
    list->clear();
    if (reread) Data11.refresh();
    // One query for the whole table; it ends at the first club without a name.
    const QStringList scanned = Data11.scanColumn(QStringLiteral("Tim"));
    // Only the home list is alphabetical; the guest list keeps the table's order.
    const QStringList &clubs = list == lstDom ? m_sortedClubs.of(scanned) : scanned;
    QStringList names;
    names.reserve(clubs.size());
    for (const QString &name : clubs)
        if (name.contains(typed)) names << name;
    list->addItems(names);
    Data11.first();
}

void PrognosisForm::homeTextChanged() {
    lstDom->show();
    FillClubList(lstDom, txtDom->text(), true);
}

void PrognosisForm::guestTextChanged() {
    SimulationReset();
    clearPredictionShown();
    const QString home = txtDom->text();
    const QString guest = txtGost->text();
    lblDPG[0]->setText(home + QStringLiteral(" е победил ") + guest);
    lblGDP->setText(guest + QStringLiteral(" е победил ") + home);
    lblDomakin->setText(home);
    lblGost->setText(guest);
    cmdPro->setEnabled(true);
    lstGost->show();
    FillClubList(lstGost, guest, false);
}

void PrognosisForm::clearPredictionShown() {
    lblProD->hide();
    lblProg->hide();
    lblProD->setText(QStringLiteral("0"));
    lblProg->setText(QStringLiteral("0"));
}

void PrognosisForm::SimulationReset() {
    lblTempD->setText(QStringLiteral("0"));
    lblTempG->setText(QStringLiteral("0"));
    lstStatistika->clear();
    lblMinuta->setText(QStringLiteral("0"));
    setSimulBarWidth(0.01);
}

void PrognosisForm::NewMatchReset() {
    // Everything the guest-click reset clears, and the names, results and colours too.
    txtDom->setText(QString());
    txtGost->setText(QString());
    GuestClickReset();
    for (int i = 0; i < 8; ++i) {
        txtGDplus[i]->setText(QString());
        txtGGplus[i]->setText(QString());
        txtGDminus[i]->setText(QString());
        txtGGminus[i]->setText(QString());
    }
    SetColours(txtDom, Qt::black, Qt::white);
    SetColours(txtGost, Qt::black, Qt::white);
}

void PrognosisForm::GuestClickReset() {
    txtD->setText(QString());
    txtG->setText(QString());
    if (!chkNokoef->isChecked()) {
        txt1->setText(QString());
        txtX->setText(QString());
        txt2->setText(QString());
    }
    txtClD->setText(QStringLiteral("10"));
    txtClG->setText(QStringLiteral("10"));
    lblZnak->setText(QString());
    lblZnak->hide();
    SimulationReset();
    clearPredictionShown();
}

void PrognosisForm::ChooseHomeClub(const QString &name) {
    txtDom->setText(name);
    lstDom->hide();
    if (auto *tims = m_ctx.windows ? m_ctx.windows->get<ClubResultsWindow>(WindowId::Tims) : nullptr)
        tims->StartLookup();
    if (const auto colour = FindClubColour(txtDom->text()))
        SetColours(txtDom, QColor::fromRgb(colour->background), QColor::fromRgb(colour->text));
}

void PrognosisForm::ChooseGuestClub(const QString &name) {
    txtGost->setText(name);
    lstGost->hide();
    if (auto *tims = m_ctx.windows ? m_ctx.windows->get<ClubResultsWindow>(WindowId::Tims) : nullptr)
        tims->StartLookup();
    if (const auto colour = FindClubColour(txtGost->text()))
        SetColours(txtGost, QColor::fromRgb(colour->background), QColor::fromRgb(colour->text));
}

bool PrognosisForm::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    // A disabled box (the clock is running) takes no clicks.
    if ((watched == txtDom || watched == txtGost) && !static_cast<QWidget *>(watched)->isEnabled())
        return QWidget::eventFilter(watched, event);
    if (watched == txtDom && type == QEvent::MouseButtonPress) {
        NewMatchReset();
        lstDom->show();
        lstGost->hide();
        FillClubList(lstDom, txtDom->text(), false);
    } else if (watched == txtGost && type == QEvent::MouseButtonPress) {
        m_guestPressed = true;
    } else if (watched == txtGost && type == QEvent::MouseButtonRelease) {
        const bool inside = txtGost->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint());
        if (m_guestPressed && inside) {
            GuestClickReset();
            lstDom->hide();
            lstGost->show();
            FillClubList(lstGost, txtGost->text(), false);
        }
        m_guestPressed = false;
    } else if (watched == lstGost->viewport() && type == QEvent::MouseButtonPress) {
        SetColours(txtGost, Qt::black, Qt::white);
    } else if (watched == Frame1 && type == QEvent::MouseButtonRelease) {
        hidePlaceLists();
    } else if (type == QEvent::FocusIn && qobject_cast<QRadioButton *>(watched)) {
        // Tab stops once on an option group, at its chosen option.
        auto *option = static_cast<QRadioButton *>(watched);
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        QAbstractButton *chosen = option->group() ? option->group()->checkedButton() : nullptr;
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && chosen &&
            chosen != option && chosen->isVisibleTo(this) && chosen->isEnabled())
            chosen->setFocus(reason);
    } else if (type == QEvent::FocusOut && (watched == txt1 || watched == txtX || watched == txt2)) {
        // Only a move to another control counts, not the window losing
        // focus, closing or going away.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isVisible())
            checkOdds(static_cast<QLineEdit *>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

void PrognosisForm::mouseReleaseEvent(QMouseEvent *event) {
    hidePlaceLists();
    QWidget::mouseReleaseEvent(event);
}

void PrognosisForm::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    setSimulBarWidth(m_simulBarWidth);
}

// ---- Odds

void PrognosisForm::checkOdds(QLineEdit *box) {
    const OddsCheck check = CheckOdds(box->text());
    if (check.accepted) {
        if (check.text != box->text()) box->setText(check.text);
        return;
    }
    if (m_ctx.messages)
        m_ctx.messages->show(this, QStringLiteral("Kalvado - Ruby"),
                             QStringLiteral("Коефициента може да е между 1,01 и 50"),
                             MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
    box->setText(QString());
}

// ---- Factor options

void PrognosisForm::nokoefClicked() {
    const bool notAnnounced = chkNokoef->isChecked();
    for (QLineEdit *box : {txt1, txtX, txt2}) {
        box->setText(notAnnounced ? QStringLiteral("2") : QString());
        box->setVisible(!notAnnounced);
    }
}

void PrognosisForm::izkl10Clicked() {
    if (chkIzkl10->isChecked()) {
        chkIzkl10->setText(QStringLiteral("Включи в прогнозата"));
    } else {
        chkIzkl10->setText(QStringLiteral("Изключи от прогнозата"));
        txtD->setText(QString());
        txtG->setText(QString());
    }
}

void PrognosisForm::izkClClicked() {
    if (chkIzkCl->isChecked()) {
        chkIzkCl->setText(QStringLiteral("Изключи"));
        txtClD->setText(QStringLiteral("10"));
        txtClG->setText(QStringLiteral("10"));
        cmdClD->setEnabled(false);
        cmdClG->setEnabled(false);
        hidePlaceLists();
    } else {
        chkIzkCl->setText(QStringLiteral("Включи"));
        cmdClD->setEnabled(true);
        cmdClG->setEnabled(true);
    }
}

void PrognosisForm::togglePlaceList(QListWidget *shown, QListWidget *other) {
    shown->setVisible(!shown->isVisibleTo(this));
    if (other->isVisibleTo(this)) other->hide();
}

void PrognosisForm::hidePlaceLists() {
    lstClD->hide();
    lstClG->hide();
}

void PrognosisForm::kupaClicked() {
    for (QRadioButton *division : {chkD, chkG, Option1})
        division->show();
    cmdClD->setEnabled(false);
    txtClD->setText(QStringLiteral("10"));
    cmdClG->setEnabled(false);
    txtClG->setText(QStringLiteral("10"));
}

void PrognosisForm::ligaClicked() {
    for (QRadioButton *division : {chkD, chkG, Option1})
        division->hide();
    chkD->setChecked(false);
    chkG->setChecked(false);
    Option1->setChecked(true);
    cmdClD->setEnabled(true);
    cmdClG->setEnabled(true);
}

void PrognosisForm::tmrEnabTick() {
    const bool excluded = chkIzkl10->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{txtD, txtG, lblDPG[0], lblGDP, lblDPG[1], lblDPG[3]})
        w->setVisible(!excluded);

    auto *options = m_ctx.windows ? m_ctx.windows->get<OptionsWindow>(WindowId::Opt) : nullptr;
    const bool sixMatches = options && options->sixMatchOn();
    const std::initializer_list<QLineEdit *> firstTwo{txtGDplus[0],  txtGDminus[0], txtGDplus[1],
                                                      txtGDminus[1], txtGGplus[0],  txtGGminus[0],
                                                      txtGGplus[1],  txtGGminus[1]};
    if (sixMatches) {
        for (QLineEdit *box : firstTwo)
            box->hide();
        // Writing the same text again is no change, so this does not
        // re-enable cmdPro every 20 ms.
        for (QLineEdit *box : firstTwo)
            box->setText(QStringLiteral("1"));
    } else {
        for (QLineEdit *box : firstTwo)
            box->show();
    }
    if (excluded) {
        txtD->setText(QStringLiteral("1"));
        txtG->setText(QStringLiteral("1"));
    }
}

// ---- Match clock

void PrognosisForm::tmrTempTick() {
    lblTemp->setText(NextGoalMoment(lblTemp->text()));
}

void PrognosisForm::stepChance(QLabel *label, double step) {
    if (const auto next = NextChance(label->text(), step)) label->setText(*next);
}

void PrognosisForm::tmrShansDomTick() {
    stepChance(lblShansDom, 0.095);
}

void PrognosisForm::tmrShansGostTick() {
    stepChance(lblShansGost, 0.075);
}

void PrognosisForm::setSimulBarWidth(double units) {
    m_simulBarWidth = units;
    const double pxPerUnit = picSimul->width() / kSimulUnits;
    picSimulP->setGeometry(0, 0, qRound(units * pxPerUnit), picSimul->height());
}

void PrognosisForm::addLine(const QString &line) {
    lstStatistika->addItem(line);
    lstStatistika->scrollToBottom(); // the newest event stays in view
}

void PrognosisForm::tmrProgresTick() {
    const int predictedGuest = LabelNumber(lblProg);
    const int predictedHome = LabelNumber(lblProD);
    const int runningGuest = LabelNumber(lblTempG);
    const int runningHome = LabelNumber(lblTempD);
    txtDom->setEnabled(false);
    txtGost->setEnabled(false);
    setSimulBarWidth(m_simulBarWidth + 1.0);
    const int minute = LabelNumber(lblMinuta) + 1;
    lblMinuta->setText(QString::number(minute));
    if (minute >= 90) {
        tmrProgres->stop();
        lblProD->show();
        lblProg->show();
        lblZnak->show();
        txtDom->setEnabled(true);
        txtGost->setEnabled(true);
    }
    const bool guestBehind = runningGuest < predictedGuest;
    const bool homeBehind = runningHome < predictedHome;
    const auto goal = [this] { addLine(GoalLine(lblMinuta->text(), lblTempD->text(), lblTempG->text())); };
    const QString moment = lblTemp->text();
    if (moment == QLatin1String("29") && guestBehind) {
        lblTempG->setText(QString::number(runningGuest + 1));
        goal();
    }
    if (moment == QLatin1String("24") && homeBehind) {
        lblTempD->setText(QString::number(runningHome + 1));
        goal();
    }
    if (minute == 45) addLine(HalfTimeLine(lblTempD->text(), lblTempG->text()));
    if (minute == 89 && guestBehind) {
        lblTempG->setText(QString::number(runningGuest + 1));
        goal();
    }
    if (minute == 89 && homeBehind) {
        lblTempD->setText(QString::number(runningHome + 1));
        goal();
    }
    if (minute == 90 && guestBehind) {
        lblTempG->setText(lblProg->text());
        goal();
    }
    if (minute == 90 && homeBehind) {
        lblTempD->setText(lblProD->text());
        goal();
    }
    if (minute == 90 && lblProD->text() == lblTempD->text())
        addLine(FinalLine(lblProD->text(), lblProg->text()));
}

// ---- Prognosis

PrognosisInputs PrognosisForm::ReadInputs() const {
    PrognosisInputs in;
    in.shansDom = lblShansDom->text();
    in.shansGost = lblShansGost->text();
    in.homeWins = txtD->text();
    in.guestWins = txtG->text();
    in.homePlace = txtClD->text();
    in.guestPlace = txtClG->text();
    in.coachHome = chkTUdom->isChecked();
    in.coachGuest = chkTUgost->isChecked();
    in.transferHome = chkTBdom->isChecked();
    in.transferGuest = chkTBgost->isChecked();
    in.homeAdvantage = optN->isChecked()   ? HomeAdvantage::Normal
                       : optD->isChecked() ? HomeAdvantage::Large
                       : optG->isChecked() ? HomeAdvantage::Small
                                           : HomeAdvantage::Normal;
    const auto injured = [](const QRadioButton *none, const QRadioButton *few, const QRadioButton *many) {
        if (none->isChecked()) return Injured::None;
        if (few->isChecked()) return Injured::OneToThree;
        return many->isChecked() ? Injured::ThreeOrMore : Injured::None;
    };
    in.injuredHome = injured(opt0D, opt1D, opt3D);
    in.injuredGuest = injured(opt0G, opt1G, opt3G);
    in.division = chkD->isChecked()   ? Division::HomeHigher
                  : chkG->isChecked() ? Division::GuestHigher
                                      : Division::Same;
    in.homeName = txtDom->text();
    in.guestName = txtGost->text();
    in.homeCaption = lblDomakin->text();
    in.guestCaption = lblGost->text();
    in.k1 = txt1->text();
    in.kX = txtX->text();
    in.k2 = txt2->text();
    in.oddsAnnounced = txt1->isVisibleTo(this);
    for (int i = 0; i < 8; ++i) {
        in.home.scored[i] = txtGDplus[i]->text();
        in.home.conceded[i] = txtGDminus[i]->text();
        in.guest.scored[i] = txtGGplus[i]->text();
        in.guest.conceded[i] = txtGGminus[i]->text();
    }
    return in;
}

void PrognosisForm::cmdProClick() {
    m_recorder->Run();
}

} // namespace kalvado

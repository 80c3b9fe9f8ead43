#include "gui/archive/archivewindow.h"

#include "engine/numbertext.h"
#include "gui/archive/archivequeries.h"
#include "gui/common/keyfilter.h"
#include "gui/common/messageboxes.h"
#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "gui/common/windows.h"
#include "storage/database.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>

namespace kalvado {

namespace {

const QString kResD = QStringLiteral("resD");
const QString kResG = QStringLiteral("resG");

} // namespace

ArchiveWindow::ArchiveWindow(AppContext &ctx, QWidget *parent)
    : QWidget(parent), m_ctx(ctx), m_data1(ctx.connectionName, QStringLiteral("KD")) {
    setObjectName(QStringLiteral("frmData"));
    setWindowTitle(QStringLiteral("Архив"));
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    CentreWindow(this);

    BindLabel(lblproNom, &m_data1, QStringLiteral("Nom"));
    BindLabel(lblDom, &m_data1, QStringLiteral("Dom"));
    BindLabel(lblGost, &m_data1, QStringLiteral("Gost"));
    BindLabel(lblPD, &m_data1, QStringLiteral("proD"));
    BindLabel(lblPG, &m_data1, QStringLiteral("proG"));
    connect(&m_data1, &RecordSet::currentChanged, this, &ArchiveWindow::cursorChanged);
    m_data1.open();
    cursorChanged();
}

ArchiveWindow::~ArchiveWindow() {
    // Normally stored on closing already; this covers an end without closing,
    // when there is no one left to tell of a failure.
    storePending();
    if (m_shownRow >= 0 && typedChanged()) m_data1.editRow(m_shownRow, typedResult());
}

bool ArchiveWindow::typedChanged() const {
    return txtresDom->text() != m_shownResD || txtresG->text() != m_shownResG;
}

RecordSet::Values ArchiveWindow::typedResult() const {
    return {{kResD, RecordSet::textOrNull(txtresDom->text())},
            {kResG, RecordSet::textOrNull(txtresG->text())}};
}

void ArchiveWindow::build() {
    setFixedSize(TwipRect(0, 0, 10560, 7560).size());
    QFont bold = font();
    bold.setBold(true);
    QFont big = bold;
    big.setPointSizeF(big.pointSizeF() * 1.25);
    m_valueFont = big;

    const auto caption = [this](const QString &text, int left, int top, int width) {
        auto *l = PlainLabel(text, this);
        l->setAlignment(Qt::AlignCenter);
        PlaceTw(l, left, top, width, 285);
        return l;
    };
    const auto value = [&](const char *name, int left, int top, int width) {
        auto *l = Named(PlainLabel(this), name);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        l->setFont(big);
        SetColours(l, Qt::white, QColor(0, 0, 128));
        PlaceTw(l, left, top, width, 405);
        return l;
    };
    const auto colon = [&](int left, int top) {
        auto *l = PlainLabel(QStringLiteral(":"), this);
        l->setAlignment(Qt::AlignCenter);
        l->setFont(big);
        PlaceTw(l, left, top, 240, 405);
    };

    caption(QStringLiteral("Прогноза номер"), 240, 240, 1560);
    lblproNom = value("lblproNom", 240, 540, 1560);
    caption(QStringLiteral("Домакин"), 1980, 240, 2280);
    lblDom = value("lblDom", 1980, 540, 2280);
    caption(QStringLiteral("Гост"), 4440, 240, 2280);
    lblGost = value("lblGost", 4440, 540, 2280);

    caption(QStringLiteral("Прогноза Kalvado"), 1980, 1140, 2280);
    lblPD = value("lblPD", 2400, 1440, 600);
    colon(3000, 1440);
    lblPG = value("lblPG", 3240, 1440, 600);

    caption(QStringLiteral("Реален резултат"), 4440, 1140, 2280);
    const auto resultBox = [&](const char *name, int left) {
        auto *box = Named(new QLineEdit(this), name);
        box->setAlignment(Qt::AlignCenter);
        box->setFont(big);
        box->setToolTip(QStringLiteral("Въведете резултата от срещата"));
        InstallKeyFilter(box, KeyRule::ArchiveBox);
        PlaceTw(box, left, 1440, 600, 405);
        return box;
    };
    txtresDom = resultBox("txtresDom", 4860);
    colon(5460, 1440);
    txtresG = resultBox("txtresG", 5700);

    const auto button = [this](const char *name, const QString &text, int top) {
        auto *b = Named(new QPushButton(text, this), name);
        PlaceTw(b, 6960, top, 3360, 450);
        return b;
    };
    cmdVav = button("cmdVav", QStringLiteral("Въвеждане на реални резултати"), 360);
    cmdDel = button("cmdDel", QStringLiteral("Изтриване на прогноза"), 900);
    cmdStat = button("cmdStat", QStringLiteral("Статистика"), 1440);

    Timer1 = Named(new QTimer(this), "Timer1");
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(10);

    // The cursor's navigation bar: first and previous at the left, next and
    // last at the right, the caption between them.
    Data1 = Named(new QFrame(this), "Data1");
    Data1->setFrameShape(QFrame::Panel);
    Data1->setFrameShadow(QFrame::Raised);
    Data1->setToolTip(QStringLiteral("Придвижване между записите"));
    SetColours(Data1, QColor(224, 224, 224), Qt::black);
    PlaceTw(Data1, 240, 2160, 10080, 420);
    const auto navButton = [this](const char *name, const QString &text, int left) {
        auto *b = Named(new QToolButton(Data1), name);
        b->setText(text);
        b->setToolTip(QStringLiteral("Придвижване между записите"));
        PlaceTw(b, left, 30, 480, 360);
        return b;
    };
    navFirst = navButton("navFirst", QStringLiteral("|◀"), 30);
    navPrevious = navButton("navPrevious", QStringLiteral("◀"), 510);
    navNext = navButton("navNext", QStringLiteral("▶"), 9090);
    navLast = navButton("navLast", QStringLiteral("▶|"), 9570);
    auto *navCaption = PlainLabel(QStringLiteral("Придвижване към следващ или предишен запис"), Data1);
    navCaption->setAlignment(Qt::AlignCenter);
    PlaceTw(navCaption, 1020, 30, 8040, 360);

    fraCriteria = Named(new QGroupBox(QStringLiteral("Критерии за търсене"), this), "fraCriteria");
    PlaceTw(fraCriteria, 240, 2820, 3240, 1020);
    optDom = Named(new QRadioButton(QStringLiteral("Домакин"), fraCriteria), "optDom");
    PlaceTw(optDom, 240, 300, 2760, 285);
    optGost = Named(new QRadioButton(QStringLiteral("Гост"), fraCriteria), "optGost");
    PlaceTw(optGost, 240, 630, 2760, 285);
    grpCriteria = new QButtonGroup(this);
    grpCriteria->addButton(optDom);
    grpCriteria->addButton(optGost);
    optDom->setChecked(true);

    txtFindD = Named(new QLineEdit(this), "txtFindD");
    txtFindD->setToolTip(QStringLiteral("Въведете клуб за търсене "));
    txtFindD->installEventFilter(this);
    PlaceTw(txtFindD, 3720, 3060, 3720, 360);
    cmdFind = Named(new QPushButton(QStringLiteral("Търси"), this), "cmdFind");
    cmdFind->setToolTip(QStringLiteral("Провери дали си въвел домакина или госта за търсене"));
    PlaceTw(cmdFind, 7680, 3015, 2640, 450);

    fraFind = Named(new QGroupBox(QStringLiteral("Търсене на всички прогнози"), this), "fraFind");
    PlaceTw(fraFind, 240, 4020, 10080, 3300);
    lstFind = Named(new QListWidget(fraFind), "lstFind");
    PlaceTw(lstFind, 120, 300, 9840, 2880);

    connect(navFirst, &QToolButton::clicked, this, &ArchiveWindow::moveFirst);
    connect(navPrevious, &QToolButton::clicked, this, &ArchiveWindow::movePrevious);
    connect(navNext, &QToolButton::clicked, this, &ArchiveWindow::moveNext);
    connect(navLast, &QToolButton::clicked, this, &ArchiveWindow::moveLast);
    connect(cmdVav, &QPushButton::clicked, this, &ArchiveWindow::cmdVavClick);
    connect(Timer1, &QTimer::timeout, this, &ArchiveWindow::Timer1Tick);
    connect(cmdDel, &QPushButton::clicked, this, &ArchiveWindow::cmdDelClick);
    connect(cmdStat, &QPushButton::clicked, this, [this] { m_ctx.windows->show(WindowId::Stat); });
    connect(cmdFind, &QPushButton::pressed, lstFind, &QListWidget::clear);
    connect(cmdFind, &QPushButton::clicked, this, &ArchiveWindow::cmdFindClick);
}

void ArchiveWindow::reportWriteFailure(const QSqlError &error) {
    m_ctx.messages->show(this, QStringLiteral("Kalvado"),
                         Database::writeFailureText(m_ctx.connectionName, error),
                         MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok, error.text());
}

bool ArchiveWindow::storePending() {
    if (m_pendingRow < 0) return true;
    if (!m_data1.editRow(m_pendingRow, {{kResD, RecordSet::textOrNull(m_pendingResD)},
                                        {kResG, RecordSet::textOrNull(m_pendingResG)}}))
        return false;
    m_pendingRow = -1;
    return true;
}

bool ArchiveWindow::storeRealResult() {
    if (!storePending()) {
        reportWriteFailure(m_data1.lastError());
        return false;
    }
    if (m_shownRow < 0 || !typedChanged()) return true;
    const QString resD = txtresDom->text();
    const QString resG = txtresG->text();
    const RecordSet::Values values = typedResult();
    // On the shown row the change signal brings the boxes and what they
    // showed in step; a row the cursor has left is stored by its own id.
    const bool stored = m_data1.currentRowId() == m_shownRow ? m_data1.editCurrent(values)
                                                             : m_data1.editRow(m_shownRow, values);
    if (!stored) {
        reportWriteFailure(m_data1.lastError());
        return false;
    }
    m_shownResD = resD;
    m_shownResG = resG;
    return true;
}

void ArchiveWindow::cursorChanged() {
    FitLabelText(lblDom, m_valueFont);
    FitLabelText(lblGost, m_valueFont);
    // Moves from outside this window (the statistics, a caller that forgot to
    // store first) must not drop what was typed for the row just left: what
    // cannot be stored now waits for the next chance.
    if (m_shownRow >= 0 && m_shownRow != m_data1.currentRowId() && typedChanged()) {
        if (!m_data1.editRow(m_shownRow, typedResult())) {
            m_pendingRow = m_shownRow;
            m_pendingResD = txtresDom->text();
            m_pendingResG = txtresG->text();
        }
    }
    m_shownRow = m_data1.currentRowId();
    m_shownResD = m_data1.value(kResD);
    m_shownResG = m_data1.value(kResG);
    // Rewriting equal text would only throw the caret to the end.
    if (txtresDom->text() != m_shownResD) txtresDom->setText(m_shownResD);
    if (txtresG->text() != m_shownResG) txtresG->setText(m_shownResG);
    // Without a row nothing typed could be stored.
    txtresDom->setReadOnly(m_shownRow < 0);
    txtresG->setReadOnly(m_shownRow < 0);
}

// A result the database refuses keeps the cursor on its row, in its boxes.
void ArchiveWindow::moveFirst() {
    if (!storeRealResult()) return;
    m_data1.first();
}

// At either end the buttons keep the end row rather than leaving the cursor
// with no row to show.
void ArchiveWindow::movePrevious() {
    if (!storeRealResult()) return;
    if (!m_data1.previous()) m_data1.first();
}

void ArchiveWindow::moveNext() {
    if (!storeRealResult()) return;
    if (!m_data1.next()) m_data1.last();
}

void ArchiveWindow::moveLast() {
    if (!storeRealResult()) return;
    m_data1.last();
}

void ArchiveWindow::cmdVavClick() {
    if (!storeRealResult()) return;
    Timer1->start();
    if (!m_data1.next()) m_data1.first();
}

void ArchiveWindow::Timer1Tick() {
    if (txtresDom->text().isEmpty() || txtresG->text().isEmpty()) {
        Timer1->stop();
        return;
    }
    if (!storeRealResult()) {
        Timer1->stop();
        return;
    }
    m_data1.next();
}

void ArchiveWindow::cmdDelClick() {
    if (!m_data1.hasCurrent() || !storeRealResult()) return;
    const QString question = QStringLiteral("Прогнозата за мача") + u' ' + lblDom->text() +
                             QStringLiteral(" - ") + lblGost->text() + u' ' +
                             QStringLiteral("ще бъде изтрита") + u'\r' + QStringLiteral("Желаете ли това?");
    if (m_ctx.messages->show(this, QStringLiteral("Kalvado-Ruby"), question, MessageBoxes::Icon::Question,
                             MessageBoxes::Buttons::YesNo) != MessageBoxes::Answer::Yes)
        return;
    if (m_data1.deleteCurrent())
        m_data1.next();
    else
        reportWriteFailure(m_data1.lastError());
}

void ArchiveWindow::cmdFindClick() {
    if (!storeRealResult()) return;
    lstFind->clear();
    // Club names are archived in lower case; so is the text searched for.
    const QString wanted = BulgarianLocale().toLower(txtFindD->text());
    lstFind->addItems(FindPrognoses(m_ctx.connectionName, wanted, optGost->isChecked()));
    // Like any scan of the archive, the search ends past the last row.
    MovePastEnd(m_data1);
}

bool ArchiveWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtFindD && event->type() == QEvent::MouseButtonPress) txtFindD->clear();
    return QWidget::eventFilter(watched, event);
}

void ArchiveWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    // Recording may have loaded the window unseen over an empty archive and
    // appended since; the user opening it expects the first prognosis.
    if (!m_shownOnce && !m_data1.hasCurrent()) moveFirst();
    m_shownOnce = true;
}

void ArchiveWindow::closeEvent(QCloseEvent *event) {
    Timer1->stop();
    // The user closing the window keeps it, and the typed result, when the
    // result cannot be stored; the program ending closes it regardless.
    if (!storeRealResult() && event->spontaneous()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace kalvado

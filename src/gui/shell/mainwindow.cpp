#include "gui/shell/mainwindow.h"

#include "gui/common/messageboxes.h"
#include "gui/common/settingssave.h"
#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "gui/common/windows.h"
#include "gui/shell/helpwindow.h"
#include "gui/shell/picturebox.h"
#include "storage/settingsstore.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <optional>

namespace kalvado {

namespace {
// What the main window keeps in the settings, for a failed save's message.
const QString kStateWhat = QStringLiteral("изборът на картинка и последните 5 прогнози");
const QString kPic = QStringLiteral("pic");
const QString kLayerKeys[] = {QStringLiteral("P1"), QStringLiteral("P2"), QStringLiteral("P3"),
                              QStringLiteral("P4")};

// A stored truth value; anything but the two words leaves the layer as it is.
std::optional<bool> TruthValue(const QString &text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    return std::nullopt;
}

QString TruthText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

PictureBox *Picture(QWidget *parent, const QString &name, const QString &svg) {
    auto *box = new PictureBox(svg, parent);
    box->setObjectName(name);
    return box;
}
} // namespace

QString MainWindow::secondCaption() {
    return QStringLiteral("Смелите печелят...");
}

MainWindow::MainWindow(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmKalv"));
    setWindowTitle(QStringLiteral("Kalvado - Ruby"));
    setFixedSize(Px(10800), Px(8700));
    setMouseTracking(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 80, 40));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    Image1 = Picture(this, QStringLiteral("Image1"), QStringLiteral(":/pictures/strip.svg"));
    PlaceTw(Image1, 900, 90, 9000, 900);
    Image1->setMouseTracking(true);
    Image1->installEventFilter(this);

    lblPic = PlainLabel(QStringLiteral("Непознал резултатите"), this);
    lblPic->setObjectName(QStringLiteral("lblPic"));
    lblPic->setTextFormat(Qt::PlainText); // the stored caption is shown as written
    lblPic->setAlignment(Qt::AlignCenter);
    QFont captionFont = lblPic->font();
    captionFont.setBold(true);
    captionFont.setItalic(true);
    lblPic->setFont(captionFont);
    PlaceTw(lblPic, 5760, 1080, 4800, 300);

    // The layers are nested, so a layer is seen only while every layer
    // holding it is visible too; picAutor is made after picKelo and so lies above it.
    picOrvel = Picture(this, QStringLiteral("picOrvel"), QStringLiteral(":/pictures/orvel.svg"));
    PlaceTw(picOrvel, 5760, 1410, 4800, 3600);
    picKelo = Picture(picOrvel, QStringLiteral("picKelo"), QStringLiteral(":/pictures/kelo.svg"));
    picKelo->setGeometry(picOrvel->rect());
    picAutor = Picture(picOrvel, QStringLiteral("picAutor"), QStringLiteral(":/pictures/autor.svg"));
    picAutor->setGeometry(picOrvel->rect());
    picMarn = Picture(picAutor, QStringLiteral("picMarn"), QStringLiteral(":/pictures/marn.svg"));
    picMarn->setGeometry(picAutor->rect());
    picKelo->hide();
    picAutor->hide();
    picMarn->hide();

    const QString layerSvgs[] = {
        QStringLiteral(":/pictures/orvel.svg"), QStringLiteral(":/pictures/kelo.svg"),
        QStringLiteral(":/pictures/autor.svg"), QStringLiteral(":/pictures/marn.svg")};
    PictureBox **thumbs[] = {&imgT1, &imgT2, &imgT3, &imgT4};
    PictureBox **choices[] = {&picT1, &picT2, &picT3, &picT4};
    for (int i = 0; i < 4; ++i) {
        const int left = 240 + 1320 * i;
        auto *thumb = Picture(this, QStringLiteral("imgT%1").arg(i + 1), layerSvgs[i]);
        PlaceTw(thumb, left, 1410, 1200, 900);
        thumb->setMouseTracking(true);
        thumb->installEventFilter(this);
        *thumbs[i] = m_thumbs[i] = thumb;
    }
    // The buttons come after all thumbnails so that each lies above its own.
    for (int i = 0; i < 4; ++i) {
        const int left = 240 + 1320 * i;
        auto *button = Picture(this, QStringLiteral("picT%1").arg(i + 1), layerSvgs[i]);
        PlaceTw(button, left - 45, 1365, 1290, 990);
        button->setBorder(QColor(255, 215, 0), 3);
        button->setToolTip(QStringLiteral("Смени картинката"));
        button->setCursor(Qt::PointingHandCursor);
        button->hide();
        connect(button, &PictureBox::clicked, this, [this, i] { choosePicture(i); });
        *choices[i] = m_choices[i] = button;
    }

    struct ButtonDef {
        QPushButton **member;
        const char *name;
        QString caption;
    };
    const ButtonDef buttons[] = {
        {&cmdPro, "cmdPro", QStringLiteral("Прогнозирай")},
        {&cmdNew, "cmdNew", QStringLiteral("Добавяне Клуб")},
        {&cmdArh, "cmdArh", QStringLiteral("Архив и Статистика")},
        {&cmdFinans, "cmdFinans", QStringLiteral("Финансов Анализ")},
        {&cmdOpt, "cmdOpt", QStringLiteral("Шест мача")},
        {&cmdHelp, "cmdHelp", QStringLiteral("За програмата")},
        {&cmdHelpR, "cmdHelpR", QStringLiteral("Помощ")},
        {&cmdExit, "cmdExit", QStringLiteral("Изход")},
    };
    for (int i = 0; i < 8; ++i) {
        auto *button = new QPushButton(buttons[i].caption, this);
        button->setObjectName(QLatin1String(buttons[i].name));
        PlaceTw(button, i % 2 == 0 ? 240 : 2880, 2580 + 510 * (i / 2), 2520, 450);
        *buttons[i].member = button;
    }
    // In the free row under the button pairs, across both columns.
    cmdIstoria = new QPushButton(QStringLiteral("История на мачовете"), this);
    cmdIstoria->setObjectName(QStringLiteral("cmdIstoria"));
    PlaceTw(cmdIstoria, 240, 2580 + 510 * 4, 5160, 450);
    const auto opener = [this](WindowId id) {
        return [this, id] {
            if (m_ctx.windows) m_ctx.windows->show(id);
        };
    };
    connect(cmdPro, &QPushButton::clicked, this, opener(WindowId::Pro));
    connect(cmdNew, &QPushButton::clicked, this, opener(WindowId::New));
    connect(cmdArh, &QPushButton::clicked, this, opener(WindowId::Data));
    connect(cmdFinans, &QPushButton::clicked, this, opener(WindowId::Finans));
    connect(cmdOpt, &QPushButton::clicked, this, opener(WindowId::Opt));
    connect(cmdHelp, &QPushButton::clicked, this, opener(WindowId::ForAs));
    connect(cmdIstoria, &QPushButton::clicked, this, opener(WindowId::Istoria));
    connect(cmdHelpR, &QPushButton::clicked, this, &MainWindow::openHelp);
    connect(cmdExit, &QPushButton::clicked, this, &MainWindow::leave);

    lblPosledni = PlainLabel(QStringLiteral("Последни 5 Прогнози"), this);
    lblPosledni->setObjectName(QStringLiteral("lblPosledni"));
    lblPosledni->setAlignment(Qt::AlignCenter);
    QFont headingFont = lblPosledni->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.25);
    lblPosledni->setFont(headingFont);
    PlaceTw(lblPosledni, 240, 5400, 8040, 420);

    m_panel = new RecentPanel(ctx, this);
    PlaceTw(m_panel, 0, RecentPanel::kTopTw, RecentPanel::kWidthTw, RecentPanel::kHeightTw);
    // The gaps between the cells are the window's background for the pointer.
    m_panel->setAttribute(Qt::WA_TransparentForMouseEvents);

    PictureBox **frames[] = {&Image5, &Image6, &Image7, &Image8, &Image9, &Image10};
    for (int i = 0; i < 6; ++i) {
        auto *frame = Picture(this, QStringLiteral("Image%1").arg(i + 5),
                              QStringLiteral(":/stadium/stadium%1.svg").arg(i + 1));
        PlaceTw(frame, 8460, 6600, 2160, 1296);
        frame->setVisible(i == 0);
        *frames[i] = m_stadium[i] = frame;
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1Tick);
    tmrStadium = new QTimer(this);
    tmrStadium->setObjectName(QStringLiteral("tmrStadium"));
    tmrStadium->setTimerType(Qt::PreciseTimer);
    tmrStadium->setInterval(1500);
    connect(tmrStadium, &QTimer::timeout, this, &MainWindow::tmrStadiumTick);

    loadPictureChoice();
    m_panel->LoadPanel();
    CentreWindow(this);

    Timer1->start();
    tmrStadium->start();
}

void MainWindow::loadPictureChoice() {
    if (!m_ctx.settings) return;
    PictureBox *layers[] = {picOrvel, picKelo, picAutor, picMarn};
    for (int i = 0; i < 4; ++i)
        if (const auto visible = TruthValue(m_ctx.settings->ReadSetting(kPic, kLayerKeys[i])))
            layers[i]->setVisible(*visible);
    lblPic->setText(m_ctx.settings->ReadSetting(kPic, QStringLiteral("L")));
}

void MainWindow::savePictureChoice(bool withCaption) {
    if (!m_ctx.settings) return;
    // A layer's own state, whether or not a layer holding it is hidden.
    const PictureBox *layers[] = {picOrvel, picKelo, picAutor, picMarn};
    for (int i = 0; i < 4; ++i)
        m_ctx.settings->WriteSetting(kPic, kLayerKeys[i], TruthText(!layers[i]->isHidden()));
    if (withCaption) m_ctx.settings->WriteSetting(kPic, QStringLiteral("L"), lblPic->text());
}

void MainWindow::choosePicture(int button) {
    switch (button) {
    case 0:
        lblPic->setText(QStringLiteral("Непознал резултатите..."));
        picKelo->hide();
        picAutor->hide();
        picMarn->hide();
        break;
    case 1:
        lblPic->setText(secondCaption());
        picKelo->show();
        picAutor->hide();
        picMarn->hide();
        break;
    case 2:
        // picKelo stays as it is: picAutor lies above it anyway.
        lblPic->setText(QStringLiteral("Ех да знаех резултата..."));
        picAutor->show();
        picMarn->hide();
        break;
    case 3:
        lblPic->setText(QStringLiteral("Следвай..."));
        picKelo->show();
        picAutor->show();
        picMarn->show();
        break;
    default:
        break;
    }
}

void MainWindow::hideChoiceButtons() {
    for (PictureBox *button : m_choices)
        button->hide();
}

void MainWindow::mouseMoveEvent(QMouseEvent *event) {
    hideChoiceButtons();
    QWidget::mouseMoveEvent(event);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::MouseMove) {
        if (watched == Image1) {
            hideChoiceButtons();
        } else {
            for (int i = 0; i < 4; ++i)
                if (watched == m_thumbs[i]) m_choices[i]->show();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::Timer1Tick() {
    m_panel->Timer1Tick();
}

void MainWindow::tmrStadiumTick() {
    // Advance only from a single visible frame; any other mix stays as it is.
    const int count = int(m_stadium.size());
    for (int i = 0; i < count; ++i) {
        bool alone = !m_stadium[i]->isHidden();
        for (int j = 0; j < count && alone; ++j)
            if (j != i && !m_stadium[j]->isHidden()) alone = false;
        if (alone) {
            const int next = (i + 1) % count;
            m_stadium[next]->show();
            for (int j = 0; j < count; ++j)
                if (j != next) m_stadium[j]->hide();
            return;
        }
    }
}

void MainWindow::openHelp() {
    const QString page = m_ctx.helpPage.isEmpty()
                             ? BesideProgram(m_ctx.programDir, QStringLiteral("help/KdHelp.html"))
                             : m_ctx.helpPage;
    if (!QFileInfo(page).isFile()) {
        if (m_ctx.messages)
            m_ctx.messages->show(
                this, QStringLiteral("Kalvado"),
                QStringLiteral("Страницата с помощта липсва:\n%1").arg(QDir::toNativeSeparators(page)),
                MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
        return;
    }
    // On a desktop that cannot open it the button still shows the help.
    OpenWithDesktop(QUrl::fromLocalFile(page), this, [this, page] { showHelpHere(page); });
}

void MainWindow::showHelpHere(const QString &page) {
    if (!m_help) m_help = new HelpWindow(page, this);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MainWindow::leave() {
    if (m_leaving) return;
    m_leaving = true;
    savePictureChoice(true);
    m_panel->SavePanel();
    SaveSettings(m_ctx, this, kStateWhat);
    if (m_ctx.quit) m_ctx.quit();
}

void MainWindow::closeEvent(QCloseEvent *event) {
    event->accept();
    if (m_leaving) return; // the program is already on its way out, state saved
    m_leaving = true;
    // Closing by the frame keeps the caption stored before.
    savePictureChoice(false);
    m_panel->SavePanel();
    SaveSettings(m_ctx, this, kStateWhat);
    // Nothing is meant to go on running unseen once the home window is gone.
    if (m_ctx.quit) m_ctx.quit();
}

} // namespace kalvado

#include "gui/club_windows/clublistwindow.h"

#include "gui/common/messageboxes.h"
#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "storage/database.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace kalvado {

namespace {
const QString kTitle = QStringLiteral("Kalvado");
const QString kTim = QStringLiteral("Tim");
} // namespace

ClubListWindow::ClubListWindow(AppContext &ctx, QWidget *parent)
    : QWidget(parent), m_ctx(ctx), m_Data1(ctx.connectionName, QStringLiteral("Tims")) {
    setObjectName(QStringLiteral("frmNew"));
    setWindowTitle(QStringLiteral("Нов Клуб"));
    // Closing ends the window; the next use loads it afresh.
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(Px(5520), Px(4140));

    Label1 = PlainLabel(QStringLiteral("Пишете името на клуба с главна буква на кирилица"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    PlaceTw(Label1, 240, 150, 5100, 255);

    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    PlaceTw(txtFind, 240, 510, 3480, 345);
    connect(txtFind, &QLineEdit::textChanged, this, &ClubListWindow::FillClubList);

    lstFind = new QListWidget(this);
    lstFind->setObjectName(QStringLiteral("lstFind"));
    lstFind->setSelectionMode(QAbstractItemView::SingleSelection);
    lstFind->setUniformItemSizes(true);
    lstFind->setEnabled(false);
    PlaceTw(lstFind, 240, 960, 3480, 3000);

    cmdOK = new QPushButton(QStringLiteral("Въведи"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    PlaceTw(cmdOK, 3900, 480, 1380, 405);
    connect(cmdOK, &QPushButton::clicked, this, &ClubListWindow::addClub);

    Check1 = new QCheckBox(QStringLiteral("Изтриване"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    PlaceTw(Check1, 3900, 1020, 1380, 285);
    connect(Check1, &QCheckBox::toggled, this, &ClubListWindow::setDeletionMode);

    cmdDel = new QPushButton(QStringLiteral("Изтрии"), this);
    cmdDel->setObjectName(QStringLiteral("cmdDel"));
    PlaceTw(cmdDel, 3900, 1440, 1380, 405);
    cmdDel->setVisible(false);
    connect(cmdDel, &QPushButton::pressed, this, &ClubListWindow::warnNothingSelected);
    connect(cmdDel, &QPushButton::clicked, this, &ClubListWindow::deleteClub);

    // The name of the cursor's current row; it lives outside the visible area.
    lblDom = PlainLabel(this);
    lblDom->setObjectName(QStringLiteral("lblDom"));
    PlaceTw(lblDom, 6000, 150, 2400, 255);
    BindLabel(lblDom, &m_Data1, kTim);

    m_Data1.open();
    m_Data1.refresh();

    CentreWindow(this);
}

void ClubListWindow::FillClubList() {
    const QString text = txtFind->text();
    QStringList names;
    // Filtering keeps the order, so the table is sorted only when it changes.
    for (const QString &name : m_sortedClubs.of(m_Data1.scanColumn(kTim))) {
        if (name.contains(text, Qt::CaseSensitive)) names << name;
    }
    lstFind->clear();
    lstFind->addItems(names);
    m_Data1.first();
}

void ClubListWindow::setDeletionMode(bool on) {
    cmdDel->setVisible(on);
    lstFind->setEnabled(on);
    cmdOK->setEnabled(!on);
    if (on) FillClubList();
}

void ClubListWindow::addClub() {
    const QString name = txtFind->text();
    if (IsBlankName(name)) {
        m_ctx.messages->show(this, kTitle, QStringLiteral("Не сте въвели име на клуб"),
                             MessageBoxes::Icon::None, MessageBoxes::Buttons::Ok);
        return;
    }
    if (m_ctx.messages->show(this, kTitle, QStringLiteral("Ще бъде добавен ") + name,
                             MessageBoxes::Icon::Information,
                             MessageBoxes::Buttons::YesNo) != MessageBoxes::Answer::Yes)
        return;
    const QString today = m_ctx.now().date().toString(QStringLiteral("yyyy-MM-dd"));
    if (!m_Data1.append({{kTim, name}, {QStringLiteral("Date"), today}})) reportWriteFailure();
    m_Data1.refresh();
}

void ClubListWindow::reportWriteFailure() {
    const QSqlError error = m_Data1.lastError();
    m_ctx.messages->show(this, kTitle, Database::writeFailureText(m_ctx.connectionName, error),
                         MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok, error.text());
}

QString ClubListWindow::selectedName() const {
    const QList<QListWidgetItem *> selected = lstFind->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void ClubListWindow::warnNothingSelected() {
    if (selectedName().isEmpty())
        m_ctx.messages->show(this, kTitle, QStringLiteral("Маркирайте клубът който ще изтривате"),
                             MessageBoxes::Icon::Information, MessageBoxes::Buttons::Ok);
}

void ClubListWindow::deleteClub() {
    const QString name = selectedName();
    if (name.isEmpty() || !m_Data1.findFirst(kTim, name)) return;
    if (m_ctx.messages->show(this, kTitle, QStringLiteral("Ще бъде Изтрит ") + name,
                             MessageBoxes::Icon::Information,
                             MessageBoxes::Buttons::YesNo) != MessageBoxes::Answer::Yes)
        return;
    // A refused deletion leaves the list as it was.
    if (!m_Data1.deleteCurrent()) {
        reportWriteFailure();
        return;
    }
    m_Data1.next();
    // The intermediate text forces a refill even when the box was empty.
    txtFind->setText(QStringLiteral("Изтриване"));
    txtFind->setText(QString());
}

} // namespace kalvado

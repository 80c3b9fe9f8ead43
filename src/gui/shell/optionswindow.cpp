#include "gui/shell/optionswindow.h"

#include "engine/numbertext.h"
#include "gui/common/settingssave.h"
#include "gui/common/twips.h"
#include "gui/common/widgets.h"
#include "storage/settingsstore.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace kalvado {

namespace {
const QString kSection = QStringLiteral("opt");
const QString kKey = QStringLiteral("o3");
} // namespace

OptionsWindow::OptionsWindow(AppContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("frmOpt"));
    setWindowTitle(QStringLiteral("Опция шест мача"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(Px(4800), Px(2400));

    lblText = PlainLabel(
        QStringLiteral("Тази опция Ви дава възможност да прогнозирате само с въведени 6 мача"), this);
    lblText->setObjectName(QStringLiteral("lblText"));
    lblText->setWordWrap(true);
    PlaceTw(lblText, 240, 180, 4320, 720);

    chk6 = new QCheckBox(QStringLiteral("Шест мача"), this);
    chk6->setObjectName(QStringLiteral("chk6"));
    PlaceTw(chk6, 240, 1050, 3000, 360);
    connect(chk6, &QCheckBox::toggled, this, [this](bool ticked) {
        chk6->setText(ticked ? QStringLiteral("Осем Мача") : QStringLiteral("Шест Мача"));
    });

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    PlaceTw(cmdOK, 3360, 1740, 1200, 450);
    connect(cmdOK, &QPushButton::clicked, this, &OptionsWindow::confirm);

    CentreWindow(this);
    if (m_ctx.settings) {
        // Only 0 and 1 are states of the box; anything else leaves it clear.
        const auto stored = IntegerText(m_ctx.settings->ReadSetting(kSection, kKey));
        if (stored && (*stored == 0 || *stored == 1)) chk6->setChecked(*stored == 1);
    }
}

bool OptionsWindow::sixMatchOn() const {
    return chk6->isChecked();
}

void OptionsWindow::confirm() {
    if (m_ctx.settings) {
        m_ctx.settings->WriteSetting(kSection, kKey,
                                     chk6->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        SaveSettings(m_ctx, this, QStringLiteral("опцията за шест мача"));
    }
    close();
}

} // namespace kalvado

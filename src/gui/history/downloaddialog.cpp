#include "gui/history/downloaddialog.h"

#include "gui/common/widgets.h"
#include "history/leagues.h"
#include "storage/settingsstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalvado {

namespace {
// The site's main-league files begin with this season.
constexpr int kFirstSeason = 1993;

QString SeasonText(int startYear) {
    return QStringLiteral("%1/%2").arg(startYear).arg((startYear + 1) % 100, 2, 10, QLatin1Char('0'));
}
bool IsExtra(const QString &code) {
    for (const SiteLeague &l : SiteLeagues())
        if (l.code == code) return l.extra;
    return false;
}
} // namespace

QString HistoryBase(const SettingsStore *settings) {
    QString base = QString::fromLatin1(kDefaultHistoryBase);
    if (settings) base = settings->ReadSetting(QStringLiteral("hist"), QStringLiteral("url"), base).trimmed();
    while (base.endsWith(u'/'))
        base.chop(1);
    return base.isEmpty() ? QString::fromLatin1(kDefaultHistoryBase) : base;
}

DownloadDialog::DownloadDialog(const QDate &today, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgIztegli"));
    setWindowTitle(QStringLiteral("Изтегли от сайта с резултати"));

    chkLiga = Named(new QCheckBox(QStringLiteral("Лига:"), this), QStringLiteral("chkLiga"));
    chkLiga->setChecked(true);
    cboLiga = Named(new QComboBox(this), QStringLiteral("cboLiga"));
    bool extrasBegun = false;
    for (const SiteLeague &league : SiteLeagues()) {
        if (league.extra && !extrasBegun) {
            cboLiga->insertSeparator(cboLiga->count());
            extrasBegun = true;
        }
        cboLiga->addItem(QStringLiteral("%1 (%2)").arg(league.name, league.code), league.code);
    }

    // The season running on `today`; July starts the next one.
    const QDate day = today.isValid() ? today : QDate::currentDate();
    const int latest = day.month() >= 7 ? day.year() : day.year() - 1;
    cboOt = Named(new QComboBox(this), QStringLiteral("cboOt"));
    cboDo = Named(new QComboBox(this), QStringLiteral("cboDo"));
    for (int year = latest; year >= kFirstSeason; --year) {
        cboOt->addItem(SeasonText(year), year);
        cboDo->addItem(SeasonText(year), year);
    }
    cboOt->setCurrentIndex(qMin(4, cboOt->count() - 1));
    cboDo->setCurrentIndex(0);
    m_seasonsNote =
        PlainLabel(QStringLiteral("Допълнителните лиги идват с всичките си сезони в един файл."), this);
    m_seasonsNote->setWordWrap(true);

    chkSledvashti = Named(new QCheckBox(QStringLiteral("Следващи мачове (fixtures.csv)"), this),
                          QStringLiteral("chkSledvashti"));

    auto *buttons = new QDialogButtonBox(this);
    cmdOK = Named(buttons->addButton(QStringLiteral("Изтегли"), QDialogButtonBox::AcceptRole),
                  QStringLiteral("cmdOK"));
    cmdCancel = Named(buttons->addButton(QStringLiteral("Отказ"), QDialogButtonBox::RejectRole),
                      QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *seasons = new QHBoxLayout;
    seasons->addWidget(PlainLabel(QStringLiteral("от"), this));
    seasons->addWidget(cboOt);
    seasons->addWidget(PlainLabel(QStringLiteral("до"), this));
    seasons->addWidget(cboDo);
    seasons->addStretch();
    auto *form = new QFormLayout;
    form->addRow(chkLiga, cboLiga);
    form->addRow(PlainLabel(QStringLiteral("Сезони:"), this), seasons);
    form->addRow(QString(), m_seasonsNote);
    form->addRow(QString(), chkSledvashti);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(buttons);

    // The range never runs backwards: moving one end past the other takes it along.
    connect(cboOt, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < cboDo->currentIndex()) cboDo->setCurrentIndex(index);
    });
    connect(cboDo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index > cboOt->currentIndex()) cboOt->setCurrentIndex(index);
    });
    connect(chkLiga, &QCheckBox::toggled, this, &DownloadDialog::updateControls);
    connect(chkSledvashti, &QCheckBox::toggled, this, &DownloadDialog::updateControls);
    connect(cboLiga, &QComboBox::currentIndexChanged, this, &DownloadDialog::updateControls);
    updateControls();
    resize(sizeHint().expandedTo(QSize(460, 0)));
}

void DownloadDialog::updateControls() {
    const QString code = cboLiga->currentData().toString();
    const bool extra = IsExtra(code);
    cboLiga->setEnabled(chkLiga->isChecked());
    cboOt->setEnabled(chkLiga->isChecked() && !extra);
    cboDo->setEnabled(chkLiga->isChecked() && !extra);
    m_seasonsNote->setText(extra ? QStringLiteral("Всички сезони на лигата са в един файл.")
                                 : QStringLiteral("Един файл за всеки сезон."));
    cmdOK->setEnabled(chkLiga->isChecked() || chkSledvashti->isChecked());
}

QList<HistoryDownload::Item> DownloadDialog::items(const QString &base) const {
    QList<HistoryDownload::Item> list;
    if (chkLiga->isChecked()) {
        const QString code = cboLiga->currentData().toString();
        if (IsExtra(code)) {
            list << HistoryDownload::Item{QUrl(ExtraLeagueUrl(base, code)), code};
        } else {
            const int from = cboOt->currentData().toInt();
            const int to = cboDo->currentData().toInt();
            for (int year = from; year <= to; ++year)
                list << HistoryDownload::Item{QUrl(MainLeagueUrl(base, code, year)), QString()};
        }
    }
    if (chkSledvashti->isChecked()) list << HistoryDownload::Item{QUrl(FixturesUrl(base)), QString()};
    return list;
}

} // namespace kalvado

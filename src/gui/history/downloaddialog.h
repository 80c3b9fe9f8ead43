#pragma once

#include "history/download.h"

#include <QDate>
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace kalvado {

class SettingsStore;

// What to fetch from the results site: a league (for a main league, the
// seasons from and to) and, if ticked, the coming matches.
class DownloadDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DownloadDialog)

public:
    // `today` decides the latest season offered.
    explicit DownloadDialog(const QDate &today, QWidget *parent = nullptr);

    // The files to fetch under `base` (no trailing slash), in order.
    QList<HistoryDownload::Item> items(const QString &base) const;

    QCheckBox *chkLiga = nullptr;
    QComboBox *cboLiga = nullptr;
    QComboBox *cboOt = nullptr; // season start years, 1993/94 onwards
    QComboBox *cboDo = nullptr;
    QCheckBox *chkSledvashti = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    void updateControls();

    QLabel *m_seasonsNote = nullptr;
};

// The address every file lives under: the settings key hist/url (a mirror),
// else the results site, without a trailing slash.
QString HistoryBase(const SettingsStore *settings);

} // namespace kalvado

#include "gui/common/filedialogs.h"

#include "storage/settingsstore.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kalvado {

namespace {
const QString kSection = QStringLiteral("files");
const QString kKey = QStringLiteral("dir");
} // namespace

QString StartFolder(const SettingsStore &settings) {
    const QString last = settings.ReadSetting(kSection, kKey);
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

void RememberFolder(SettingsStore &settings, const QString &chosenPath) {
    if (chosenPath.isEmpty()) return;
    const QFileInfo info(chosenPath);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    settings.WriteSetting(kSection, kKey, folder);
    settings.sync();
}

} // namespace kalvado

#include "gui/common/filedialogs.h"

#include "storage/settingsstore.h"

#include <QDir>
#include <QFileDialog>
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

void PrepareFileDialog(QFileDialog &dialog, const SettingsStore *settings, const QString &accept) {
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Папка:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Име на файла:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Вид на файла:"));
    dialog.setLabelText(QFileDialog::Accept, accept);
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Отказ"));
    dialog.setDirectory(settings ? StartFolder(*settings) : QDir::homePath());
}

QString AskCsvExportPath(QWidget *parent, const SettingsStore *settings, const QString &suggested) {
    QFileDialog dialog(parent, QStringLiteral("Експорт в CSV"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("CSV файлове (*.csv)"), QStringLiteral("Всички файлове (*)")});
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    // Replacing a file is asked in Bulgarian, with the program's own box.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    PrepareFileDialog(dialog, settings, QStringLiteral("Запис"));
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace kalvado

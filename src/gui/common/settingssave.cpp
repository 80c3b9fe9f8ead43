#include "gui/common/settingssave.h"

#include "gui/common/appcontext.h"
#include "gui/common/messageboxes.h"
#include "storage/settingsstore.h"

#include <QDir>

namespace kalvado {

bool SaveSettings(AppContext &ctx, QWidget *parent, const QString &what) {
    if (!ctx.settings || ctx.settings->sync()) return true;
    if (ctx.messages)
        ctx.messages->show(parent, QStringLiteral("Kalvado"),
                           QStringLiteral("Файлът с настройките не може да бъде записан:\n%1\n\n"
                                          "Не са запазени: %2.\n"
                                          "Проверете дали дискът не е пълен и дали файлът и папката му "
                                          "не са само за четене.")
                               .arg(QDir::toNativeSeparators(ctx.settings->fileName()), what),
                           MessageBoxes::Icon::Critical, MessageBoxes::Buttons::Ok);
    return false;
}

} // namespace kalvado

#include "gui/common/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kalvado {

bool LoadQtTranslations(QCoreApplication &app) {
    static const auto kName = "kalvado-qtbase-bg";
    if (app.findChild<QTranslator *>(QLatin1String(kName), Qt::FindDirectChildrenOnly)) return true;
    auto *translator = new QTranslator(&app);
    translator->setObjectName(QLatin1String(kName));
    if (!translator->load(QStringLiteral("qtbase_bg"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace kalvado

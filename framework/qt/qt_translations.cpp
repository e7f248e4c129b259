#include "framework/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace zembra {

std::unique_ptr<QTranslator> InstallQtTranslations(const QLocale& locale) {
    auto translator = std::make_unique<QTranslator>();
    // The locale's languages, best first (zh_CN, then zh), as qtbase_zh_CN.qm and qtbase_zh.qm.
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return nullptr;
    }
    return translator;
}

}  // namespace zembra

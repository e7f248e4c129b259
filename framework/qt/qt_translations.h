// Qt's own texts in the user's language: the context menu of an edit field (撤消, 复制, 粘贴…) and
// the other texts that Qt's widgets bring, as the platform's controls speak the system's
// language. They come from the translations installed with Qt (on Debian, qt6-translations-l10n).
#pragma once

#include <QLocale>
#include <QTranslator>

#include <memory>

namespace zembra {

// Installs Qt's translation for `locale` in the application and returns it; it is removed again
// when the returned object is destroyed. Null when Qt has none for that language.
std::unique_ptr<QTranslator> InstallQtTranslations(const QLocale& locale);

}  // namespace zembra

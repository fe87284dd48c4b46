#include "ui/german_translation.h"

#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace pendra::ui {

bool installGermanTranslation(QCoreApplication& app) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return false;
    }
    // The application owns it from here on.
    translator.release()->setParent(&app);
    return true;
}

}  // namespace pendra::ui

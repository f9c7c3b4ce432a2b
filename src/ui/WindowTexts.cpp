#include "ui/WindowTexts.h"

#include <QCoreApplication>
#include <QTranslator>
#include <memory>

namespace talvo {

QTranslator* InstallWindowTexts(QCoreApplication& App, TLanguage Language) {
    if (Language != TLanguage::English) {
        return nullptr;
    }
    auto English = std::make_unique<QTranslator>();
    // Built in at compile time; should it be missing, the documented Japanese texts show.
    if (!English->load(":/i18n/talvo_en.qm") ||
        !QCoreApplication::installTranslator(English.get())) {
        return nullptr;
    }
    English->setParent(&App);
    return English.release();
}

} // namespace talvo

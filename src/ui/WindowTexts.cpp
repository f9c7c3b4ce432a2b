#include "ui/WindowTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace talvo {

namespace {

// Qt's own texts (the buttons of its dialogs) in Japanese, where the system has them.
void InstallQtTexts(QCoreApplication& App) {
    auto Japanese = std::make_unique<QTranslator>(&App);
    if (Japanese->load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(Japanese.get())) {
        Japanese.release();
    }
}

} // namespace

QTranslator* InstallWindowTexts(QCoreApplication& App, TLanguage Language) {
    if (Language != TLanguage::English) {
        InstallQtTexts(App);
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

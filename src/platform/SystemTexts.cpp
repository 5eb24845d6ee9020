#include "SystemTexts.h"

#include "LanguageChoice.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace tensiq {

namespace {

std::unique_ptr<QTranslator>& Installed() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

bool InstallSystemTexts(int languageCode, std::string* why) {
    if (Installed()) {
        QCoreApplication::removeTranslator(Installed().get());
        Installed().reset();
    }
    QString name;
    if (languageCode == kLanguageGerman)
        name = QStringLiteral("qtbase_de");
    else if (languageCode == kLanguageChinese)
        name = QStringLiteral("qtbase_zh_CN");
    else
        return true; // Qt speaks English by itself
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder)) {
        if (why != nullptr)
            *why = (folder + QLatin1Char('/') + name + QStringLiteral(".qm is not installed"))
                       .toStdString();
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    Installed() = std::move(translator);
    return true;
}

} // namespace tensiq

#include "UiTestSupport.h"

#include "CurrentResourceModule.h"
#include "LanguageChoice.h"
#include "LocalisedString.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

namespace tensiq::test {

QString Localised(unsigned id) {
    return QString::fromStdString(LoadLocalisedString(id, CurrentResourceModule()));
}

void PrepareUiEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

QString ChooseTestLanguage() {
    const QString language = qEnvironmentVariable("TENSIQ_TEST_LANGUAGE", QStringLiteral("de"));
    // The language choice looks at a folder; give it one with only the wanted library.
    static std::unique_ptr<QTemporaryDir> folder;
    if (language == QLatin1String("en") || language == QLatin1String("chn")) {
        folder = std::make_unique<QTemporaryDir>();
        const QString name = QStringLiteral("tq_%1.so").arg(language);
        QFile::copy(QStringLiteral(TENSIQ_LANG_DIR) + QLatin1Char('/') + name,
                    folder->filePath(name));
        ChooseLanguage(folder->path().toStdString());
    } else {
        ChooseLanguage(std::string());
    }
    return language;
}

void Pump(int ms) {
    QElapsedTimer timer;
    timer.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    } while (timer.elapsed() < ms);
}

QImage Grab(QWidget& widget) {
    return widget.grab().toImage();
}

} // namespace tensiq::test

#include "application.h"

#include <unistd.h>

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <vector>

#include "app_info.h"

namespace quorvane {
namespace {

struct StartMessage {
    QtMsgType type;
    const char* file;  // these three point to literals in Qt's code
    int line;
    const char* function;
    const char* category;
    QString text;
};

// What Qt says while the application starts: held back, and told only if the start succeeds.
std::vector<StartMessage> startMessages;

// Why no display could be opened, in Qt's own words from the start: the display it could not
// connect to, the platform plugin it could not find or load.
QString WhyNoDisplay() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return "neither DISPLAY nor WAYLAND_DISPLAY is set";
    QStringList found;
    for (const StartMessage& m : startMessages)
        if (m.category && QByteArray(m.category).startsWith("qt.qpa"))
            found << m.text.trimmed().remove(" in \"\"");
    return found.isEmpty() ? QString("no platform plugin could start") : found.join("; ");
}

// Qt's platform plugin ends a start without a display with a fatal message and an abort: one
// plain line saying what Qt found, and status 1, tell the user more.
void OnStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s: cannot open the display: %s\n", app::kName,
                     qPrintable(WhyNoDisplay()));
        _exit(1);
    }
    startMessages.push_back(
        {type, context.file, context.line, context.function, context.category, text});
}

}  // namespace

void InstallQtTranslations() {
    auto* translator = new QTranslator(qApp);
    if (translator->load(QLocale(), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;  // no translation for this language: Qt's English texts
}

void SetApplicationInfo() {
    QCoreApplication::setApplicationName(app::kName);
    QCoreApplication::setApplicationVersion(app::kVersion);
    QGuiApplication::setApplicationDisplayName(app::kDisplayName);
    QGuiApplication::setDesktopFileName(app::kId);
}

std::unique_ptr<QApplication> CreateApplication(int& argc, char* argv[]) {
    const QtMessageHandler previous = qInstallMessageHandler(OnStartMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    for (const StartMessage& m : startMessages)
        qt_message_output(m.type, QMessageLogContext(m.file, m.line, m.function, m.category),
                          m.text);
    startMessages.clear();
    SetApplicationInfo();
    InstallQtTranslations();
    return application;
}

}  // namespace quorvane

#include "application.h"

#include <unistd.h>

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <mutex>
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
// Qt may log from its own threads while QApplication is being constructed.
std::vector<StartMessage> startMessages;
std::mutex startMessagesLock;

bool IsPlatformMessage(const StartMessage& m) {
    return m.category && QByteArray(m.category).startsWith("qt.qpa");
}

void Tell(const StartMessage& m) {
    qt_message_output(m.type, QMessageLogContext(m.file, m.line, m.function, m.category), m.text);
}

// Why no display could be opened, in Qt's own words from the start: the display it could not
// connect to, the platform plugin it could not find or load.
QString WhyNoDisplay() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return "neither DISPLAY nor WAYLAND_DISPLAY is set";
    QStringList found;
    for (const StartMessage& m : startMessages)
        if (IsPlatformMessage(m)) found << m.text.trimmed().remove(" in \"\"");
    return found.isEmpty() ? QString("no platform plugin could start") : found.join("; ");
}

// Qt's platform plugin ends a start without a display with a fatal message and an abort: one
// plain line saying what Qt found, and status 1, tell the user more. What else was held is
// told first, as it was said; the platform's messages are in the line.
void OnStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const std::lock_guard lock(startMessagesLock);
    if (type == QtFatalMsg) {
        qInstallMessageHandler(nullptr);  // Qt's own output for what was held
        for (const StartMessage& m : startMessages)
            if (!IsPlatformMessage(m)) Tell(m);
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
    std::vector<StartMessage> held;
    {
        const std::lock_guard lock(startMessagesLock);
        held.swap(startMessages);
    }
    for (const StartMessage& m : held) Tell(m);
    SetApplicationInfo();
    InstallQtTranslations();
    return application;
}

}  // namespace quorvane

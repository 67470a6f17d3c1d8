// The application around the window: its identity, and a start that fails plainly.
#pragma once

#include <QApplication>
#include <memory>

namespace quorvane {

// Qt's own texts, such as a box's context menu, in the user's language where Qt's translations
// (qt6-translations-l10n) are installed. The window's captions stay as they are.
void InstallQtTranslations();

// Name, display name, id and version of the application.
void SetApplicationInfo();

// The QApplication, with the application's identity. Without a usable display it prints one
// line saying so and exits with status 1, where Qt would abort.
std::unique_ptr<QApplication> CreateApplication(int& argc, char* argv[]);

}  // namespace quorvane

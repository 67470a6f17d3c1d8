// The application around the window: its identity, and a start that fails plainly.
#pragma once

#include <QApplication>
#include <memory>

namespace quorvane {

// Name, display name, id and version of the application.
void SetApplicationInfo();

// The QApplication, with the application's identity. Without a usable display it prints one
// line saying so and exits with status 1, where Qt would abort.
std::unique_ptr<QApplication> CreateApplication(int& argc, char* argv[]);

}  // namespace quorvane

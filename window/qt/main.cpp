#include "application.h"
#include "quorvane.h"

int main(int argc, char* argv[]) {
    const auto application = quorvane::CreateApplication(argc, argv);
    quorvane::Quorvane window;
    window.show();
    return application->exec();
}

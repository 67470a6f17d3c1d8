#include <QApplication>

#include "quorvane.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    quorvane::SetApplicationInfo();
    quorvane::Quorvane window;
    window.show();
    return app.exec();
}

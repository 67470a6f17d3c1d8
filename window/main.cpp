#include <QApplication>

#include "quorvane.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    quorvane::SetApplicationInfo();
    Quorvane window;
    window.show();
    return app.exec();
}

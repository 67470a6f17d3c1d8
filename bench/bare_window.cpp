// The yardsticks for the startup benchmark: an empty Qt window of the calculator's size and,
// built with WITH_TEXT, the same window with one label, so the cost of loading fonts shows apart.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Bare Window");
    window.setFixedSize(466, 252);
#ifdef WITH_TEXT
    new QLabel("Head", &window);
#endif
    window.show();
    return app.exec();
}

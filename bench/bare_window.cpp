// The yardsticks for the startup benchmark: an empty Qt window of the calculator's size; built
// with WITH_TEXT, the same window with one label, so the cost of loading fonts shows apart; with
// WITH_INPUT also one text box, which loads the input context (the compose table).
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Bare Window");
    // The calculator's client area at the test machine's fallback font: 6990 x 3780 twips at
    // 15 twips to a pixel times 82/65 ("Fluid Density", 79 pixels and 3 to spare, in 975 twips).
    window.setFixedSize(588, 318);
#if defined(WITH_TEXT) || defined(WITH_INPUT)
    new QLabel("Head", &window);
#endif
#ifdef WITH_INPUT
    (new QLineEdit("30", &window))->move(100, 0);
#endif
    window.show();
    return app.exec();
}

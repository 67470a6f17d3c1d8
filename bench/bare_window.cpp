// The yardsticks for the startup benchmark: an empty Qt window of the calculator's size; built
// with WITH_TEXT, the same window with one label, so the cost of loading fonts shows apart; with
// WITH_INPUT also one text box, which loads the input context (the compose table); with
// WITH_WIDGETS every kind and number of plain widget the calculator has, with its texts, but
// nothing of its own (no pictures, no core, no accessibility).
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
#ifdef WITH_WIDGETS
    int y = 0;
    for (const char* caption : {"Head", "m", "Flow", "m3/hr", "Fluid Density", "kg/m3",
                                "Pump Efficiency", "%", "Power", "kW", "Rev.A",
                                "By: Kestrin (08-Feb-2012)", "", ""})
        (new QLabel(caption, &window))->move(0, y += 20);
    y = 0;
    for (const char* text : {"30", "60", "997.01", "70", "6.983"})
        (new QLineEdit(text, &window))->move(150, y += 30);
    (new QCheckBox("Perform Live Calculations", &window))->move(150, 200);
    (new QPushButton("&Calculate", &window))->move(450, 280);
    auto* line = new QFrame(&window);
    line->setFrameShape(QFrame::HLine);
    line->setGeometry(10, 170, 240, 1);
#endif
    window.show();
    return app.exec();
}

// The floor of the start-up row: a bare Qt Widgets window of the main
// window's size, shown as soon as the application object exists. Whatever
// OrvaneConfig needs beyond this is our own cost.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Qt window"));
    window.setFixedSize(1024, 576);
    window.show();
    return QApplication::exec();
}

// The baseline for start-up figures: a bare Qt Widgets window the size of Klavidor's main window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget fenster;
    fenster.setFixedSize(940, 609);
    fenster.show();
    return QApplication::exec();
}

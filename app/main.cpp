#include <QApplication>
#include <QMainWindow>

#include "Dialogs.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(Program_Title);
    QMainWindow window;
    window.setWindowTitle(Program_Title);
    window.resize(1000, 700);
    window.show();
    return app.exec();
}

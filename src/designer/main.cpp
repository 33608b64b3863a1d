#include "preview_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    zq::TForm2 preview;
    preview.coverPrimaryScreen();
    preview.show();
    return app.exec();
}

// Kestrin: the main window runs the whole start-up in its load handler, then takes user events.
#include "ui/main/form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kestrin::Form1 form;
    form.Form1_Form_Load();
    form.show();
    return app.exec();
}

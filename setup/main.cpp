// VarnokSetup: edits the emulator's settings and starts the emulator.
//
//   VarnokSetup                      the settings dialog
//   VarnokSetup --screenshot FILE    shows the dialog, saves a picture of it as FILE and ends

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <cstdio>

#include "Mainform/varnok_form.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    varnoksetup::TVarnokForm form;

    const QStringList arguments = QApplication::arguments();
    const qsizetype screenshot = arguments.indexOf(QStringLiteral("--screenshot"));
    if (screenshot > 0) {
        if (screenshot + 1 >= arguments.size()) {
            std::fprintf(stderr, "VarnokSetup: --screenshot needs a file name\n");
            return 2;
        }
        form.show();
        QApplication::processEvents();
        if (!form.grab().save(arguments[screenshot + 1])) {
            std::fprintf(stderr, "VarnokSetup: cannot write %s\n", qPrintable(arguments[screenshot + 1]));
            return 1;
        }
        return 0;
    }
    form.exec();
    return 0;
}

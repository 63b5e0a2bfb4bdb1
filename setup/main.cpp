// VarnokSetup: edits the emulator's settings and starts the emulator.
//
//   VarnokSetup                      the settings dialog
//   VarnokSetup --screenshot FILE    shows the dialog, saves a picture of it as FILE and ends
//   VarnokSetup --version | --help   prints the version or the usage and ends, without a window

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "Mainform/varnok_form.h"

int main(int argc, char* argv[]) {
    // Answered before Qt starts, so they work without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("VarnokSetup %s\n", VARNOK_VERSION);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::printf(
            "Usage: VarnokSetup [--screenshot FILE | --version | --help]\n"
            "Edits the settings the emulator varnok reads at start, and starts it with Run.\n"
            "See VarnokSetup(6).\n");
        return 0;
    }
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

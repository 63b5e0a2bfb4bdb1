// The program's entry point: the command-line tail is everything after the program
// name, joined as the shell would hand it over, unparsed.
#include <string>

#include "host/shell.h"

int main(int argc, char** argv) {
    std::string tail;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) tail += ' ';
        tail += argv[i];
    }
    return startEmulator(tail.c_str(), 1);
}

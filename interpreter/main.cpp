// kestrin-cmd FILE: runs the batch file FILE in the working folder, one program call a line.
#include "interpreter/interpreter.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        kestrin::cmd::reportError(std::cerr, "usage: kestrin-cmd FILE");
        return kestrin::cmd::status::kUsage;
    }
    return kestrin::cmd::runBatchFile(argv[1], std::cerr);
}

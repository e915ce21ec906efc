// kestrin-cmd FILE: runs the batch file FILE in the working folder, one program call a line.
#include "interpreter/interpreter.h"

#include <iostream>
#include <malloc.h>

int main(int argc, char** argv) {
    // A listing of a large folder grows and drops many vectors; keeping freed memory on the heap
    // (instead of returning each large block to the system) lets later ones reuse pages already
    // touched, which roughly halves the page faults of a 10,000-file listing.
    ::mallopt(M_MMAP_THRESHOLD, 64 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 128 << 20);
    if (argc != 2) {
        kestrin::cmd::reportError(std::cerr, "usage: kestrin-cmd FILE");
        return kestrin::cmd::status::kUsage;
    }
    return kestrin::cmd::runBatchFile(argv[1], std::cerr);
}

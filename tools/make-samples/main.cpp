// make-samples OUTDIR: writes the sample data files current.bbd (today's check) and
// previous.bbd (the check a year before) of one crane and its recorder into OUTDIR.
#include <iostream>
#include <string>

#include "tools/make-samples/SampleImages.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-samples OUTDIR\n";
        return 2;
    }
    std::string error;
    if (!orbisk::samples::WriteSampleFiles(argv[1], error)) {
        std::cerr << "make-samples: " << error << '\n';
        return 1;
    }
    return 0;
}

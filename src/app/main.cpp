// etiqo: one of the headless commands when argv names one, else the label designer.
#include "app/CTagoraApp.h"
#include "cli/CommandLine.h"

#include <csignal>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

int main(int argc, char** argv) {
    // A file-size limit (ulimit -f) must fail the write that passes it, which every save and every
    // output checks, instead of killing the program with files half written.
    std::signal(SIGXFSZ, SIG_IGN);
#if defined(__GLIBC__)
    // Every page of a print or PDF job allocates and frees the same large buffers: the page image
    // (1 MB and more) and Qt's zlib stream for each page and image (about 270 KB). With glibc's
    // defaults the freed heap goes back to the system again and again and each page faults its
    // memory in anew: a PDF of 1,000 labels took four times as long. Fixed at the largest values
    // glibc's own sliding thresholds reach, both buffers stay in the heap. (Setting only one
    // turns the sliding off and maps every page image afresh.)
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
    if (const auto status = etiqo::RunCommand(argc, argv)) {
        return *status;
    }
    return etiqo::RunDesigner(argc, argv);
}

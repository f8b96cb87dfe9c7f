// etiqo: the label designer, or one of its headless commands when argv names one.
#include <cstdio>

#include "cli/CommandLine.h"

int main(int argc, char** argv) {
    if (const auto status = etiqo::RunCommand(argc, argv)) {
        return *status;
    }
    std::fputs("etiqo: the designer window is not part of this build yet; try 'etiqo info FILE.lab'\n",
               stderr);
    return 1;
}

// etiqo: one of the headless commands when argv names one, else the label designer.
#include "app/CTagoraApp.h"
#include "cli/CommandLine.h"

int main(int argc, char** argv) {
    if (const auto status = etiqo::RunCommand(argc, argv)) {
        return *status;
    }
    return etiqo::RunDesigner(argc, argv);
}

// Writes the sample label: make_sample_label OUTPUT.lab
#include <cstdio>

#include "SampleLabel.h"
#include "model/LabelFile.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_sample_label OUTPUT.lab\n", stderr);
        return 2;
    }
    etiqo::Label label(etiqo::SnapshotStore(std::filesystem::temp_directory_path()));
    etiqo::testing::FillSampleLabel(label);
    const auto status = etiqo::SaveLabelFile(label, argv[1]);
    if (!status) {
        std::fprintf(stderr, "%s\n", status.error.c_str());
        return 1;
    }
    return 0;
}

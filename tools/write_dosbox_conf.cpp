// Writes the dosbox.conf that the installer would write, for any folder
// text: write_dosbox_conf TEMPLATE FOLDER OUTPUT. Lets DOSBox itself be run
// on what we produce, with a host folder mounted as C:.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "install/dosbox_conf.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: write_dosbox_conf TEMPLATE FOLDER OUTPUT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "write_dosbox_conf: cannot read %s\n", argv[1]);
        return 1;
    }
    std::string templateText((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    std::string text = pellion::DosBoxConfText(templateText, argv[2], pellion::kProductExe);
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    out.write(text.data(), std::streamsize(text.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "write_dosbox_conf: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}

// The sdmweaver program. Everything it does lives in the host module (ZemlarTK.exe), which the
// plug-in binds by name; the executable only enters it.

#include "headless/program/Program.h"

int main(int argc, char** argv) {
    return sdmweaverMain(argc, argv);
}

// The merge of a long base design matrix, for its peak memory: `write` lays out a base of ROWS
// rows x 40 predictors (the last the constant) and motion estimates of as many rows; `merge`
// reads the motion estimates and merges them into the base, as the confound stage of one
// protocol does. Run `merge` under /usr/bin/time -v (bench/merge-memory.sh does).
//
//   sdmweaver_merge_memory write FOLDER ROWS
//   sdmweaver_merge_memory merge FOLDER

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchFiles.h"
#include "designmatrix/ConfoundDispatch.h"

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "write" && argc == 4) {
        const std::string folder = std::string(argv[2]) + "/";
        const int rows = std::atoi(argv[3]);
        bench::writeBaseDesignMatrix(folder + "base.sdm", rows, 40);
        bench::writeMotionFile(folder + "run_3DMC.sdm", rows, false);
        return 0;
    }
    if (command == "merge" && argc == 3) {
        const std::string folder = std::string(argv[2]) + "/";
        const std::string motion = folder + "run_3DMC.sdm";
        const std::string written = designmatrix::addConfounds(folder + "base.sdm", motion.c_str(),
                                                               "", "", false, true, false, false);
        std::printf("%s: %lld bytes\n", written.c_str(),
                    static_cast<long long>(bench::fileBytes(written)));
        return 0;
    }
    std::fprintf(stderr, "usage: sdmweaver_merge_memory write FOLDER ROWS | merge FOLDER\n");
    return 2;
}

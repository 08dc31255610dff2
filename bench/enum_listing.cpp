// enum_listing.exe FOLDER: the yardstick for how fast a folder can be listed.
// It does the shell work a menu window needs for its rows and nothing more:
// enumerate the folder, ask every item its parsing name, whether it is a
// folder and its in-folder name, sort the items as the folder sorts them,
// and print how many there are. bench/listing.sh times it as a whole process.
#include <cstdio>
#include <vector>

#include "floor_listing.h"

namespace {

int List(const wchar_t* path) {
    std::vector<floor_bench::Item> list;
    if (int rc = floor_bench::ListFolder(path, list)) return rc;
    std::printf("%zu\n", list.size());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: enum_listing FOLDER\n");
        return 64;
    }
    floor_bench::OleScope ole;
    if (FAILED(ole.hr)) return floor_bench::Fail("OleInitialize", ole.hr);
    return List(argv[1]);
}

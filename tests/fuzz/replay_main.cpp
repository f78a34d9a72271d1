// main() of the replay programs of the ordinary build: feeds every file of
// the folders named on the command line, once each and in name order, to the
// fuzz target's entry point. A crash, a sanitizer report or a failed check of
// the target fails the test; so does a folder without files, since it would
// check nothing.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> filesUnder(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER...\n", argv[0]);
        return 2;
    }
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    for (int a = 1; a < argc; ++a) {
        const std::vector<fs::path> files = filesUnder(argv[a]);
        if (files.empty()) {
            std::fprintf(stderr, "%s holds no input\n", argv[a]);
            return 1;
        }
        for (const fs::path& file : files) {
            const std::vector<uint8_t> bytes = contentOf(file);
            std::fprintf(stderr, "%s\n", file.c_str());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        }
        std::printf("%zu inputs of %s replayed\n", files.size(), argv[a]);
    }
    return 0;
}

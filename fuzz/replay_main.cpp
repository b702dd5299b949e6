// Corpus replay: runs a fuzz target's LLVMFuzzerTestOneInput over every file
// of the directories (or the single files) given, in name order. Built with
// any compiler, so that the normal test suite checks the committed corpus
// (seed inputs and every input that once broke an invariant) without
// libFuzzer. Exits non-zero when an argument is missing or there is no input
// at all; a broken invariant aborts.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace fs = std::filesystem;

int main(int argc, char **argv)
{
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        std::error_code ec;
        if (fs::is_directory(arg, ec)) {
            for (const fs::directory_entry &e : fs::directory_iterator(arg))
                if (e.is_regular_file())
                    files.push_back(e.path());
        } else if (fs::is_regular_file(arg, ec)) {
            files.push_back(arg);
        } else {
            std::fprintf(stderr, "replay: no such file or directory: %s\n", argv[i]);
            return 2;
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "replay: no input to replay\n");
        return 2;
    }
    std::sort(files.begin(), files.end());

    std::size_t bytes = 0;
    for (const fs::path &f : files) {
        std::ifstream in(f, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "replay: cannot read %s\n", f.u8string().c_str());
            return 2;
        }
        const std::vector<char> data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        bytes += data.size();
        // A copy of exactly the file's size, so that a read past the end is
        // caught by AddressSanitizer in a sanitizer build.
        std::vector<std::uint8_t> input(data.begin(), data.end());
        LLVMFuzzerTestOneInput(input.empty() ? nullptr : input.data(), input.size());
    }
    std::printf("replayed %zu inputs (%zu bytes)\n", files.size(), bytes);
    return 0;
}

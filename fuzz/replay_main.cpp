// Replays a fuzz target's corpus without libFuzzer: every file named on the
// command line, or found in a directory named there, goes once through the
// harness. The gcc builds (optimised, and under the sanitizers) link each
// harness with this, so the test command re-runs every input ever kept.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
    // The names are resolved first: a harness may change the directory.
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path p(argv[i]);
        if (std::filesystem::is_directory(p)) {
            for (const auto& entry : std::filesystem::directory_iterator(p))
                if (entry.is_regular_file()) files.push_back(std::filesystem::absolute(entry.path()).string());
        } else {
            files.push_back(std::filesystem::absolute(p).string());
        }
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::fprintf(stderr, "no input to replay\n");
        return 1;
    }
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    for (const std::string& name : files) {
        std::ifstream in(name, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // A copy of exactly the input's size, so that a read past its end is seen.
        std::vector<uint8_t> input(bytes.begin(), bytes.end());
        std::fprintf(stderr, "replaying %s\n", name.c_str());
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::fprintf(stderr, "replayed %zu inputs\n", files.size());
    return 0;
}

// Runs a fuzz target's entry point once on every file of the folders given, for builds without
// libFuzzer. Each path is printed before its run, so a sanitizer report or an abort that ends
// the program follows the name of the input that caused it.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

std::vector<uint8_t> readAll(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

// As under scripts/fuzz, one allocation past 512 MB is a finding; the address sanitizer stops it.
extern "C" const char *__asan_default_options()
{
    return "max_allocation_size_mb=512";
}

int main(int argc, char **argv)
{
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        if (std::filesystem::is_directory(arg)) {
            for (const auto &entry : std::filesystem::recursive_directory_iterator(arg))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
        } else {
            inputs.push_back(arg);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    for (const auto &path : inputs) {
        std::fprintf(stderr, "replaying %s\n", path.string().c_str());
        std::fflush(stderr);
        const std::vector<uint8_t> bytes = readAll(path);
        try {
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        } catch (const std::exception &e) {
            std::fprintf(stderr, "FAILED %s: uncaught exception: %s\n", path.string().c_str(), e.what());
            return 1;
        }
    }
    std::fprintf(stderr, "%zu inputs replayed\n", inputs.size());
    return 0;
}

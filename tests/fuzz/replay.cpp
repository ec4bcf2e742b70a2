// Runs a fuzz target once over every input of the given folders and reports
// the slowest; fails when any input takes longer than the limit.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int *argc, char ***argv);

namespace fs = std::filesystem;

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s LIMIT_MS FOLDER...\n", argv[0]);
        return 2;
    }
    const double limitMs = std::atof(argv[1]);
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);

    std::vector<fs::path> inputs;
    for (int i = 2; i < argc; ++i)
        if (fs::is_directory(argv[i]))
            for (const auto &entry : fs::directory_iterator(argv[i]))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());

    double slowestMs = 0;
    fs::path slowest;
    for (const fs::path &path : inputs) {
        std::ifstream file(path, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        // The best of three: a first run pays for caches and lazy set-up.
        double bestMs = 1e300;
        for (int run = 0; run < 3; ++run) {
            const auto start = std::chrono::steady_clock::now();
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
            bestMs = std::min(bestMs, took.count());
        }
        if (bestMs > slowestMs) {
            slowestMs = bestMs;
            slowest = path;
        }
    }
    std::printf("replayed %zu inputs, slowest %.3f ms (%s)\n", inputs.size(), slowestMs,
                slowest.filename().c_str());
    if (slowestMs > limitMs) {
        std::printf("slower than %.1f ms: %s\n", limitMs, slowest.c_str());
        return 1;
    }
    return 0;
}

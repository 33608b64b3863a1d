#include "bench_skin.h"
#include "flush_time.h"

#include <benchmark/benchmark.h>

#include <cstring>

// "zqbench --make-skins DIR" writes the 4K skins that scripts/bench-process times, and
// "zqbench --flush-time DIR" prints what flushing a 4 MB file there takes; anything else runs
// the benchmarks.
int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--make-skins") == 0)
        return bench::writeFourKSkins(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    if (argc == 3 && std::strcmp(argv[1], "--flush-time") == 0)
        return bench::printFlushTime(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// SHA-256 of an output as the batch's manifest and --verify take it: every output is hashed once
// when written and again on every resume and verification.
#include <benchmark/benchmark.h>
#include <string>

#include "platform/Sha256.h"

namespace {

void BM_Sha256(benchmark::State& State) {
    const std::string Bytes(size_t{64} << 20, '\x5a');
    for (auto _ : State) {
        benchmark::DoNotOptimize(talvo::Sha256Hex(Bytes));
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) *
                            static_cast<int64_t>(Bytes.size()));
}
BENCHMARK(BM_Sha256)->Unit(benchmark::kMillisecond);

} // namespace

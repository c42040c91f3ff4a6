// A-law encoding and decoding throughput, counted in bytes of 16-bit PCM (target:
// at least 500 MB/s each way).
#include "softphone/ALawCodec.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr int samples = 8000; // one second of audio

void encode(benchmark::State& state)
{
    std::vector<qint16> pcm(samples);
    for (int i = 0; i < samples; ++i)
        pcm[i] = static_cast<qint16>((i * 7919) % 65536 - 32768);
    std::vector<quint8> codes(samples);
    for (auto _ : state) {
        ALawCodec::Encode(pcm.data(), samples, codes.data());
        benchmark::DoNotOptimize(codes.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * samples * 2);
}

void decode(benchmark::State& state)
{
    std::vector<quint8> codes(samples);
    for (int i = 0; i < samples; ++i)
        codes[i] = static_cast<quint8>(i * 31);
    std::vector<qint16> pcm(samples);
    for (auto _ : state) {
        ALawCodec::Decode(codes.data(), samples, pcm.data());
        benchmark::DoNotOptimize(pcm.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * samples * 2);
}

// The buffer form the call path uses (one 30 ms buffer, with its allocation).
void encodeBuffer(benchmark::State& state)
{
    const QByteArray pcm(480, '\x11');
    for (auto _ : state)
        benchmark::DoNotOptimize(ALawCodec::EncodeALaw(pcm));
    state.SetBytesProcessed(state.iterations() * pcm.size());
}

} // namespace

BENCHMARK(encode);
BENCHMARK(decode);
BENCHMARK(encodeBuffer);

#include "FudaShuffle.h"

#include <QTime>
#include <QtGlobal>
#include <utility>

namespace {
// SplitMix64: every seed, even consecutive seconds of the day, gives an
// unrelated sequence. The result is the top 15 bits of each output.
thread_local quint64 randomState = 0;
} // namespace

void SeedRandom(unsigned int seed)
{
    randomState = seed;
}

int NextRandom()
{
    randomState += 0x9E3779B97F4A7C15ull;
    quint64 z = randomState;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<int>(z >> 49);
}

int RandInt(int low, int high)
{
    const double r = NextRandom();
    return low + static_cast<int>((high - low + 1) * r * (1.0 / 32768.0));
}

void ShuffleFudaWithSeed(int *fuda, int count, unsigned int seed)
{
    SeedRandom(seed);
    const int n = count - 1;
    if (n <= 0)
        return;
    for (int i = 0; i < n; ++i) {
        const int j = n - i;
        const int k = RandInt(0, j);
        std::swap(fuda[j], fuda[k]);
    }
}

void ShuffleFuda(int *fuda, int count)
{
    const int secondsOfDay = QTime(0, 0).secsTo(QTime::currentTime());
    ShuffleFudaWithSeed(fuda, count, static_cast<unsigned int>(secondsOfDay));
}

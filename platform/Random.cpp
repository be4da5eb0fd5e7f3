#include "Random.h"

#include <random>

namespace {

std::mt19937_64& Generator()
{
    static std::mt19937_64 generator{std::random_device{}()};
    return generator;
}

} // namespace

double Random_Next()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(Generator());
}

qint64 Random_Between(qint64 low, qint64 high)
{
    return std::uniform_int_distribution<qint64>(low, high)(Generator());
}

void Random_Seed(quint64 seed)
{
    Generator().seed(seed);
}

#include "toolkit/numbers.h"

#include <windows.h>

#include <cmath>
#include <cstdint>

float MathLog(double x) {
    float argument = static_cast<float>(x);
    return static_cast<float>(std::log(static_cast<double>(argument)));
}

float MathRound(double x, int mode) {
    float value = static_cast<float>(x);
    switch (mode) {
        case 0: return std::floor(value);
        case 1: return std::ceil(value);
        default: return value > 0 ? std::floor(value + 0.5f) : std::ceil(value - 0.5f);
    }
}

double MathPow(double base, double exponent) { return std::pow(base, exponent); }

namespace {

uint32_t randomState = 0;

uint32_t nextRandom() {
    if (randomState == 0) {
        randomState = GetCurrentThreadId() ^ GetTickCount();
        if (randomState == 0) randomState = 0x9E3779B9u;
    }
    // xorshift32: small and fast; nothing here needs cryptographic randomness.
    randomState ^= randomState << 13;
    randomState ^= randomState >> 17;
    randomState ^= randomState << 5;
    return randomState;
}

}  // namespace

long long RandomUpTo(long long max) {
    if (max <= 0) return 0;
    uint64_t span = static_cast<uint64_t>(max) + 1;
    if (span > (uint64_t{1} << 32)) span = uint64_t{1} << 32;
    return static_cast<long long>((static_cast<uint64_t>(nextRandom()) * span) >> 32);
}

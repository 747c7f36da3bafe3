#include "primequery/counting/riemann_inverse.h"

#include <cmath>

namespace counting {

namespace {

// li(t) by Ramanujan's series, t > 1.
long double logIntegral(long double t) {
    constexpr long double kGamma = 0.57721566490153286060651209008240243L;
    const long double l = std::log(t);
    long double sum = 0, term = 1, inner = 0;
    for (int n = 1; n < 200; ++n) {
        term *= l / n;  // l^n / n!
        if (((n - 1) & 1) == 0) inner += 1.0L / (2 * ((n - 1) / 2) + 1);
        const long double add = term / std::ldexp(1.0L, n - 1) * inner;
        sum += (n & 1) ? add : -add;
        if (std::fabs(add) < 1e-20L * std::fabs(sum)) break;
    }
    return kGamma + std::log(l) + std::sqrt(t) * sum;
}

int moebius(int n) {
    int mu = 1;
    for (int p = 2; p * p <= n; ++p) {
        if (n % p != 0) continue;
        n /= p;
        if (n % p == 0) return 0;
        mu = -mu;
    }
    return n > 1 ? -mu : mu;
}

}  // namespace

long double riemannR(long double t) {
    if (t < 2) return 0;
    long double sum = 0;
    for (int n = 1; n < 128; ++n) {
        const long double root = std::pow(t, 1.0L / n);
        if (root < 2) break;
        const int mu = moebius(n);
        if (mu != 0) sum += mu * logIntegral(root) / n;
    }
    return sum;
}

uint64_t riemannInverse(uint64_t k) {
    const long double target = static_cast<long double>(k);
    long double t = k < 3 ? 3.0L : target * std::log(target);
    for (int i = 0; i < 100; ++i) {
        const long double step = (riemannR(t) - target) * std::log(t);
        t -= step;
        if (t < 2) t = 2;
        if (std::fabs(step) < 0.5L) break;
    }
    constexpr long double kTop = 18446744073709551615.0L;
    return t >= kTop ? ~uint64_t{0} : static_cast<uint64_t>(t);
}

}  // namespace counting

#include "base/dpi_scale.h"

#include <cstdlib>

namespace pellion {

int MulDivRound(int a, int b, int c) {
    if (c == 0) return 0;
    long long product = (long long)a * b;
    long long q = (std::llabs(product) + std::llabs((long long)c) / 2) / std::llabs((long long)c);
    return int(((product < 0) != (c < 0)) ? -q : q);
}

}  // namespace pellion

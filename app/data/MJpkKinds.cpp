#include "data/MJpkKinds.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<int, 12> exportedKinds{0, 2, 3, 4, 15, 16, 19, 20, 23, 24, 27, 28};
constexpr std::array<int, 6> correctionKinds{2, 4, 16, 20, 24, 28};

template <std::size_t N>
bool contains(const std::array<int, N>& kinds, int kind)
{
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

} // namespace

bool MJpkKinds::isExported(int kind)
{
    return contains(exportedKinds, kind);
}

bool MJpkKinds::isCorrection(int kind)
{
    return contains(correctionKinds, kind);
}

bool MJpkKinds::isReverseCharge(int kind)
{
    return kind == 15 || kind == 16;
}

#include "filefaults.h"

#include <array>
#include <cstddef>

namespace filefaults {

namespace {

std::array<int, 7> &planted()
{
    static std::array<int, 7> errors{};
    return errors;
}

} // namespace

void failNext(Step step, int error)
{
    planted()[std::size_t(step)] = error;
}

void clear()
{
    planted().fill(0);
}

int take(Step step)
{
    const int error = planted()[std::size_t(step)];
    planted()[std::size_t(step)] = 0;
    return error;
}

} // namespace filefaults

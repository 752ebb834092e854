#pragma once
// "Skip the failing statement": runs one statement; if it cannot produce its number (or reaches
// outside an array), it has no effect and the caller goes on with the next statement.
#include <stdexcept>

#include "core/numbers.h"

namespace tally {

template <class Statement>
bool skipFailure(Statement&& statement) {
    try {
        statement();
        return true;
    } catch (const NumberFailure&) {
        return false;
    } catch (const std::out_of_range&) {
        return false;
    }
}

} // namespace tally

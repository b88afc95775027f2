#pragma once

#include "engine/search/Search.h"

#include <string>

namespace tarwick::engine {

// The status as bracketed groups, the key-rate group first:
// [12.34 Mkey/s][total 123456789][Prob 12.3%][50% in 3.2min][Found 1/2]
// The probability and time groups follow the rules of engine/match/Difficulty.h, counted
// from the last find; the found group appears after a first find ("[Found 3]" when the
// search keeps going, since there is no total then).
std::string formatStatusGroups(const SearchStatus& status);

// The same as a console refresh: a carriage return, then the groups padded with blanks
// to 79 characters so that a shorter line covers a longer one.
std::string formatStatusRefresh(const SearchStatus& status);

} // namespace tarwick::engine

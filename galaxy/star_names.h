// Every star's system name of a galaxy, kept side by side so that a search by name runs over a
// few megabytes: 973,080 names take about 7 MB. Making them rolls each system's stars and name,
// so it is split among the machine's cores and can run on a thread of its own while the
// frames go on.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "galaxy/galaxy_shape.h"

struct STAR_NAME_INDEX_T
{
    GALAXY_SHAPE_T shape = {};
    std::vector<char> text;      // the names one after the other, no separators
    std::vector<uint32_t> start; // name k is text[start[k]] to text[start[k + 1] - 1]

    uint64_t Count(void) const { return start.empty() ? 0 : start.size() - 1; }
    std::string Name(uint64_t star) const;
};

// The names of stars 0 to star_count - 1 of the galaxy of shape, on `threads` threads (0: one
// per core). done, when given, counts the names made so far, for a progress line; the calling
// thread's random stream is left as it was.
void BuildStarNameIndex(const GALAXY_SHAPE_T &shape, uint64_t star_count, int threads, STAR_NAME_INDEX_T *index,
                        std::atomic<uint64_t> *done = nullptr);

// The stars whose names contain text, without regard to case, best first: a name equal to the
// text, then names that begin with it, then the rest; within each, shorter names first, then
// the lower star number. At most `most` of them; an empty text matches nothing.
std::vector<uint32_t> FindStarNames(const STAR_NAME_INDEX_T &index, const std::string &text, size_t most);

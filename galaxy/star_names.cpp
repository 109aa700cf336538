// Names side by side, and a case-insensitive scan over them. Names are short (3 to 9 letters)
// and plain ASCII, so folding case is one table lookup a letter.
#include "galaxy/star_names.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <thread>

#include "galaxy/star_system_on_demand.h"
#include "scene/usable_cores.h"

namespace
{
inline char Fold(char c)
{
    return (char)std::tolower((unsigned char)c);
}

// Where text (already folded) first stands in name[0...length - 1], folded; -1 if nowhere.
int Find(const char *name, uint32_t length, const std::string &text)
{
    const uint32_t n = (uint32_t)text.size();
    for (uint32_t at = 0; at + n <= length; at++)
    {
        uint32_t k = 0;
        while (k < n && Fold(name[at + k]) == text[k]) k++;
        if (k == n) return (int)at;
    }
    return -1;
}
} // namespace

std::string STAR_NAME_INDEX_T::Name(uint64_t star) const
{
    if (star + 1 >= start.size()) return std::string();
    return std::string(text.data() + start[star], start[star + 1] - start[star]);
}

void BuildStarNameIndex(const GALAXY_SHAPE_T &shape, uint64_t star_count, int threads, STAR_NAME_INDEX_T *index,
                        std::atomic<uint64_t> *done)
{
    if (threads <= 0) threads = UsableCores();
    if (threads <= 0) threads = 1;
    if (star_count < 4096) threads = 1;
    // Each thread names a slice of its own; the slices are joined in order afterwards.
    std::vector<std::string> parts((size_t)threads);
    std::vector<std::vector<uint32_t>> lengths((size_t)threads);
    auto work = [&](int t) {
        const uint64_t first = star_count * (uint64_t)t / (uint64_t)threads;
        const uint64_t end = star_count * (uint64_t)(t + 1) / (uint64_t)threads;
        for (uint64_t star = first; star < end; star++)
        {
            const std::string name = StarSystemName(shape, star);
            parts[(size_t)t] += name;
            lengths[(size_t)t].push_back((uint32_t)name.size());
            if (done != nullptr && (star & 1023u) == 1023u) done->fetch_add(1024, std::memory_order_relaxed);
        }
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; t++) helpers.emplace_back(work, t);
    work(0);
    for (std::thread &helper : helpers) helper.join();

    index->shape = shape;
    index->text.clear();
    index->start.assign(1, 0);
    for (int t = 0; t < threads; t++)
    {
        index->text.insert(index->text.end(), parts[(size_t)t].begin(), parts[(size_t)t].end());
        for (uint32_t length : lengths[(size_t)t]) index->start.push_back(index->start.back() + length);
    }
    if (done != nullptr) done->store(star_count, std::memory_order_relaxed);
}

std::vector<uint32_t> FindStarNames(const STAR_NAME_INDEX_T &index, const std::string &text, size_t most)
{
    std::string folded;
    for (char c : text) folded += Fold(c);
    struct HIT_T
    {
        int rank; // 0 equal, 1 begins with the text, 2 holds it further on
        uint32_t length;
        uint32_t star;
    };
    std::vector<HIT_T> hits;
    if (folded.empty()) return {};
    const uint64_t count = index.Count();
    for (uint64_t star = 0; star < count; star++)
    {
        const uint32_t length = index.start[star + 1] - index.start[star];
        const int at = Find(index.text.data() + index.start[star], length, folded);
        if (at < 0) continue;
        const int rank = at > 0 ? 2 : (length == folded.size() ? 0 : 1);
        hits.push_back(HIT_T{rank, length, (uint32_t)star});
    }
    const size_t kept = std::min(most, hits.size());
    std::partial_sort(hits.begin(), hits.begin() + (std::ptrdiff_t)kept, hits.end(), [](const HIT_T &a, const HIT_T &b) {
        if (a.rank != b.rank) return a.rank < b.rank;
        if (a.length != b.length) return a.length < b.length;
        return a.star < b.star;
    });
    std::vector<uint32_t> stars;
    for (size_t k = 0; k < kept; k++) stars.push_back(hits[k].star);
    return stars;
}

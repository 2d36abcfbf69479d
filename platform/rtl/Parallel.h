// Work cut into parts that run side by side, for the first touch of large fresh memory: the
// system makes a page on its first write, and on a virtual machine that costs more than the
// write; made from several threads at once, the pages come several times sooner. Header only.
#pragma once

#include <algorithm>
#include <cstddef>
#include <system_error>
#include <thread>
#include <vector>

namespace rtl {

// How many parts a job over Bytes bytes is worth: one for each Grain bytes, at most one a
// processor and at most eight.
inline int PartsFor(std::size_t Bytes, std::size_t Grain) {
    const unsigned processors = std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
    return static_cast<int>(std::clamp<std::size_t>(Bytes / Grain, 1, processors));
}

// Work(0) to Work(Parts - 1), each but the first on a thread of its own; the caller runs the
// first, and any part whose thread the system refuses, and returns when all have ended. Work
// must not throw.
template <class F>
void RunParts(int Parts, F&& Work) {
    // Both lists are made before any thread starts, so that nothing throws while one runs.
    const auto others = static_cast<std::size_t>(std::max(Parts - 1, 0));
    std::vector<std::thread> threads;
    threads.reserve(others);
    std::vector<int> left;
    left.reserve(others);
    for (int p = 1; p < Parts; ++p) {
        try {
            threads.emplace_back([&Work, p] { Work(p); });
        } catch (const std::system_error&) {
            left.push_back(p);
        }
    }
    if (Parts > 0) Work(0);
    for (int p : left) Work(p);
    for (auto& t : threads) t.join();
}

// Range [Lo, Hi) of part P of Parts over Size units, cut at multiples of Align.
inline void PartRange(std::size_t Size, int Parts, int P, std::size_t Align, std::size_t& Lo, std::size_t& Hi) {
    const std::size_t step = (Size / static_cast<std::size_t>(Parts) + Align - 1) / Align * Align;
    Lo = std::min(Size, step * static_cast<std::size_t>(P));
    Hi = P == Parts - 1 ? Size : std::min(Size, Lo + step);
}

} // namespace rtl

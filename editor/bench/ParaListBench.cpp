// Measures the paragraph model: one-character edits near the last edit and at random places,
// the full re-wrap and the memory a paragraph takes, for texts of growing size.
#include "editor/ParaList.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>

using namespace editor;

namespace {

using Clock = std::chrono::steady_clock;

// A measurement of edits that failed would measure nothing.
void Check(TParaResult r) {
    if (r != TParaResult::Ok) {
        std::fprintf(stderr, "edit failed with %d\n", Code(r));
        std::exit(1);
    }
}

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Resident memory: a load's large blocks come straight from the system, outside the heap's
// counts.
std::size_t Resident() {
    std::size_t pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%zu %zu", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

std::string Paragraph(std::mt19937& rng) {
    static const char* words[] = {"procedure", "begin", "end;", "the", "value", "of", "x",
                                  ":=", "if", "then", "Result", "while", "do", "-", "inc(i);"};
    std::string s;
    std::size_t target = 20 + rng() % 120;
    while (s.size() < target) {
        s += words[rng() % std::size(words)];
        s += ' ';
    }
    return s;
}

// Nanoseconds per operation of one insert followed by one delete of a character.
template <typename Place>
double EditPairs(TParaList& list, int pairs, Place place) {
    auto start = Clock::now();
    for (int i = 0; i < pairs; ++i) {
        auto [para, pos] = place(i);
        Check(list.InsertText(para, "x", pos));
        Check(list.DeleteText(para, 1, pos));
    }
    return Seconds(start) * 1e9 / (2.0 * pairs);
}

} // namespace

int main() {
    std::printf("%10s %10s %12s %12s %12s %12s %12s %12s\n", "paras", "text/para", "rss/para", "load MB/s",
                "rewrap MB/s", "local ns", "typing ns", "random ns");
    for (int n : {1000, 100000, 1000000}) {
        std::mt19937 rng(7);
        std::size_t before = Resident();
        auto* list = new TParaList(nullptr, true);
        auto start = Clock::now();
        for (int i = 0; i < n; ++i) Check(list->AddPara(Paragraph(rng), false));
        double load = Seconds(start);
        double perPara = double(Resident() - before) / n;
        double mb = double(list->TextSize()) / 1e6;

        start = Clock::now();
        list->SetWrapColumn(60); // re-wraps every paragraph
        double rewrap = Seconds(start);

        // Near the last edit: a window of 50 paragraphs around the middle.
        const int mid = n / 2;
        double local = EditPairs(*list, 200000, [&](int) {
            std::int32_t para = mid + static_cast<std::int32_t>(rng() % 50);
            return std::pair{para, 1 + static_cast<std::int32_t>(rng() % list->ParaLength(para))};
        });
        // Typing: characters appended one after another in one paragraph, then taken back.
        auto typing = [&] {
            const std::int32_t para = mid + 7;
            std::int32_t pos = list->ParaLength(para) + 1;
            auto t = Clock::now();
            for (int i = 0; i < 2000; ++i) Check(list->InsertText(para, "y", pos + i));
            for (int i = 2000; i > 0; --i) Check(list->DeleteText(para, 1, pos + i - 1));
            return Seconds(t) * 1e9 / 4000;
        };
        double typed = 0;
        for (int round = 0; round < 25; ++round) typed += typing() / 25;
        const int randomPairs = n >= 1000000 ? 2000 : n >= 100000 ? 20000 : 200000;
        double random = EditPairs(*list, randomPairs, [&](int) {
            std::int32_t para = 1 + static_cast<std::int32_t>(rng() % n);
            return std::pair{para, 1 + static_cast<std::int32_t>(rng() % (list->ParaLength(para) + 1))};
        });
        std::printf("%10d %10.1f %12.1f %12.1f %12.1f %12.1f %12.1f %12.1f\n", n,
                    double(list->TextSize()) / n, perPara, mb / load,
                    mb / rewrap, local, typed, random);
        delete list;
    }
}

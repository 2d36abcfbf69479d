// Measures the dictionary: known-word lookups over running English text, and suggestions for
// dictionary words with one typing error each. Not a test; build it in Release:
//   cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release -DSUITE_TESTS=OFF
//   cmake --build build-rel --target english_dct spellengine_benchmark
//   build-rel/spellengine/spellengine_benchmark [ENGLISH.DCT] [word list] [licence folder]
#include "spellengine/Dictionary.h"
#include "spellengine/WordBuffers.h"

#include "rtl/CodePages.h"
#include "rtl/Paths.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace spellengine;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

std::vector<std::string> RunningText(const std::string& folder, std::size_t count) {
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        text += rtl::AnsiToOem(rtl::Utf8ToAnsi(s.str()));
        text += '\n';
    }
    std::vector<std::string> words;
    const TCharSet& chars = WordChars();
    std::string word;
    auto flush = [&] {
        if (word.size() > 1 && word.size() < 50 && !std::all_of(word.begin(), word.end(), ::isdigit))
            words.push_back(word);
        word.clear();
    };
    for (char c : text) {
        if (chars[static_cast<unsigned char>(c)])
            word.push_back(c);
        else
            flush();
    }
    flush();
    std::vector<std::string> out;
    while (!words.empty() && out.size() < count)
        for (std::size_t i = 0; i < words.size() && out.size() < count; ++i)
            out.push_back(words[i]);
    return out;
}

std::string Edit(const std::string& word, std::mt19937& rng) {
    static const std::string letters = "abcdefghijklmnopqrstuvwxyz";
    std::string w = word;
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    switch (pick(4)) {
    case 0: w.erase(pick(w.size()), 1); break;
    case 1: w.insert(w.begin() + std::ptrdiff_t(pick(w.size() + 1)), letters[pick(26)]); break;
    case 2: w[pick(w.size())] = letters[pick(26)]; break;
    default: {
        std::size_t i = pick(w.size() - 1);
        std::swap(w[i], w[i + 1]);
    }
    }
    return w;
}

} // namespace

int main(int argc, char** argv) {
    const std::string dct = argc > 1 ? argv[1] : std::string(SUITE_BINARY_DIR) + "/ENGLISH.DCT";
    const std::string list = argc > 2 ? argv[2] : "/usr/share/dict/american-english";
    const std::string licences = argc > 3 ? argv[3] : "/usr/share/common-licenses";

    TDictionary dictionary;
    if (!dictionary.OpenMain(rtl::WinPath(dct))) {
        std::fprintf(stderr, "no dictionary %s\n", dct.c_str());
        return 1;
    }

    std::vector<std::string> text = RunningText(licences, 100000);
    std::size_t known = 0;
    auto t0 = Clock::now();
    for (const std::string& w : text)
        known += dictionary.IsKnownWord(w);
    double lookup = Seconds(Clock::now() - t0);
    std::printf("IsKnownWord: %zu words in %.3f s: %.0f words/s, %.1f%% known\n", text.size(), lookup,
                double(text.size()) / lookup, 100.0 * double(known) / double(text.size()));

    std::vector<std::string> words;
    {
        std::ifstream in(list);
        std::string line;
        while (std::getline(in, line))
            if (line.size() >= 4 && line.size() <= 12 &&
                std::all_of(line.begin(), line.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
                words.push_back(line);
    }
    std::mt19937 rng(1996);
    std::shuffle(words.begin(), words.end(), rng);
    words.resize(std::min<std::size_t>(words.size(), 1000));

    std::vector<double> times;
    std::size_t found = 0, first = 0;
    auto all0 = Clock::now();
    for (const std::string& w : words) {
        std::string typo = Edit(w, rng);
        auto s0 = Clock::now();
        auto got = dictionary.Suggest(typo, 10);
        times.push_back(Seconds(Clock::now() - s0));
        int at = got->IndexOf(w);
        found += at >= 0;
        first += at == 0;
    }
    double all = Seconds(Clock::now() - all0);
    std::sort(times.begin(), times.end());
    std::printf("Suggest (10): %zu words in %.3f s: %.0f words/s, median %.3f ms, 90th percentile %.3f ms, max %.3f ms; "
                "intended word in the list %.1f%%, first %.1f%%\n",
                words.size(), all, double(words.size()) / all, 1000 * times[times.size() / 2],
                1000 * times[times.size() * 9 / 10], 1000 * times.back(), 100.0 * double(found) / double(words.size()),
                100.0 * double(first) / double(words.size()));
    return 0;
}

// Saves the progress file over and over, alternating two contents, until it is killed, or a given
// number of times. tests/drill/crash_during_save.py kills it at random moments and knows both
// contents:
//   first:  counter 1, every mark empty;
//   second: counter -5, mark "1" on the even rows, empty on the odd ones.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "data/word_bank.h"
#include "drill/progress_file.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s PROGRESS-FILE [SAVES]\n", argv[0]);
        return 2;
    }
    const long saves = argc == 3 ? std::atol(argv[2]) : -1;
    const std::vector<std::string> first(zembra::kBankRows);
    std::vector<std::string> second(zembra::kBankRows);
    for (std::size_t row = 0; row < second.size(); row += 2) second[row].push_back('1');

    zembra::ProgressFile file(argv[1], [](std::string_view line) { std::fwrite(line.data(), 1, line.size(), stderr); });
    // The second content first: the script starts from the first, so any finished save shows.
    for (long done = 0; saves < 0 || done < saves; ++done) {
        const bool saved = done % 2 == 0 ? file.Replace(-5, second) : file.Replace(1, first);
        if (!saved) return 1;
    }
    return 0;
}

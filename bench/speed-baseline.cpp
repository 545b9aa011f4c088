// The least any report of a shots file must do, to measure kickmark-report against: read the
// whole file, turn each line into a number with strtod, and sort the numbers once.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: speed-baseline FILE\n", stderr);
        return 2;
    }
    std::FILE* file = std::fopen(argv[1], "rb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 2;
    }
    std::string text;
    char buffer[1 << 16];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, read);
    }
    std::fclose(file);
    std::vector<double> speeds;
    const char* at = text.c_str();
    for (char* end = nullptr;; at = end) {
        const double speed = std::strtod(at, &end);
        if (end == at) {
            break;
        }
        speeds.push_back(speed);
    }
    std::sort(speeds.begin(), speeds.end());
    // Something of the sorted speeds is printed, so that the sort is not left out.
    std::printf("%zu shots, median %.2f\n", speeds.size(),
                speeds.empty() ? 0.0 : speeds[speeds.size() / 2]);
    return 0;
}

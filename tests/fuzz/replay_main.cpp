// Replays fuzz corpus files through a fuzz entry point in builds without
// libFuzzer, so the corpus doubles as a regression suite.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static int replayFile(const std::filesystem::path &p)
{
    std::ifstream in(p, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return 1;
}

int main(int argc, char **argv)
{
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path p(argv[i]);
        if (std::filesystem::is_directory(p)) {
            for (const auto &e : std::filesystem::recursive_directory_iterator(p))
                if (e.is_regular_file())
                    files += replayFile(e.path());
        } else if (std::filesystem::exists(p)) {
            files += replayFile(p);
        }
    }
    LLVMFuzzerTestOneInput(nullptr, 0);
    std::printf("replayed %d corpus files\n", files);
    return 0;
}

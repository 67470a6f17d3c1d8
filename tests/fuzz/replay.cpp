// Without libFuzzer, the fuzz target runs once over every file given (or in a folder given):
// the corpus is checked on every test run, natively and in WebAssembly under Node. Plain C
// files and folders, which the C library of either build has.
#include <dirent.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// The files a path names: itself, or those in the folder it is.
std::vector<std::string> FilesIn(const std::string& path) {
    DIR* folder = opendir(path.c_str());
    if (!folder) return {path};
    std::vector<std::string> files;
    while (const dirent* entry = readdir(folder))
        if (entry->d_name[0] != '.') files.push_back(path + "/" + entry->d_name);
    closedir(folder);
    return files;
}

bool Replay(const std::string& file) {
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (!in) return false;
    std::vector<std::uint8_t> bytes;
    for (int c; (c = std::fgetc(in)) != EOF;) bytes.push_back(std::uint8_t(c));
    std::fclose(in);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i)
        for (const std::string& file : FilesIn(argv[i])) replayed += Replay(file);
    std::printf("replayed %d inputs\n", replayed);
    return replayed > 0 ? 0 : 1;  // an empty or missing corpus checks nothing
}

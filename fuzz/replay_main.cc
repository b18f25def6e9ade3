// A main() for a fuzz target outside libFuzzer: feeds every file of the directories named on the command
// line to LLVMFuzzerTestOneInput once, in name order, so that the seed corpora are a regression test of
// any build. A target that finds a fault aborts, which fails the test; so does a directory without
// inputs, which would otherwise pass having checked nothing.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// The regular files directly in `directory`, sorted; false when it cannot be listed.
bool ListInputs(const std::filesystem::path& directory, std::vector<std::filesystem::path>* inputs) {
  std::error_code error;
  std::filesystem::directory_iterator it(directory, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (it->is_regular_file(error)) inputs->push_back(it->path());
  }
  if (error) {
    std::fprintf(stderr, "%s: %s\n", directory.c_str(), error.message().c_str());
    return false;
  }
  std::sort(inputs->begin(), inputs->end());
  return true;
}

// `data` comes in empty and is given exactly the input's size, as libFuzzer hands an input over: a read
// past its end is a read past a heap block, which the sanitizers report.
bool ReadInput(const std::filesystem::path& path, std::vector<std::uint8_t>* data) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes;
  if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in.is_open() || in.bad()) {
    std::fprintf(stderr, "%s: cannot be read\n", path.c_str());
    return false;
  }
  data->assign(bytes.begin(), bytes.end());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s CORPUS_DIRECTORY...\n", argv[0]);
    return 2;
  }
  for (int i = 1; i < argc; ++i) {
    std::vector<std::filesystem::path> inputs;
    if (!ListInputs(argv[i], &inputs)) return 1;
    if (inputs.empty()) {
      std::fprintf(stderr, "%s: no inputs to replay\n", argv[i]);
      return 1;
    }
    for (const std::filesystem::path& input : inputs) {
      std::vector<std::uint8_t> data;
      if (!ReadInput(input, &data)) return 1;
      LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    std::printf("%s: %zu inputs replayed\n", argv[i], inputs.size());
  }
  return 0;
}

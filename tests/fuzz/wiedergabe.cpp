// Runs every file of the given folders through a fuzz target once, without libFuzzer: the seed
// corpus and every input that once made a target fail are checked in each test run. A target
// that finds a fault aborts, and so does this program.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse);

int main(int argc, char** argv) {
  int anzahl = 0;
  for (int i = 1; i < argc; ++i) {
    for (const auto& eintrag : std::filesystem::directory_iterator(argv[i])) {
      if (!eintrag.is_regular_file())
        continue;
      std::ifstream datei(eintrag.path(), std::ios::binary);
      const std::vector<char> inhalt{std::istreambuf_iterator<char>(datei), {}};
      std::printf("%s\n", eintrag.path().filename().c_str());
      std::fflush(stdout);
      LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(inhalt.data()), inhalt.size());
      ++anzahl;
    }
  }
  std::printf("%d Eingaben ohne Fehler\n", anzahl);
  // An empty or missing corpus would pass without checking anything.
  return anzahl > 0 ? 0 : 1;
}

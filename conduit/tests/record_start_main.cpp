// A stand-in for the downloader in tests: records that it started, where, and with how many
// arguments.
#include <filesystem>
#include <fstream>

int main(int argc, char**) {
  const std::filesystem::path here = std::filesystem::current_path();
  // Written under another name first, so a reader never sees half a record.
  {
    std::ofstream out(here / "started.tmp");
    out << "arguments=" << argc - 1 << "\n"
        << "folder=" << here.string() << "\n";
  }
  std::filesystem::rename(here / "started.tmp", here / "started.txt");
  return 0;
}

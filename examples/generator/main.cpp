// make_example_data DIR: writes the example's synthetic input data (line
// list, mid-latitude atmosphere, solar spectrum) into DIR, for learning the
// line-finding and interfering-gas programs. Exit status 0, 1 for a wrong
// command line, 2 when a file cannot be written, 3 for anything unexpected.
#include <filesystem>
#include <iostream>

#include "common/stop.hpp"
#include "examples/generator/example_files.hpp"

int main(int argc, char** argv) {
  if (argc != 2 || std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h") {
    std::cerr << "usage: make_example_data DIR\n"
                 "Writes lines.hit, midlat.mod, midlat.vmr and solar.dat (synthetic data\n"
                 "for learning the programs) into the existing directory DIR.\n"
                 "example: make_example_data build/example-run\n";
    return argc == 2 ? 0 : 1;
  }
  if (!std::filesystem::is_directory(argv[1])) {
    std::cerr << "make_example_data: no such directory: " << argv[1] << '\n';
    return 1;
  }
  try {
    example::write_example_files(argv[1]);
  } catch (const rec::RecordError& e) {
    std::cerr << "make_example_data: " << e.what() << '\n';
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "make_example_data: " << e.what() << '\n';
    return 3;
  }
  return 0;
}

// make-sample-device --root DIR [--profile NAME] [--books N] [--first-boot] [--force]
// Writes a device folder for the simulator (see SampleDevice).
#include <iostream>

#include "Options.h"
#include "SampleDevice.h"

int main(int argc, char** argv) {
  marrowleaf::tools::Options options;
  std::string error;
  if (!options.Parse(argc, argv, &error)) {
    std::cerr << "make-sample-device: " << error << "\n" << marrowleaf::tools::Options::Usage();
    return 2;
  }
  if (options.help) {
    std::cout << marrowleaf::tools::Options::Usage();
    return 0;
  }
  marrowleaf::tools::SampleDevice device(options, MARROWLEAF_BIN_DIR, MARROWLEAF_SOURCE_DIR);
  return device.Make();
}

#include "SampleDevice.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "DeviceConfigs.h"
#include "DeviceFolders.h"
#include "DeviceProfiles.h"
#include "ResourceFiles.h"
#include "SampleApplications.h"
#include "SampleCovers.h"
#include "SampleLibrary.h"
#include "Standins.h"
#include "platform/sdk/files.h"

namespace marrowleaf::tools {

namespace {

// The simulator's profile marks a folder as a device made before.
const char kProfileFile[] = "/.sim/device.cfg";

}  // namespace

SampleDevice::SampleDevice(Options options, std::string bin_folder, std::string source_folder)
    : options_(std::move(options)),
      bin_folder_(std::move(bin_folder)),
      source_folder_(std::move(source_folder)) {}

int SampleDevice::Make() {
  std::string error;
  if (!CheckRoot(&error) || !UseRoot(&error) || !MakeSteps(&error)) {
    std::cerr << "make-sample-device: " << error << "\n";
    return 1;
  }
  std::cout << "Sample device \"" << options_.profile << "\" made in " << root_ << "\n";
  return 0;
}

bool SampleDevice::CheckRoot(std::string* error) {
  if (DeviceProfiles::Find(options_.profile) == nullptr) {
    *error = "unknown profile \"" + options_.profile + "\"; known: " + DeviceProfiles::Names();
    return false;
  }
  std::error_code failure;
  std::filesystem::path root = std::filesystem::absolute(options_.root, failure).lexically_normal();
  if (failure) {
    *error = "bad root folder " + options_.root + ": " + failure.message();
    return false;
  }
  root_ = root.string();
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
  // The host's own root would be taken for the device itself.
  if (root_ == "/") {
    *error = "the root folder can't be /";
    return false;
  }
  if (!options_.force && std::filesystem::exists(root_ + kProfileFile, failure)) {
    *error = root_ + " already holds a device; use --force to write over it";
    return false;
  }
  return true;
}

bool SampleDevice::UseRoot(std::string* error) {
  // The device paths of the platform's file layer map under MARROWLEAF_ROOT.
  std::error_code failure;
  std::filesystem::create_directories(root_, failure);
  if (failure) {
    *error = "can't create " + root_ + ": " + failure.message();
    return false;
  }
  setenv("MARROWLEAF_ROOT", root_.c_str(), 1);
  ReloadDeviceRoot();
  return true;
}

bool SampleDevice::MakeSteps(std::string* error) {
  const DeviceProfile& profile = *DeviceProfiles::Find(options_.profile);
  int languages = 0;
  int resources = 0;
  const std::string res = source_folder_ + "/desktop/res";
  if (!DeviceFolders::Make(error) || !DeviceConfigs::Write(profile, options_.first_boot, error) ||
      !ResourceFiles::CopyFolder(res + "/lang", "/ebrmain/language", &languages, error) ||
      !ResourceFiles::CopyFolder(res + "/themes/Contrast", "/ebrmain/themes/Contrast", &resources,
                                 error) ||
      !ResourceFiles::CopyFolder(res + "/layouts", "/ebrmain/layouts", &resources, error) ||
      !Standins::Install(bin_folder_, error) || !WriteSampleApplications(root_, error) ||
      !WriteSampleLibrary(root_, options_.books, error) || !WriteSampleBookFiles(root_, error)) {
    return false;
  }
  if (languages == 0)
    std::cerr << "make-sample-device: warning: no language files found\n";
  return true;
}

}  // namespace marrowleaf::tools

#include "Standins.h"

#include <algorithm>

#include "DeviceConfigs.h"
#include "DeviceFiles.h"

namespace marrowleaf::tools {

namespace {

constexpr unsigned kProgramMode = 0755;
// The stand-in is a small program; the cap only guards against copying the wrong file (a
// sanitizer build is several megabytes).
constexpr size_t kMaxProgramBytes = 256 * 1024 * 1024;

// Every program the home screen starts by path, and the network applications that start-up removes
// from a device without Wi-Fi. The readers come from the reader table.
const char* const kApplications[] = {
    "/ebrmain/bin/settings.app",
    "/ebrmain/bin/explorer.app",
    "/ebrmain/bin/browser.app",
    "/ebrmain/bin/bookstore.app",
    "/ebrmain/bin/knv_store_app",
    "/ebrmain/bin/umbreit_store_app",
    "/ebrmain/bin/bookinfo.app",
    "/ebrmain/bin/scanner.app",
    "/ebrmain/bin/lcpdrmhelperui.app",
    "/ebrmain/bin/cloud_book_uploader.app",
    "/ebrmain/bin/cloud_book_deleter.app",
    "/ebrmain/bin/checkupdate-launcher",
    "/ebrmain/bin/mediaexplorer.app",
    "/ebrmain/bin/gallery.app",
    "/ebrmain/bin/cloud_book_downloader.app",
    "/ebrmain/bin/acsm_fulfiller.app",
    "/ebrmain/bin/menca_downloader.app",
    "/ebrmain/bin/loan_return.app",
    "/bin/mattr",
    "/mnt/ext1/applications/BookStore.app",
    "/mnt/ext1/applications/marrownews.app",
    "/mnt/ext1/applications/webbrowser.app",
    "/mnt/ext1/applications/sync.app",
    "/mnt/ext1/applications/UlvaneSync.app",
};

// The scripts find the device root from MARROWLEAF_ROOT or, started without it, from their own
// place (<root>/ebrmain/bin), and record themselves through the stand-in program.
const char kScriptHead[] =
    "#!/bin/sh\n"
    "# Sample-device stand-in for a first-run step of the firmware: it does its job, then starts\n"
    "# the home screen again as the device's task manager would.\n"
    "here=$(cd \"$(dirname \"$0\")\" && pwd)\n"
    "root=${MARROWLEAF_ROOT:-$(cd \"$here/../..\" && pwd)}\n"
    "export MARROWLEAF_ROOT=\"$root\"\n"
    "\"$root/ebrmain/bin/marrowleaf-standin\" --as \"$here/$(basename \"$0\")\" \"$@\"\n";

const char kScriptTail[] = "exec \"$root/ebrmain/bin/bookshelf.app\"\n";

// The set-up wizard's job: the user has finished it, so setup_wizard_flag becomes 0 (the line is
// replaced where it stands, or added), written to a temporary file renamed over global.cfg.
const char kWizardJob[] =
    "cfg=\"$root/mnt/ext1/system/config/global.cfg\"\n"
    "tmp=\"$cfg.wizard.$$\"\n"
    "pattern='^[[:space:]]*setup_wizard_flag[[:space:]]*='\n"
    "if [ -f \"$cfg\" ] && grep -q \"$pattern\" \"$cfg\"; then\n"
    "  sed \"s/$pattern.*\\$/setup_wizard_flag=0/\" \"$cfg\" > \"$tmp\"\n"
    "else\n"
    "  { if [ -s \"$cfg\" ]; then cat \"$cfg\"; [ -z \"$(tail -c 1 \"$cfg\")\" ] || echo; fi\n"
    "    echo 'setup_wizard_flag=0'; } > \"$tmp\"\n"
    "fi\n"
    "mv -f \"$tmp\" \"$cfg\"\n";

}  // namespace

std::vector<std::string> Standins::ApplicationPaths() {
  std::vector<std::string> paths(std::begin(kApplications), std::end(kApplications));
  for (const auto* readers : {&DeviceConfigs::Readers(), &DeviceConfigs::Handlers()}) {
    for (const auto& reader : *readers) {
      if (std::find(paths.begin(), paths.end(), reader.second) == paths.end())
        paths.push_back(reader.second);
    }
  }
  return paths;
}

bool Standins::Install(const std::string& bin_folder, std::string* error) {
  return InstallApplications(bin_folder + "/marrowleaf-standin", error) && InstallScripts(error) &&
         DeviceFiles::Link(bin_folder + "/bookshelf.app", "/ebrmain/bin/bookshelf.app", error);
}

bool Standins::InstallApplications(const std::string& standin, std::string* error) {
  if (!DeviceFiles::CopyFromHost(standin, kDevicePath, kProgramMode, kMaxProgramBytes, error)) {
    return false;
  }
  for (const std::string& path : ApplicationPaths()) {
    if (!DeviceFiles::Share(kDevicePath, path, kProgramMode, kMaxProgramBytes, error)) {
      return false;
    }
  }
  return true;
}

bool Standins::InstallScripts(std::string* error) {
  return DeviceFiles::Write("/ebrmain/bin/net_cfg_encrypt.sh", FirstRunScript(""), kProgramMode,
                            error) &&
         DeviceFiles::Write("/ebrmain/bin/json2cfg.sh", FirstRunScript(""), kProgramMode, error) &&
         DeviceFiles::Write("/ebrmain/bin/setup_wizard.app", FirstRunScript(kWizardJob),
                            kProgramMode, error);
}

std::string Standins::FirstRunScript(const std::string& job) {
  return std::string(kScriptHead) + job + kScriptTail;
}

}  // namespace marrowleaf::tools

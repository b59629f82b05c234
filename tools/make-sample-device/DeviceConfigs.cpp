#include "DeviceConfigs.h"

#include "ConfigText.h"
#include "DeviceFiles.h"

namespace marrowleaf::tools {

namespace {

constexpr unsigned kDataMode = 0644;
constexpr const char* kStoreParameters = "/mnt/secure/download_device_param.cfg";

}  // namespace

const std::vector<DeviceConfigs::ReaderEntry>& DeviceConfigs::Readers() {
  static const std::vector<ReaderEntry> readers = {
      {"epub", "/ebrmain/bin/reader.app"},   {"fb2", "/ebrmain/bin/reader.app"},
      {"mobi", "/ebrmain/bin/reader.app"},   {"txt", "/ebrmain/bin/reader.app"},
      {"rtf", "/ebrmain/bin/reader.app"},    {"html", "/ebrmain/bin/reader.app"},
      {"cbz", "/ebrmain/bin/reader.app"},    {"pdf", "/ebrmain/bin/pdfviewer.app"},
      {"djvu", "/ebrmain/bin/djviewer.app"}, {"djv", "/ebrmain/bin/djviewer.app"},
  };
  return readers;
}

const std::vector<DeviceConfigs::ReaderEntry>& DeviceConfigs::Handlers() {
  static const std::vector<ReaderEntry> handlers = {
      {"Reader", "/ebrmain/bin/reader.app"},
      {"FBReader", "/ebrmain/bin/fbreader.app"},
      {"PDFViewer", "/ebrmain/bin/pdfviewer.app"},
      {"DjVuViewer", "/ebrmain/bin/djviewer.app"},
  };
  return handlers;
}

bool DeviceConfigs::Write(const DeviceProfile& profile, bool first_boot, std::string* error) {
  const std::pair<const char*, std::string> files[] = {
      {"/.sim/device.cfg", ProfileText(profile)},
      {"/mnt/ext1/system/config/global.cfg", GlobalText(first_boot)},
      {"/ebrmain/share/FBReader/default/styles.xml", StylesText()},
      {"/ebrmain/config/readers.cfg", ReadersText()},
      {"/ebrmain/config/extensions.cfg", FileTypesText()},
      {"/mnt/ext1/system/bookstore.cfg", StoreText()},
  };
  for (const auto& [path, content] : files) {
    if (!DeviceFiles::Write(path, content, kDataMode, error))
      return false;
  }
  // A device that has been set up has fetched its store parameters; one fresh from the factory has
  // not, and asks the reader to connect to Wi-Fi.
  if (!first_boot && !DeviceFiles::Write(kStoreParameters, StoreParametersText(profile), kDataMode, error))
    return false;
  return true;
}

std::string DeviceConfigs::ProfileText(const DeviceProfile& profile) {
  ConfigText text;
  text.Comment("Simulated device \"" + profile.name + "\": what the hardware tells the programs.");
  for (const auto& [key, value] : profile.entries) text.Add(key, value);
  return text.Text();
}

std::string DeviceConfigs::GlobalText(bool first_boot) {
  ConfigText text;
  if (!first_boot) {
    text.Add("net_cfg_encrypt", "done");
    text.Add("json2cfg", "done");
    text.Add("resetfrontlight", "done");
    text.Add("setup_wizard_flag", "0");
  }
  text.Add("language", "en");
  text.Add("theme", "Contrast");
  return text.Text();
}

std::string DeviceConfigs::ReadersText() {
  ConfigText text;
  text.Comment("File extension = the reader that opens it.");
  for (const auto& [extension, reader] : Readers()) text.Add(extension, reader);
  return text.Text();
}

std::string DeviceConfigs::FileTypesText() {
  ConfigText text;
  text.Comment("The readers of each file type (\"Open with\"), the default first, and their programs.");
  for (const auto& [name, program] : Handlers()) text.Add("handler." + name, program);
  const std::pair<const char*, const char*> types[] = {
      {"epub", "Reader,FBReader"}, {"fb2", "FBReader,Reader"}, {"mobi", "Reader,FBReader"},
      {"txt", "Reader,FBReader"},  {"rtf", "FBReader"},        {"html", "Reader,FBReader"},
      {"cbz", "Reader"},           {"pdf", "PDFViewer,Reader"}, {"djvu", "DjVuViewer"},
      {"djv", "DjVuViewer"},
  };
  for (const auto& [extension, readers] : types) text.Add(extension, readers);
  return text.Text();
}

std::string DeviceConfigs::StylesText() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<DefaultStyles>\n"
         "  <style id=\"body\" font-family=\"DejaVu Serif\" font-size=\"100%\" "
         "line-height=\"120%\" text-align=\"justify\"/>\n"
         "  <style id=\"title\" font-family=\"DejaVu Sans\" font-size=\"150%\" "
         "font-weight=\"bold\" text-align=\"center\"/>\n"
         "  <style id=\"emphasis\" font-style=\"italic\"/>\n"
         "</DefaultStyles>\n";
}

std::string DeviceConfigs::StoreParametersText(const DeviceProfile& profile) {
  ConfigText text;
  text.Comment("The parameters the device fetched from the store when it was set up.");
  text.Add("device", profile.name);
  text.Add("store_country", "EN");
  return text.Text();
}

std::string DeviceConfigs::StoreText() {
  ConfigText text;
  text.Comment("Settings of the store application (removed on devices without Wi-Fi).");
  text.Add("store_enabled", "1");
  return text.Text();
}

}  // namespace marrowleaf::tools

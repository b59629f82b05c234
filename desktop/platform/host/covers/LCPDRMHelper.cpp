// The LCP licences that protected books carry: a licence document is JSON with the links of the
// licence ("status" names the status document through which a loan is returned or renewed, "renew"
// offers renewal) and the rights ("end": the date the loan ends, in ISO 8601). The licence is a file
// of its own (".lcpl") or lies in the publication, an EPUB or LCP PDF package, as
// "META-INF/license.lcpl". Everything read is capped and a document that is not a licence gives
// an unparsed result.
#include "platform/utils/LCPDRMHelper.h"

#include <json/json.h>

#include <cctype>
#include <cstdio>
#include <ctime>
#include <memory>
#include <sstream>
#include <string>

#include "CoverLimits.h"
#include "ZipReader.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

namespace marrowleaf::utilities {
namespace {

constexpr const char* kLicenceEntry = "META-INF/license.lcpl";
constexpr int kMaxJsonDepth = 16;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Extension(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return "";
  return Lower(path.substr(dot + 1));
}

// "2026-05-01T10:00:00Z" (seconds and zone as ISO 8601 allows them: fractions and an offset) in
// seconds since the epoch; 0 when it is no such date.
int64_t ParseIsoTime(const std::string& text) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  char separator = 0;
  int consumed = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%n", &year, &month, &day, &separator,
                  &hour, &minute, &second, &consumed) != 7 ||
      (separator != 'T' && separator != 't' && separator != ' '))
    return 0;
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
    return 0;
  size_t at = static_cast<size_t>(consumed);
  if (at < text.size() && text[at] == '.') {
    ++at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
  }
  int64_t offset = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    int zone_hour = 0, zone_minute = 0;
    if (std::sscanf(text.c_str() + at + 1, "%2d:%2d", &zone_hour, &zone_minute) != 2)
      return 0;
    offset = (text[at] == '+' ? 1 : -1) * (zone_hour * 3600 + zone_minute * 60);
  }
  std::tm parts{};
  parts.tm_year = year - 1900;
  parts.tm_mon = month - 1;
  parts.tm_mday = day;
  parts.tm_hour = hour;
  parts.tm_min = minute;
  parts.tm_sec = second;
  const int64_t utc = static_cast<int64_t>(timegm(&parts));
  return utc > 0 ? utc - offset : 0;
}

LCPData Parse(const std::string& document) {
  LCPData data;
  Json::CharReaderBuilder builder;
  builder["stackLimit"] = kMaxJsonDepth;
  builder["collectComments"] = false;
  Json::Value root;
  std::string errors;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  try {
    if (!reader->parse(document.data(), document.data() + document.size(), &root, &errors))
      return data;
  } catch (const Json::Exception& exception) {
    // The reader gives up on nesting deeper than the limit by throwing.
    MW_LOG(MW_LOG_WARNING, "licence not read: %s", exception.what());
    return data;
  }
  if (!root.isObject() || !root["id"].isString())
    return data;
  data.parsed_ = true;
  const Json::Value& links = root["links"];
  if (links.isArray()) {
    for (const Json::Value& link : links) {
      if (!link.isObject() || !link["rel"].isString())
        continue;
      const std::string rel = link["rel"].asString();
      data.license_.has_status_ = data.license_.has_status_ || rel == "status";
      data.license_.has_renew_ = data.license_.has_renew_ || rel == "renew";
    }
  }
  const Json::Value& rights = root["rights"];
  if (rights.isObject() && rights["end"].isString())
    data.license_.end_ = ParseIsoTime(rights["end"].asString());
  return data;
}

class HostLCPDRMHelper : public LCPDRMHelper {
 public:
  LCPData readLicense(const std::string& path) override {
    std::string document;
    if (Extension(path) == "lcpl") {
      bool truncated = false;
      if (!ReadFileCapped(path, kMaxLicenseBytes, &document, &truncated) || truncated)
        return LCPData();
      return Parse(document);
    }
    std::unique_ptr<platform::ZipReader> zip = platform::ZipReader::OpenFile(HostPath(path));
    if (!zip || !zip->Read(kLicenceEntry, kMaxLicenseBytes, platform::CoverDeadline(), &document))
      return LCPData();
    return Parse(document);
  }
};

}  // namespace

std::unique_ptr<LCPDRMHelper> createLCPDRMHelper() {
  return std::make_unique<HostLCPDRMHelper>();
}

}  // namespace marrowleaf::utilities

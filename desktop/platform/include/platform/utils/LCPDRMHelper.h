#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace marrowleaf::utilities {

// The licence an LCP-protected book carries: what the home screen's book menu needs to know of it.
class LCPLicenseData {
 public:
  // The licence names a status document, through which a loan is returned or renewed.
  bool hasStatus() const { return has_status_; }
  // The rights end at a date: the book is lent.
  bool isLoaned() const { return end_ > 0; }
  // The loan may be renewed: it is lent, the end has not passed and the licence offers renewal.
  bool canRenew(int64_t now) const { return isLoaned() && has_renew_ && end_ > now; }
  // The end of the rights, seconds since the epoch; 0 when they don't end.
  int64_t end() const { return end_; }

  bool has_status_ = false;
  bool has_renew_ = false;
  int64_t end_ = 0;
};

// The result of reading a licence: parsed or not, and the licence.
class LCPData {
 public:
  bool isParsed() const { return parsed_; }
  const LCPLicenseData& license() const { return license_; }

  bool parsed_ = false;
  LCPLicenseData license_;
};

// Reads the LCP licences of books: the licence file itself (".lcpl") or the one inside a protected
// publication ("META-INF/license.lcpl" of an EPUB or an LCP PDF package). A missing, oversized,
// damaged or foreign file gives an unparsed result. Event-loop thread.
class LCPDRMHelper {
 public:
  // The largest licence read; real ones are a few kilobytes.
  static constexpr size_t kMaxLicenseBytes = 64 * 1024;

  virtual ~LCPDRMHelper() = default;
  // `path` is a device path.
  virtual LCPData readLicense(const std::string& path) = 0;
};

std::unique_ptr<LCPDRMHelper> createLCPDRMHelper();

}  // namespace marrowleaf::utilities

// The LCP licences of books as the book menu reads them: a licence file, a licence inside an EPUB,
// and the files that carry none or a broken one.
#include "platform/utils/LCPDRMHelper.h"

#include <gtest/gtest.h>

#include <string>

#include "covers/CoverPictures.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::utilities {
namespace {

using tools::BookFiles;

// A licence as a lending library issues one: ends on 1 May 2031 at noon UTC.
const std::string kLoan =
    R"({"id":"a1","provider":"https://library.example",
        "links":[{"rel":"status","href":"https://library.example/s"},
                 {"rel":"hint","href":"https://library.example/h"}],
        "rights":{"print":10,"end":"2031-05-01T12:00:00Z"}})";

TEST(LCPDRMHelperTest, ReadsTheLoanOfALicenceFileAndOfALicenceInsideAPublication) {
  test::TempDeviceRoot root;
  root.Write("/mnt/ext1/Books/loan.lcpl", kLoan);
  const std::string renewable =
      R"({"id":"b2","links":[{"rel":"status","href":"s"},{"rel":"renew","href":"r"}],
          "rights":{"end":"2031-05-01T14:00:00+02:00"}})";
  root.Write("/mnt/ext1/Books/lent.epub",
             BookFiles::Zip({{"mimetype", "application/epub+zip"},
                             {"META-INF/license.lcpl", renewable}}));
  const std::string bought = R"({"id":"c3","links":[{"rel":"status","href":"s"}],"rights":{}})";
  root.Write("/mnt/ext1/Books/bought.lcpdf", BookFiles::Zip({{"META-INF/license.lcpl", bought}}));
  auto helper = createLCPDRMHelper();

  const LCPData loan = helper->readLicense("/mnt/ext1/Books/loan.lcpl");
  ASSERT_TRUE(loan.isParsed());
  EXPECT_TRUE(loan.license().hasStatus());
  EXPECT_TRUE(loan.license().isLoaned());
  EXPECT_EQ(loan.license().end(), 1935403200);
  EXPECT_FALSE(loan.license().canRenew(0)) << "the licence offers no renewal";

  const LCPData lent = helper->readLicense("/mnt/ext1/Books/lent.epub");
  ASSERT_TRUE(lent.isParsed());
  EXPECT_EQ(lent.license().end(), 1935403200) << "the zone offset is taken off";
  EXPECT_TRUE(lent.license().canRenew(1935403199));
  EXPECT_FALSE(lent.license().canRenew(1935403200)) << "an ended loan can't be renewed";

  const LCPData owned = helper->readLicense("/mnt/ext1/Books/bought.lcpdf");
  ASSERT_TRUE(owned.isParsed());
  EXPECT_FALSE(owned.license().isLoaned());
}

TEST(LCPDRMHelperTest, AMissingBrokenOrHugeLicenceIsNotParsed) {
  test::TempDeviceRoot root;
  root.Write("/mnt/ext1/Books/plain.epub", BookFiles::Zip({{"mimetype", "application/epub+zip"}}));
  root.Write("/mnt/ext1/Books/broken.lcpl", "{\"id\":\"x\",\"links\":[");
  root.Write("/mnt/ext1/Books/not-a-licence.lcpl", "[1,2,3]");
  root.Write("/mnt/ext1/Books/deep.lcpl", "{\"id\":\"x\",\"rights\":" + std::string(500, '[') +
                                              std::string(500, ']') + "}");
  root.Write("/mnt/ext1/Books/huge.lcpl",
             "{\"id\":\"x\",\"pad\":\"" + std::string(LCPDRMHelper::kMaxLicenseBytes, 'a') + "\"}");
  root.Write("/mnt/ext1/Books/bad-date.lcpl",
             R"({"id":"x","links":[{"rel":"status"}],"rights":{"end":"soon"}})");
  root.Write("/mnt/ext1/Books/not-a-zip.epub", "plain text");
  auto helper = createLCPDRMHelper();

  for (const char* path :
       {"/mnt/ext1/Books/missing.lcpl", "/mnt/ext1/Books/plain.epub", "/mnt/ext1/Books/broken.lcpl",
        "/mnt/ext1/Books/not-a-licence.lcpl", "/mnt/ext1/Books/deep.lcpl",
        "/mnt/ext1/Books/huge.lcpl", "/mnt/ext1/Books/not-a-zip.epub"}) {
    EXPECT_FALSE(helper->readLicense(path).isParsed()) << path;
  }
  const LCPData undated = helper->readLicense("/mnt/ext1/Books/bad-date.lcpl");
  EXPECT_TRUE(undated.isParsed());
  EXPECT_FALSE(undated.license().isLoaned()) << "a date that can't be read is no loan";
}

}  // namespace
}  // namespace marrowleaf::utilities

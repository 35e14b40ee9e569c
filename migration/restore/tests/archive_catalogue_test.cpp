#include "restore/archive_catalogue.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "platform/testing/test_machine.h"
#include "stored_zip.h"

namespace migration {
namespace {

std::uint32_t crcOf(const std::string& bytes) {
  return static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

class ArchiveCatalogueTest : public ::testing::Test {
 protected:
  platform::testing::TestMachine m_test;
  const std::string m_archive = scenario::StoredZip({{"Data/a.doc", "first"}, {"b.txt", ""}});
};

TEST_F(ArchiveCatalogueTest, ListsEachEntrysNameSizeAndCrc) {
  // A comment after the end record, as archives may carry.
  std::string commented = m_archive;
  commented[commented.size() - 2] = 3;
  m_test.writeFile("C:\\a.zip", commented + "abc");
  const auto catalogue = ReadArchiveCatalogue(m_test.files(), "C:\\a.zip");
  ASSERT_TRUE(catalogue) << catalogue.status();
  ASSERT_EQ(catalogue->size(), 2u);
  EXPECT_EQ((*catalogue)[0].name, "Data/a.doc");
  EXPECT_EQ((*catalogue)[0].size, 5u);
  EXPECT_EQ((*catalogue)[0].crc, crcOf("first"));
  EXPECT_EQ((*catalogue)[1].name, "b.txt");
  EXPECT_EQ((*catalogue)[1].size, 0u);

  m_test.writeFile("C:\\Data\\a.doc", "first");
  EXPECT_EQ(FileCrc32(m_test.files(), "C:\\Data\\a.doc").valueOr(0), crcOf("first"));
}

TEST_F(ArchiveCatalogueTest, DamagedArchivesAreRefusedAndNeverMisread) {
  std::string zip64 = m_archive;
  zip64[zip64.size() - 12] = zip64[zip64.size() - 11] = '\xff';  // 65,535 entries
  std::string truncated = m_archive.substr(0, m_archive.size() - 30);
  std::string shortDirectory = m_archive;
  shortDirectory[shortDirectory.size() - 10] = 10;  // the directory claims 10 bytes
  const struct {
    const char* what;
    std::string bytes;
    platform::Status status;
  } cases[] = {
      {"empty", "", platform::ERROR_BAD_FORMAT},
      {"no zip", std::string(100, 'x'), platform::ERROR_BAD_FORMAT},
      {"cut off", truncated, platform::ERROR_BAD_FORMAT},
      {"directory too short", shortDirectory, platform::ERROR_BAD_FORMAT},
      {"zip64", zip64, platform::ERROR_NOT_SUPPORTED},
  };
  for (const auto& c : cases) {
    m_test.writeFile("C:\\bad.zip", c.bytes);
    EXPECT_EQ(ReadArchiveCatalogue(m_test.files(), "C:\\bad.zip").status(), c.status) << c.what;
  }
  EXPECT_EQ(ReadArchiveCatalogue(m_test.files(), "C:\\none.zip").status(),
            platform::ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace migration

#include "sample_description.h"

#include <gtest/gtest.h>

namespace simwin {
namespace {

TEST(SampleDescription, ReadsDrivesTimesAndAttributes) {
  auto description = parseSampleDescription(R"(# a machine
default-time 2001-06-01 08:00:00
drive c hd drive_c label="MY DISK"   # a comment
drive D: cdrom drive_d missing
drive F: network unc/server/share
drive Z: hd /
time "C:\My Documents\a b.doc" 2001-03-14 09:30:00
attributes C:\boot.ini hidden system readonly
)");
  ASSERT_TRUE(description.ok()) << description.subject();
  ASSERT_EQ(description->drives.size(), 4u);
  EXPECT_EQ(description->drives[0].letter, 'C');
  EXPECT_EQ(description->drives[0].label, "MY DISK");
  EXPECT_TRUE(description->drives[1].missing);
  EXPECT_EQ(description->drives[2].target, "unc/server/share");
  EXPECT_EQ(description->defaultTime, parseSampleTime("2001-06-01", "08:00:00"));
  ASSERT_EQ(description->times.size(), 1u);
  EXPECT_EQ(description->times[0].path, "C:\\My Documents\\a b.doc");
  EXPECT_EQ(description->times[0].time, 126'290'358'000'000'000ULL);
  ASSERT_EQ(description->attributes.size(), 1u);
  EXPECT_EQ(description->attributes[0].attributes, platform::FILE_ATTRIBUTE_HIDDEN |
                                                       platform::FILE_ATTRIBUTE_SYSTEM |
                                                       platform::FILE_ATTRIBUTE_READONLY);
}

TEST(SampleDescription, ReadsSharesPrintersAndCatalogues) {
  auto description = parseSampleDescription(R"(share \\fileserver\scratch
printer "Front Desk" "HP LaserJet 5MP" port=LPT2: location="Room 12" share=FRONT comment="By the door"
printer Plain "Generic / Text Only"
printer-share \\PRNSRV\Laser1 "HP LaserJet 5Si" location="Floor 2" comment=Big
printer-connection \\PRNSRV\Laser1
driver-catalogue "C:\WINNT\inf\ntprint.inf" "HP LaserJet 5MP" "HP LaserJet 5Si"
)");
  ASSERT_TRUE(description.ok()) << description.subject();
  EXPECT_EQ(description->shares, (std::vector<std::string>{"\\\\fileserver\\scratch"}));
  ASSERT_EQ(description->printers.size(), 2u);
  const platform::PrinterDetails& front = description->printers[0];
  EXPECT_EQ(front.name + "|" + front.driver + "|" + front.port + "|" + front.location + "|" +
                front.shareName + "|" + front.description,
            "Front Desk|HP LaserJet 5MP|LPT2:|Room 12|FRONT|By the door");
  EXPECT_EQ(description->printers[1].port, "LPT1:");
  ASSERT_EQ(description->sharedPrinters.size(), 1u);
  EXPECT_EQ(description->sharedPrinters[0].name, "\\\\PRNSRV\\Laser1");
  EXPECT_EQ(description->sharedPrinters[0].location, "Floor 2");
  EXPECT_EQ(description->sharedPrinters[0].description, "Big");
  EXPECT_EQ(description->printerConnections, (std::vector<std::string>{"\\\\PRNSRV\\Laser1"}));
  ASSERT_EQ(description->catalogues.size(), 1u);
  EXPECT_EQ(description->catalogues[0].path, "C:\\WINNT\\inf\\ntprint.inf");
  EXPECT_EQ(description->catalogues[0].models,
            (std::vector<std::string>{"HP LaserJet 5MP", "HP LaserJet 5Si"}));
}

TEST(SampleDescription, NamesTheLineOfEveryMistake) {
  for (const char* text :
       {"drive C: disk drive_c", "drive 1: hd drive_c", "drive C: hd ../outside",
        "drive C: hd /etc", "drive C: hd drive_c\ndrive c hd drive_x", "drive Z: hd / label=HOST",
        "time C:\\x 2001-13-01 00:00:00", "time C:\\x yesterday", "attributes C:\\x archive",
        "colour blue", "share \\\\server", "printer OnlyAName", "printer P D colour=red",
        "printer-share server\\share D", "printer-connection \\\\a\\b\\c",
        "driver-catalogue C:\\x.inf"}) {
    auto description = parseSampleDescription(text);
    EXPECT_FALSE(description.ok()) << text;
    if (!description.ok()) {
      EXPECT_EQ(description.subject().rfind("line ", 0), 0u) << text;
    }
  }
}

}  // namespace
}  // namespace simwin

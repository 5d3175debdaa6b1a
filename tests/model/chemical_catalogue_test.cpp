#include "model/chemical_catalogue.h"

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace qelto::model {
namespace {

using test::readFile;
using test::testDir;
using test::writeFile;

// Without a file, or with a count that is not a number, every name is empty.
TEST(ChemicalCatalogue, WithoutAFileEveryNameIsEmpty) {
    ChemicalCatalogue catalogue(testDir() / "qelto.ini", "Chemical", "No Chemical");
    catalogue.LoadPumpDefaults(3);
    EXPECT_EQ(catalogue.pumpDefaults, (std::array<std::string, kPumps>{}));

    writeFile(testDir() / "qelto.ini",
              "[System Settings]\nNoOfChemicals=many\n[Chemical Names]\nChemical01=A\n");
    catalogue.LoadChemicalList();
    EXPECT_TRUE(catalogue.chemicals.empty());
}

TEST(ChemicalCatalogue, ResetTakesThePumpNamesOfTheUnitTypeSection) {
    writeFile(testDir() / "qelto.ini",
              "[l03]\nP01=Wrong\n[L04]\r\np01 = Alkali\nP02=S\xC3\xA4ure\nP10=Last\n");
    ChemicalCatalogue catalogue(testDir() / "qelto.ini", "Chemical", "No Chemical");
    CProgData c;
    c.ResetAll(catalogue);
    EXPECT_EQ(c.pumpName[0], "Alkali");
    EXPECT_EQ(c.pumpName[1], "S\xE4ure") << "UTF-8 in the file becomes Latin-1 in the record";
    EXPECT_EQ(c.pumpName[9], "Last");
}

TEST(ChemicalCatalogue, AShortenedListLeavesTheOldKeysEmpty) {
    const auto file = testDir() / "qelto.ini";
    ChemicalCatalogue catalogue(file, "Chemical", "No Chemical");
    catalogue.chemicals = {"A", "B", "C", "D", "E"};
    ASSERT_TRUE(catalogue.SaveChemicalList());
    catalogue.chemicals = {"X", "Y", "Z"};
    ASSERT_TRUE(catalogue.SaveChemicalList());

    const std::string text = readFile(file);
    EXPECT_NE(text.find("NoOfChemicals=3"), std::string::npos) << text;
    EXPECT_NE(text.find("Chemical05=\n"), std::string::npos) << text;

    ChemicalCatalogue reread(file, "Chemical", "No Chemical");
    reread.LoadChemicalList();
    EXPECT_EQ(reread.chemicals, (std::vector<std::string>{"X", "Y", "Z"}));
}

TEST(ChemicalCatalogue, PumpDefaultsAreSavedAndClearedPerType) {
    const auto file = testDir() / "qelto.ini";
    ChemicalCatalogue catalogue(file, "Chemical", "No Chemical");
    catalogue.pumpSelections[0] = "Alkali";
    catalogue.pumpSelections[1] =
        "Br\xFC"
        "cke";  // Latin-1 in the record
    ASSERT_TRUE(catalogue.SavePumpDefaults(0));
    ASSERT_TRUE(catalogue.clearPumpDefaults(9));

    EXPECT_EQ(catalogue.defaultPumpNames(0)[1],
              "Br\xFC"
              "cke");
    EXPECT_NE(readFile(file).find("P02=Br\xC3\xBC"
                                  "cke"),
              std::string::npos);
    EXPECT_EQ(catalogue.defaultPumpNames(9)[4], "No Chemical");
    EXPECT_EQ(pumpDefaultsSection(9), "L10");
}

}  // namespace
}  // namespace qelto::model

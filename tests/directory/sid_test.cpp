#include "directory/Sid.h"

#include <gtest/gtest.h>

using namespace arbrix;

namespace {

const QByteArray domaineHex = "010400000000000515000000a1b2c3d4a1b2c3d4a1b2c3d4";

} // namespace

TEST(Sid, TextAndBinaryFormsAndTheRidAppendedToTheDomain) {
    const QByteArray domaine = QByteArray::fromHex(domaineHex);
    EXPECT_EQ(SidDepuisTexte("S-1-5-21-3569595041-3569595041-3569595041"), domaine);
    const QByteArray groupe = SidAvecRid(domaine, 513);
    EXPECT_EQ(groupe.toHex(), domaineHex.mid(0, 2) + "05" + domaineHex.mid(4) + "01020000");
    EXPECT_EQ(SidDepuisTexte("S-1-5-21-3569595041-3569595041-3569595041-513"), groupe);
    EXPECT_EQ(RidDepuisSid(groupe), 513u);
    // A count of sub-authorities that the length belies is no SID.
    EXPECT_EQ(RidDepuisSid(groupe.left(groupe.size() - 1)), std::nullopt);
    EXPECT_TRUE(SidDepuisTexte("513").isEmpty());
    EXPECT_EQ(TexteSid(groupe), QStringLiteral("S-1-5-21-3569595041-3569595041-3569595041-513"));
    EXPECT_EQ(TexteSid(SidDepuisTexte("S-1-1-0")), QStringLiteral("S-1-1-0"));
    EXPECT_TRUE(TexteSid(groupe.left(groupe.size() - 1)).isEmpty());
}

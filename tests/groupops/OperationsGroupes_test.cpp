// The group operations on the embedded directory, and the name rules they apply.

#include "directory/conformance/MemoryTarget.h"
#include "groupops/NomGroupe.h"
#include "groupops/conformance/AjoutsConformance.h"
#include "groupops/conformance/OperationsConformance.h"

namespace arbrix::conformance {
INSTANTIATE_TEST_SUITE_P(Memory, OperationsConformance, ::testing::Values(&makeMemoryTarget));
INSTANTIATE_TEST_SUITE_P(Memory, AjoutsConformance, ::testing::Values(&makeMemoryTarget));
} // namespace arbrix::conformance

namespace {

using namespace arbrix;
using namespace Qt::StringLiterals;

TEST(NomGroupe, RefusEtValeurs) {
    EXPECT_EQ(RefusNomGroupe(QString()), u"MSG_ERREUR_NOM_GROUPE_VIDE_INTERDIT"_s);
    for (const QChar c : u"/\\[]:;|=,+*?<>\""_s)
        EXPECT_EQ(RefusNomGroupe(u"a"_s + c), u"MSG_ERREUR_CARACTERES_INTERDITS_NOM_GROUPE"_s)
            << int(c.unicode());
    EXPECT_FALSE(RefusNomGroupe(u"#O'Brien (é) & Ωμ"_s));
    EXPECT_EQ(ValeurGroupType(0, 7), ValeurGroupType(0, 2)) << "an unknown scope is universal";
}

} // namespace

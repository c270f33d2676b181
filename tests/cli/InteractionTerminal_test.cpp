#include "cli/InteractionTerminal.h"

#include <gtest/gtest.h>

using namespace arbrix;

namespace {

TEST(LigneCandidat, KeepsThreeTabSeparatedFieldsOnOneLine) {
    clsOccurrence o;
    o.Nom = QStringLiteral("Sales\t(EMEA)");
    o.TypeObjetEnTexte = QStringLiteral("O.U.");
    o.DistinguishedName = QStringLiteral("OU=Sales\n(EMEA),DC=x");
    EXPECT_EQ(LigneCandidat(o), QStringLiteral("Sales (EMEA)\tO.U.\tOU=Sales (EMEA),DC=x"));
}

} // namespace

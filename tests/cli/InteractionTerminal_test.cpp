#include "cli/InteractionTerminal.h"

#include <gtest/gtest.h>

using namespace arbrix;

namespace {

TEST(TexteTerminal, EndsWithOneLineFeedAndHasNoCarriageReturn) {
    EXPECT_EQ(TexteTerminal(QStringLiteral("a\r\n\r\nb\rc\r\n")), QStringLiteral("a\n\nb\nc\n"));
    EXPECT_EQ(TexteTerminal(QStringLiteral("a")), QStringLiteral("a\n"));
    EXPECT_EQ(TexteTerminal(QString()), QStringLiteral("\n"));
}

TEST(LigneCandidat, KeepsThreeTabSeparatedFieldsOnOneLine) {
    clsOccurrence o;
    o.Nom = QStringLiteral("Sales\t(EMEA)");
    o.TypeObjetEnTexte = QStringLiteral("O.U.");
    o.DistinguishedName = QStringLiteral("OU=Sales\n(EMEA),DC=x");
    EXPECT_EQ(LigneCandidat(o), QStringLiteral("Sales (EMEA)\tO.U.\tOU=Sales (EMEA),DC=x"));
}

} // namespace

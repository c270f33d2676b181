#include "export/ReglesExport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace arbrix;

// Column mode needs the structure and proposes ";"; a separator left at the layout's usual value
// follows the layout; other separators are the user's.
TEST(ReglesExport, TheOptionsFollowEachOther) {
    ReglesExport r{OptionsExport{}};
    const struct {
        const char* quoi;
        std::function<void()> action;
        QString separateur;
        bool colonnes, colonnesActives, indentationActive;
    } etapes[] = {
        {"column mode proposes ;", [&] { r.CocheModeColonne(true); }, ";", true, true, false},
        {"the whole subtree keeps ; in column mode", [&] { r.ChoisitEtendue(1), r.ChoisitEtendue(0); }, ";",
         true, true, false},
        {"no structure, no column mode nor its ;", [&] { r.CocheStructure(false); }, "\\r\\n", false, false,
         false},
        {"a ; typed for a flat list stays", [&] { r.ChangeSeparateur(";"); }, ";", false, false, false},
        {"structure gives line breaks back", [&] { r.CocheStructure(true); }, "\\r\\n", false, true, true},
        {"the whole subtree gives line breaks back to a typed ;",
         [&] { r.ChangeSeparateur(";"), r.ChoisitEtendue(2), r.ChoisitEtendue(0); }, "\\r\\n", false, true,
         true},
        {"other separators are the user's", [&] { r.ChangeSeparateur(" | "), r.CocheModeColonne(true); },
         " | ", true, true, false},
    };
    for (const auto& e : etapes) {
        e.action();
        EXPECT_EQ(r.Options().Separateur, e.separateur) << e.quoi;
        EXPECT_EQ(r.Options().ModeColonne, e.colonnes) << e.quoi;
        EXPECT_EQ(r.ModeColonneActif(), e.colonnesActives) << e.quoi;
        EXPECT_EQ(r.IndentationActive(), e.indentationActive) << e.quoi;
    }
}

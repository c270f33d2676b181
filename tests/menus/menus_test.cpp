#include "i18n/Traductions.h"
#include "menus/Copie.h"
#include "menus/MenusNoeuds.h"

#include <gtest/gtest.h>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

QList<int> identifiants(const clsPopupMenu& menu) {
    QList<int> ids;
    for (const ElementMenu& e : menu.Elements())
        ids << (e.EstSeparateur() ? -1 : e.identifiant);
    return ids;
}

bool actif(const clsPopupMenu& menu, int id) {
    const ElementMenu* e = menu.Element(id);
    EXPECT_NE(e, nullptr) << "item " << id;
    return e && e->EstActif();
}

// Every operation built in.
ContexteNoeud noeud(QString tag, QString tagParent, bool racine = false) {
    return {std::move(tag),
            std::move(tagParent),
            racine,
            false,
            {true, true, true, true, true, true, true, true}};
}

const QString nbsp(QChar(0x00A0));

} // namespace

// The top node opens its parent O.U. (42, 43), any other node the tree from this point (40, 41).
TEST(MenusNoeuds, OrderOfEachMenuWithOpeningItemsDependingOnTheTopNode) {
    // -1 stands for a separator.
    EXPECT_EQ(identifiants(MenuOU(noeud(u"OOU=Sales,DC=x"_s, {}, true))),
              (QList<int>{1, -1, 42, 43, -1, 21, 23, 26, -1, 30, -1, 0}));
    EXPECT_EQ(identifiants(MenuGroupe(noeud(u"GCN=G1,OU=Sales"_s, u"OOU=Sales"_s))),
              (QList<int>{10, -1, 4, 5, -1, 1, 3, 2, -1, 40, 41, 6, -1, 21, 23, 26, -1, 30, -1, 0}));
    EXPECT_EQ(identifiants(MenuCompte(noeud(u"UCN=Jean"_s, u"GCN=G1"_s))),
              (QList<int>{11, 12, 13, -1, 20, 21, 22, 23, -1, 30, -1, 0}));
    EXPECT_EQ(identifiants(MenuGerePar(true)), (QList<int>{12, -1, 20, 21, 22, 23, -1, 0}));
}

TEST(MenusNoeuds, RemoveItemsDependOnTheParentNode) {
    EXPECT_TRUE(actif(MenuGroupe(noeud(u"GCN=A"_s, u"GCN=B"_s)), IdMenu::RetirerGroupe));
    EXPECT_FALSE(actif(MenuGroupe(noeud(u"GCN=A"_s, u"OOU=B"_s)), IdMenu::RetirerGroupe));
    EXPECT_FALSE(actif(MenuGroupe(noeud(u"GCN=A"_s, {}, true)), IdMenu::RetirerGroupe));
    EXPECT_TRUE(actif(MenuCompte(noeud(u"UCN=A"_s, u"GCN=B"_s)), IdMenu::RetirerCompte));
    EXPECT_FALSE(actif(MenuCompte(noeud(u"CCN=A"_s, u"OOU=B"_s)), IdMenu::RetirerCompte));
}

TEST(MenusNoeuds, AccountToolNetSendAndMissingOperationsAreGreyed) {
    ContexteNoeud utilisateur = noeud(u"UCN=A"_s, u"GCN=B"_s);
    EXPECT_FALSE(actif(MenuCompte(utilisateur), IdMenu::InfosCompte));
    utilisateur.outilCompteDisponible = true;
    EXPECT_TRUE(actif(MenuCompte(utilisateur), IdMenu::InfosCompte));
    EXPECT_TRUE(actif(MenuCompte(utilisateur), IdMenu::MessageNetSend));
    for (const QString& sansBoite : {u"SCN=svc$"_s, u"CCN=PC01$"_s})
        EXPECT_FALSE(actif(MenuCompte(noeud(sansBoite, u"GCN=B"_s)), IdMenu::MessageNetSend))
            << qPrintable(sansBoite);
    EXPECT_FALSE(actif(MenuGerePar(false), IdMenu::InfosCompte));
    EXPECT_TRUE(actif(MenuGerePar(true), IdMenu::InfosCompte));

    // An operation not built in yet: its items are shown greyed, the others stay active.
    ContexteNoeud groupe = noeud(u"GCN=A"_s, u"GCN=B"_s);
    groupe.operations = {};
    const clsPopupMenu menu = MenuGroupe(groupe);
    for (int id : {10, 4, 5, 1, 3, 2, 26, 30})
        EXPECT_FALSE(actif(menu, id)) << id;
    for (int id : {40, 41, 6, 21, 23, 0})
        EXPECT_TRUE(actif(menu, id)) << id;
}

// The shortcuts after a tab are the tree's (read in the window test): the managed-by label's
// menu shows none.
// Alt+letter picks one item: no two items of a menu share their letter, in either language.
TEST(MenusNoeuds, EachMenuHasDistinctAcceleratorsInBothLanguages) {
    for (const QString& langue : {QString(), QStringLiteral(ARBRIX_SOURCE_DATA_DIR "/English.lng")}) {
        ChargeTraductions(langue);
        for (const bool racine : {true, false}) {
            const QString parent = racine ? QString() : u"OOU=Top,DC=x"_s;
            for (const clsPopupMenu& menu : {MenuOU(noeud(u"OOU=Sales,DC=x"_s, parent, racine)),
                                             MenuGroupe(noeud(u"GCN=G,DC=x"_s, parent, racine)),
                                             MenuCompte(noeud(u"UCN=U,DC=x"_s, u"GCN=G,DC=x"_s))}) {
                QString lettres;
                for (const ElementMenu& e : menu.Elements()) {
                    const qsizetype i = QString(e.libelle).replace(u"&&"_s, u"__"_s).indexOf(u'&');
                    if (i < 0 || i + 1 >= e.libelle.size())
                        continue;
                    const QChar lettre = e.libelle.at(i + 1).toLower();
                    EXPECT_FALSE(lettres.contains(lettre)) << qPrintable(langue + u' ' + e.libelle);
                    lettres += lettre;
                }
            }
        }
    }
    ChargeTraductions(QString());
}

TEST(MenusNoeuds, ManagedByMenuHasNoShortcutTexts) {
    const clsPopupMenu gerePar = MenuGerePar(true);
    for (const ElementMenu& e : gerePar.Elements())
        EXPECT_FALSE(e.libelle.contains(u'\t')) << e.libelle.toStdString();
}

TEST(MenusNoeuds, MenuChoiceByTypeLetterAndForeignIdentifiersDropped) {
    EXPECT_TRUE(MenuDuNoeud(noeud(u"OOU=A"_s, {})).has_value());
    EXPECT_TRUE(MenuDuNoeud(noeud(u"SCN=A"_s, {})).has_value());
    // Members that are no accounts: taken out of their group, never given account items.
    const std::optional<clsPopupMenu> contact = MenuDuNoeud(noeud(u"KCN=contact"_s, u"GCN=G"_s));
    ASSERT_TRUE(contact.has_value());
    EXPECT_TRUE(contact->Element(IdMenu::RetirerCompte)->EstActif());
    EXPECT_EQ(contact->Element(IdMenu::InfosCompte), nullptr);
    EXPECT_FALSE(MenuDuNoeud(noeud(u"?CN=x"_s, u"OOU=A"_s))->Element(IdMenu::RetirerCompte)->EstActif());
    EXPECT_EQ(IdentifiantRetenu(u'F', 11), 11);
    EXPECT_FALSE(MenuDuNoeud(noeud(u"XCN=A"_s, {})).has_value());
    EXPECT_FALSE(MenuDuNoeud(noeud({}, {})).has_value());
    EXPECT_EQ(IdentifiantRetenu(u'G', 43), 43);
    EXPECT_EQ(IdentifiantRetenu(u'G', 44), 0);
    EXPECT_EQ(IdentifiantRetenu(u'U', 10), 0);
    EXPECT_EQ(IdentifiantRetenu(u'U', 30), 30);
    EXPECT_EQ(IdentifiantRetenuGerePar(26), 0);
    EXPECT_EQ(IdentifiantRetenuGerePar(12), 12);
}

TEST(Copie, NodeCopyTexts) {
    const NoeudCopie groupe{u"Sales"_s + nbsp + u"(12)"_s, u"\\\\Root\\Sales"_s, u"GCN=Sales,OU=X"_s};
    EXPECT_EQ(TexteCopieDuNoeud(IdMenu::CopierNom, groupe), u"Sales"_s);
    // A group's name is never cut at a parenthesis, nor an account's display name.
    const NoeudCopie ventes{u"Ventes (EMEA)"_s + nbsp + u"(3)"_s, u"\\\\Root\\Ventes"_s,
                            u"GCN=Ventes,OU=X"_s};
    EXPECT_EQ(TexteCopieDuNoeud(IdMenu::CopierNom, ventes), u"Ventes (EMEA)"_s);
    EXPECT_EQ(NomSansCompte(u"Jean-Luc Mercier (Intérim) (jlmercier)"_s), u"Jean-Luc Mercier (Intérim)"_s);

    const QString libelle = u"Dupont, Jean (jdupont)"_s + nbsp + u"-> expiré depuis le 01/01/2020"_s;
    const NoeudCopie compte{libelle, u"\\\\Root\\G1\\JDupont"_s, u"UCN=Dupont\\, Jean,OU=X"_s};
    EXPECT_EQ(TexteCopieDuNoeud(IdMenu::CopierNomCompte, compte), u"Dupont, Jean (jdupont)"_s);
    EXPECT_EQ(TexteCopieDuNoeud(IdMenu::CopierNom, compte), u"Dupont, Jean"_s);
    EXPECT_EQ(TexteCopieDuNoeud(IdMenu::CopierCompte, compte), u"JDupont"_s);
    EXPECT_EQ(TexteCopieDuNoeud(IdMenu::CopierDistinguishedName, compte), u"CN=Dupont\\, Jean,OU=X"_s);
    EXPECT_FALSE(TexteCopieDuNoeud(IdMenu::Exporter, compte).has_value());
    // A computer without display name: the label starts with " (".
    EXPECT_EQ(NomSansCompte(u" (pc01$)"_s), QString());
}

TEST(PopupMenu, PresenterContractDefaultItemAndMissingWindow) {
    clsPopupMenu menu;
    menu.AddItem(1, u"&Restaurer"_s, DrapeauMenu::ParDefaut);
    menu.AddItem(0, u"-"_s);
    EXPECT_TRUE(menu.Elements()[1].EstSeparateur());

    clsPopupMenu::DefinitAfficheur({});
    EXPECT_THROW(menu.TrackPopup(), ErreurMenu);
    int xVu = 0;
    clsPopupMenu::DefinitAfficheur([&](const clsPopupMenu& m, int x, int) {
        xVu = x;
        return m.IdentifiantParDefaut();
    });
    EXPECT_EQ(menu.TrackPopup(), 1);
    EXPECT_EQ(xVu, -1);
    clsPopupMenu::DefinitAfficheur({});
}

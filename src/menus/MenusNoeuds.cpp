#include "menus/MenusNoeuds.h"

#include "i18n/Traductions.h"
#include "tree/ClesImages.h"

namespace arbrix {

namespace {

int grise(bool condition) {
    return condition ? DrapeauMenu::Grise : 0;
}

QString avecRaccourci(QStringView cle, const QString& raccourci) {
    return Traduction(cle) + u'\t' + raccourci;
}

void separateur(clsPopupMenu& menu) {
    menu.AddItem(0, QStringLiteral("-"));
}

bool parentEstUnGroupe(const ContexteNoeud& noeud) {
    return noeud.tagParent.startsWith(u'G');
}

// Items 42/43 on the top node, 40/41 elsewhere.
void ajouteOuvertures(clsPopupMenu& menu, const ContexteNoeud& noeud) {
    if (noeud.estRacine) {
        menu.AddItem(IdMenu::OuvrirOUParente, Traduction(u"TXT_POPUP_OUVRIR_OU_PARENT"));
        menu.AddItem(IdMenu::OuvrirOUParenteNouvelleInstance,
                     Traduction(u"TXT_POPUP_OUVRIR_OU_PARENT_NOUVELLE_INSTANCE"));
    } else {
        menu.AddItem(IdMenu::OuvrirAPartirDeCePoint, Traduction(u"TXT_POPUP_OUVRIR_A_PARTIR_DE_CE_POINT"));
        menu.AddItem(IdMenu::OuvrirAPartirDeCePointNouvelleInstance,
                     Traduction(u"TXT_POPUP_OUVRIR_A_PARTIR_DE_CE_POINT_NOUVELLE_INSTANCE"));
    }
}

void ajouteCopiesEtExport(clsPopupMenu& menu, const ContexteNoeud& noeud) {
    menu.AddItem(IdMenu::CopierNom, avecRaccourci(u"TXT_POPUP_COPIER_NOM", QStringLiteral("Ctrl+C")));
    menu.AddItem(IdMenu::CopierDistinguishedName, Traduction(u"TXT_POPUP_COPIER_DISTINGUISHEDNAME"));
    menu.AddItem(IdMenu::Exporter, Traduction(u"TXT_POPUP_EXPORTER"), grise(!noeud.operations.exporter));
}

void ajouteFin(clsPopupMenu& menu) {
    separateur(menu);
    menu.AddItem(IdMenu::Annuler, Traduction(u"TXT_ANNULER"));
}

} // namespace

OperationsDisponibles& Operations() {
    static OperationsDisponibles operations;
    return operations;
}

clsPopupMenu MenuOU(const ContexteNoeud& noeud) {
    const OperationsDisponibles& op = noeud.operations;
    clsPopupMenu menu;
    menu.AddItem(IdMenu::CreerGroupe, Traduction(u"TXT_POPUP_CREER_GROUPE"), grise(!op.creerGroupe));
    separateur(menu);
    ajouteOuvertures(menu, noeud);
    separateur(menu);
    ajouteCopiesEtExport(menu, noeud);
    separateur(menu);
    menu.AddItem(IdMenu::MessageNetSend, Traduction(u"TXT_POPUP_MESSAGE_NETSEND"), grise(!op.netSend));
    ajouteFin(menu);
    return menu;
}

clsPopupMenu MenuGroupe(const ContexteNoeud& noeud) {
    const OperationsDisponibles& op = noeud.operations;
    clsPopupMenu menu;
    menu.AddItem(IdMenu::AjouterComptes, Traduction(u"TXT_POPUP_AJOUTER_COMPTES"), grise(!op.ajouterComptes));
    separateur(menu);
    menu.AddItem(IdMenu::AjouterGroupes, Traduction(u"TXT_POPUP_AJOUTER_GROUPES"), grise(!op.ajouterGroupes));
    menu.AddItem(IdMenu::RetirerGroupe, Traduction(u"TXT_POPUP_RETIRER_GROUPE"),
                 grise(!op.retirerMembre || noeud.estRacine || !parentEstUnGroupe(noeud)));
    separateur(menu);
    menu.AddItem(IdMenu::CreerGroupe, Traduction(u"TXT_POPUP_CREER_GROUPE"), grise(!op.creerGroupe));
    menu.AddItem(IdMenu::RenommerGroupe, Traduction(u"TXT_POPUP_RENOMMER_GROUPE"), grise(!op.renommerGroupe));
    menu.AddItem(IdMenu::SupprimerGroupe, Traduction(u"TXT_POPUP_SUPPRIMER_GROUPE"),
                 grise(!op.supprimerGroupe));
    separateur(menu);
    ajouteOuvertures(menu, noeud);
    menu.AddItem(IdMenu::GroupeMembreDe, Traduction(u"TXT_POPUP_GROUPE_MEMBRE_DE"));
    separateur(menu);
    ajouteCopiesEtExport(menu, noeud);
    separateur(menu);
    menu.AddItem(IdMenu::MessageNetSend, Traduction(u"TXT_POPUP_MESSAGE_NETSEND_MEMBRES"),
                 grise(!op.netSend));
    ajouteFin(menu);
    return menu;
}

clsPopupMenu MenuCompte(const ContexteNoeud& noeud) {
    const OperationsDisponibles& op = noeud.operations;
    clsPopupMenu menu;
    menu.AddItem(IdMenu::RetirerCompte, Traduction(u"TXT_POPUP_RETIRER_COMPTE"),
                 grise(!op.retirerMembre || !parentEstUnGroupe(noeud)));
    menu.AddItem(IdMenu::InfosCompte, Traduction(u"TXT_POPUP_INFOS_COMPTE"),
                 grise(!noeud.outilCompteDisponible));
    menu.AddItem(IdMenu::CompteMembreDe, Traduction(u"TXT_POPUP_COMPTE_MEMBRE_DE"));
    separateur(menu);
    menu.AddItem(IdMenu::CopierNomCompte,
                 avecRaccourci(u"TXT_POPUP_COPIER_NOM_COMPTE", QStringLiteral("Ctrl+C")));
    menu.AddItem(IdMenu::CopierNom, avecRaccourci(u"TXT_POPUP_COPIER_NOM", QStringLiteral("Ctrl+Shift+C")));
    menu.AddItem(IdMenu::CopierCompte, Traduction(u"TXT_POPUP_COPIER_COMPTE"));
    menu.AddItem(IdMenu::CopierDistinguishedName, Traduction(u"TXT_POPUP_COPIER_DISTINGUISHEDNAME"));
    separateur(menu);
    // Messages go by mail: computers and managed service accounts have no mailbox.
    menu.AddItem(IdMenu::MessageNetSend, Traduction(u"TXT_POPUP_MESSAGE_NETSEND"),
                 grise(!op.netSend || !noeud.tag.startsWith(u'U')));
    ajouteFin(menu);
    return menu;
}

clsPopupMenu MenuAutreMembre(const ContexteNoeud& noeud) {
    const OperationsDisponibles& op = noeud.operations;
    clsPopupMenu menu;
    menu.AddItem(IdMenu::RetirerCompte, Traduction(u"TXT_POPUP_RETIRER_MEMBRE"),
                 grise(!op.retirerMembre || !parentEstUnGroupe(noeud)));
    menu.AddItem(IdMenu::CompteMembreDe, Traduction(u"TXT_POPUP_MEMBRE_MEMBRE_DE"));
    separateur(menu);
    menu.AddItem(IdMenu::CopierNom, avecRaccourci(u"TXT_POPUP_COPIER_NOM", QStringLiteral("Ctrl+C")));
    menu.AddItem(IdMenu::CopierDistinguishedName, Traduction(u"TXT_POPUP_COPIER_DISTINGUISHEDNAME"));
    ajouteFin(menu);
    return menu;
}

clsPopupMenu MenuGerePar(bool outilCompteDisponible) {
    clsPopupMenu menu;
    menu.AddItem(IdMenu::InfosCompte, Traduction(u"TXT_POPUP_INFOS_COMPTE"), grise(!outilCompteDisponible));
    separateur(menu);
    menu.AddItem(IdMenu::CopierNomCompte, Traduction(u"TXT_POPUP_COPIER_NOM_COMPTE"));
    menu.AddItem(IdMenu::CopierNom, Traduction(u"TXT_POPUP_COPIER_NOM"));
    menu.AddItem(IdMenu::CopierCompte, Traduction(u"TXT_POPUP_COPIER_COMPTE"));
    menu.AddItem(IdMenu::CopierDistinguishedName, Traduction(u"TXT_POPUP_COPIER_DISTINGUISHEDNAME"));
    ajouteFin(menu);
    return menu;
}

std::optional<clsPopupMenu> MenuDuNoeud(const ContexteNoeud& noeud) {
    const QChar lettre = noeud.tag.isEmpty() ? QChar() : noeud.tag.at(0);
    if (lettre == u'O')
        return MenuOU(noeud);
    if (lettre == u'G')
        return MenuGroupe(noeud);
    if (lettre == u'U' || lettre == u'C' || lettre == u'S')
        return MenuCompte(noeud);
    if (!lettre.isNull() && EstAutreMembre(lettre))
        return MenuAutreMembre(noeud);
    return std::nullopt;
}

int IdentifiantRetenu(QChar lettreType, int identifiant) {
    const bool compte =
        lettreType == u'U' || lettreType == u'C' || lettreType == u'S' || EstAutreMembre(lettreType);
    const int premier = compte ? 11 : 1;
    const int dernier = compte ? 30 : 43;
    return identifiant >= premier && identifiant <= dernier ? identifiant : 0;
}

int IdentifiantRetenuGerePar(int identifiant) {
    return identifiant >= 12 && identifiant <= 23 ? identifiant : 0;
}

} // namespace arbrix

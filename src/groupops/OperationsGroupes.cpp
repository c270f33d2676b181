// What the group operations of the window share: the changes the directory accepted applied to
// every instance of a node in the tree.

#include "groupops/OperationsGroupes.h"

#include "directory/Classification.h"
#include "directory/Dn.h"
#include "i18n/Traductions.h"
#include "settings/Parametres.h"
#include "text/Texte.h"
#include "tree/Analyse.h"
#include "tree/Arbre.h"
#include "tree/ClesImages.h"
#include "tree/Interaction.h"

namespace arbrix {

OperationsGroupes::OperationsGroupes(Arbre& arbre, SessionAD& session, Parametres& parametres,
                                     Interaction& interaction, Analyse& analyse)
    : m_arbre(arbre)
    , m_session(session)
    , m_parametres(parametres)
    , m_interaction(interaction)
    , m_analyse(analyse)
    , m_annuaire(session, interaction) {
    m_annuaire.setJournal([this](const Changement& changement) {
        if (m_journal)
            m_journal(changement);
        if (m_applique)
            m_applique(changement);
    });
}

IssueOperation OperationsGroupes::execute(const std::function<void(const Changement&)>& applique,
                                          const std::function<ResultatAnnuaire()>& operation) {
    m_applique = applique;
    const ResultatAnnuaire resultat = operation();
    m_applique = nullptr;
    return resultat.issue;
}

void OperationsGroupes::selectionneApresRetrait(Noeud* noeud) {
    Noeud* suivant = noeud->NextSibling();
    if (!suivant)
        suivant = noeud->PreviousSibling();
    if (!suivant)
        suivant = noeud->Parent();
    m_arbre.Selectionne(suivant);
}

void OperationsGroupes::retireInstances(const QString& tag, const QString& tagParent, bool compte) {
    QStringList cles;
    for (const Noeud* n : m_arbre.Instances(tag)) {
        if (tagParent.isEmpty() || (n->Parent() && n->Parent()->Tag() == tagParent))
            cles.append(n->Key());
    }
    for (const QString& cle : std::as_const(cles)) {
        Noeud* n = m_arbre.Node(cle);
        if (!n) // inside an instance already removed
            continue;
        const qint32 nombre = compte ? 1 : NombreDuLibelle(n->Text());
        Noeud* parent = n->Parent();
        m_arbre.Supprime(n);
        if (parent)
            m_arbre.AjusteNombreMembres(parent, -nombre);
    }
}

bool OperationsGroupes::reapparaitAuNiveauOU(const QString& dn, QStringList memberOf,
                                             const QString& dnQuitte) const {
    // The analysis shows a group under its O.U. unless it belongs to another group of that O.U.;
    // with every group shown there already, nothing is to add.
    if (m_parametres.RepresenterGroupesRacineOU)
        return false;
    memberOf.removeIf([&](const QString& p) { return DnEgaux(p, dnQuitte); });
    return !MembreDUnGroupeDeSonOU(dn, memberOf);
}

void OperationsGroupes::retablitAuNiveauOU(const QString& nom, const QString& tag, const QString& image,
                                           bool nouveau) {
    for (Noeud* ou : m_arbre.Instances(TagConteneur(tag))) {
        if (EnfantDeTag(ou, tag))
            continue;
        Noeud* n = m_arbre.Ajoute(ou, m_arbre.CleLibre(ou, nom),
                                  nouveau ? m_arbre.FormateLibelle(nom, 0) : nom, tag, image, true);
        const qint32 nombre = nouveau ? 0 : m_analyse.AnalyseMembresGroupe({}, n, 0);
        if (nombre > 0)
            m_arbre.AjusteNombreMembres(ou, nombre);
        else if (nombre < 0)
            m_interaction.Message(FormateMessage(Traduction(u"MSG_ERREUR"), {-qint64(nombre), QString()}),
                                  IconeMessage::Exclamation);
    }
}

void OperationsGroupes::ajouteSousInstances(const QString& tagParent, const QString& cleSelection,
                                            const QString& nom, const QString& tag, const QString& image) {
    for (Noeud* parent : m_arbre.Instances(tagParent)) {
        if (EnfantDeTag(parent, tag))
            continue;
        Noeud* n = m_arbre.Ajoute(parent, m_arbre.CleLibre(parent, nom), m_arbre.FormateLibelle(nom, 0), tag,
                                  image, true);
        if (parent->Key() == cleSelection)
            m_arbre.RendVisibleEtSelectionne(n);
    }
}

void OperationsGroupes::renommeInstances(const QString& ancienTag, const QString& nouveauTag,
                                         const QString& nom) {
    for (Noeud* n : m_arbre.Instances(ancienTag)) {
        m_arbre.ChangeTag(n, nouveauTag);
        m_arbre.ChangeTexte(n, m_arbre.FormateLibelle(nom, NombreDuLibelle(n->Text())));
        m_arbre.ChangeCle(n, m_arbre.CleLibre(n->Parent(), nom));
    }
}

} // namespace arbrix

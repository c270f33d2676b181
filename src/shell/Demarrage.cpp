#include "shell/Demarrage.h"

#include "directory/DirectoryError.h"
#include "i18n/Langue.h"
#include "i18n/Traductions.h"
#include "settings/Cles.h"
#include "settings/Ini.h"
#include "settings/Valeurs.h"
#include "shell/Commandes.h"
#include "text/Texte.h"
#include "tree/Interaction.h"

namespace arbrix {

namespace {

// The language of this run: the setting, or on a first run the one matching the system. The
// choice is not written here: only an accepted configuration dialog writes it.
QString LangueDuDemarrage(const QString& cheminIni, const EnvironnementDemarrage& environnement,
                          Interaction& interaction) {
    const QString langue = LitIni(cheminIni, SectionConfig, CleConfig::Langue, {});
    if (!langue.isEmpty())
        return langue;
    const ChoixLangue choix = ChoisitLangueInitiale(environnement.codeLangue, environnement.dossierLangues);
    if (choix.afficherMessage)
        interaction.Message(MessageAucuneTraduction(), IconeMessage::Information);
    return choix.langue;
}

void LancePremiereAnalyse(const PointDeDepart& depart, const EtapesDemarrage& etapes,
                          const EtatProgramme& etat) {
    if (depart.analyser && etapes.lanceAnalyse)
        etapes.lanceAnalyse(etat.Config.AnalyseParDefaut, depart);
}

bool DemarreSansPiege(const QStringList& arguments, Interaction& interaction, const EtapesDemarrage& etapes,
                      const EnvironnementDemarrage& environnement, EtatProgramme& etat) {
    interaction.TraiteEvenements();
    etat.Emplacement = CalculeEmplacementParametres(
        environnement.dossierProgramme, environnement.dossierConfiguration, environnement.prefixesSysteme);
    // Read before a legacy file moves into place: its language counts from the next start.
    const QString langue = LangueDuDemarrage(etat.CheminIni(), environnement, interaction);
    etat.FichierLangue = CheminFichierLangue(langue, environnement.dossierLangues);
    ChargeTraductions(etat.FichierLangue);
    if (etapes.langueChoisie)
        etapes.langueChoisie(etat.FichierLangue);
    PrepareDossierParametres(etat.Emplacement);
    etat.Config = LitParametres(etat.CheminIni());
    etat.Config.Langue = langue;
    if (etapes.appliqueParametres)
        etapes.appliqueParametres(etat);
    if (etapes.chargeMemos)
        etapes.chargeMemos(etat.CheminIni());
    etat.CheminOutilCompte = CheminOutilCompte(environnement.dossierProgramme);
    if (etapes.afficheFenetre)
        etapes.afficheFenetre();
    interaction.TraiteEvenements();
    if (etapes.ouvreSession && !etapes.ouvreSession())
        return false;
    LancePremiereAnalyse(InterpreteLigneCommande(LigneCommandeDesArguments(arguments)), etapes, etat);
    return true;
}

bool EchecInitialisation(Interaction& interaction, qint32 numero, const QString& texte) {
    interaction.Message(MessageErreurInitialisation(numero, texte), IconeMessage::Critique);
    return false;
}

} // namespace

EnvironnementDemarrage EnvironnementDemarrage::DuSysteme() {
    EnvironnementDemarrage environnement;
    environnement.dossierProgramme = DossierProgramme();
    environnement.dossierConfiguration = DossierSpecial(CsidlDonneesApplication);
    environnement.prefixesSysteme = PrefixesSysteme();
    environnement.dossierLangues = DossierDonnees();
    environnement.codeLangue = CodeLangueSysteme();
    return environnement;
}

bool Demarre(const QStringList& arguments, Interaction& interaction, const EtapesDemarrage& etapes,
             const EnvironnementDemarrage& environnement, EtatProgramme& etat) {
    try {
        return DemarreSansPiege(arguments, interaction, etapes, environnement, etat);
    } catch (const ErreurExecution& e) {
        return EchecInitialisation(interaction, e.numero(), e.texte());
    } catch (const DirectoryError& e) {
        return EchecInitialisation(interaction, e.number(), e.text());
    } catch (const std::exception& e) {
        return EchecInitialisation(interaction, NumeroErreur::ErreurInterne, QString::fromUtf8(e.what()));
    }
}

QString MessageErreurInitialisation(qint32 numero, const QString& texte) {
    return FormateMessage(Traduction(u"MSG_ERREUR_INITIALISATION"), {numero, texte});
}

} // namespace arbrix

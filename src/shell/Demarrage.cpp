#include "shell/Demarrage.h"

#include "directory/DirectoryError.h"
#include "i18n/Langue.h"
#include "i18n/Traductions.h"
#include "settings/Cles.h"
#include "settings/Ini.h"
#include "settings/Valeurs.h"
#include "shell/Commandes.h"
#include "shell/Interaction.h"
#include "text/Texte.h"

namespace arbrix {

namespace {

// The language of this run: the setting, or on a first run the one matching the system. The
// choice is not written here: only an accepted configuration dialog writes it.
QString LangueDuDémarrage(const QString& cheminIni, const EnvironnementDémarrage& environnement,
                          Interaction& interaction) {
    const QString langue = LitIni(cheminIni, SectionConfig, CléConfig::Langue, {});
    if (!langue.isEmpty())
        return langue;
    const ChoixLangue choix = ChoisitLangueInitiale(environnement.codeLangue, environnement.dossierLangues);
    if (choix.afficherMessage)
        interaction.Message(MessageAucuneTraduction(), IcôneMessage::Information);
    return choix.langue;
}

void LancePremièreAnalyse(const PointDeDépart& départ, const ÉtapesDémarrage& étapes,
                          const ÉtatProgramme& état, Interaction& interaction) {
    if (!départ.analyser)
        return;
    interaction.Sablier(true);
    interaction.ChangeTypeRecherche(départ.type);
    if (départ.dn.isEmpty())
        interaction.ChangeTexteRecherche(départ.texteRecherche);
    if (étapes.lanceAnalyse)
        étapes.lanceAnalyse(état.Config.AnalyseParDéfaut, départ.dn);
}

bool DémarreSansPiège(const QStringList& arguments, Interaction& interaction, const ÉtapesDémarrage& étapes,
                      const EnvironnementDémarrage& environnement, ÉtatProgramme& état) {
    interaction.Sablier(true);
    interaction.TraiteÉvénements();
    état.Emplacement = CalculeEmplacementParamètres(
        environnement.dossierProgramme, environnement.dossierConfiguration, environnement.préfixesSystème);
    // Read before a legacy file moves into place: its language counts from the next start.
    const QString langue = LangueDuDémarrage(état.CheminIni(), environnement, interaction);
    état.FichierLangue = CheminFichierLangue(langue, environnement.dossierLangues);
    ChargeTraductions(état.FichierLangue);
    PrépareDossierParamètres(état.Emplacement);
    état.Config = LitParamètres(état.CheminIni());
    état.Config.Langue = langue;
    if (étapes.appliqueParamètres)
        étapes.appliqueParamètres(état);
    if (étapes.chargeMémos)
        étapes.chargeMémos(état.CheminIni());
    état.CheminOutilCompte = CheminOutilCompte(environnement.dossierProgramme);
    if (étapes.afficheFenêtre)
        étapes.afficheFenêtre();
    interaction.TraiteÉvénements();
    if (étapes.ouvreSession && !étapes.ouvreSession()) {
        interaction.Sablier(false);
        return false;
    }
    LancePremièreAnalyse(InterprèteLigneCommande(LigneCommandeDesArguments(arguments)), étapes, état,
                         interaction);
    interaction.Sablier(false);
    return true;
}

bool ÉchecInitialisation(Interaction& interaction, qint32 numéro, const QString& texte) {
    interaction.Sablier(false);
    interaction.Message(MessageErreurInitialisation(numéro, texte), IcôneMessage::Critique);
    return false;
}

} // namespace

EnvironnementDémarrage EnvironnementDémarrage::DuSystème() {
    EnvironnementDémarrage environnement;
    environnement.dossierProgramme = DossierProgramme();
    environnement.dossierConfiguration = DossierSpécial(CsidlDonnéesApplication);
    environnement.préfixesSystème = PréfixesSystème();
    environnement.dossierLangues = DossierDonnées();
    environnement.codeLangue = CodeLangueSystème();
    return environnement;
}

bool Démarre(const QStringList& arguments, Interaction& interaction, const ÉtapesDémarrage& étapes,
             const EnvironnementDémarrage& environnement, ÉtatProgramme& état) {
    try {
        return DémarreSansPiège(arguments, interaction, étapes, environnement, état);
    } catch (const ErreurExécution& e) {
        return ÉchecInitialisation(interaction, e.numéro(), e.texte());
    } catch (const DirectoryError& e) {
        return ÉchecInitialisation(interaction, e.number(), e.text());
    } catch (const std::exception& e) {
        return ÉchecInitialisation(interaction, NuméroErreur::ErreurInterne, QString::fromUtf8(e.what()));
    }
}

QString MessageErreurInitialisation(qint32 numéro, const QString& texte) {
    return FormateMessage(Traduction(u"MSG_ERREUR_INITIALISATION"), {numéro, texte});
}

QString TitreFenêtrePrincipale(const QString& utilisateurAffiché) {
    return TitreApplication() + QStringLiteral(" - ") + utilisateurAffiché;
}

} // namespace arbrix

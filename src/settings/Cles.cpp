#include "settings/Cles.h"

#include "settings/OptionsExport.h"
#include "settings/Valeurs.h"

namespace arbrix {

namespace {

using G = GenreCle;
using M = MomentEcriture;
using P = Parametres;
using O = OptionsExport;

DescriptionCle Cle(const QString& nom, GenreCle genre, MomentEcriture moment, ChampCle champ,
                   qint16 minimum = 0, qint16 maximum = 0) {
    return {SectionConfig, nom, genre, moment, champ, minimum, maximum};
}

std::vector<DescriptionCle> ConstruitTable() {
    using namespace CleConfig;
    return {
        Cle(Langue, G::Texte, M::Configuration, &P::Langue),
        Cle(AnalyseAutreTypeSiAucuneReponse, G::Booleen, M::Configuration,
            &P::AnalyseAutreTypeSiAucuneReponse),
        Cle(AnalyseParDefaut, G::Entier, M::Configuration, &P::AnalyseParDefaut),
        Cle(ControlerVerrouilleExpire, G::Booleen, M::Configuration, &P::ControlerVerrouilleExpire),
        Cle(DeplierGroupesContenantComptesDesactivesVerrouillesExpires, G::Booleen, M::Configuration,
            &P::DeplierGroupesContenantComptesDesactivesVerrouillesExpires),
        Cle(DeplierGroupesContenantGroupesRecursifs, G::Booleen, M::Configuration,
            &P::DeplierGroupesContenantGroupesRecursifs),
        Cle(DeplierGroupesEtOU, G::Booleen, M::Configuration, &P::DeplierGroupesEtOU),
        Cle(RepresenterGroupesRacineOU, G::Booleen, M::Configuration, &P::RepresenterGroupesRacineOU),
        Cle(AfficherNombreMembres, G::Booleen, M::Configuration, &P::AfficherNombreMembres),
        Cle(AfficherAutresMembres, G::Booleen, M::Configuration, &P::AfficherAutresMembres),
        Cle(AccesAD, G::Entier, M::Configuration, &P::AccesAD),
        Cle(AccesADDomaine, G::Texte, M::Configuration, &P::AccesADDomaine),
        Cle(AccesADLogin, G::Texte, M::Configuration, &P::AccesADLogin),
        Cle(AccesADPassword, G::MotDePasse, M::Configuration, &P::AccesADPassword),
        Cle(AccesADServeur, G::Texte, M::Configuration, &P::AccesADServeur),
        Cle(AccesADSansTLS, G::Booleen, M::Configuration, &P::AccesADSansTLS),
        Cle(MessagerieCommande, G::Texte, M::Configuration, &P::MessagerieCommande),
        Cle(MessagerieExpediteur, G::Texte, M::Configuration, &P::MessagerieExpediteur),

        Cle(FenetreMemoriserTaille, G::Booleen, M::OptionsFenetre, &P::FenetreMemoriserTaille),
        Cle(FenetreMemoriserPosition, G::Booleen, M::OptionsFenetre, &P::FenetreMemoriserPosition),
        Cle(MinimiserSystray, G::Booleen, M::OptionsFenetre, &P::MinimiserSystray),
        Cle(ToujoursAuDessus, G::Booleen, M::OptionsFenetre, &P::ToujoursAuDessus),
        Cle(FenetreGauche, G::Entier, M::Position, &P::FenetreGauche),
        Cle(FenetreHaut, G::Entier, M::Position, &P::FenetreHaut),
        Cle(FenetreEtat, G::Entier, M::Taille, &P::FenetreEtat),
        Cle(FenetreLargeur, G::Entier, M::Taille, &P::FenetreLargeur),
        Cle(FenetreHauteur, G::Entier, M::Taille, &P::FenetreHauteur),
        Cle(TypeGroupe, G::Entier, M::Sortie, &P::TypeGroupe),
        Cle(EtendueGroupe, G::Entier, M::Sortie, &P::EtendueGroupe),
        Cle(NbElementsMemorisesMax, G::Entier, M::Sortie, &P::NbElementsMemorisesMax),

        Cle(RequetesSimultanees, G::EntierBorne, M::Jamais, &P::RequetesSimultanees, 1, 64),
        Cle(DelaiAnnuaire, G::EntierBorne, M::Jamais, &P::DelaiAnnuaire, 2, 600),

        Cle(Memos, G::Memos, M::Memos, {}),
        Cle(NbMemos, G::Memos, M::Memos, {}),

        Cle(ExportEtendue, G::Choix, M::Export, &O::Etendue, 0, 2),
        Cle(ExportFormat, G::Choix, M::Export, &O::Format, 0, 3),
        Cle(ExportType, G::Choix, M::Export, &O::Type, 0, 2),
        Cle(ExportFinDeLigne, G::Choix, M::Export, &O::FinLigne, 0, 1),
        Cle(ExportDestination, G::Choix, M::Export, &O::Destination, 0, 1),
        Cle(ExportStructure, G::Case, M::Export, &O::Structure),
        Cle(ExportModeColonne, G::Case, M::Export, &O::ModeColonne),
        Cle(ExportComptesUtilisateurs, G::Case, M::Export, &O::ComptesUtilisateurs),
        Cle(ExportComptesOrdinateur, G::Case, M::Export, &O::ComptesOrdinateurs),
        Cle(ExportComptesDeService, G::Case, M::Export, &O::ComptesDeService),
        Cle(ExportAutresMembres, G::Case, M::Export, &O::AutresMembres),
        Cle(ExportIndentation, G::Texte, M::Export, &O::Indentation),
        Cle(ExportSeparateur, G::Texte, M::Export, &O::Separateur),
        Cle(ExportFichier, G::Texte, M::Export, &O::Fichier),
    };
}

} // namespace

std::span<const DescriptionCle> TableCles() {
    static const std::vector<DescriptionCle> table = ConstruitTable();
    return table;
}

const DescriptionCle* TrouveCle(const QString& nom) {
    for (const DescriptionCle& cle : TableCles()) {
        if (cle.nom.compare(nom, Qt::CaseInsensitive) == 0)
            return &cle;
    }
    return nullptr;
}

} // namespace arbrix

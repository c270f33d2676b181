#pragma once

// The keys of section "Config" of the settings file: their names, and in TableCles() what each
// one holds, how it is read and written, and when the program writes it.

#include "settings/Parametres.h"

#include <QString>
#include <QtGlobal>

#include <span>
#include <variant>

namespace arbrix {

struct OptionsExport;

namespace CleConfig {

inline const QString Langue = QStringLiteral("Langue");

inline const QString FenetreMemoriserTaille = QStringLiteral("FenêtreMémoriserTaille");
inline const QString FenetreMemoriserPosition = QStringLiteral("FenêtreMémoriserPosition");
inline const QString MinimiserSystray = QStringLiteral("MinimiserSystray");
inline const QString ToujoursAuDessus = QStringLiteral("ToujoursAuDessus");
inline const QString FenetreEtat = QStringLiteral("FenêtreEtat");
inline const QString FenetreHauteur = QStringLiteral("FenêtreHauteur");
inline const QString FenetreLargeur = QStringLiteral("FenêtreLargeur");
inline const QString FenetreGauche = QStringLiteral("FenêtreGauche");
inline const QString FenetreHaut = QStringLiteral("FenêtreHaut");

inline const QString AnalyseAutreTypeSiAucuneReponse = QStringLiteral("AnalyseAutreTypeSiAucuneReponse");
inline const QString AnalyseParDefaut = QStringLiteral("AnalyseParDéfaut");
inline const QString ControlerVerrouilleExpire = QStringLiteral("ContrôlerVerrouilléExpiré");
inline const QString DeplierGroupesContenantComptesDesactivesVerrouillesExpires =
    QStringLiteral("DéplierGroupesContenantComptesDésactivésVerrouillésExpirés");
inline const QString DeplierGroupesContenantGroupesRecursifs =
    QStringLiteral("DéplierGroupesContenantGroupesRécursifs");
inline const QString DeplierGroupesEtOU = QStringLiteral("DéplierGroupesEtOU");
inline const QString RepresenterGroupesRacineOU = QStringLiteral("ReprésenterGroupesRacineOU");
inline const QString AfficherNombreMembres = QStringLiteral("AfficherNombreMembres");
inline const QString AfficherAutresMembres = QStringLiteral("AfficherAutresMembres");
inline const QString RequetesSimultanees = QStringLiteral("RequêtesSimultanées");
inline const QString DelaiAnnuaire = QStringLiteral("DélaiAnnuaire");

inline const QString AccesAD = QStringLiteral("AccèsAD");
inline const QString AccesADServeur = QStringLiteral("AccèsADServeur");
inline const QString AccesADDomaine = QStringLiteral("AccèsADDomaine");
inline const QString AccesADLogin = QStringLiteral("AccèsADLogin");
inline const QString AccesADPassword = QStringLiteral("AccèsADPassword");
inline const QString AccesADSansTLS = QStringLiteral("AccèsADSansTLS");

inline const QString TypeGroupe = QStringLiteral("TypeGroupe");
inline const QString EtendueGroupe = QStringLiteral("EtendueGroupe");
inline const QString NbElementsMemorisesMax = QStringLiteral("NbElémentsMémorisésMax");

// Messages to members: the sendmail-compatible command and the From address.
inline const QString MessagerieCommande = QStringLiteral("MessagerieCommande");
inline const QString MessagerieExpediteur = QStringLiteral("MessagerieExpéditeur");

// Memorised entries: the current key, and the legacy count with its numbered keys.
inline const QString Memos = QStringLiteral("Mémos");
inline const QString NbMemos = QStringLiteral("NbMémos");
inline const QString PrefixeMemo = QStringLiteral("Mémo");

// Export options.
inline const QString ExportEtendue = QStringLiteral("ExportEtendue");
inline const QString ExportFormat = QStringLiteral("ExportFormat");
inline const QString ExportType = QStringLiteral("ExportType");
inline const QString ExportFinDeLigne = QStringLiteral("ExportFinDeLigne");
inline const QString ExportDestination = QStringLiteral("ExportDestination");
inline const QString ExportStructure = QStringLiteral("ExportStructure");
inline const QString ExportModeColonne = QStringLiteral("ExportModeColonné");
inline const QString ExportComptesUtilisateurs = QStringLiteral("ExportComptesUtilisateurs");
inline const QString ExportComptesOrdinateur = QStringLiteral("ExportComptesOrdinateur");
inline const QString ExportComptesDeService = QStringLiteral("ExportComptesDeService");
inline const QString ExportAutresMembres = QStringLiteral("ExportAutresMembres");
inline const QString ExportIndentation = QStringLiteral("ExportIndentation");
inline const QString ExportSeparateur = QStringLiteral("ExportSéparateur");
inline const QString ExportFichier = QStringLiteral("ExportFichier");

} // namespace CleConfig

// How a value is stored and read back (settings/ChampsCles.h applies these rules).
enum class GenreCle : quint8 {
    Texte,       // as written
    Booleen,     // "-1" or "0"; true when the leading number is not 0
    Entier,      // decimal; a number too large for its field raises ErreurExécution
    EntierBorne, // an Entier brought into [minimum, maximum]
    MotDePasse,  // scrambled in a file only its owner reads, or kept in the keyring
    Case,        // an export check box: on only when the value reads as -1
    Choix,       // an index among minimum..maximum; any other number reads as the first option
    Memos,       // memorised entries, read and written by search/Memos
};

// When the program writes the key. Keys written together are written in the order of the table,
// which is the order they take in a new file.
enum class MomentEcriture : quint8 {
    Configuration,  // at exit, once the configuration dialog was accepted
    OptionsFenetre, // at exit, once a window option was used
    Position,       // at exit, when the window position is remembered
    Taille,         // at exit, when the window size is remembered
    Sortie,         // at every exit
    Memos,          // with the memorised entries
    Export,         // with the export options
    Jamais,         // only by hand or by the command line's --set
};

// The field a key is read into. Its default is the field's value in a default-built Parametres
// or OptionsExport; a key without a field (memorised entries) has the defaults of its reader.
using ChampCle = std::variant<std::monostate, QString Parametres::*, bool Parametres::*, qint16 Parametres::*,
                              qint32 Parametres::*, QString OptionsExport::*, bool OptionsExport::*,
                              qint16 OptionsExport::*>;

struct DescriptionCle {
    const QString& section;
    const QString& nom;
    GenreCle genre;
    MomentEcriture moment;
    ChampCle champ;
    qint16 minimum = 0; // EntierBorne and Choix only
    qint16 maximum = 0;
};

// Every key of section "Config" but the numbered legacy memorised entries ("Mémo1"...).
std::span<const DescriptionCle> TableCles();

// The key of that name, compared without regard to case; nullptr when there is none.
const DescriptionCle* TrouveCle(const QString& nom);

} // namespace arbrix

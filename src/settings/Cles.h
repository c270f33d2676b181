#pragma once

// Key names of section "Config" of the settings file.

#include <QString>

namespace arbrix::CleConfig {

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
inline const QString ExportDestination = QStringLiteral("ExportDestination");
inline const QString ExportStructure = QStringLiteral("ExportStructure");
inline const QString ExportModeColonne = QStringLiteral("ExportModeColonné");
inline const QString ExportComptesUtilisateurs = QStringLiteral("ExportComptesUtilisateurs");
inline const QString ExportComptesOrdinateur = QStringLiteral("ExportComptesOrdinateur");
inline const QString ExportComptesDeService = QStringLiteral("ExportComptesDeService");
inline const QString ExportIndentation = QStringLiteral("ExportIndentation");
inline const QString ExportSeparateur = QStringLiteral("ExportSéparateur");
inline const QString ExportFichier = QStringLiteral("ExportFichier");

} // namespace arbrix::CleConfig

#pragma once

// Key names of section "Config" of the settings file.

#include <QString>

namespace arbrix::CléConfig {

inline const QString Langue = QStringLiteral("Langue");

inline const QString FenêtreMémoriserTaille = QStringLiteral("FenêtreMémoriserTaille");
inline const QString FenêtreMémoriserPosition = QStringLiteral("FenêtreMémoriserPosition");
inline const QString MinimiserSystray = QStringLiteral("MinimiserSystray");
inline const QString ToujoursAuDessus = QStringLiteral("ToujoursAuDessus");
inline const QString FenêtreEtat = QStringLiteral("FenêtreEtat");
inline const QString FenêtreHauteur = QStringLiteral("FenêtreHauteur");
inline const QString FenêtreLargeur = QStringLiteral("FenêtreLargeur");
inline const QString FenêtreGauche = QStringLiteral("FenêtreGauche");
inline const QString FenêtreHaut = QStringLiteral("FenêtreHaut");

inline const QString AnalyseAutreTypeSiAucuneReponse = QStringLiteral("AnalyseAutreTypeSiAucuneReponse");
inline const QString AnalyseParDéfaut = QStringLiteral("AnalyseParDéfaut");
inline const QString ContrôlerVerrouilléExpiré = QStringLiteral("ContrôlerVerrouilléExpiré");
inline const QString DéplierGroupesContenantComptesDésactivésVerrouillésExpirés =
    QStringLiteral("DéplierGroupesContenantComptesDésactivésVerrouillésExpirés");
inline const QString DéplierGroupesContenantGroupesRécursifs =
    QStringLiteral("DéplierGroupesContenantGroupesRécursifs");
inline const QString DéplierGroupesEtOU = QStringLiteral("DéplierGroupesEtOU");
inline const QString ReprésenterGroupesRacineOU = QStringLiteral("ReprésenterGroupesRacineOU");
inline const QString AfficherNombreMembres = QStringLiteral("AfficherNombreMembres");

inline const QString AccèsAD = QStringLiteral("AccèsAD");
inline const QString AccèsADServeur = QStringLiteral("AccèsADServeur");
inline const QString AccèsADDomaine = QStringLiteral("AccèsADDomaine");
inline const QString AccèsADLogin = QStringLiteral("AccèsADLogin");
inline const QString AccèsADPassword = QStringLiteral("AccèsADPassword");

inline const QString TypeGroupe = QStringLiteral("TypeGroupe");
inline const QString EtendueGroupe = QStringLiteral("EtendueGroupe");
inline const QString NbElémentsMémorisésMax = QStringLiteral("NbElémentsMémorisésMax");

// Memorised entries: the current key, and the legacy count with its numbered keys.
inline const QString Mémos = QStringLiteral("Mémos");
inline const QString NbMémos = QStringLiteral("NbMémos");
inline const QString PréfixeMémo = QStringLiteral("Mémo");

// Export options.
inline const QString ExportEtendue = QStringLiteral("ExportEtendue");
inline const QString ExportFormat = QStringLiteral("ExportFormat");
inline const QString ExportDestination = QStringLiteral("ExportDestination");
inline const QString ExportStructure = QStringLiteral("ExportStructure");
inline const QString ExportModeColonné = QStringLiteral("ExportModeColonné");
inline const QString ExportComptesUtilisateurs = QStringLiteral("ExportComptesUtilisateurs");
inline const QString ExportComptesOrdinateur = QStringLiteral("ExportComptesOrdinateur");
inline const QString ExportComptesDeService = QStringLiteral("ExportComptesDeService");
inline const QString ExportIndentation = QStringLiteral("ExportIndentation");
inline const QString ExportSéparateur = QStringLiteral("ExportSéparateur");
inline const QString ExportFichier = QStringLiteral("ExportFichier");

} // namespace arbrix::CléConfig

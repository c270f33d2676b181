#include "export/OptionsExport.h"

#include "settings/Ini.h"
#include "settings/Valeurs.h"

#include <cmath>

namespace arbrix {

namespace {

bool LitCase(const QString& fichier, const QString& cle, bool defaut) {
    return NombreEnTete(LitIni(fichier, SectionConfig, cle, TexteDuBooleen(defaut))) == -1.0;
}

qint16 LitIndex(const QString& fichier, const QString& cle, qint16 nombreOptions) {
    const double n = std::nearbyint(NombreEnTete(LitIni(fichier, SectionConfig, cle, QStringLiteral("0"))));
    return n >= 0 && n < nombreOptions ? qint16(n) : qint16(0);
}

void EcritCase(const QString& fichier, const QString& cle, bool valeur) {
    EcritIni(fichier, SectionConfig, cle, TexteDuBooleen(valeur));
}

} // namespace

OptionsExport LitOptionsExport(const QString& fichierIni) {
    const OptionsExport defaut;
    OptionsExport o;
    o.Etendue = LitIndex(fichierIni, QStringLiteral("ExportEtendue"), 3);
    o.Format = LitIndex(fichierIni, QStringLiteral("ExportFormat"), 4);
    o.Destination = LitIndex(fichierIni, QStringLiteral("ExportDestination"), 2);
    o.Structure = LitCase(fichierIni, QStringLiteral("ExportStructure"), defaut.Structure);
    o.ModeColonne = LitCase(fichierIni, QStringLiteral("ExportModeColonné"), defaut.ModeColonne);
    o.ComptesUtilisateurs =
        LitCase(fichierIni, QStringLiteral("ExportComptesUtilisateurs"), defaut.ComptesUtilisateurs);
    o.ComptesOrdinateurs =
        LitCase(fichierIni, QStringLiteral("ExportComptesOrdinateur"), defaut.ComptesOrdinateurs);
    o.ComptesDeService =
        LitCase(fichierIni, QStringLiteral("ExportComptesDeService"), defaut.ComptesDeService);
    o.Indentation =
        LitIni(fichierIni, SectionConfig, QStringLiteral("ExportIndentation"), defaut.Indentation);
    o.Separateur = LitIni(fichierIni, SectionConfig, QStringLiteral("ExportSéparateur"), defaut.Separateur);
    o.Fichier = LitIni(fichierIni, SectionConfig, QStringLiteral("ExportFichier"), QString());
    return o;
}

void EcritOptionsExport(const QString& fichierIni, const OptionsExport& o) {
    EcritIni(fichierIni, SectionConfig, QStringLiteral("ExportEtendue"), QString::number(o.Etendue));
    EcritIni(fichierIni, SectionConfig, QStringLiteral("ExportFormat"), QString::number(o.Format));
    EcritIni(fichierIni, SectionConfig, QStringLiteral("ExportDestination"), QString::number(o.Destination));
    EcritCase(fichierIni, QStringLiteral("ExportStructure"), o.Structure);
    EcritCase(fichierIni, QStringLiteral("ExportModeColonné"), o.ModeColonne);
    EcritCase(fichierIni, QStringLiteral("ExportComptesUtilisateurs"), o.ComptesUtilisateurs);
    EcritCase(fichierIni, QStringLiteral("ExportComptesOrdinateur"), o.ComptesOrdinateurs);
    EcritCase(fichierIni, QStringLiteral("ExportComptesDeService"), o.ComptesDeService);
    EcritIni(fichierIni, SectionConfig, QStringLiteral("ExportIndentation"), o.Indentation);
    EcritIni(fichierIni, SectionConfig, QStringLiteral("ExportSéparateur"), o.Separateur);
    if (o.Destination == DestinationExport::Fichier)
        EcritIni(fichierIni, SectionConfig, QStringLiteral("ExportFichier"), o.Fichier);
}

} // namespace arbrix

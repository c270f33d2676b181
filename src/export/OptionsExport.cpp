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

EcritureIni EcritOptionsExport(const QString& fichierIni, const OptionsExport& o) {
    LotIni lot(fichierIni);
    const auto texte = [&](const QString& cle, const QString& valeur) {
        lot.Ecrit(SectionConfig, cle, valeur);
    };
    const auto index = [&](const QString& cle, qint16 valeur) { texte(cle, QString::number(valeur)); };
    const auto coche = [&](const QString& cle, bool valeur) { texte(cle, TexteDuBooleen(valeur)); };
    index(QStringLiteral("ExportEtendue"), o.Etendue);
    index(QStringLiteral("ExportFormat"), o.Format);
    index(QStringLiteral("ExportDestination"), o.Destination);
    coche(QStringLiteral("ExportStructure"), o.Structure);
    coche(QStringLiteral("ExportModeColonné"), o.ModeColonne);
    coche(QStringLiteral("ExportComptesUtilisateurs"), o.ComptesUtilisateurs);
    coche(QStringLiteral("ExportComptesOrdinateur"), o.ComptesOrdinateurs);
    coche(QStringLiteral("ExportComptesDeService"), o.ComptesDeService);
    texte(QStringLiteral("ExportIndentation"), o.Indentation);
    texte(QStringLiteral("ExportSéparateur"), o.Separateur);
    if (o.Destination == DestinationExport::Fichier)
        texte(QStringLiteral("ExportFichier"), o.Fichier);
    return lot.Enregistre();
}

} // namespace arbrix

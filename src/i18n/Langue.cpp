#include "i18n/Langue.h"

#include "settings/Ini.h"
#include "settings/Valeurs.h"
#include "text/Systeme.h"
#include "text/Version.h"

#include <QDir>
#include <QFileInfo>

namespace arbrix {

namespace {

const QString ExtensionLangue = QStringLiteral(".lng");

QString AvecSeparateurFinal(const QString& dossier) {
    return dossier.endsWith(u'/') ? dossier : dossier + u'/';
}

} // namespace

QString DossierDonnees(const QString& dossierProgramme, const QString& dossierInstalle) {
    if (!FichiersLangue(dossierProgramme).isEmpty())
        return AvecSeparateurFinal(dossierProgramme);
    // An installed tree moved elsewhere as a whole: <prefix>/bin beside <prefix>/share/arbrix.
    const QString voisin = QDir::cleanPath(dossierProgramme + QStringLiteral("/../share/arbrix"));
    if (!FichiersLangue(voisin).isEmpty())
        return AvecSeparateurFinal(voisin);
    if (!dossierInstalle.isEmpty() && QFileInfo(dossierInstalle).isDir())
        return AvecSeparateurFinal(dossierInstalle);
    return AvecSeparateurFinal(dossierProgramme);
}

QString DossierDonnees() {
#ifdef ARBRIX_INSTALL_DATADIR
    const QString dossierInstalle = QStringLiteral(ARBRIX_INSTALL_DATADIR);
#else
    const QString dossierInstalle;
#endif
    return DossierDonnees(DossierProgramme(), dossierInstalle);
}

QStringList FichiersLangue(const QString& dossier) {
    if (dossier.isEmpty())
        return {};
    // Case-sensitive, so that a language name always leads back to its file.
    const QStringList fichiers =
        QDir(dossier).entryList({u'*' + ExtensionLangue}, QDir::Files | QDir::CaseSensitive, QDir::Name);
    QStringList langues;
    for (const QString& nom : fichiers)
        if (nom.size() > ExtensionLangue.size())
            langues.append(nom);
    return langues;
}

QStringList LanguesDisponibles(const QString& dossier) {
    QStringList langues{LangueFrancaise};
    for (const QString& nom : FichiersLangue(dossier))
        langues.append(nom.chopped(ExtensionLangue.size()));
    return langues;
}

QString CheminFichierLangue(const QString& langue, const QString& dossier) {
    if (langue == LangueFrancaise)
        return {};
    return AvecSeparateurFinal(dossier) + langue + ExtensionLangue;
}

double CodeLangueFichier(const QString& fichier) {
    return NombreEnTete(
        LitIni(fichier, QStringLiteral("Traduction"), QStringLiteral("CodeLangue"), QStringLiteral("0")));
}

ChoixLangue ChoisitLangueInitiale(int codeLangueSysteme, const QString& dossier) {
    constexpr int CodeFrancais = 12;
    if (codeLangueSysteme == CodeFrancais)
        return {LangueFrancaise, false};
    // A file that declares no code (0) is never chosen, whatever the system reports.
    if (codeLangueSysteme <= 0)
        return {LangueFrancaise, true};
    for (const QString& nom : FichiersLangue(dossier))
        if (CodeLangueFichier(AvecSeparateurFinal(dossier) + nom) == codeLangueSysteme)
            return {nom.chopped(ExtensionLangue.size()), false};
    return {LangueFrancaise, true};
}

QString MessageAucuneTraduction() {
    return MessageAucuneTraduction(NomApplication());
}

QString MessageAucuneTraduction(const QString& titreApplication) {
    const QString deuxSauts = QStringLiteral("\r\n\r\n");
    return QStringLiteral("First, thank you for having installed ") + titreApplication + u'.' + deuxSauts +
           QStringLiteral("No translation file corresponding to the language of your system has been found. "
                          "French is selected by default, you can change this setting in the configuration "
                          "window accessible through the 'options' menu.") +
           deuxSauts +
           QStringLiteral("You can also write the translation and send it to the author of this software so "
                          "that other users can benefit. Thank you in advance!") +
           deuxSauts + QStringLiteral("-----------------------") + deuxSauts +
           QStringLiteral("Tout d'abord, merci d'avoir installé ") + titreApplication + u'.' + deuxSauts +
           QStringLiteral(
               "Aucun fichier de traduction correspondant à la langue de votre système n'a été "
               "trouvé. Le français est sélectionné par défaut, vous pouvez modifier ce réglage dans "
               "la fenêtre de configuration accessible par le menu 'options'.") +
           deuxSauts +
           QStringLiteral(
               "Vous pouvez aussi créer la traduction manquante et la transmettre à l'auteur de ce "
               "logiciel pour qu'il l'ajoute au package d'installation. D'autres utilisateurs "
               "pourront ainsi en bénéficier. Merci d'avance !");
}

} // namespace arbrix

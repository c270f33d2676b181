#include "directory/OuvertureAnnuaire.h"

#include "directory/ldap/LdapBackend.h"
#include "directory/ldap/LdapDiscovery.h"
#include "directory/memory/MemoryBackend.h"
#include "i18n/Traductions.h"
#include "text/Systeme.h"
#include "text/Texte.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace arbrix {

QString AnnuaireDeLEnvironnement() {
    return qEnvironmentVariable("ARBRIX_DIRECTORY").trimmed();
}

QString TexteDesignationAnnuaire(const QString& accesADServeur) {
    const QString environment = AnnuaireDeLEnvironnement();
    return environment.isEmpty() ? accesADServeur.trimmed() : environment;
}

static bool isLdapUri(const QString& uri) {
    return uri.startsWith(u"ldap://"_s, Qt::CaseInsensitive) ||
           uri.startsWith(u"ldaps://"_s, Qt::CaseInsensitive) ||
           uri.startsWith(u"ldapi://"_s, Qt::CaseInsensitive);
}

static bool looksLikePath(const QString& text) {
    return text.contains(u'/') || text.endsWith(u".ldif"_s, Qt::CaseInsensitive);
}

DesignationAnnuaire AnalyseDesignationAnnuaire(const QString& texte) {
    DesignationAnnuaire designation;
    const QString text = texte.trimmed();
    if (text.isEmpty())
        return designation;
    if (!text.contains(u"://"_s) && looksLikePath(text)) {
        designation.genre = GenreAnnuaire::FichierLdif;
        designation.valeur = text;
        return designation;
    }
    designation.genre = GenreAnnuaire::Serveurs;
    QStringList uris;
    const QStringList items = DecoupeUris(text);
    for (const QString& item : items) {
        if (item.contains(u"://"_s) && !isLdapUri(item)) {
            designation.erreur = FormateMessage(Traduction(u"MSG_ERREUR_ADRESSE_ANNUAIRE"), {item});
            return designation;
        }
        uris << UriDuServeur(item);
    }
    designation.valeur = uris.join(u' ');
    return designation;
}

// An absolute path as it is; a relative one from the working folder, else beside the program.
static QString locateFile(const QString& path) {
    const QFileInfo info(path);
    if (info.isAbsolute() || info.exists())
        return info.absoluteFilePath();
    const QFileInfo besideProgram(QDir(DossierProgramme()).filePath(path));
    return besideProgram.exists() ? besideProgram.absoluteFilePath() : info.absoluteFilePath();
}

static AnnuaireOuvert openLdifFile(const QString& path) {
    AnnuaireOuvert result;
    result.genre = GenreAnnuaire::FichierLdif;
    const QString file = locateFile(path);
    if (!QFileInfo(file).isFile()) {
        result.erreur = FormateMessage(Traduction(u"MSG_ERREUR_FICHIER_ANNUAIRE_ABSENT"), {file});
        return result;
    }
    try {
        result.backend = std::make_shared<MemoryBackend>(file);
    } catch (const LdifError& e) {
        result.erreur = FormateMessage(Traduction(u"MSG_ERREUR_FICHIER_ANNUAIRE"), {file, e.text()});
    } catch (const std::exception& e) {
        result.erreur =
            FormateMessage(Traduction(u"MSG_ERREUR_FICHIER_ANNUAIRE"), {file, QString::fromUtf8(e.what())});
    }
    return result;
}

AnnuaireOuvert OuvreAnnuaire(const QString& accesADServeur, int delaiSecondes) {
    return OuvreAnnuaire(AnalyseDesignationAnnuaire(TexteDesignationAnnuaire(accesADServeur)), delaiSecondes);
}

AnnuaireOuvert OuvreAnnuaire(const DesignationAnnuaire& designation, int delaiSecondes) {
    if (!designation.valide()) {
        AnnuaireOuvert failed;
        failed.genre = designation.genre;
        failed.erreur = designation.erreur;
        return failed;
    }
    if (designation.genre == GenreAnnuaire::FichierLdif)
        return openLdifFile(designation.valeur);
    AnnuaireOuvert result;
    result.genre = designation.genre;
    LdapOptions options;
    options.uris = designation.valeur;
    options.answerTimeoutSeconds = delaiSecondes;
    result.backend = std::make_shared<LdapBackend>(options);
    return result;
}

} // namespace arbrix

#include "export/EcritureExport.h"

#include "export/Export.h"
#include "i18n/Traductions.h"
#include "text/Texte.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace arbrix {

namespace {

ErreurExport Erreur(qint32 numero, const QString& chemin, const QString& raison) {
    return {numero, QDir::toNativeSeparators(chemin) + QStringLiteral(" : ") + raison};
}

qint32 NumeroEchecOuverture(const QString& chemin) {
    const QFileInfo dossier(QFileInfo(chemin).absolutePath());
    if (!dossier.isDir())
        return NumeroErreurExport::DossierIntrouvable;
    if (!dossier.isWritable() || (QFileInfo::exists(chemin) && !QFileInfo(chemin).isWritable()))
        return NumeroErreurExport::AccesRefuse;
    return NumeroErreurExport::AccesFichier;
}

} // namespace

std::optional<ErreurExport> EcritFichierExport(const QString& chemin, const QString& texte) {
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly))
        return Erreur(NumeroEchecOuverture(chemin), chemin, fichier.errorString());
    const QByteArray octets = texte.toUtf8();
    if (fichier.write(octets) != octets.size() || fichier.write("\r\n", 2) != 2) {
        const QString raison = fichier.errorString();
        fichier.cancelWriting();
        return Erreur(NumeroErreurExport::EcritureImpossible, chemin, raison);
    }
    if (!fichier.commit())
        return Erreur(NumeroErreurExport::AccesFichier, chemin, fichier.errorString());
    return std::nullopt;
}

std::optional<ErreurExport> ExporteVersFichier(const Noeud& noeud, const OptionsExport& options,
                                               const QString& chemin) {
    return EcritFichierExport(chemin, GenerateurExport(options).GenereExport(noeud, false));
}

QString MessageErreurExport(const ErreurExport& erreur) {
    return FormateMessage(Traduction(u"MSG_ERREUR_EXPORT"), {erreur.numero, u'\t' + erreur.description}) +
           QStringLiteral("\r\n\r\n") + Traduction(u"TXT_EXPORT_CONSEIL_FICHIER");
}

DepartEnregistrement DepartEnregistrementExport(const QString& dernierFichier,
                                                const QString& dossierDocuments) {
    if (dernierFichier.isEmpty())
        return {dossierDocuments, {}};
    const QFileInfo dernier(dernierFichier);
    const QString nom = dernier.fileName().section(u'\\', -1);
    const bool dossierPresent = dernierFichier.contains(u'/') && QFileInfo(dernier.absolutePath()).isDir();
    return {dossierPresent ? dernier.absolutePath() : dossierDocuments, nom};
}

DepartEnregistrement DepartEnregistrementExport(const QString& dernierFichier) {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QFileInfo(documents).isDir())
        documents = QDir::homePath();
    return DepartEnregistrementExport(dernierFichier, documents);
}

} // namespace arbrix

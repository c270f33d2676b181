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

// By export type.
const QStringList SuffixesExport = {QStringLiteral("txt"), QStringLiteral("csv"), QStringLiteral("json")};
constexpr QStringView FiltresExport[] = {u"TXT_FICHIERS_TXT", u"TXT_FICHIERS_CSV", u"TXT_FICHIERS_JSON"};

qint16 IndexType(qint16 type) {
    return type == TypeExport::Csv || type == TypeExport::Json ? type : TypeExport::Texte;
}

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

std::optional<ErreurExport> EcritFichierExport(const QString& chemin, const QString& texte, QStringView fin) {
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly))
        return Erreur(NumeroEchecOuverture(chemin), chemin, fichier.errorString());
    const QByteArray octets = texte.toUtf8();
    const QByteArray octetsFin = fin.toUtf8();
    if (fichier.write(octets) != octets.size() || fichier.write(octetsFin) != octetsFin.size()) {
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
    const QString texte = GenereExportSelonType(noeud, options, false);
    return EcritFichierExport(chemin, texte, options.Type == TypeExport::Texte ? u"\r\n" : u"");
}

QString MessageErreurExport(const ErreurExport& erreur) {
    return FormateMessage(Traduction(u"MSG_ERREUR_EXPORT"), {erreur.numero, u'\t' + erreur.description}) +
           QStringLiteral("\r\n\r\n") + Traduction(u"TXT_EXPORT_CONSEIL_FICHIER");
}

QString SuffixeExport(qint16 type) {
    return SuffixesExport[IndexType(type)];
}

DepartEnregistrement DepartEnregistrementExport(const QString& dernierFichier, qint16 type,
                                                const QString& dossierDocuments) {
    const QString suffixe = SuffixeExport(type);
    DepartEnregistrement depart{dossierDocuments,
                                {},
                                suffixe,
                                Traduction(FiltresExport[IndexType(type)]) + QStringLiteral(" (*.") +
                                    suffixe + u')'};
    if (dernierFichier.isEmpty())
        return depart;
    const QFileInfo dernier(dernierFichier);
    depart.nom = dernier.fileName().section(u'\\', -1);
    // An export of another type keeps the name, not a suffix that would tell the wrong content.
    const qsizetype point = depart.nom.lastIndexOf(u'.');
    if (point > 0 && SuffixesExport.contains(depart.nom.mid(point + 1).toLower()))
        depart.nom = depart.nom.left(point + 1) + suffixe;
    if (dernierFichier.contains(u'/') && QFileInfo(dernier.absolutePath()).isDir())
        depart.dossier = dernier.absolutePath();
    return depart;
}

DepartEnregistrement DepartEnregistrementExport(const QString& dernierFichier, qint16 type) {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QFileInfo(documents).isDir())
        documents = QDir::homePath();
    return DepartEnregistrementExport(dernierFichier, type, documents);
}

} // namespace arbrix

#include "settings/Ini.h"

#include "settings/DocumentIni.h"
#include "settings/Encodage.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <sys/stat.h>

namespace arbrix {

namespace {

// Identifies one version of a file, so that a parsed copy is reused only while the file is
// unchanged (a replacement by rename changes the inode, a write changes time or size).
struct Signature {
    dev_t peripherique = 0;
    ino_t inode = 0;
    off_t taille = 0;
    qint64 secondes = 0;
    qint64 nanosecondes = 0;
    friend bool operator==(const Signature&, const Signature&) = default;
};

std::optional<Signature> SignatureFichier(const QString& chemin) {
    struct stat etat {};
    if (::stat(QFile::encodeName(chemin).constData(), &etat) != 0 || !S_ISREG(etat.st_mode))
        return std::nullopt;
    return Signature{etat.st_dev, etat.st_ino, etat.st_size, etat.st_mtim.tv_sec, etat.st_mtim.tv_nsec};
}

struct DocumentEnCache {
    Signature signature;
    DocumentIni document;
};

// Start-up reads dozens of keys and language files hundreds: each file is parsed once per version.
QHash<QString, DocumentEnCache>& Cache() {
    static QHash<QString, DocumentEnCache> cache;
    return cache;
}

constexpr qsizetype TailleMaxCache = 16;

// File times advance in coarse steps: a file changed twice within one step keeps its time (and
// maybe its size), so a file changed this recently is not trusted to the cache.
constexpr qint64 DelaiConfianceSecondes = 2;

bool TropRecent(const Signature& signature) {
    return QDateTime::currentSecsSinceEpoch() - signature.secondes < DelaiConfianceSecondes;
}

void MetEnCache(const QString& chemin, const DocumentIni& document) {
    const auto signature = SignatureFichier(chemin);
    if (!signature || TropRecent(*signature)) {
        Cache().remove(chemin);
        return;
    }
    if (Cache().size() >= TailleMaxCache && !Cache().contains(chemin))
        Cache().clear();
    Cache().insert(chemin, DocumentEnCache{*signature, document});
}

// The document of a file; a missing or unreadable file is an empty document.
DocumentIni ChargeDocument(const QString& chemin) {
    const auto signature = SignatureFichier(chemin);
    if (!signature)
        return {};
    const auto trouve = Cache().constFind(chemin);
    if (trouve != Cache().constEnd() && trouve->signature == *signature)
        return trouve->document;
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return {};
    DocumentIni document = DocumentIni::DuTexte(DecodeTexteFichier(fichier.readAll()));
    MetEnCache(chemin, document);
    return document;
}

bool RestreintAuProprietaire(const QString& chemin) {
    return QFile::setPermissions(chemin, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// A short write (a full disk, a file size limit) is not an error to QFile, and its buffered
// flush would let a cut text through: unbuffered, the rest is written again until the error that
// cut it comes back with its reason.
bool EcritTout(QFileDevice& fichier, const QByteArray& octets) {
    for (qint64 ecrits = 0; ecrits < octets.size();) {
        const qint64 n = fichier.write(octets.constData() + ecrits, octets.size() - ecrits);
        if (n <= 0)
            return false;
        ecrits += n;
    }
    return true;
}

EcritureIni Echec(const QString& chemin, const QString& raison) {
    return {false, chemin, raison};
}

// For a writable file in a folder the user may not write (a shared portable copy), where no
// replacement can be made beside it: the new text over the old, then the file cut to length. A
// failed write puts the old text back, which fits in the space the file already holds.
EcritureIni EcritSurPlace(const QString& chemin, const QByteArray& octets) {
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return Echec(chemin, fichier.errorString());
    const QByteArray ancien = fichier.readAll();
    if (fichier.seek(0) && EcritTout(fichier, octets) && fichier.resize(octets.size()))
        return {true, chemin, {}};
    const QString raison = fichier.errorString();
    if (fichier.seek(0) && EcritTout(fichier, ancien))
        fichier.resize(ancien.size());
    return Echec(chemin, raison);
}

bool DossierNonModifiable(const QString& chemin) {
    const QFileInfo fichier(chemin);
    return fichier.isFile() && fichier.isWritable() && !QFileInfo(fichier.absolutePath()).isWritable();
}

EcritureIni EcritDocument(const QString& chemin, const DocumentIni& document, AccesIni acces) {
    const QByteArray octets = document.Texte().toUtf8();
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (!DossierNonModifiable(chemin))
            return Echec(chemin, fichier.errorString());
        const EcritureIni ecriture = EcritSurPlace(chemin, octets);
        if (!ecriture)
            return ecriture;
        if (acces == AccesIni::ProprietaireSeul)
            RestreintAuProprietaire(chemin);
        MetEnCache(chemin, document);
        return ecriture;
    }
    if (acces == AccesIni::ProprietaireSeul)
        fichier.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!EcritTout(fichier, octets)) {
        const QString raison = fichier.errorString();
        fichier.cancelWriting();
        return Echec(chemin, raison);
    }
    if (!fichier.commit())
        return Echec(chemin, fichier.errorString());
    MetEnCache(chemin, document);
    return {true, chemin, {}};
}

} // namespace

QString LitIni(const QString& fichier, const QString& section, const QString& cle, const QString& defaut) {
    const auto valeur = ChargeDocument(fichier).Valeur(section, cle);
    if (!valeur)
        return defaut;
    return valeur->left(LongueurMaxValeurIni);
}

LotIni::LotIni(QString fichier)
    : m_fichier(std::move(fichier))
    , m_document(ChargeDocument(m_fichier)) {}

QString LotIni::Lit(const QString& section, const QString& cle, const QString& defaut) const {
    const auto valeur = m_document.Valeur(section, cle);
    return valeur ? valeur->left(LongueurMaxValeurIni) : defaut;
}

void LotIni::Ecrit(const QString& section, const QString& cle, const std::optional<QString>& valeur,
                   AccesIni acces) {
    m_modifie = m_document.Modifie(section, cle, valeur) || m_modifie;
    if (acces == AccesIni::ProprietaireSeul)
        m_acces = acces;
}

EcritureIni LotIni::Enregistre() {
    if (m_modifie) {
        const EcritureIni ecriture = EcritDocument(m_fichier, m_document, m_acces);
        m_modifie = !ecriture;
        return ecriture;
    }
    QFile fichier(m_fichier);
    if (m_acces == AccesIni::ProprietaireSeul && SignatureFichier(m_fichier) &&
        !fichier.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return Echec(m_fichier, fichier.errorString());
    return {true, m_fichier, {}};
}

EcritureIni EcritIni(const QString& fichier, const QString& section, const QString& cle,
                     const std::optional<QString>& valeur, AccesIni acces) {
    LotIni lot(fichier);
    lot.Ecrit(section, cle, valeur, acces);
    return lot.Enregistre();
}

} // namespace arbrix

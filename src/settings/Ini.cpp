#include "settings/Ini.h"

#include "settings/DocumentIni.h"
#include "settings/Encodage.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QSaveFile>

#include <sys/stat.h>

namespace arbrix {

namespace {

// Identifies one version of a file, so that a parsed copy is reused only while the file is
// unchanged (a replacement by rename changes the inode, a write changes time or size).
struct Signature {
    dev_t périphérique = 0;
    ino_t inode = 0;
    off_t taille = 0;
    qint64 secondes = 0;
    qint64 nanosecondes = 0;
    friend bool operator==(const Signature&, const Signature&) = default;
};

std::optional<Signature> SignatureFichier(const QString& chemin) {
    struct stat état {};
    if (::stat(QFile::encodeName(chemin).constData(), &état) != 0 || !S_ISREG(état.st_mode))
        return std::nullopt;
    return Signature{état.st_dev, état.st_ino, état.st_size, état.st_mtim.tv_sec, état.st_mtim.tv_nsec};
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
constexpr qint64 DélaiConfianceSecondes = 2;

bool TropRécent(const Signature& signature) {
    return QDateTime::currentSecsSinceEpoch() - signature.secondes < DélaiConfianceSecondes;
}

void MetEnCache(const QString& chemin, const DocumentIni& document) {
    const auto signature = SignatureFichier(chemin);
    if (!signature || TropRécent(*signature)) {
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
    const auto trouvé = Cache().constFind(chemin);
    if (trouvé != Cache().constEnd() && trouvé->signature == *signature)
        return trouvé->document;
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return {};
    DocumentIni document = DocumentIni::DuTexte(DécodeTexteFichier(fichier.readAll()));
    MetEnCache(chemin, document);
    return document;
}

bool Enregistre(const QString& chemin, const DocumentIni& document, AccèsIni accès) {
    QSaveFile fichier(chemin);
    // A writable file in a folder the user may not write (a shared portable copy) is written in
    // place rather than not at all.
    fichier.setDirectWriteFallback(true);
    if (!fichier.open(QIODevice::WriteOnly))
        return false;
    if (accès == AccèsIni::PropriétaireSeul)
        fichier.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray octets = document.Texte().toUtf8();
    if (fichier.write(octets) != octets.size()) {
        fichier.cancelWriting();
        return false;
    }
    if (!fichier.commit())
        return false;
    MetEnCache(chemin, document);
    return true;
}

bool RestreintAuPropriétaire(const QString& chemin) {
    return QFile::setPermissions(chemin, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace

QString LitIni(const QString& fichier, const QString& section, const QString& clé, const QString& défaut) {
    const auto valeur = ChargeDocument(fichier).Valeur(section, clé);
    if (!valeur)
        return défaut;
    return valeur->left(LongueurMaxValeurIni);
}

bool EcritIni(const QString& fichier, const QString& section, const QString& clé,
              const std::optional<QString>& valeur, AccèsIni accès) {
    DocumentIni document = ChargeDocument(fichier);
    if (!document.Modifie(section, clé, valeur)) {
        if (accès == AccèsIni::PropriétaireSeul && SignatureFichier(fichier))
            return RestreintAuPropriétaire(fichier);
        return true;
    }
    return Enregistre(fichier, document, accès);
}

} // namespace arbrix

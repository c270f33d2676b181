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

bool Enregistre(const QString& chemin, const DocumentIni& document, AccesIni acces) {
    QSaveFile fichier(chemin);
    // A writable file in a folder the user may not write (a shared portable copy) is written in
    // place rather than not at all.
    fichier.setDirectWriteFallback(true);
    if (!fichier.open(QIODevice::WriteOnly))
        return false;
    if (acces == AccesIni::ProprietaireSeul)
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

bool RestreintAuProprietaire(const QString& chemin) {
    return QFile::setPermissions(chemin, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace

QString LitIni(const QString& fichier, const QString& section, const QString& cle, const QString& defaut) {
    const auto valeur = ChargeDocument(fichier).Valeur(section, cle);
    if (!valeur)
        return defaut;
    return valeur->left(LongueurMaxValeurIni);
}

bool EcritIni(const QString& fichier, const QString& section, const QString& cle,
              const std::optional<QString>& valeur, AccesIni acces) {
    DocumentIni document = ChargeDocument(fichier);
    if (!document.Modifie(section, cle, valeur)) {
        if (acces == AccesIni::ProprietaireSeul && SignatureFichier(fichier))
            return RestreintAuProprietaire(fichier);
        return true;
    }
    return Enregistre(fichier, document, acces);
}

} // namespace arbrix

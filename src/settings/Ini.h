#pragma once

// The INI store, with the semantics of the Windows profile calls: sections and keys compared
// without regard to case, the first of duplicate sections or keys wins, every other line of the
// file (comments, unknown keys, blank lines, order) kept as it is. Files are read as UTF-8, or as
// Windows-1252 when they are not valid UTF-8 (files copied from Windows), and written as UTF-8.

#include "settings/DocumentIni.h"

#include <QString>

#include <optional>

namespace arbrix {

// Values longer than this are cut when read.
inline constexpr qsizetype LongueurMaxValeurIni = 31999;

// The value of a key; a missing file, section or key gives the default. Spaces around the value
// are dropped and one pair of enclosing quotes (" or ') is removed.
QString LitIni(const QString& fichier, const QString& section, const QString& cle, const QString& defaut);

enum class AccesIni {
    Conserve,        // a new file gets the usual permissions, an existing one keeps its own
    ProprietaireSeul // the file ends up readable and writable by its owner only (0600)
};

// The outcome of a write of a settings file; a failure carries the system's reason ("Permission
// denied", "No space left on device"). Converts to true when the file was written.
struct EcritureIni {
    bool reussie = true;
    QString fichier;
    QString raison;

    explicit operator bool() const { return reussie; }
};

// Changes to one file made in memory and written in a single replacement of the file: an
// operation that sets many keys writes all of them or none, and fails once.
class LotIni {
public:
    explicit LotIni(QString fichier);

    // The value as the file will hold it once written; the rules of LitIni.
    QString Lit(const QString& section, const QString& cle, const QString& defaut) const;
    // The rules of EcritIni. Owner-only access asked by one change applies to the whole write.
    void Ecrit(const QString& section, const QString& cle, const std::optional<QString>& valeur,
               AccesIni acces = AccesIni::Conserve);
    // Writes the file when a change needs it; nothing is written when it already holds every
    // value. After a failure the file is as it was.
    EcritureIni Enregistre();

private:
    QString m_fichier;
    DocumentIni m_document;
    bool m_modifie = false;
    AccesIni m_acces = AccesIni::Conserve;
};

// Sets the value of a key, adding the key at the end of its section and the section at the end
// of the file when missing; nullopt deletes the key. The file is replaced atomically, so a crash
// or a full disk never leaves half a file; its folder must exist. A value is cut at its first line
// break (a value cannot span lines), and quoted when it would not read back as written (spaces at
// either end, enclosing quotes). Nothing is written when the file already holds that value.
EcritureIni EcritIni(const QString& fichier, const QString& section, const QString& cle,
                     const std::optional<QString>& valeur, AccesIni acces = AccesIni::Conserve);

} // namespace arbrix

#pragma once

// Writing an export to a file, and where the save dialog opens.

#include "settings/OptionsExport.h"

#include <QString>

#include <optional>

namespace arbrix {

class Noeud;

// Numbers shown in "MSG_ERREUR_EXPORT", as the file errors of the program were always numbered.
namespace NumeroErreurExport {
inline constexpr qint32 EcritureImpossible = 57; // the disk refused the data
inline constexpr qint32 AccesRefuse = 70;
inline constexpr qint32 AccesFichier = 75; // any other failure to create or replace the file
inline constexpr qint32 DossierIntrouvable = 76;
} // namespace NumeroErreurExport

struct ErreurExport {
    qint32 numero = 0;
    QString description; // the file and the system's reason
};

// Writes the text followed by fin, in UTF-8 without byte order mark, and replaces the file only
// once everything is written: after a failure the file is as it was before, or still absent.
std::optional<ErreurExport> EcritFichierExport(const QString& chemin, const QString& texte,
                                               QStringView fin = u"\r\n");

// The whole export of the node's branch (never the preview) written to the file: the text export
// followed by CR LF, a CSV or JSON document as it ends.
std::optional<ErreurExport> ExporteVersFichier(const Noeud& noeud, const OptionsExport& options,
                                               const QString& chemin);

// "MSG_ERREUR_EXPORT" filled with the number and a tab followed by the description, then what
// the user can do about it.
QString MessageErreurExport(const ErreurExport& erreur);

// Where the save dialog opens, the name it proposes and the files it offers.
struct DepartEnregistrement {
    QString dossier;
    QString nom;     // empty when nothing was exported before
    QString suffixe; // of the export type: "txt", "csv" or "json"
    QString filtre;  // "Text files (*.txt)", translated
};

// The suffix a file of that export type takes.
QString SuffixeExport(qint16 type);

// The folder of the last file written while that folder exists, else the documents folder; the
// last file's name is proposed either way, its suffix that of the type when it had the suffix of
// another type. A path written on Windows gives its name only.
DepartEnregistrement DepartEnregistrementExport(const QString& dernierFichier, qint16 type,
                                                const QString& dossierDocuments);
// The same with the user's documents folder (the home folder when there is none).
DepartEnregistrement DepartEnregistrementExport(const QString& dernierFichier, qint16 type);

} // namespace arbrix

#pragma once

// The options of the export, as the export dialog and the command-line program share them.
// Stored in section "Config" of the settings file under the "Export*" keys.

#include "settings/Ini.h"

#include <QString>
#include <QtGlobal>

namespace arbrix {

// Which descendants of the selected node are exported.
namespace EtendueExport {
inline constexpr qint16 Complete = 0;      // the whole subtree, collapsed nodes included
inline constexpr qint16 NoeudsOuverts = 1; // only what is expanded
inline constexpr qint16 NoeudSeul = 2;     // the node's direct children only
} // namespace EtendueExport

// How each item is written.
namespace FormatExport {
inline constexpr qint16 CommeAffiche = 0;  // the label as shown
inline constexpr qint16 NomsEtComptes = 1; // the label without member count or note
inline constexpr qint16 Comptes = 2;       // the last part of the node key (account name)
inline constexpr qint16 Noms = 3;          // names only (an account's display name)
} // namespace FormatExport

// What kind of text is written: the text of the formats above, or a document for scripts and
// spreadsheets, whose layout is fixed and ignores the format, structure and separator options.
namespace TypeExport {
inline constexpr qint16 Texte = 0;
inline constexpr qint16 Csv = 1;  // one row per member and place it holds
inline constexpr qint16 Json = 2; // the branch as one document
} // namespace TypeExport

// How CSV records end.
namespace FinLigneExport {
inline constexpr qint16 CrLf = 0;
inline constexpr qint16 Lf = 1;
} // namespace FinLigneExport

namespace DestinationExport {
inline constexpr qint16 PressePapiers = 0;
inline constexpr qint16 Fichier = 1;
} // namespace DestinationExport

struct OptionsExport {
    qint16 Etendue = EtendueExport::Complete;
    qint16 Format = FormatExport::CommeAffiche;
    qint16 Type = TypeExport::Texte;
    qint16 FinLigne = FinLigneExport::CrLf;
    qint16 Destination = DestinationExport::PressePapiers;
    bool Structure = true;
    bool ModeColonne = false;
    bool ComptesUtilisateurs = true;
    bool ComptesOrdinateurs = true;
    bool ComptesDeService = true;
    bool AutresMembres = true; // contacts, foreign principals and objects of other classes
    // As typed: the escapes \t, \r and \n are decoded only when the text is generated.
    QString Indentation = QStringLiteral("\\t");
    QString Separateur = QStringLiteral("\\r\\n");
    QString Fichier; // last file written; empty when none

    bool operator==(const OptionsExport&) const = default;
};

// Reads the "Export*" keys of section "Config"; missing keys give the defaults above. A check
// box is on only when its value reads as the number -1. An index outside its option list reads
// as the first option, so that a hand-edited file cannot select an option that does not exist.
OptionsExport LitOptionsExport(const QString& fichierIni);

// Writes every "Export*" key in one replacement of the file; "ExportFichier" only when the
// destination is the file.
EcritureIni EcritOptionsExport(const QString& fichierIni, const OptionsExport& options);

} // namespace arbrix

#pragma once

#include <QString>
#include <QStringList>

namespace arbrix {

// The name of the built-in language; choosing it means no language file.
inline const QString LangueFrancaise = QStringLiteral("Français");

// Folder of the language files, ending with "/": the program's folder when it holds language
// files (build tree, portable copy), else "../share/arbrix" beside it when that holds them (an
// installed tree moved elsewhere), else the installed data folder when it exists, else the
// program's folder.
QString DossierDonnees();
QString DossierDonnees(const QString& dossierProgramme, const QString& dossierInstalle);

// Names ("English.lng") of the language files of a folder, sorted by name.
QStringList FichiersLangue(const QString& dossier);

// The languages the configuration offers: the built-in one, then each file's name without
// its extension.
QStringList LanguesDisponibles(const QString& dossier);

// Full path of the file of a language; empty for the built-in language.
QString CheminFichierLangue(const QString& langue, const QString& dossier);

struct ChoixLangue {
    QString langue;
    bool afficherMessage = false; // no file matched the system's language
};

// The language of a first run: French on a French system (code 12) without looking at any file,
// else the first file of the folder whose "CodeLangue" equals the system's code, else French
// with the bilingual message.
ChoixLangue ChoisitLangueInitiale(int codeLangueSysteme, const QString& dossier);

// The fixed bilingual (English, then French) text shown when no language file matched, with
// CR LF line breaks. It thanks the user for installing the program by its name ("Arbrix", without
// the version).
QString MessageAucuneTraduction();
QString MessageAucuneTraduction(const QString& titreApplication);

// The number a language file declares in "CodeLangue" (its leading number; 0 when absent).
double CodeLangueFichier(const QString& fichier);

} // namespace arbrix

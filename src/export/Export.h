#pragma once

// The text export of a branch of the tree: the export dialog's preview and final text, and the
// command-line program's output. The generator reads the tree as it stands (never the directory):
// each node's Key, Text, Tag, Image and expanded state.

#include "export/OptionsExport.h"

#include <QSet>
#include <QString>

namespace arbrix {

class Arbre;
class Noeud;

// The preview stops after this many lines (the selected node's own line included).
inline constexpr int LignesAperçuMax = 20;

// Decodes the escapes typed in the indentation and separator boxes: \t tab, \r carriage return,
// \n line feed, in that order. A backslash followed by another character stays as it is.
QString DécodeCaractères(const QString& texte);

class GénérateurExport {
public:
    explicit GénérateurExport(OptionsExport options);

    // The export from the tree's selected node; empty when no node is selected. In preview mode
    // at most LignesAperçuMax lines.
    QString GénèreExport(const Arbre& arbre, bool aperçu);
    // The export from the given node.
    QString GénèreExport(const Noeud& noeud, bool aperçu);

    // Lines produced by the last preview.
    int LignesAperçu() const { return m_lignesAperçu; }

private:
    void ExporteNoeud(const Noeud& noeud, bool aperçu, int niveau);
    void ExporteEnfant(const Noeud& enfant, bool aperçu, int niveau);
    bool DoitDescendre(const Noeud& enfant) const;
    bool CompteSélectionné(QChar lettreType) const;
    QString TexteItem(const Noeud& noeud) const;
    QString TexteColonné(const Noeud& noeud, const QString& item) const;
    void AjouteLigne(const QString& item, int indentations);

    OptionsExport m_options;
    bool m_modeColonné = false; // column mode needs the structure lines
    QString m_indentation;      // decoded
    QString m_séparateur;       // decoded
    QString m_texteDésactivé;   // NBSP + "-> " + the translated "disabled" note
    QString m_texteExport;
    QSet<QString> m_comptesExportés; // case-folded items of the flat list
    int m_lignesAperçu = 0;
};

// One-call form: GénérateurExport(options).GénèreExport(arbre, aperçu).
QString GénèreExport(const Arbre& arbre, const OptionsExport& options, bool aperçu);

} // namespace arbrix

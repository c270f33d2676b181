#pragma once

// The export of a branch of the tree: the export dialog's preview and final text, and the
// command-line program's output. The generator reads the tree as it stands (never the directory):
// each node's Key, Text, Tag, Image and expanded state. This is the text export; the CSV and JSON
// documents are in export/ExportStructure.h, and GenereExportSelonType chooses among them.

#include "settings/OptionsExport.h"

#include <QSet>
#include <QString>

namespace arbrix {

class Arbre;
class Noeud;

// The preview stops after this many lines (the selected node's own line included).
inline constexpr int LignesApercuMax = 20;

// Decodes the escapes typed in the indentation and separator boxes: \t tab, \r carriage return,
// \n line feed, in that order. A backslash followed by another character stays as it is.
QString DecodeCaracteres(const QString& texte);

class GenerateurExport {
public:
    explicit GenerateurExport(OptionsExport options);

    // The export from the tree's selected node; empty when no node is selected. In preview mode
    // at most LignesAperçuMax lines.
    QString GenereExport(const Arbre& arbre, bool apercu);
    // The export from the given node.
    QString GenereExport(const Noeud& noeud, bool apercu);

    // Lines produced by the last preview.
    int LignesApercu() const { return m_lignesApercu; }

private:
    void ExporteNoeud(const Noeud& noeud, bool apercu, int niveau);
    void ExporteEnfant(const Noeud& enfant, bool apercu, int niveau);
    QString TexteItem(const Noeud& noeud) const;
    QString TexteColonne(const Noeud& noeud, const QString& item) const;
    void AjouteLigne(const QString& item, int indentations);

    OptionsExport m_options;
    bool m_modeColonne = false; // column mode needs the structure lines
    QString m_indentation;      // decoded
    QString m_separateur;       // decoded
    QString m_texteDesactive;   // NBSP + "-> " + the translated "disabled" note
    QString m_texteExport;
    QSet<QString> m_comptesExportes; // case-folded items of the flat list
    int m_lignesApercu = 0;
};

// One-call form: GénérateurExport(options).GénèreExport(arbre, aperçu).
QString GenereExport(const Arbre& arbre, const OptionsExport& options, bool apercu);

// The export of the node's branch in the type the options choose: the text above, which has no
// line break after its last line, or the CSV or JSON document, which has one. A preview stops
// after LignesApercuMax lines.
QString GenereExportSelonType(const Noeud& noeud, const OptionsExport& options, bool apercu);

} // namespace arbrix

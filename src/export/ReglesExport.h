#pragma once

// The export dialog's options as the user changes them, with the rules that tie them together:
// column mode needs the structure lines, the indentation is used only by indented lines, and the
// separator follows the layout when the user left it at the layout's usual value; the CSV and
// JSON documents have a layout of their own, which none of the text's options change.

#include "settings/OptionsExport.h"

namespace arbrix {

class ReglesExport {
public:
    explicit ReglesExport(OptionsExport options);

    const OptionsExport& Options() const { return m_options; }

    // Extent 0 (whole subtree) gives back line breaks to a ";" left from column mode, except in
    // column mode itself, where ";" is the separator that mode proposes.
    void ChoisitEtendue(qint16 etendue);
    void ChoisitFormat(qint16 format) { m_options.Format = format; }
    void ChoisitType(qint16 type) { m_options.Type = type; }
    void ChoisitFinLigne(qint16 finLigne) { m_options.FinLigne = finLigne; }
    void ChoisitDestination(qint16 destination) { m_options.Destination = destination; }
    // Without structure there is no column mode.
    void CocheStructure(bool coche);
    void CocheModeColonne(bool coche);
    void CocheComptesUtilisateurs(bool coche) { m_options.ComptesUtilisateurs = coche; }
    void CocheComptesOrdinateurs(bool coche) { m_options.ComptesOrdinateurs = coche; }
    void CocheComptesDeService(bool coche) { m_options.ComptesDeService = coche; }
    void CocheAutresMembres(bool coche) { m_options.AutresMembres = coche; }
    void ChangeIndentation(const QString& texte) { m_options.Indentation = texte; }
    void ChangeSeparateur(const QString& texte) { m_options.Separateur = texte; }
    void ChangeFichier(const QString& chemin) { m_options.Fichier = chemin; }

    // Structure, column mode, format, indentation and separator.
    bool OptionsTexteActives() const { return m_options.Type == TypeExport::Texte; }
    bool ModeColonneActif() const { return OptionsTexteActives() && m_options.Structure; }
    bool IndentationActive() const { return ModeColonneActif() && !m_options.ModeColonne; }
    bool FinLigneActive() const { return m_options.Type == TypeExport::Csv; }

private:
    OptionsExport m_options;
};

} // namespace arbrix

#include "export/ReglesExport.h"

namespace arbrix {

namespace {

const QString kSeparateurLignes = QStringLiteral("\\r\\n");
const QString kSeparateurColonnes = QStringLiteral(";");

} // namespace

ReglesExport::ReglesExport(OptionsExport options)
    : m_options(std::move(options)) {
    // A stored column mode without structure cannot be shown: the box is unchecked and disabled.
    if (!m_options.Structure)
        m_options.ModeColonne = false;
}

void ReglesExport::ChoisitEtendue(qint16 etendue) {
    m_options.Etendue = etendue;
    if (etendue == EtendueExport::Complete && !m_options.ModeColonne &&
        m_options.Separateur == kSeparateurColonnes)
        m_options.Separateur = kSeparateurLignes;
}

void ReglesExport::CocheStructure(bool coche) {
    // Column mode goes first, as if unchecked by hand: its ";" goes with it.
    if (!coche && m_options.ModeColonne)
        CocheModeColonne(false);
    m_options.Structure = coche;
    if (coche && !m_options.ModeColonne && m_options.Separateur == kSeparateurColonnes)
        m_options.Separateur = kSeparateurLignes;
}

void ReglesExport::CocheModeColonne(bool coche) {
    if (coche == m_options.ModeColonne || (coche && !m_options.Structure))
        return;
    m_options.ModeColonne = coche;
    if (coche && m_options.Separateur == kSeparateurLignes)
        m_options.Separateur = kSeparateurColonnes;
    else if (!coche && m_options.Separateur == kSeparateurColonnes)
        m_options.Separateur = kSeparateurLignes;
}

} // namespace arbrix

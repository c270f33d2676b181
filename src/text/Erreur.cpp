#include "text/Erreur.h"

#include <utility>

namespace arbrix {

ErreurExécution::ErreurExécution(qint32 numéro, QString texte)
    : m_numéro(numéro)
    , m_texte(std::move(texte))
    , m_what(m_texte.toStdString()) {}

} // namespace arbrix

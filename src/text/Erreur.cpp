#include "text/Erreur.h"

#include <utility>

namespace arbrix {

ErreurExecution::ErreurExecution(qint32 numero, QString texte)
    : m_numero(numero)
    , m_texte(std::move(texte))
    , m_what(m_texte.toStdString()) {}

} // namespace arbrix

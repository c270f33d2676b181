#include "tree/ui/PointeurAttente.h"

#include <QCursor>
#include <QGuiApplication>

namespace arbrix {

void PointeurAttente::Attend() {
    ++m_attentes;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void PointeurAttente::Retablit() {
    while (m_attentes > 0) {
        --m_attentes;
        QGuiApplication::restoreOverrideCursor();
    }
}

} // namespace arbrix

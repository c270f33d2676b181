#include "menus/ui/PressePapiers.h"

#include "menus/Copie.h"

#include <QClipboard>
#include <QGuiApplication>

namespace arbrix {

void CopieNom(const QString& texte) {
    CopieTexte(TexteSansCompteur(texte));
}

void CopieTexte(const QString& texte) {
    QClipboard* pressePapiers = QGuiApplication::clipboard();
    pressePapiers->clear();
    pressePapiers->setText(texte);
}

} // namespace arbrix

#include "text/Texte.h"

namespace arbrix {

QString FormateMessage(const QString& texte, const QVariantList& valeurs) {
    QString resultat = texte;
    qsizetype i = 0;
    for (qsizetype position = resultat.indexOf(u"%v", 0, Qt::CaseInsensitive); position >= 0;
         position = resultat.indexOf(u"%v", 0, Qt::CaseInsensitive)) {
        resultat.replace(position, 2, i < valeurs.size() ? valeurs.at(i).toString() : QString());
        ++i;
    }
    return resultat;
}

QString AjouteAntislash(const QString& chemin) {
    return chemin.endsWith(u'/') ? chemin : chemin + u'/';
}

} // namespace arbrix

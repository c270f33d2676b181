#include "tree/LigneCommande.h"

#include <QCoreApplication>

namespace arbrix {

namespace {

// Spaces only: other blanks belong to the name.
QString SansEspacesAuxBords(const QString& texte) {
    qsizetype debut = 0;
    qsizetype fin = texte.size();
    while (debut < fin && texte.at(debut) == u' ')
        ++debut;
    while (fin > debut && texte.at(fin - 1) == u' ')
        --fin;
    return texte.mid(debut, fin - debut);
}

} // namespace

PointDeDepart InterpreteLigneCommande(const QString& ligne) {
    PointDeDepart depart;
    const QString nettoyee = SansEspacesAuxBords(ligne);
    if (nettoyee.isEmpty())
        return depart;
    depart.analyser = true;
    if (nettoyee.startsWith(u"OU=")) {
        depart.type = TypeRechercheOU;
        depart.dn = nettoyee;
    } else if (nettoyee.startsWith(u"CN=")) {
        depart.dn = nettoyee;
    } else {
        depart.texteRecherche = ligne;
    }
    return depart;
}

QString LigneCommandeDesArguments(const QStringList& arguments) {
    return arguments.join(u' ');
}

QStringList ArgumentsDuProgramme() {
    if (!QCoreApplication::instance())
        return {};
    return QCoreApplication::arguments().mid(1);
}

} // namespace arbrix

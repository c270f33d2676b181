#include "shell/LigneCommande.h"

#include <QCoreApplication>

namespace arbrix {

namespace {

// Spaces only: other blanks belong to the name.
QString SansEspacesAuxBords(const QString& texte) {
    qsizetype début = 0;
    qsizetype fin = texte.size();
    while (début < fin && texte.at(début) == u' ')
        ++début;
    while (fin > début && texte.at(fin - 1) == u' ')
        --fin;
    return texte.mid(début, fin - début);
}

} // namespace

PointDeDépart InterprèteLigneCommande(const QString& ligne) {
    PointDeDépart départ;
    const QString nettoyée = SansEspacesAuxBords(ligne);
    if (nettoyée.isEmpty())
        return départ;
    départ.analyser = true;
    if (nettoyée.startsWith(u"OU=")) {
        départ.type = TypeRechercheOU;
        départ.dn = nettoyée;
    } else if (nettoyée.startsWith(u"CN=")) {
        départ.dn = nettoyée;
    } else {
        départ.texteRecherche = ligne;
    }
    return départ;
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

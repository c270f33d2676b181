#include "text/Texte.h"

#include <algorithm>

namespace arbrix {

namespace {

Qt::CaseSensitivity Casse(int mode) {
    return mode == ComparaisonBinaire ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

} // namespace

QString Remplace(const QString& texte, const QString& recherche, const QString& remplacement, int début,
                 int mode) {
    if (recherche.isEmpty())
        return texte;
    const Qt::CaseSensitivity casse = Casse(mode);
    qsizetype trouvé = texte.indexOf(recherche, std::max(début, 1) - 1, casse);
    if (trouvé < 0)
        return texte;
    QString résultat;
    résultat.reserve(texte.size());
    qsizetype copié = 0;
    while (trouvé >= 0) {
        résultat += QStringView(texte).mid(copié, trouvé - copié);
        résultat += remplacement;
        copié = trouvé + recherche.size();
        trouvé = texte.indexOf(recherche, copié, casse);
    }
    résultat += QStringView(texte).mid(copié);
    return résultat;
}

QStringList Découpe(const QString& texte, const QString& séparateur, int limite, int mode) {
    if (limite == 0)
        throw ErreurExécution(NuméroErreur::IndiceHorsLimites,
                              QStringLiteral("L'indice n'appartient pas à la sélection"));
    if (limite < -1)
        throw ErreurExécution(NuméroErreur::AppelIncorrect,
                              QStringLiteral("Appel de procédure ou argument incorrect"));
    if (séparateur.isEmpty())
        return {texte};
    QStringList éléments;
    qsizetype début = 0;
    for (;;) {
        const bool dernier = limite > 0 && éléments.size() == limite - 1;
        const qsizetype trouvé = dernier ? -1 : texte.indexOf(séparateur, début, Casse(mode));
        if (trouvé < 0) {
            éléments.append(texte.mid(début));
            return éléments;
        }
        éléments.append(texte.mid(début, trouvé - début));
        début = trouvé + séparateur.size();
    }
}

QString Joint(const QStringList& éléments, const QString& séparateur) {
    QString résultat;
    for (const QString& élément : éléments) {
        if (!résultat.isEmpty())
            résultat += séparateur;
        résultat += élément;
    }
    return résultat;
}

int ChercheDepuisFin(const QString& texte, const QString& recherche, int début, int mode) {
    if (recherche.isEmpty() || texte.isEmpty() || (début < 1 && début != -1))
        return 0;
    const qsizetype depuis = (début == -1 || début > texte.size()) ? texte.size() - 1 : début - 1;
    return static_cast<int>(texte.lastIndexOf(recherche, depuis, Casse(mode)) + 1);
}

QString RépèteTexte(int nombre, const QString& texte) {
    return nombre > 0 ? texte.repeated(nombre) : QString();
}

QString FormateMessage(const QString& texte, const QVariantList& valeurs) {
    QString résultat = texte;
    qsizetype i = 0;
    for (qsizetype position = résultat.indexOf(u"%v", 0, Qt::CaseInsensitive); position >= 0;
         position = résultat.indexOf(u"%v", 0, Qt::CaseInsensitive)) {
        résultat.replace(position, 2, i < valeurs.size() ? valeurs.at(i).toString() : QString());
        ++i;
    }
    return résultat;
}

QString AjouteAntislash(const QString& chemin) {
    return chemin.endsWith(u'/') ? chemin : chemin + u'/';
}

QDate DateSansHeure(const QDateTime& moment) {
    return moment.date();
}

} // namespace arbrix

#include "text/Texte.h"

#include <algorithm>

namespace arbrix {

namespace {

Qt::CaseSensitivity Casse(int mode) {
    return mode == ComparaisonBinaire ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

} // namespace

QString Remplace(const QString& texte, const QString& recherche, const QString& remplacement, int debut,
                 int mode) {
    if (recherche.isEmpty())
        return texte;
    const Qt::CaseSensitivity casse = Casse(mode);
    qsizetype trouve = texte.indexOf(recherche, std::max(debut, 1) - 1, casse);
    if (trouve < 0)
        return texte;
    QString resultat;
    resultat.reserve(texte.size());
    qsizetype copie = 0;
    while (trouve >= 0) {
        resultat += QStringView(texte).mid(copie, trouve - copie);
        resultat += remplacement;
        copie = trouve + recherche.size();
        trouve = texte.indexOf(recherche, copie, casse);
    }
    resultat += QStringView(texte).mid(copie);
    return resultat;
}

QStringList Decoupe(const QString& texte, const QString& separateur, int limite, int mode) {
    if (limite == 0)
        throw ErreurExecution(NumeroErreur::IndiceHorsLimites,
                              QStringLiteral("L'indice n'appartient pas à la sélection"));
    if (limite < -1)
        throw ErreurExecution(NumeroErreur::AppelIncorrect,
                              QStringLiteral("Appel de procédure ou argument incorrect"));
    if (separateur.isEmpty())
        return {texte};
    QStringList elements;
    qsizetype debut = 0;
    for (;;) {
        const bool dernier = limite > 0 && elements.size() == limite - 1;
        const qsizetype trouve = dernier ? -1 : texte.indexOf(separateur, debut, Casse(mode));
        if (trouve < 0) {
            elements.append(texte.mid(debut));
            return elements;
        }
        elements.append(texte.mid(debut, trouve - debut));
        debut = trouve + separateur.size();
    }
}

QString Joint(const QStringList& elements, const QString& separateur) {
    QString resultat;
    for (const QString& element : elements) {
        if (!resultat.isEmpty())
            resultat += separateur;
        resultat += element;
    }
    return resultat;
}

int ChercheDepuisFin(const QString& texte, const QString& recherche, int debut, int mode) {
    if (recherche.isEmpty() || texte.isEmpty() || (debut < 1 && debut != -1))
        return 0;
    const qsizetype depuis = (debut == -1 || debut > texte.size()) ? texte.size() - 1 : debut - 1;
    return static_cast<int>(texte.lastIndexOf(recherche, depuis, Casse(mode)) + 1);
}

QString RepeteTexte(int nombre, const QString& texte) {
    return nombre > 0 ? texte.repeated(nombre) : QString();
}

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

QDate DateSansHeure(const QDateTime& moment) {
    return moment.date();
}

} // namespace arbrix

#include "i18n/TraductionFeuille.h"

#include "i18n/Traductions.h"

#include <QFileInfo>

namespace arbrix {

namespace {

bool FichierUtilisable(const QString& fichier) {
    return !fichier.isEmpty() && QFileInfo(fichier).isFile();
}

void TraduitContrôle(DescriptionContrôle& contrôle, const QString& fichier) {
    switch (contrôle.genre) {
    case GenreContrôle::Menu:
    case GenreContrôle::Etiquette:
    case GenreContrôle::Cadre:
    case GenreContrôle::Bouton:
    case GenreContrôle::CaseACocher:
    case GenreContrôle::BoutonOption:
        contrôle.texte = LitTraduction(fichier, contrôle.Clé(), contrôle.texte);
        break;
    case GenreContrôle::ZoneTexte:
        // A text box is translated by its name alone, even inside a control array.
        contrôle.texte = LitTraduction(fichier, contrôle.nom, contrôle.texte);
        break;
    case GenreContrôle::Onglets:
        for (qsizetype i = 0; i < contrôle.onglets.size(); ++i) {
            const QString clé = contrôle.nom + u'(' + QString::number(i + 1) + u')';
            contrôle.onglets[i] = LitTraduction(fichier, clé, contrôle.onglets[i]);
        }
        break;
    case GenreContrôle::Autre:
        break;
    }
}

} // namespace

void TraduitFeuille(DescriptionFeuille& feuille, const QString& fichierLangue) {
    if (!FichierUtilisable(fichierLangue))
        return;
    feuille.titre = LitTraduction(fichierLangue, feuille.nom, feuille.titre);
    for (auto& contrôle : feuille.contrôles)
        TraduitContrôle(contrôle, fichierLangue);
}

void TraduitFeuille(DescriptionFeuille& feuille) {
    TraduitFeuille(feuille, FichierLangue());
}

void TraduitColonnes(QList<DescriptionColonne>& colonnes, const QString& fichierLangue) {
    if (!FichierUtilisable(fichierLangue))
        return;
    for (auto& colonne : colonnes)
        colonne.texte = LitTraduction(fichierLangue, colonne.clé, colonne.texte);
}

void TraduitColonnes(QList<DescriptionColonne>& colonnes) {
    TraduitColonnes(colonnes, FichierLangue());
}

} // namespace arbrix

#include "i18n/TraductionFeuille.h"

#include "i18n/Traductions.h"

#include <QFileInfo>

namespace arbrix {

namespace {

bool FichierUtilisable(const QString& fichier) {
    return !fichier.isEmpty() && QFileInfo(fichier).isFile();
}

void TraduitControle(DescriptionControle& controle, const QString& fichier) {
    switch (controle.genre) {
    case GenreControle::Menu:
    case GenreControle::Etiquette:
    case GenreControle::Cadre:
    case GenreControle::Bouton:
    case GenreControle::CaseACocher:
    case GenreControle::BoutonOption:
        controle.texte = LitTraduction(fichier, controle.Cle(), controle.texte);
        break;
    case GenreControle::ZoneTexte:
        // A text box is translated by its name alone, even inside a control array.
        controle.texte = LitTraduction(fichier, controle.nom, controle.texte);
        break;
    case GenreControle::Onglets:
        for (qsizetype i = 0; i < controle.onglets.size(); ++i) {
            const QString cle = controle.nom + u'(' + QString::number(i + 1) + u')';
            controle.onglets[i] = LitTraduction(fichier, cle, controle.onglets[i]);
        }
        break;
    case GenreControle::Autre:
        break;
    }
}

} // namespace

void TraduitFeuille(DescriptionFeuille& feuille, const QString& fichierLangue) {
    if (!FichierUtilisable(fichierLangue))
        return;
    feuille.titre = LitTraduction(fichierLangue, feuille.nom, feuille.titre);
    for (auto& controle : feuille.controles)
        TraduitControle(controle, fichierLangue);
}

void TraduitFeuille(DescriptionFeuille& feuille) {
    TraduitFeuille(feuille, FichierLangue());
}

void TraduitColonnes(QList<DescriptionColonne>& colonnes, const QString& fichierLangue) {
    if (!FichierUtilisable(fichierLangue))
        return;
    for (auto& colonne : colonnes)
        colonne.texte = LitTraduction(fichierLangue, colonne.cle, colonne.texte);
}

void TraduitColonnes(QList<DescriptionColonne>& colonnes) {
    TraduitColonnes(colonnes, FichierLangue());
}

} // namespace arbrix

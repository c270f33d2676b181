#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace arbrix {

// What the translation needs to know of a window's control. The window code describes its
// controls with these, has them translated, then puts the texts back on its widgets.
enum class GenreControle {
    Menu,
    Etiquette,
    Cadre,
    Bouton,
    CaseACocher,
    BoutonOption,
    ZoneTexte,
    Onglets,
    Autre, // lists, combo boxes, trees, pictures, timers: never translated
};

struct DescriptionControle {
    QString nom;    // "lblChercher", "optType"
    int index = -1; // index in a control array ("optType(1)"), -1 for a single control
    GenreControle genre = GenreControle::Autre;
    QString texte;       // caption; the text of a text box
    QStringList onglets; // captions of the tabs of a tab strip, first tab first

    // Translation key: the name, or name + "(" + index + ")" for a member of a control array.
    QString Cle() const { return index < 0 ? nom : nom + u'(' + QString::number(index) + u')'; }
};

struct DescriptionFeuille {
    QString nom;   // "frmPrincipal"
    QString titre; // the window's caption
    QList<DescriptionControle> controles;
};

struct DescriptionColonne {
    QString cle; // catalogue key, "COL_NOM"
    QString texte;
};

// Translates the window's caption and its controls' texts from the language file; with no file,
// or a file that no longer exists, the designed texts stay. The one-argument forms use the file
// of the last ChargeTraductions.
void TraduitFeuille(DescriptionFeuille& feuille, const QString& fichierLangue);
void TraduitFeuille(DescriptionFeuille& feuille);

// Translates column titles by their keys, under the same condition.
void TraduitColonnes(QList<DescriptionColonne>& colonnes, const QString& fichierLangue);
void TraduitColonnes(QList<DescriptionColonne>& colonnes);

} // namespace arbrix

#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace arbrix {

struct EcritureIni;

// The catalogue of shown texts, by key. Keys are compared without regard to case, so that
// "TXT_" + a lower-case image key finds the upper-case entry.
class colTraductions {
public:
    // Adds the text under the key; an existing key (in any case) gets the new text in place.
    void Add(const QString& cle, const QString& texte);
    // The text of the key; an unknown key gives an empty text.
    QString Item(QStringView cle) const;
    int Count() const { return static_cast<int>(entrees.size()); }
    void Remove(QStringView cle);
    void Vide();
    // Keys as added, in loading order.
    QStringList Cles() const;

private:
    struct Entree {
        QString cle;
        QString texte;
    };
    static QString CleNormalisee(QStringView cle);
    void Reindexe();

    QList<Entree> entrees;
    QHash<QString, qsizetype> positions;
};

// The program-wide catalogue. It holds the built-in French texts from its first use, until
// ChargeTraductions fills it from a language file.
colTraductions& Catalogue();

// Catalogue().Item(clé).
QString Traduction(QStringView cle);

// The text of a key in a language file (section "Traduction"): "{OTHER_KEY}" takes the value of
// OTHER_KEY (one level only); an empty value falls back to a "<KEY>...</KEY>" block of the file;
// then "§" becomes a line break except inside "'§'". An empty or missing file gives the default,
// with the same line-break rule applied.
QString LitTraduction(const QString& fichier, const QString& cle, const QString& defaut);

// Catalogue().Add(clé, LitTraduction(fichier, clé, défaut)).
void AjouteTraduction(const QString& fichier, const QString& cle, const QString& defaut);

// Refills the catalogue with every key, in loading order, from the language file (empty: the
// built-in French texts) and remembers the file for the translation of the windows.
void ChargeTraductions(const QString& fichierLangue);

// The language file given to the last ChargeTraductions (empty with the built-in French texts).
QString FichierLangue();

// Turns each "§" into CR LF, leaving the three characters "'§'" as they are.
QString AppliqueSautsDeLigne(const QString& texte);

// "MSG_ERREUR_ECRITURE_PARAMETRES" filled with the file and the system's reason.
QString MessageEcritureParametres(const EcritureIni& ecriture);

} // namespace arbrix

#include "i18n/Traductions.h"

#include "i18n/CatalogueFrancais.h"
#include "settings/Encodage.h"
#include "settings/Ini.h"
#include "text/Texte.h"

#include <QDir>

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace arbrix {

namespace {

const QString SectionTraduction = QStringLiteral("Traduction");
const QString SautDeLigne = QStringLiteral("\r\n");

colTraductions CatalogueFrancais() {
    colTraductions catalogue;
    for (const auto& [cle, texte] : TextesParDefaut())
        catalogue.Add(cle, AppliqueSautsDeLigne(texte));
    return catalogue;
}

QString& FichierLangueCourant() {
    static QString fichier;
    return fichier;
}

bool EstRenvoi(const QString& valeur) {
    return valeur.size() >= 2 && valeur.front() == u'{' && valeur.back() == u'}';
}

QString LitFichierTexte(const QString& chemin) {
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? DecodeTexteFichier(fichier.readAll()) : QString();
}

// The text between "<clé>" + its line break and "</clé>"; nothing when either tag is missing.
std::optional<QString> LitBloc(const QString& fichier, const QString& cle) {
    const QString contenu = LitFichierTexte(fichier);
    const QString ouverture = u'<' + cle + u'>';
    qsizetype debut = contenu.indexOf(ouverture, 0, Qt::CaseInsensitive);
    if (debut < 0)
        return std::nullopt;
    debut += ouverture.size();
    // The line break after the opening tag belongs to the layout, not to the text.
    if (contenu.mid(debut, 2) == SautDeLigne)
        debut += 2;
    else if (debut < contenu.size() && (contenu[debut] == u'\n' || contenu[debut] == u'\r'))
        debut += 1;
    const qsizetype fin = contenu.indexOf(QStringLiteral("</") + cle + u'>', debut, Qt::CaseInsensitive);
    if (fin < 0)
        return std::nullopt;
    return contenu.mid(debut, fin - debut);
}

} // namespace

QString colTraductions::CleNormalisee(QStringView cle) {
    return cle.toString().toCaseFolded();
}

void colTraductions::Reindexe() {
    positions.clear();
    for (qsizetype i = 0; i < entrees.size(); ++i)
        positions.insert(CleNormalisee(entrees[i].cle), i);
}

void colTraductions::Add(const QString& cle, const QString& texte) {
    const QString normalisee = CleNormalisee(cle);
    const auto trouvee = positions.constFind(normalisee);
    if (trouvee != positions.cend()) {
        entrees[*trouvee].texte = texte;
        return;
    }
    positions.insert(normalisee, entrees.size());
    entrees.append({cle, texte});
}

QString colTraductions::Item(QStringView cle) const {
    const auto trouvee = positions.constFind(CleNormalisee(cle));
    return trouvee == positions.cend() ? QString() : entrees[*trouvee].texte;
}

void colTraductions::Remove(QStringView cle) {
    const auto trouvee = positions.constFind(CleNormalisee(cle));
    if (trouvee == positions.cend())
        return;
    entrees.removeAt(*trouvee);
    Reindexe();
}

void colTraductions::Vide() {
    entrees.clear();
    positions.clear();
}

QStringList colTraductions::Cles() const {
    QStringList cles;
    cles.reserve(entrees.size());
    for (const auto& entree : entrees)
        cles.append(entree.cle);
    return cles;
}

colTraductions& Catalogue() {
    static colTraductions catalogue = CatalogueFrancais();
    return catalogue;
}

QString Traduction(QStringView cle) {
    return Catalogue().Item(cle);
}

QString AppliqueSautsDeLigne(const QString& texte) {
    static const QString signeProtege = QStringLiteral("'§'");
    QString resultat;
    resultat.reserve(texte.size() + 8);
    for (qsizetype i = 0; i < texte.size(); ++i) {
        if (QStringView(texte).sliced(i).startsWith(signeProtege)) {
            resultat += signeProtege;
            i += signeProtege.size() - 1;
        } else if (texte[i] == u'§') {
            resultat += SautDeLigne;
        } else {
            resultat += texte[i];
        }
    }
    return resultat;
}

QString LitTraduction(const QString& fichier, const QString& cle, const QString& defaut) {
    if (fichier.isEmpty() || !QFileInfo(fichier).isFile())
        return AppliqueSautsDeLigne(defaut);
    QString valeur = LitIni(fichier, SectionTraduction, cle, QString());
    if (EstRenvoi(valeur)) {
        const QString autreCle = valeur.mid(1, valeur.size() - 2);
        valeur = autreCle.isEmpty() ? QString() : LitIni(fichier, SectionTraduction, autreCle, QString());
    }
    if (valeur.isEmpty())
        valeur = LitBloc(fichier, cle).value_or(defaut);
    return AppliqueSautsDeLigne(valeur);
}

void AjouteTraduction(const QString& fichier, const QString& cle, const QString& defaut) {
    Catalogue().Add(cle, LitTraduction(fichier, cle, defaut));
}

void ChargeTraductions(const QString& fichierLangue) {
    FichierLangueCourant() = fichierLangue;
    Catalogue().Vide();
    for (const auto& [cle, texte] : TextesParDefaut())
        AjouteTraduction(fichierLangue, cle, texte);
}

QString FichierLangue() {
    return FichierLangueCourant();
}

QString MessageEcritureParametres(const EcritureIni& ecriture) {
    return FormateMessage(Traduction(u"MSG_ERREUR_ECRITURE_PARAMETRES"),
                          {QDir::toNativeSeparators(ecriture.fichier), ecriture.raison});
}

} // namespace arbrix

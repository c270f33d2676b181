#include "i18n/Traductions.h"

#include "i18n/CatalogueFrancais.h"
#include "settings/Encodage.h"
#include "settings/Ini.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace arbrix {

namespace {

const QString SectionTraduction = QStringLiteral("Traduction");
const QString SautDeLigne = QStringLiteral("\r\n");

colTraductions CatalogueFrançais() {
    colTraductions catalogue;
    for (const auto& [clé, texte] : TextesParDéfaut())
        catalogue.Add(clé, AppliqueSautsDeLigne(texte));
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
    return fichier.open(QIODevice::ReadOnly) ? DécodeTexteFichier(fichier.readAll()) : QString();
}

// The text between "<clé>" + its line break and "</clé>"; nothing when either tag is missing.
std::optional<QString> LitBloc(const QString& fichier, const QString& clé) {
    const QString contenu = LitFichierTexte(fichier);
    const QString ouverture = u'<' + clé + u'>';
    qsizetype début = contenu.indexOf(ouverture, 0, Qt::CaseInsensitive);
    if (début < 0)
        return std::nullopt;
    début += ouverture.size();
    // The line break after the opening tag belongs to the layout, not to the text.
    if (contenu.mid(début, 2) == SautDeLigne)
        début += 2;
    else if (début < contenu.size() && (contenu[début] == u'\n' || contenu[début] == u'\r'))
        début += 1;
    const qsizetype fin = contenu.indexOf(QStringLiteral("</") + clé + u'>', début, Qt::CaseInsensitive);
    if (fin < 0)
        return std::nullopt;
    return contenu.mid(début, fin - début);
}

} // namespace

QString colTraductions::CléNormalisée(QStringView clé) {
    return clé.toString().toCaseFolded();
}

void colTraductions::Réindexe() {
    positions.clear();
    for (qsizetype i = 0; i < entrées.size(); ++i)
        positions.insert(CléNormalisée(entrées[i].clé), i);
}

void colTraductions::Add(const QString& clé, const QString& texte) {
    const QString normalisée = CléNormalisée(clé);
    const auto trouvée = positions.constFind(normalisée);
    if (trouvée != positions.cend()) {
        entrées[*trouvée].texte = texte;
        return;
    }
    positions.insert(normalisée, entrées.size());
    entrées.append({clé, texte});
}

QString colTraductions::Item(QStringView clé) const {
    const auto trouvée = positions.constFind(CléNormalisée(clé));
    return trouvée == positions.cend() ? QString() : entrées[*trouvée].texte;
}

bool colTraductions::Contient(QStringView clé) const {
    return positions.contains(CléNormalisée(clé));
}

void colTraductions::Remove(QStringView clé) {
    const auto trouvée = positions.constFind(CléNormalisée(clé));
    if (trouvée == positions.cend())
        return;
    entrées.removeAt(*trouvée);
    Réindexe();
}

void colTraductions::Vide() {
    entrées.clear();
    positions.clear();
}

QStringList colTraductions::Clés() const {
    QStringList clés;
    clés.reserve(entrées.size());
    for (const auto& entrée : entrées)
        clés.append(entrée.clé);
    return clés;
}

QStringList colTraductions::Textes() const {
    QStringList textes;
    textes.reserve(entrées.size());
    for (const auto& entrée : entrées)
        textes.append(entrée.texte);
    return textes;
}

colTraductions& Catalogue() {
    static colTraductions catalogue = CatalogueFrançais();
    return catalogue;
}

QString Traduction(QStringView clé) {
    return Catalogue().Item(clé);
}

QString AppliqueSautsDeLigne(const QString& texte) {
    static const QString signeProtégé = QStringLiteral("'§'");
    QString résultat;
    résultat.reserve(texte.size() + 8);
    for (qsizetype i = 0; i < texte.size(); ++i) {
        if (QStringView(texte).sliced(i).startsWith(signeProtégé)) {
            résultat += signeProtégé;
            i += signeProtégé.size() - 1;
        } else if (texte[i] == u'§') {
            résultat += SautDeLigne;
        } else {
            résultat += texte[i];
        }
    }
    return résultat;
}

QString LitTraduction(const QString& fichier, const QString& clé, const QString& défaut) {
    if (fichier.isEmpty() || !QFileInfo(fichier).isFile())
        return AppliqueSautsDeLigne(défaut);
    QString valeur = LitIni(fichier, SectionTraduction, clé, QString());
    if (EstRenvoi(valeur)) {
        const QString autreClé = valeur.mid(1, valeur.size() - 2);
        valeur = autreClé.isEmpty() ? QString() : LitIni(fichier, SectionTraduction, autreClé, QString());
    }
    if (valeur.isEmpty())
        valeur = LitBloc(fichier, clé).value_or(défaut);
    return AppliqueSautsDeLigne(valeur);
}

void AjouteTraduction(const QString& fichier, const QString& clé, const QString& défaut) {
    Catalogue().Add(clé, LitTraduction(fichier, clé, défaut));
}

void ChargeTraductions(const QString& fichierLangue) {
    FichierLangueCourant() = fichierLangue;
    Catalogue().Vide();
    for (const auto& [clé, texte] : TextesParDéfaut())
        AjouteTraduction(fichierLangue, clé, texte);
}

QString FichierLangue() {
    return FichierLangueCourant();
}

} // namespace arbrix

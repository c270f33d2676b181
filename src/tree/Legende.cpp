#include "tree/Legende.h"

#include "i18n/Traductions.h"
#include "text/Texte.h"
#include "tree/Arbre.h"

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

const QStringList EtatsCompte{u"ina"_s, u"ver"_s, u"exp"_s};

// "user_ver" -> {"user", "ver"}; "grp_sec_glo" stays whole (its key names its text).
std::pair<QString, QString> CategorieEtEtat(const QString& cle) {
    const qsizetype tiret = cle.indexOf(u'_');
    if (tiret < 0 || cle.startsWith(u"grp"))
        return {cle, {}};
    return {cle.left(tiret), cle.mid(tiret + 1)};
}

// The expiry note the analysis put at the end of an account's label, without its arrow.
QString NoteExpirationDuLibelle(const QString& libelle) {
    const QString fleche = QString(QChar(0xA0)) + u"-> "_s;
    const qsizetype position = libelle.lastIndexOf(fleche);
    return position < 0 ? QString() : libelle.mid(position + fleche.size());
}

} // namespace

const QStringList& ClesLegende() {
    static const QStringList cles{
        u"ou"_s,          u"grp_sec_loc"_s, u"grp_sec_glo"_s, u"grp_sec_uni"_s, u"grp_sec"_s,
        u"grp_dis_loc"_s, u"grp_dis_glo"_s, u"grp_dis_uni"_s, u"grp_dis"_s,     u"grp_sec_rec"_s,
        u"grp_dis_rec"_s, u"user"_s,        u"user_ina"_s,    u"user_ver"_s,    u"user_exp"_s,
        u"comp"_s,        u"comp_ina"_s,    u"comp_ver"_s,    u"comp_exp"_s,    u"svce"_s,
        u"svce_ina"_s,    u"svce_ver"_s,    u"svce_exp"_s,    u"contact"_s,     u"fsp"_s,
        u"autre"_s,
    };
    return cles;
}

QString TexteImage(const QString& cle) {
    const QString minuscule = cle.toLower();
    const auto [categorie, etat] = CategorieEtEtat(minuscule);
    if (!etat.isEmpty() && !EtatsCompte.contains(etat))
        return {};
    const QString texte = Traduction(QString(u"TXT_"_s + categorie.toUpper()));
    if (texte.isEmpty() || etat.isEmpty())
        return texte;
    return FormateMessage(Traduction(u"TXT_LEGENDE_ETAT"),
                          {texte, Traduction(QString(u"TXT_ETAT_"_s + etat.toUpper()))});
}

QString InfoBulleNoeud(const Noeud& noeud) {
    const auto [categorie, etat] = CategorieEtEtat(noeud.Image().toLower());
    QString nature = TexteImage(noeud.Image());
    const QString note = NoteExpirationDuLibelle(noeud.Text());
    // The note carries the date: it says more than the icon's "expired".
    if (!note.isEmpty() && (etat.isEmpty() || etat == u"exp"))
        nature = FormateMessage(Traduction(u"TXT_LEGENDE_ETAT"), {TexteImage(categorie), note});
    if (nature.isEmpty())
        return noeud.DN();
    return nature + u'\n' + noeud.DN();
}

} // namespace arbrix

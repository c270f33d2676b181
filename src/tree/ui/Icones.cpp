#include "tree/ui/Icones.h"

#include <QHash>

// A resource compiled into a static library must be registered by hand.
static void enregistreRessourcesIcones() {
    Q_INIT_RESOURCE(icones);
}

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

QIcon chargeSvg(const QString& nom) {
    static const bool enregistrees = (enregistreRessourcesIcones(), true);
    Q_UNUSED(enregistrees);
    return QIcon(QStringLiteral(":/icones/") + nom + QStringLiteral(".svg"));
}

} // namespace

const QStringList& ClesIcones() {
    static const QStringList cles{
        u"comp"_s,        u"comp_ina"_s,    u"comp_ver"_s,    u"comp_exp"_s,    u"comp_cop"_s,
        u"svce_cop"_s,    u"svce_exp"_s,    u"svce_ver"_s,    u"svce_ina"_s,    u"svce"_s,
        u"user"_s,        u"user_ina"_s,    u"user_ver"_s,    u"user_exp"_s,    u"user_cop"_s,
        u"grp_dis_loc"_s, u"grp_dis_glo"_s, u"grp_dis_uni"_s, u"grp_dis"_s,     u"grp_dis_rec"_s,
        u"grp_dis_cop"_s, u"grp_sec"_s,     u"grp_sec_cop"_s, u"grp_sec_rec"_s, u"grp_sec_loc"_s,
        u"grp_sec_glo"_s, u"grp_sec_uni"_s, u"ou"_s,          u"contact"_s,     u"fsp"_s,
        u"autre"_s,
    };
    return cles;
}

QIcon IconeArbre(QStringView cle) {
    // Icons are shared: a tree of 200,000 nodes asks for them on every repaint.
    static QHash<QString, QIcon> cache;
    const QString cleMinuscule = cle.toString().toLower();
    auto it = cache.constFind(cleMinuscule);
    if (it != cache.constEnd())
        return *it;
    QIcon icone;
    if (ClesIcones().contains(cleMinuscule))
        icone = chargeSvg(cleMinuscule);
    cache.insert(cleMinuscule, icone);
    return icone;
}

QIcon IconeApplication() {
    static const QIcon icone = chargeSvg(QStringLiteral("arbrix"));
    return icone;
}

} // namespace arbrix

#include "directory/memory/Schema.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

struct ClassInfo {
    QString name;
    QString parent;   // empty for top
    QString category; // RDN value of the default object category
};

const QList<ClassInfo>& classes() {
    static const QList<ClassInfo> table = {
        {u"top"_s, {}, u"Top"_s},
        {u"person"_s, u"top"_s, u"Person"_s},
        {u"organizationalPerson"_s, u"person"_s, u"Person"_s},
        {u"user"_s, u"organizationalPerson"_s, u"Person"_s},
        {u"inetOrgPerson"_s, u"user"_s, u"Person"_s},
        {u"computer"_s, u"user"_s, u"Computer"_s},
        {u"msDS-ManagedServiceAccount"_s, u"computer"_s, u"ms-DS-Managed-Service-Account"_s},
        {u"msDS-GroupManagedServiceAccount"_s, u"computer"_s, u"ms-DS-Group-Managed-Service-Account"_s},
        {u"contact"_s, u"organizationalPerson"_s, u"Person"_s},
        {u"group"_s, u"top"_s, u"Group"_s},
        {u"organizationalUnit"_s, u"top"_s, u"Organizational-Unit"_s},
        {u"container"_s, u"top"_s, u"Container"_s},
        {u"domain"_s, u"top"_s, u"Domain"_s},
        {u"domainDNS"_s, u"domain"_s, u"Domain-DNS"_s},
        {u"builtinDomain"_s, u"top"_s, u"Builtin-Domain"_s},
        {u"foreignSecurityPrincipal"_s, u"top"_s, u"Foreign-Security-Principal"_s},
        {u"leaf"_s, u"top"_s, u"Leaf"_s},
        {u"trustedDomain"_s, u"leaf"_s, u"Trusted-Domain"_s},
        {u"printQueue"_s, u"top"_s, u"Print-Queue"_s},
        {u"volume"_s, u"top"_s, u"Volume"_s},
        {u"groupPolicyContainer"_s, u"container"_s, u"Group-Policy-Container"_s},
    };
    return table;
}

const ClassInfo* find(QStringView name) {
    for (const ClassInfo& c : classes()) {
        if (MemeNom(c.name, name))
            return &c;
    }
    return nullptr;
}

qsizetype depthOf(const ClassInfo* c) {
    qsizetype depth = 0;
    while (c) {
        ++depth;
        c = c->parent.isEmpty() ? nullptr : find(c->parent);
    }
    return depth;
}

QStringList chainOf(const ClassInfo* c) {
    QStringList chain;
    while (c) {
        chain.prepend(c->name);
        c = c->parent.isEmpty() ? nullptr : find(c->parent);
    }
    return chain;
}

} // namespace

QString ClasseStructurelle(const QStringList& given) {
    QString best;
    qsizetype bestDepth = 0;
    for (const QString& name : given) {
        const ClassInfo* c = find(name);
        const qsizetype depth = depthOf(c);
        if (c && depth > bestDepth) {
            best = c->name;
            bestDepth = depth;
        }
    }
    return best;
}

QStringList ChaineClasses(const QStringList& given) {
    const QString structural = ClasseStructurelle(given);
    QStringList chain = structural.isEmpty() ? QStringList{u"top"_s} : chainOf(find(structural));
    for (const QString& name : given) {
        if (!ContientNom(chain, name))
            chain += name;
    }
    return chain;
}

QString CategorieParDefaut(const QString& classe) {
    const ClassInfo* c = find(classe);
    if (c)
        return c->category;
    return classe.isEmpty() ? u"Top"_s : classe.at(0).toUpper() + classe.mid(1);
}

QString CategorieDuNomCourt(const QString& nom) {
    const ClassInfo* c = find(nom);
    return c ? c->category : QString();
}

bool MemeNom(QStringView a, QStringView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x == y)
            continue;
        if (x >= 0x80 || y >= 0x80)
            return a.mid(i).compare(b.mid(i), Qt::CaseInsensitive) == 0;
        if (x >= u'A' && x <= u'Z')
            x += 32;
        if (y >= u'A' && y <= u'Z')
            y += 32;
        if (x != y)
            return false;
    }
    return true;
}

bool ContientNom(const QStringList& noms, QStringView nom) {
    return std::any_of(noms.begin(), noms.end(), [&](const QString& n) { return MemeNom(n, nom); });
}

bool EstClasseCompte(const QStringList& chaine) {
    return ContientNom(chaine, u"user");
}

bool EstClasseOrdinateur(const QStringList& chaine) {
    return ContientNom(chaine, u"computer");
}

bool EstClasseGroupe(const QStringList& chaine) {
    return ContientNom(chaine, u"group");
}

} // namespace arbrix

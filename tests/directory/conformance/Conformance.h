#pragma once

// The directory conformance suite: the queries, binds and changes the program makes, run through
// the gateway against a directory holding the sample domain (data/sample-domain.ldif, rewritten to
// that directory's naming context). Written once; each backend instantiates it:
//
//     #include "directory/conformance/Conformance.h"
//     static std::unique_ptr<arbrix::conformance::Target> makeTarget() { ... }
//     namespace arbrix::conformance {
//     INSTANTIATE_TEST_SUITE_P(Memory, DirectoryConformance, ::testing::Values(&makeTarget));
//     }
//
// Tests that change the directory use names of their own and undo what they did. The naming
// context is read from the RootDSE; nothing here assumes it.

#include "directory/Classification.h"
#include "directory/Dn.h"
#include "directory/Gateway.h"
#include "directory/Query.h"
#include "directory/Session.h"
#include "directory/conformance/Target.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QSet>

#include <functional>
#include <memory>

namespace arbrix::conformance {

using namespace Qt::StringLiterals;

class DirectoryConformance : public ::testing::TestWithParam<TargetFactory> {
protected:
    void SetUp() override {
        m_target = GetParam()();
        m_connection = std::make_unique<DirectoryConnection>(m_target->backend(), m_target->credentials());
        m_connection->Open();
        m_nc = m_connection->defaultNamingContext();
        ASSERT_FALSE(m_nc.isEmpty());
    }

    DirectoryConnection& connection() { return *m_connection; }
    // A DN of the sample below the naming context: "OU=Ventes,OU=Velmora" -> "...,DC=x,DC=y".
    QString dn(const QString& relative) const { return relative + u',' + m_nc; }

    // Runs a search and collects one column (as text) of every row, sorted.
    QStringList column(const SearchRequest& request, const QString& field) {
        QStringList values;
        for (Recordset rows = connection().Execute(request); !rows.Eof(); rows.MoveNext())
            values += rows.Fields(field).toString();
        values.sort();
        return values;
    }
    // The names of the entries a filter selects below a base.
    QStringList namesBelow(const QString& baseDn, const QString& filter,
                           SearchScope scope = SearchScope::Subtree) {
        return column(searchRequest(baseDn, scope, filter, {u"name"_s}), u"name"_s);
    }
    // One column of a search over the whole domain, as the root lookups ask it.
    QStringList names(const QString& filter, const QString& field = u"Name"_s) {
        return column(searchRequest(m_nc, SearchScope::Subtree, filter,
                                    {u"Name"_s, u"DistinguishedName"_s, u"sAMAccountName"_s}),
                      field);
    }
    static QString all(const QString& a, const QString& b) { return u"(&"_s + a + b + u')'; }
    QString zoe() const { return path(dn(u"CN=Zoé D'Arcy,OU=Sales (EMEA),OU=Ventes,OU=Velmora"_s)); }
    static QString path(const QString& dnText) { return CheminObjet(dnText, 0, QString()); }

    static QString accountFilter(int mode) {
        switch (mode) {
        case 2:
            return u"(&(objectCategory=person)(objectClass=user))"_s;
        case 3:
            return u"(objectCategory=computer)"_s;
        case 4:
            return u"(|(objectCategory=msDS-GroupManagedServiceAccount)(objectCategory=msDS-ManagedServiceAccount))"_s;
        default:
            return u"(|(&(objectCategory=person)(objectClass=user))(objectCategory=computer)"
                   u"(objectCategory=msDS-GroupManagedServiceAccount)(objectCategory=msDS-ManagedServiceAccount))"_s;
        }
    }
    static QStringList accountAttributes() {
        return {u"sAMAccountName"_s,    u"DisplayName"_s,        u"CN"_s,
                u"DistinguishedName"_s, u"userAccountControl"_s, u"objectClass"_s,
                u"objectCategory"_s};
    }
    SearchRequest accountsOfGroupRequest(const QString& groupDn, int mode = 1) const {
        return searchRequest(m_nc, SearchScope::Subtree,
                             all(accountFilter(mode), FiltreEgalite(u"memberOf", groupDn)),
                             accountAttributes());
    }
    QStringList accountsOfGroup(const QString& groupDn, int mode = 1) {
        return column(accountsOfGroupRequest(groupDn, mode), u"sAMAccountName"_s);
    }
    QStringList accountsOfOu(const QString& ouDn, int mode = 1) {
        return column(searchRequest(ouDn, SearchScope::OneLevel, accountFilter(mode), accountAttributes()),
                      u"sAMAccountName"_s);
    }
    QStringList groupsOfGroup(const QString& groupDn) {
        return names(all(FiltreEgalite(u"memberOf", groupDn), u"(objectCategory=group)"_s), u"name"_s);
    }

    std::unique_ptr<DirectoryObject> bind(const QString& dnText) { return connection().Bind(path(dnText)); }

    // Runs f and returns the number of the DirectoryError it raised (0 when none).
    template <typename F> static qint32 errorOf(F f) {
        try {
            f();
        } catch (const DirectoryError& e) {
            return e.number();
        }
        return 0;
    }

    // A name no other test run uses.
    static QString uniqueName(const QString& stem) {
        static int counter = 0;
        return stem + u' ' + QString::number(QDateTime::currentMSecsSinceEpoch() % 100000000) + u'-' +
               QString::number(++counter);
    }

    // A new global security group in OU=Groupes, removed however the test ends.
    std::unique_ptr<DirectoryObject> createGroup(const QString& name) {
        auto group =
            bind(dn(u"OU=Groupes,OU=Informatique,OU=Velmora"_s))->Create(u"group"_s, u"CN="_s + name);
        group->Put(u"sAMAccountName"_s, name.right(20));
        group->Put(u"groupType"_s, -2147483646);
        group->SetInfo();
        m_cleanup = std::make_unique<GroupCleanup>(connection(), group->dn());
        return group;
    }

    std::unique_ptr<Target> m_target;
    std::unique_ptr<DirectoryConnection> m_connection;
    QString m_nc;
    std::unique_ptr<GroupCleanup> m_cleanup;
};

// ---- The root and the connection ----

TEST_P(DirectoryConformance, RootDseNamesTheDefaultNamingContext) {
    auto rootDse = connection().Bind(u"LDAP://RootDSE"_s);
    EXPECT_EQ(rootDse->Get(u"defaultNamingContext").toString(), m_nc);
    auto root = connection().Bind(u"LDAP://"_s + m_nc);
    EXPECT_TRUE(DnEgaux(root->dn(), m_nc));
    EXPECT_EQ(root->Parent().isEmpty(), false);
}

TEST_P(DirectoryConformance, SearchesNeedAnExistingBase) {
    EXPECT_EQ(errorOf([&] { namesBelow(dn(u"OU=Nulle part"_s), u"(objectClass=group)"_s); }),
              ErrorNumber::QueryNoSuchBase);
}

// ---- Root lookup by name (both types, both passes) ----

TEST_P(DirectoryConformance, LookupOfAnOuByName) {
    Recordset rows = connection().Execute(
        searchRequest(m_nc, SearchScope::Subtree, u"(&(objectClass=organizationalUnit)(Name=Ventes))"_s,
                      {u"Name"_s, u"DistinguishedName"_s, u"sAMAccountName"_s}));
    ASSERT_FALSE(rows.Eof());
    EXPECT_EQ(rows.Fields(u"NAME").toString(), u"Ventes"_s);
    EXPECT_TRUE(DnEgaux(rows.Fields(u"distinguishedname").toString(), dn(u"OU=Ventes,OU=Velmora"_s)));
    EXPECT_TRUE(rows.Fields(u"sAMAccountName").isNull());
    rows.MoveNext();
    EXPECT_TRUE(rows.Eof());
}

TEST_P(DirectoryConformance, LookupOfAGroupByCommonNameWithQuotesParenthesesAndComma) {
    const auto byCn = [&](const QString& name) {
        return names(all(u"(objectClass=group)"_s, FiltreEgalite(u"CN", name)));
    };
    EXPECT_EQ(byCn(u"LD Lettre d'information"_s), QStringList{u"LD Lettre d'information"_s});
    EXPECT_EQ(byCn(u"Ventes (EMEA)"_s), QStringList{u"Ventes (EMEA)"_s});
    EXPECT_EQ(byCn(u"Chercheurs R&D, Paris"_s), QStringList{u"Chercheurs R&D, Paris"_s});
    EXPECT_EQ(byCn(u"Achats/Logistique"_s), QStringList{u"Achats/Logistique"_s});
    EXPECT_EQ(byCn(u"Отдел продаж"_s), QStringList{u"Отдел продаж"_s});
    EXPECT_EQ(byCn(u"ventes (emea)"_s), QStringList{u"Ventes (EMEA)"_s}) << "names compare without case";
    EXPECT_TRUE(byCn(u"Ventes"_s).isEmpty()) << "no group is named like the O.U.";
    EXPECT_TRUE(byCn(u"x)(CN=*"_s).isEmpty()) << "an escaped value stays one value";
    EXPECT_TRUE(byCn(u"Boucle*"_s).isEmpty()) << "an escaped star is a character";
}

TEST_P(DirectoryConformance, WildcardsInLookupsAndInTheirSecondPass) {
    const auto ous = [&](const QString& typed) {
        return names(all(u"(objectClass=organizationalUnit)"_s,
                         u"(name="_s + EchappeValeurFiltreGenerique(typed) + u')'),
                     u"name"_s);
    };
    const auto groups = [&](const QString& typed) {
        return names(all(u"(objectClass=group)"_s, u"(cn="_s + EchappeValeurFiltreGenerique(typed) + u')'),
                     u"name"_s);
    };
    EXPECT_EQ(ous(u"Vent*"_s), (QStringList{u"Ventes"_s, u"Ventes France"_s}));
    EXPECT_EQ(groups(u"Vent*"_s), (QStringList{u"Ventes (EMEA)"_s, u"Ventes - Tous"_s}));
    EXPECT_EQ(groups(u"*oucle*"_s), (QStringList{u"Boucle A"_s, u"Boucle B"_s, u"Boucle C"_s}));
    EXPECT_EQ(groups(u"LD Lettre d'*"_s), QStringList{u"LD Lettre d'information"_s});
    EXPECT_EQ(groups(u"Ventes (*"_s), QStringList{u"Ventes (EMEA)"_s}) << "parentheses are text";
}

TEST_P(DirectoryConformance, ExactLookupByDistinguishedNameTreatsStarsAndQuotesLiterally) {
    const QString ou = dn(u"OU=R&D\\, Paris,OU=Velmora"_s);
    EXPECT_EQ(names(FiltreEgalite(u"distinguishedName", ou)), QStringList{u"R&D, Paris"_s});
    EXPECT_TRUE(names(FiltreEgalite(u"distinguishedName", u"OU=R*"_s)).isEmpty());
    const QString group = dn(u"CN=LD Lettre d'information,OU=Groupes,OU=Informatique,OU=Velmora"_s);
    Recordset rows = connection().Execute(
        searchRequest(m_nc, SearchScope::Subtree,
                      all(FiltreEgalite(u"distinguishedName", group), u"(objectCategory=group)"_s),
                      {u"Name"_s, u"DistinguishedName"_s, u"GroupType"_s}));
    ASSERT_FALSE(rows.Eof());
    EXPECT_EQ(rows.Fields(u"GroupType").typeId(), QMetaType::Int);
    EXPECT_EQ(rows.Fields(u"GroupType").toInt(), 8);
    // An O.U. is not a group.
    EXPECT_TRUE(names(all(FiltreEgalite(u"distinguishedName", ou), u"(objectCategory=group)"_s)).isEmpty());
}

// ---- O.U. structure scan ----

TEST_P(DirectoryConformance, SubOusOneLevelBelowExcludeTheBase) {
    const auto subOus = [&](const QString& ou) {
        return namesBelow(ou,
                          u"(&(objectCategory=OrganizationalUnit)(!"_s +
                              FiltreEgalite(u"distinguishedName", ou) + u"))"_s,
                          SearchScope::OneLevel);
    };
    EXPECT_EQ(subOus(dn(u"OU=Velmora"_s)), (QStringList{u"Informatique"_s, u"Partenaires"_s, u"R&D, Paris"_s,
                                                        u"Siège"_s, u"Ventes"_s, u"Филиал Москва"_s}));
    EXPECT_EQ(subOus(dn(u"OU=R&D\\, Paris,OU=Velmora"_s)), QStringList{u"Labo A/B"_s});
    EXPECT_TRUE(subOus(dn(u"OU=Labo A/B,OU=R&D\\, Paris,OU=Velmora"_s)).isEmpty());
    // The subtree scope reaches every level, base included unless excluded; the base scope
    // the base alone.
    EXPECT_EQ(namesBelow(dn(u"OU=Ventes,OU=Velmora"_s), u"(objectCategory=organizationalUnit)"_s),
              (QStringList{u"Sales (EMEA)"_s, u"Ventes"_s, u"Ventes France"_s}));
    EXPECT_EQ(namesBelow(dn(u"OU=Ventes,OU=Velmora"_s), u"(objectClass=*)"_s, SearchScope::Base),
              QStringList{u"Ventes"_s});
}

// ---- Group member expansion ----

TEST_P(DirectoryConformance, AccountsOfAGroupByAnalysisMode) {
    const QString accueil = dn(u"CN=Équipe d'accueil,OU=Ventes France,OU=Ventes,OU=Velmora"_s);
    EXPECT_EQ(accountsOfGroup(accueil),
              (QStringList{u"PC-ACCUEIL-01$"_s, u"pgirard"_s, u"slaurent"_s, u"tmoreau"_s}));
    EXPECT_EQ(accountsOfGroup(accueil, 2), (QStringList{u"pgirard"_s, u"slaurent"_s, u"tmoreau"_s}));
    EXPECT_EQ(accountsOfGroup(accueil, 3), QStringList{u"PC-ACCUEIL-01$"_s});
    EXPECT_TRUE(accountsOfGroup(accueil, 4).isEmpty());

    const QString web = dn(u"CN=Serveurs Web,OU=Groupes,OU=Informatique,OU=Velmora"_s);
    EXPECT_EQ(accountsOfGroup(web),
              (QStringList{u"SRV-WEB-01$"_s, u"gmsa-intranet$"_s, u"svc-sauvegarde$"_s}));
    EXPECT_EQ(accountsOfGroup(web, 3), QStringList{u"SRV-WEB-01$"_s})
        << "service accounts have their own category";
    EXPECT_EQ(accountsOfGroup(web, 4), (QStringList{u"gmsa-intranet$"_s, u"svc-sauvegarde$"_s}));
    EXPECT_TRUE(accountsOfGroup(web, 2).isEmpty());

    // A contact is a member but no account; nested groups are not accounts.
    const QString emea = dn(u"CN=Ventes (EMEA),OU=Sales (EMEA),OU=Ventes,OU=Velmora"_s);
    EXPECT_EQ(accountsOfGroup(emea), (QStringList{u"jbernard"_s, u"mpetit"_s, u"zdarcy"_s}));
    EXPECT_TRUE(accountsOfGroup(dn(u"CN=Ventes - Tous,OU=Ventes,OU=Velmora"_s)).isEmpty());
    EXPECT_TRUE(accountsOfGroup(dn(u"CN=Groupe vide,OU=Groupes,OU=Informatique,OU=Velmora"_s)).isEmpty());
}

TEST_P(DirectoryConformance, AccountsOfGroupsWhoseNamesNeedEscaping) {
    EXPECT_EQ(accountsOfGroup(dn(u"CN=Chercheurs R&D\\, Paris,OU=R&D\\, Paris,OU=Velmora"_s)),
              (QStringList{u"cgarnier"_s, u"lfontaine"_s, u"nroux"_s, u"wfang"_s}));
    EXPECT_EQ(accountsOfGroup(dn(u"CN=Achats/Logistique,OU=Labo A/B,OU=R&D\\, Paris,OU=Velmora"_s)),
              (QStringList{u"nroux"_s, u"wfang"_s}));
    EXPECT_EQ(accountsOfGroup(dn(u"CN=Отдел продаж,OU=Филиал Москва,OU=Velmora"_s)),
              QStringList{u"dvolkov"_s});
}

TEST_P(DirectoryConformance, AccountRowsCarryTypedValues) {
    Recordset rows = connection().Execute(
        accountsOfGroupRequest(dn(u"CN=Serveurs Web,OU=Groupes,OU=Informatique,OU=Velmora"_s)));
    int seen = 0;
    for (; !rows.Eof(); rows.MoveNext()) {
        ++seen;
        EXPECT_EQ(rows.Fields(u"userAccountControl").typeId(), QMetaType::Int);
        const QVariant classes = rows.Fields(u"objectclass");
        ASSERT_EQ(classes.typeId(), QMetaType::QStringList);
        const QString account = rows.Fields(u"sAMAccountName").toString();
        const QString expected = account.startsWith(u"SRV"_s) ? u"comp"_s : u"svce"_s;
        EXPECT_EQ(CleCategorieCompte(classes), expected) << account.toStdString();
        EXPECT_TRUE(rows.Fields(u"objectCategory").toString().startsWith(u"CN="_s, Qt::CaseInsensitive));
    }
    EXPECT_EQ(seen, 3);
}

TEST_P(DirectoryConformance, AccountsOneLevelBelowAnOu) {
    EXPECT_EQ(accountsOfOu(dn(u"OU=Sales (EMEA),OU=Ventes,OU=Velmora"_s)),
              (QStringList{u"jbernard"_s, u"mpetit"_s, u"zdarcy"_s}));
    EXPECT_EQ(accountsOfOu(dn(u"OU=Comptes de service,OU=Informatique,OU=Velmora"_s), 4),
              (QStringList{u"gmsa-intranet$"_s, u"svc-sauvegarde$"_s}));
    EXPECT_TRUE(accountsOfOu(dn(u"OU=Partenaires,OU=Velmora"_s)).isEmpty()) << "a contact is no account";
    EXPECT_TRUE(accountsOfOu(dn(u"OU=Velmora"_s)).isEmpty()) << "one level only";
    EXPECT_EQ(accountsOfOu(dn(u"OU=Labo A/B,OU=R&D\\, Paris,OU=Velmora"_s), 2),
              (QStringList{u"nroux"_s, u"wfang"_s}));
}

TEST_P(DirectoryConformance, GroupsNestedInAGroup) {
    EXPECT_EQ(groupsOfGroup(dn(u"CN=Niveau 1 - Accès siège,OU=Siège,OU=Velmora"_s)),
              QStringList{u"Niveau 2 - Direction"_s});
    EXPECT_EQ(groupsOfGroup(dn(u"CN=Niveau 3 - Comité,OU=Siège,OU=Velmora"_s)),
              QStringList{u"Niveau 4 - Assistants"_s});
    EXPECT_TRUE(groupsOfGroup(dn(u"CN=Niveau 4 - Assistants,OU=Siège,OU=Velmora"_s)).isEmpty());
    EXPECT_EQ(groupsOfGroup(dn(u"CN=Boucle C,OU=R&D\\, Paris,OU=Velmora"_s)), QStringList{u"Boucle A"_s});
    EXPECT_EQ(groupsOfGroup(dn(u"CN=GS Tout le personnel,OU=Groupes,OU=Informatique,OU=Velmora"_s)),
              (QStringList{u"Chercheurs R&D, Paris"_s, u"GS Informatique"_s, u"Niveau 2 - Direction"_s,
                           u"Ventes - Tous"_s, u"Отдел продаж"_s}));
    EXPECT_EQ(groupsOfGroup(dn(u"CN=LD Lettre d'information,OU=Groupes,OU=Informatique,OU=Velmora"_s)),
              QStringList{u"LD Annonces"_s});
}

TEST_P(DirectoryConformance, GroupsOneLevelBelowAnOuWithTheirMemberOf) {
    const QString siege = dn(u"OU=Siège,OU=Velmora"_s);
    Recordset rows = connection().Execute(
        searchRequest(siege, SearchScope::OneLevel, u"(objectCategory=group)"_s,
                      {u"Name"_s, u"DistinguishedName"_s, u"MemberOf"_s, u"GroupType"_s}));
    QMap<QString, QVariant> memberOf;
    for (; !rows.Eof(); rows.MoveNext())
        memberOf.insert(rows.Fields(u"name").toString(), rows.Fields(u"memberOf"));
    EXPECT_EQ(memberOf.keys(), (QStringList{u"Niveau 1 - Accès siège"_s, u"Niveau 2 - Direction"_s,
                                            u"Niveau 3 - Comité"_s, u"Niveau 4 - Assistants"_s}));
    EXPECT_TRUE(memberOf.value(u"Niveau 1 - Accès siège"_s).isNull()) << "absent memberOf reads as Null";
    const QVariant ofLevel3 = memberOf.value(u"Niveau 3 - Comité"_s);
    ASSERT_EQ(ofLevel3.typeId(), QMetaType::QStringList) << "one value still reads as a list";
    ASSERT_EQ(ofLevel3.toStringList().size(), 1);
    EXPECT_TRUE(
        DnEgaux(ofLevel3.toStringList().first(), dn(u"CN=Niveau 2 - Direction,OU=Siège,OU=Velmora"_s)));
    EXPECT_EQ(memberOf.value(u"Niveau 2 - Direction"_s).toStringList().size(), 2);
}

TEST_P(DirectoryConformance, EveryGroupKindReadsItsGroupType) {
    const QString groupes = dn(u"OU=Groupes,OU=Informatique,OU=Velmora"_s);
    Recordset rows = connection().Execute(searchRequest(
        groupes, SearchScope::OneLevel, u"(objectCategory=group)"_s, {u"Name"_s, u"GroupType"_s}));
    QSet<QString> keys;
    for (; !rows.Eof(); rows.MoveNext())
        keys.insert(CleTypeGroupe(rows.Fields(u"groupType").toInt(), false));
    for (const char16_t* key :
         {u"grp_sec_glo", u"grp_sec_loc", u"grp_sec_uni", u"grp_dis_glo", u"grp_dis_loc", u"grp_dis_uni"}) {
        EXPECT_TRUE(keys.contains(QString::fromUtf16(key))) << QString::fromUtf16(key).toStdString();
    }
    if (m_target->hasGroupWithoutScope()) {
        EXPECT_TRUE(keys.contains(u"grp_sec"_s));
    }
}

// ---- Group creation, account and group search, lookups ----

TEST_P(DirectoryConformance, ExistenceTestOfAGroupNameOverTheWholeDomain) {
    const auto exists = [&](const QString& name) {
        return !names(all(u"(objectCategory=group)"_s, FiltreEgalite(u"cn", name))).isEmpty();
    };
    EXPECT_TRUE(exists(u"Boucle B"_s));
    EXPECT_TRUE(exists(u"LD Lettre d'information"_s));
    EXPECT_TRUE(exists(u"LD ÉVÉNEMENTS"_s)) << "case-insensitive beyond ASCII";
    EXPECT_FALSE(exists(u"Boucle"_s));
    EXPECT_FALSE(exists(u"Alice Martin"_s)) << "a user is no group";
}

TEST_P(DirectoryConformance, AccountSearchByPrefix) {
    const auto search = [&](const QString& typed) {
        const QString text = EchappeValeurFiltreGenerique(typed);
        const QString prefix = all(accountFilter(1), u"(|(sAMAccountName="_s + text + u"*)(DisplayName="_s +
                                                         text + u"*)(userPrincipalName="_s + text + u"*))"_s);
        return column(searchRequest(m_nc, SearchScope::Subtree, prefix, accountAttributes()),
                      u"sAMAccountName"_s);
    };
    EXPECT_EQ(search(u"mar"_s), QStringList{u"mpetit"_s}) << "by display name";
    EXPECT_EQ(search(u"AMART"_s), QStringList{u"amartin"_s}) << "by account name";
    EXPECT_EQ(search(u"tmor"_s), QStringList{u"tmoreau"_s}) << "found without a display name";
    EXPECT_EQ(search(u"pc-"_s), (QStringList{u"PC-ACCUEIL-01$"_s, u"PC-VENTES-07$"_s}));
    EXPECT_EQ(search(u"gmsa"_s), QStringList{u"gmsa-intranet$"_s});
    EXPECT_TRUE(search(u"Dupont"_s).isEmpty()) << "contacts are not accounts";
    EXPECT_EQ(search(u"*Petit"_s), QStringList{u"mpetit"_s}) << "a typed star is a wildcard";
    EXPECT_EQ(search(u"Jean-Luc Mercier (Int"_s), QStringList{u"jlmercier"_s}) << "parentheses are text";
    EXPECT_EQ(search(u"Zoé D'"_s), QStringList{u"zdarcy"_s});
    EXPECT_EQ(search(u"王"_s), QStringList{u"wfang"_s});
    EXPECT_EQ(search(u"дмитрий"_s), QStringList{u"dvolkov"_s});
    EXPECT_TRUE(search(u"x)(sAMAccountName=a"_s).isEmpty()) << "typed filter text stays a value";
}

TEST_P(DirectoryConformance, AccountLookupByAccountNameOrMail) {
    const auto lookup = [&](const QString& attribute, const QString& entry) {
        return column(searchRequest(m_nc, SearchScope::Subtree,
                                    all(u"(objectClass=user)"_s, FiltreEgalite(attribute, entry)),
                                    accountAttributes()),
                      u"sAMAccountName"_s);
    };
    EXPECT_EQ(lookup(u"sAMAccountName"_s, u"ZDARCY"_s), QStringList{u"zdarcy"_s});
    EXPECT_EQ(lookup(u"sAMAccountName"_s, u"srv-web-01$"_s), QStringList{u"SRV-WEB-01$"_s});
    EXPECT_EQ(lookup(u"Mail"_s, u"marc.petit@velmora.test"_s), QStringList{u"mpetit"_s});
    EXPECT_TRUE(lookup(u"sAMAccountName"_s, u"Groupe vide"_s).isEmpty()) << "a group is no user";
    EXPECT_TRUE(lookup(u"Mail"_s, u"contact@dupont-et-fils.test"_s).isEmpty()) << "a contact is no user";
}

TEST_P(DirectoryConformance, NestingAndCombinedFilters) {
    const QString level2 = dn(u"CN=Niveau 2 - Direction,OU=Siège,OU=Velmora"_s);
    EXPECT_EQ(groupsOfGroup(level2), QStringList{u"Niveau 3 - Comité"_s});
    EXPECT_TRUE(groupsOfGroup(u"CN=Niveau*"_s).isEmpty()) << "a star in a DN is no wildcard";
    const QString groupes = dn(u"OU=Groupes,OU=Informatique,OU=Velmora"_s);
    EXPECT_EQ(namesBelow(groupes, u"(&(objectCategory=group)(|(CN=GS Imprimantes)(CN=LD Annonces)))"_s),
              (QStringList{u"GS Imprimantes"_s, u"LD Annonces"_s}));
    EXPECT_EQ(
        namesBelow(groupes, u"(&(objectCategory=group)(!(CN=G*))(!(CN=A*)))"_s),
        (QStringList{u"LD Annonces"_s, u"LD Lettre d'information"_s, u"LD Événements"_s, u"Serveurs Web"_s}));
    EXPECT_EQ(namesBelow(groupes, u"(&(objectCategory=group)(groupType=8))"_s),
              QStringList{u"LD Lettre d'information"_s});
}

TEST_P(DirectoryConformance, EmptyResultIsAtEndAtOnceAndPagesAreJoined) {
    Recordset none = connection().Execute(
        searchRequest(m_nc, SearchScope::Subtree, u"(&(objectClass=group)(CN=Personne ici))"_s, {u"Name"_s}));
    EXPECT_TRUE(none.Eof());
    EXPECT_TRUE(none.Fields(u"Name").isNull());
    SearchRequest groups =
        searchRequest(dn(u"OU=Velmora"_s), SearchScope::Subtree, u"(objectCategory=group)"_s, {u"Name"_s});
    const QStringList whole = column(groups, u"name"_s);
    groups.pageSize = 3;
    EXPECT_GE(whole.size(), 20);
    EXPECT_EQ(column(groups, u"name"_s), whole);
}

// ---- Bound objects ----

TEST_P(DirectoryConformance, BoundObjectNamesPathsAndValues) {
    const QString groupDn = dn(u"CN=Achats/Logistique,OU=Labo A/B,OU=R&D\\, Paris,OU=Velmora"_s);
    const QString groupPath = path(groupDn);
    EXPECT_TRUE(groupPath.contains(u"Achats\\/Logistique,OU=Labo A\\/B"_s));
    auto group = connection().Bind(groupPath);
    EXPECT_EQ(group->Name(), u"CN=Achats/Logistique"_s);
    EXPECT_TRUE(DnEgaux(group->Get(u"DistinguishedName").toString(), groupDn));
    EXPECT_EQ(group->Get(u"GroupType").toInt(), 2);
    EXPECT_EQ(group->Get(u"Description").toString(), u"Commandes de matériel des laboratoires"_s);
    EXPECT_TRUE(group->Get(u"telephoneNumber").isNull());
    auto container = connection().Bind(group->Parent());
    EXPECT_EQ(container->Name(), u"OU=Labo A/B"_s);
    auto grandParent = connection().Bind(container->Parent());
    EXPECT_EQ(grandParent->Name(), u"OU=R&D\\, Paris"_s);
    EXPECT_TRUE(DnEgaux(connection().Bind(group->ADsPath())->dn(), groupDn));

    auto level3 = bind(dn(u"CN=Niveau 3 - Comité,OU=Siège,OU=Velmora"_s));
    const QVariant memberOf = level3->GetEx(u"MemberOf");
    ASSERT_EQ(memberOf.toStringList().size(), 1);
    EXPECT_TRUE(
        DnEgaux(memberOf.toStringList().first(), dn(u"CN=Niveau 2 - Direction,OU=Siège,OU=Velmora"_s)));
    EXPECT_TRUE(bind(dn(u"CN=Niveau 1 - Accès siège,OU=Siège,OU=Velmora"_s))->GetEx(u"memberOf").isNull());
    auto managed = bind(dn(u"CN=Ventes (EMEA),OU=Sales (EMEA),OU=Ventes,OU=Velmora"_s));
    auto manager = connection().Bind(path(managed->Get(u"managedBy").toString()));
    EXPECT_EQ(manager->Get(u"sAMAccountName").toString(), u"zdarcy"_s);
    EXPECT_EQ(manager->Get(u"displayName").toString(), u"Zoé D'Arcy"_s);
}

TEST_P(DirectoryConformance, BindingAMissingObjectFails) {
    EXPECT_EQ(errorOf([&] { bind(dn(u"CN=Absent,OU=Velmora"_s)); }), ErrorNumber::NoSuchObject);
    EXPECT_NE(errorOf([&] { connection().Bind(u"not a path"_s); }), 0);
}

TEST_P(DirectoryConformance, AccountStateLockOutAndExpiry) {
    const auto account = [&](const QString& relative) { return bind(dn(relative)); };
    EXPECT_TRUE(account(u"CN=Marc Petit,OU=Sales (EMEA),OU=Ventes,OU=Velmora"_s)->IsAccountLocked());
    EXPECT_FALSE(account(u"CN=Zoé D'Arcy,OU=Sales (EMEA),OU=Ventes,OU=Velmora"_s)->IsAccountLocked());
    const QDateTime now = QDateTime::currentDateTime();
    EXPECT_TRUE(ExpirationJamais(
        account(u"CN=Alice Martin,OU=Direction générale,OU=Siège,OU=Velmora"_s)->AccountExpirationDate()));
    EXPECT_TRUE(ExpirationJamais(account(u"CN=Bernard Rousseau,OU=Direction générale,OU=Siège,OU=Velmora"_s)
                                     ->AccountExpirationDate()));
    const QDateTime helene = account(u"CN=Hélène Dupré,OU=Siège,OU=Velmora"_s)->AccountExpirationDate();
    EXPECT_FALSE(ExpirationJamais(helene));
    EXPECT_EQ(helene.toUTC().date(), QDate(2099, 12, 31));
    EXPECT_FALSE(CompteExpire(helene, now));
    const QDateTime julie =
        account(u"CN=Julie Bernard,OU=Sales (EMEA),OU=Ventes,OU=Velmora"_s)->AccountExpirationDate();
    EXPECT_EQ(julie.toUTC().date(), QDate(2020, 1, 1));
    EXPECT_TRUE(CompteExpire(julie, now));
    auto paul = account(u"CN=Paul Girard,OU=Ventes France,OU=Ventes,OU=Velmora"_s);
    EXPECT_EQ(paul->Get(u"userAccountControl").toInt() & 2, 2);
}

// ---- Changes ----

TEST_P(DirectoryConformance, CreateAGroupThenFindItAndRefuseItTwice) {
    const QString name = uniqueName(u"Groupe d'essai (créé)"_s);
    auto ou = bind(dn(u"OU=Groupes,OU=Informatique,OU=Velmora"_s));
    auto group = ou->Create(u"Group"_s, u"CN="_s + name);
    group->Put(u"sAMAccountName"_s, name.left(20));
    group->Put(u"GroupType"_s, -2147483640);
    group->SetInfo();
    const QString created = group->Get(u"DistinguishedName").toString();
    GroupCleanup cleanup(connection(), created);
    EXPECT_TRUE(DnEgaux(created, u"CN="_s + EchappeValeurDn(name) + u',' + ou->dn()));
    EXPECT_EQ(names(all(u"(objectCategory=group)"_s, FiltreEgalite(u"cn", name)), u"name"_s),
              QStringList{name});
    auto reread = bind(created);
    EXPECT_EQ(reread->Get(u"groupType").toInt(), -2147483640);
    EXPECT_EQ(CleTypeGroupe(reread->Get(u"groupType").toInt(), false), u"grp_sec_uni"_s);

    auto again = ou->Create(u"Group"_s, u"CN="_s + name);
    again->Put(u"sAMAccountName"_s, name.left(18) + u"-2"_s);
    EXPECT_EQ(errorOf([&] { again->SetInfo(); }), ErrorNumber::AlreadyExists);
}

TEST_P(DirectoryConformance, MembersAreAddedTestedAndRemovedOneByOne) {
    auto group = createGroup(uniqueName(u"Membres"_s));
    const QString zoe = this->zoe();
    const QString nested = path(dn(u"CN=Achats/Logistique,OU=Labo A/B,OU=R&D\\, Paris,OU=Velmora"_s));
    EXPECT_FALSE(group->IsMember(zoe));
    group->Add(zoe);
    group->Add(nested);
    EXPECT_TRUE(group->IsMember(zoe));
    EXPECT_TRUE(group->IsMember(nested));
    EXPECT_EQ(accountsOfGroup(group->dn()), QStringList{u"zdarcy"_s});
    EXPECT_EQ(groupsOfGroup(group->dn()), QStringList{u"Achats/Logistique"_s});
    EXPECT_EQ(errorOf([&] { group->Add(zoe); }), ErrorNumber::AlreadyExists);
    group->Remove(zoe);
    EXPECT_FALSE(group->IsMember(zoe));
    EXPECT_EQ(errorOf([&] { group->Remove(zoe); }), ErrorNumber::UnwillingToPerform);
    EXPECT_TRUE(accountsOfGroup(group->dn()).isEmpty());
    group->Remove(nested);
    EXPECT_TRUE(groupsOfGroup(group->dn()).isEmpty());
}

TEST_P(DirectoryConformance, RenameInPlaceAndRefuseAnExistingName) {
    const QString name = uniqueName(u"Renommé"_s);
    auto group = createGroup(name);
    const QString zoe = this->zoe();
    group->Add(zoe);

    const QString newName = name + u" (nouveau)"_s;
    group->Put(u"sAMAccountName"_s, newName.right(20));
    group->SetInfo();
    auto container = connection().Bind(group->Parent());
    auto moved = container->MoveHere(group->ADsPath(), u"CN="_s + newName);
    m_cleanup->moved(moved->dn());
    EXPECT_EQ(moved->Name(), u"CN="_s + EchappeValeurDn(newName));
    EXPECT_EQ(moved->Get(u"name").toString(), newName);
    EXPECT_EQ(accountsOfGroup(moved->dn()), QStringList{u"zdarcy"_s}) << "members follow the rename";
    EXPECT_EQ(errorOf([&] { bind(group->dn()); }), ErrorNumber::NoSuchObject);
    EXPECT_EQ(errorOf([&] { container->MoveHere(moved->ADsPath(), u"CN=GS Imprimantes"_s); }),
              ErrorNumber::AlreadyExists);
    moved->Remove(zoe);
}

TEST_P(DirectoryConformance, DeleteAGroupAndRefuseANonEmptyContainer) {
    auto ou = bind(dn(u"OU=Groupes,OU=Informatique,OU=Velmora"_s));
    auto group = createGroup(uniqueName(u"À supprimer"_s));
    auto target = bind(dn(u"CN=Groupe vide,OU=Groupes,OU=Informatique,OU=Velmora"_s));
    target->Add(group->ADsPath());
    ou->Delete(u"group"_s, group->Name());
    EXPECT_EQ(errorOf([&] { bind(group->dn()); }), ErrorNumber::NoSuchObject);
    EXPECT_FALSE(bind(target->dn())->IsMember(group->ADsPath())) << "a deleted group leaves its groups";
    EXPECT_EQ(errorOf([&] { ou->Delete(u"group"_s, group->Name()); }), ErrorNumber::NoSuchObject);

    auto velmora = bind(dn(u"OU=Velmora"_s));
    EXPECT_EQ(errorOf([&] { velmora->Delete(u"organizationalUnit"_s, u"OU=Partenaires"_s); }),
              ErrorNumber::LdapBase + LdapCode::NotAllowedOnNonLeaf);
}

TEST_P(DirectoryConformance, AttributeChangesAreStored) {
    auto group = bind(dn(u"CN=Groupe vide,OU=Groupes,OU=Informatique,OU=Velmora"_s));
    const QString before = group->Get(u"description").toString();
    group->Put(u"description"_s, u"Texte (modifié) d'essai, avec * et \\"_s);
    group->SetInfo();
    EXPECT_EQ(bind(group->dn())->Get(u"description").toString(), u"Texte (modifié) d'essai, avec * et \\"_s);
    group->Put(u"description"_s, before);
    group->SetInfo();
    EXPECT_EQ(bind(group->dn())->Get(u"description").toString(), before);
}

// ---- Rights ----

TEST_P(DirectoryConformance, RightsErrorsOfARestrictedSession) {
    const QString groupDn = dn(u"CN=Groupe vide,OU=Groupes,OU=Informatique,OU=Velmora"_s);
    const QString ouDn = dn(u"OU=Groupes,OU=Informatique,OU=Velmora"_s);
    Credentials credentials;
    std::shared_ptr<Backend> restricted = m_target->restrictedBackend({groupDn, ouDn}, credentials);
    if (!restricted)
        GTEST_SKIP() << "this directory offers no restricted session";
    DirectoryConnection limited(restricted, credentials);
    limited.Open();
    auto group = limited.Bind(path(groupDn));
    const QString zoe = this->zoe();
    EXPECT_EQ(errorOf([&] { group->Add(zoe); }), ErrorNumber::ObjectAccessDenied);
    group->Put(u"description"_s, u"refusé"_s);
    EXPECT_EQ(errorOf([&] { group->SetInfo(); }), ErrorNumber::ObjectAccessDenied);
    auto ou = limited.Bind(path(ouDn));
    auto created = ou->Create(u"group"_s, u"CN="_s + uniqueName(u"Interdit"_s));
    created->Put(u"sAMAccountName"_s, uniqueName(u"Interdit"_s).left(20));
    EXPECT_EQ(errorOf([&] { created->SetInfo(); }), ErrorNumber::ObjectAccessDenied);
    EXPECT_EQ(errorOf([&] { ou->Delete(u"group"_s, u"CN=Groupe vide"_s); }), ErrorNumber::ObjectAccessDenied);
    // Reading stays allowed.
    EXPECT_FALSE(
        limited.Execute(searchRequest(groupDn, SearchScope::Base, u"(objectClass=*)"_s, {u"Name"_s})).Eof());
}

// ---- The session over this directory ----

TEST_P(DirectoryConformance, SessionResolvesTheRootAndBindsObjects) {
    AccesAnnuaire acces;
    const Credentials c = m_target->credentials();
    acces.AccesAD = qint16(c.accessMode == 2 ? 1 : c.accessMode);
    acces.AccesADLogin = c.login;
    acces.AccesADPassword = c.password;
    SessionAD session(m_target->backend(), acces);
    session.definitNomUtilisateurSysteme([] { return u"testeur"_s; });
    const ResultatSession result = session.Ouvre();
    ASSERT_TRUE(result.reussi()) << result.texte.toStdString();
    EXPECT_EQ(session.BaseRechercheAD(), DoubleApostrophes(m_nc));
    EXPECT_TRUE(session.UtilisateurAffiche().endsWith(u'@' + NomDnsDepuisDn(m_nc)));
    EXPECT_NE(session.OuvreADSI(
                  session.CheminObjet(dn(u"CN=Achats/Logistique,OU=Labo A/B,OU=R&D\\, Paris,OU=Velmora"_s))),
              nullptr);
    EXPECT_EQ(session.OuvreADSI(session.CheminObjet(dn(u"CN=Absent,OU=Velmora"_s))), nullptr);
}

} // namespace arbrix::conformance

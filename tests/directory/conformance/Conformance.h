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
#include "tree/Analyse.h"

#include <gtest/gtest.h>

#include <QMap>

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
    static QString path(const QString& dnText) { return CheminObjet(dnText, 0, QString()); }

    QStringList accountsOfGroup(const QString& groupDn, int mode = 1) {
        return column(searchRequest(m_nc, SearchScope::Subtree,
                                    all(FiltreComptes(qint16(mode)), FiltreEgalite(u"memberOf", groupDn)),
                                    {u"sAMAccountName"_s, u"userAccountControl"_s, u"objectClass"_s}),
                      u"sAMAccountName"_s);
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

    std::unique_ptr<Target> m_target;
    std::unique_ptr<DirectoryConnection> m_connection;
    QString m_nc;
};

// ---- The root, lookups by name ----

TEST_P(DirectoryConformance, RootDseAndMissingObjects) {
    EXPECT_EQ(connection().Bind(u"LDAP://RootDSE"_s)->Get(u"defaultNamingContext").toString(), m_nc);
    EXPECT_FALSE(connection().Bind(u"LDAP://"_s + m_nc)->Parent().isEmpty());
    EXPECT_EQ(errorOf([&] { bind(dn(u"CN=Absent,OU=Velmora"_s)); }), ErrorNumber::NoSuchObject);
    EXPECT_NE(errorOf([&] { connection().Bind(u"not a path"_s); }), 0);
    EXPECT_EQ(errorOf([&] { namesBelow(dn(u"OU=Nulle part"_s), u"(objectClass=group)"_s); }),
              ErrorNumber::QueryNoSuchBase);
    EXPECT_NE(errorOf([&] { namesBelow(u"DC=ailleurs,DC=invalid"_s, u"(objectClass=*)"_s); }), 0)
        << "a base outside the directory is no empty answer";
}

TEST_P(DirectoryConformance, LookupOfAGroupByCommonName) {
    const struct {
        QString typed;
        QStringList found;
    } rows[] = {
        {u"LD Lettre d'information"_s, {u"LD Lettre d'information"_s}},
        {u"Ventes (EMEA)"_s, {u"Ventes (EMEA)"_s}},
        {u"Chercheurs R&D, Paris"_s, {u"Chercheurs R&D, Paris"_s}},
        {u"Achats/Logistique"_s, {u"Achats/Logistique"_s}},
        {u"ventes (emea)"_s, {u"Ventes (EMEA)"_s}},
        {u"Отдел продаж"_s, {u"Отдел продаж"_s}},
        {u"LD ÉVÉNEMENTS"_s, {u"LD Événements"_s}}, // case-insensitive beyond ASCII
        {u"Ventes"_s, {}},                          // the O.U.'s name
        {u"Alice Martin"_s, {}},                    // a user
        {u"x)(CN=*"_s, {}},                         // an escaped value stays one value
        {u"Boucle*"_s, {}},                         // an escaped star is a character
    };
    for (const auto& row : rows)
        EXPECT_EQ(names(all(u"(objectClass=group)"_s, FiltreEgalite(u"CN", row.typed))), row.found)
            << row.typed.toStdString();
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

// ---- Group member expansion ----

TEST_P(DirectoryConformance, AccountsOfAGroupByAnalysisMode) {
    const QString accueil = dn(u"CN=Équipe d'accueil,OU=Ventes France,OU=Ventes,OU=Velmora"_s);
    EXPECT_EQ(accountsOfGroup(accueil),
              (QStringList{u"PC-ACCUEIL-01$"_s, u"pgirard"_s, u"slaurent"_s, u"tmoreau"_s}));
    EXPECT_EQ(accountsOfGroup(accueil, 2), (QStringList{u"pgirard"_s, u"slaurent"_s, u"tmoreau"_s}));
    EXPECT_EQ(accountsOfGroup(accueil, 3), QStringList{u"PC-ACCUEIL-01$"_s});
    EXPECT_TRUE(accountsOfGroup(accueil, 4).isEmpty());

    const QString web = dn(u"CN=Serveurs Web,OU=Groupes,OU=Informatique,OU=Velmora"_s);
    EXPECT_EQ(accountsOfGroup(web, 3), QStringList{u"SRV-WEB-01$"_s})
        << "service accounts have their own category";
    EXPECT_EQ(accountsOfGroup(web, 4), (QStringList{u"gmsa-intranet$"_s, u"svc-sauvegarde$"_s}));

    // A contact is a member but no account; nested groups are not accounts.
    const QString emea = dn(u"CN=Ventes (EMEA),OU=Sales (EMEA),OU=Ventes,OU=Velmora"_s);
    EXPECT_EQ(accountsOfGroup(emea), (QStringList{u"jbernard"_s, u"mpetit"_s, u"zdarcy"_s}));
    EXPECT_TRUE(accountsOfGroup(dn(u"CN=Ventes - Tous,OU=Ventes,OU=Velmora"_s)).isEmpty());
}

TEST_P(DirectoryConformance, GroupsOneLevelBelowAnOuWithTheirMemberOf) {
    Recordset rows = connection().Execute(
        searchRequest(dn(u"OU=Siège,OU=Velmora"_s), SearchScope::OneLevel, u"(objectCategory=group)"_s,
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
    EXPECT_TRUE(group->Get(u"telephoneNumber").isNull());
    EXPECT_EQ(connection().Bind(group->Parent())->Name(), u"OU=Labo A/B"_s);
    EXPECT_TRUE(DnEgaux(connection().Bind(group->ADsPath())->dn(), groupDn));

    const QVariant memberOf = bind(dn(u"CN=Niveau 3 - Comité,OU=Siège,OU=Velmora"_s))->GetEx(u"MemberOf");
    ASSERT_EQ(memberOf.toStringList().size(), 1);
    EXPECT_TRUE(
        DnEgaux(memberOf.toStringList().first(), dn(u"CN=Niveau 2 - Direction,OU=Siège,OU=Velmora"_s)));
    EXPECT_TRUE(bind(dn(u"CN=Niveau 1 - Accès siège,OU=Siège,OU=Velmora"_s))->GetEx(u"memberOf").isNull());
    auto managed = bind(dn(u"CN=Ventes (EMEA),OU=Sales (EMEA),OU=Ventes,OU=Velmora"_s));
    auto manager = connection().Bind(path(managed->Get(u"managedBy").toString()));
    EXPECT_EQ(manager->Get(u"displayName").toString(), u"Zoé D'Arcy"_s);
}

} // namespace arbrix::conformance

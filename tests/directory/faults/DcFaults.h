#pragma once

// The fault controller of these tests (tools/gen-hostile-domain.py's domain), a session and an
// analysis on it, and the faults themselves: the controller killed, stopped, started again.

#include "TestDc.h"

#include "directory/ForwardingBackend.h"
#include "directory/Session.h"
#include "groupops/OperationsGroupes.h"
#include "settings/Parametres.h"
#include "tree/Analyse.h"
#include "tree/AnalyseFixture.h"
#include "tree/Arbre.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>

#include <csignal>

namespace arbrix::testdc {

// The hard case with every character a DN escapes or a filter reserves.
inline const QString NomHostile = QStringLiteral("Spécial ( ) * \\ , + \" # ; < > = ' Ωμέγα Юникод 王芳");

inline QString DnEpreuves(const QString& debut) {
    return OnDc(debut + QStringLiteral(",OU=Epreuves,DC=velmora,DC=test"));
}

// The controller's process as the env file records it now (a restart changes it).
inline pid_t PidDc() {
    QFile f(qEnvironmentVariable("ARBRIX_TEST_DC_ENV"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& ligne : f.readAll().split('\n')) {
        if (ligne.startsWith("ARBRIX_TEST_DC_PID="))
            return pid_t(ligne.mid(19).toLongLong());
    }
    return 0;
}

// Started again as it was, or with "no-tls" as a server without TLS.
inline bool RelanceDc(const QString& variante = {}) {
    QStringList arguments{QStringLiteral("restart"), qEnvironmentVariable("ARBRIX_TEST_DC_ENV")};
    if (!variante.isEmpty())
        arguments << variante;
    return QProcess::execute(QStringLiteral(ARBRIX_SOURCE_DIR "/tools/test-dc.sh"), arguments) == 0;
}

// The controller's processes are one group: the prefork master and its workers.
inline void TueDc() {
    ::kill(-PidDc(), SIGKILL);
}

// A test that failed half-way may have left the controller dead.
inline void RelanceDcMort() {
    if (::kill(PidDc(), 0) != 0) {
        ASSERT_TRUE(RelanceDc());
    }
}

// The entry as the administrator reads it; nullopt when absent or unreachable.
inline std::optional<LdapEntry> LitDc(const QString& dn, const QStringList& attributs = {}) {
    try {
        const QList<LdapEntry> e =
            searchAll(*AdminBackend(), {dn, SearchScope::Base, QStringLiteral("(objectClass=*)"), attributs});
        return e.isEmpty() ? std::nullopt : std::optional(e.first());
    } catch (const LdapError&) {
        return std::nullopt;
    }
}

inline QStringList ValeursDc(const std::optional<LdapEntry>& e, QStringView attribut) {
    QStringList valeurs;
    if (const LdapAttribute* a = e ? e->find(attribut) : nullptr)
        for (const QByteArray& v : a->values)
            valeurs.append(QString::fromUtf8(v));
    return valeurs;
}

// Whether ldapsearch, a client we did not write, finds the object with that filter, as the
// administrator (password in a file, over TLS).
inline bool LdapsearchTrouve(const QString& dn, const QString& filtre) {
    QTemporaryFile motDePasse;
    if (!motDePasse.open())
        return false;
    motDePasse.write(Dc().value("ADMIN_PASSWORD").toUtf8());
    motDePasse.flush();
    QProcess ldapsearch;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LDAPTLS_CACERT"), Dc().value("CA"));
    ldapsearch.setProcessEnvironment(env);
    ldapsearch.start(QStringLiteral("ldapsearch"),
                     {QStringLiteral("-LLL"), QStringLiteral("-x"), QStringLiteral("-H"),
                      Dc().value("HOST_URI").replace(QStringLiteral("ldap://"), QStringLiteral("ldaps://")),
                      QStringLiteral("-D"), Dc().value("ADMIN_DN"), QStringLiteral("-y"),
                      motDePasse.fileName(), QStringLiteral("-b"), dn, QStringLiteral("-s"),
                      QStringLiteral("base"), filtre, QStringLiteral("1.1")});
    ldapsearch.waitForFinished(20000);
    EXPECT_EQ(ldapsearch.exitCode(), 0) << ldapsearch.readAllStandardError().toStdString();
    return ldapsearch.readAllStandardOutput().contains("dn:");
}

// The controller stops answering (SIGSTOP) for the life of this object.
class DcMuet {
public:
    DcMuet()
        : m_pid(PidDc()) {
        ::kill(-m_pid, SIGSTOP);
    }
    ~DcMuet() { ::kill(-m_pid, SIGCONT); }
    DcMuet(const DcMuet&) = delete;
    DcMuet& operator=(const DcMuet&) = delete;

private:
    pid_t m_pid;
};

// An analysis as the program runs it, on the fault controller (or a backend wrapping it), as the
// administrator.
struct AnalyseDc {
    explicit AnalyseDc(Interaction& interaction, LdapOptions options = {})
        : AnalyseDc(interaction, std::make_shared<LdapBackend>(avecUri(std::move(options)))) {}
    AnalyseDc(Interaction& interaction, std::shared_ptr<Backend> backend) {
        AccesAnnuaire acces;
        acces.AccesAD = 1;
        acces.AccesADLogin = Dc().value("ADMIN_LOGIN");
        acces.AccesADPassword = Dc().value("ADMIN_PASSWORD");
        session = std::make_shared<SessionAD>(backend, acces);
        ouverte = session->Ouvre().reussi();
        InstalleSession(session);
        analyse = std::make_unique<Analyse>(arbre, *session, parametres, interaction);
    }

    // The group (type 1) or O.U. (type 0) of that name, as typed in the search box.
    void Lance(const QString& nom, int type = 1) { analyse->AnalyseTexte(Mode::Standard, nom, type); }

    OperationsGroupes operations(Interaction& interaction) {
        return OperationsGroupes(arbre, *session, parametres, interaction, *analyse);
    }

    static LdapOptions avecUri(LdapOptions options) {
        options.uris = Dc().uri();
        return options;
    }

    std::shared_ptr<SessionAD> session;
    bool ouverte = false;
    Parametres parametres;
    Arbre arbre;
    std::unique_ptr<Analyse> analyse;
};

} // namespace arbrix::testdc

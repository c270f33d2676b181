#pragma once

// The fault controller of these tests (tools/gen-hostile-domain.py's domain), a session and an
// analysis on it, and the faults themselves: the controller killed, stopped, started again.

#include "TestDc.h"

#include "directory/Session.h"
#include "settings/Parametres.h"
#include "tree/Analyse.h"
#include "tree/AnalyseFixture.h"
#include "tree/Arbre.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

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

inline bool RelanceDc() {
    return QProcess::execute(QStringLiteral(ARBRIX_SOURCE_DIR "/tools/test-dc.sh"),
                             {QStringLiteral("restart"), qEnvironmentVariable("ARBRIX_TEST_DC_ENV")}) == 0;
}

// The controller stops answering (SIGSTOP) for the life of this object.
class DcMuet {
public:
    DcMuet()
        : m_pid(PidDc()) {
        ::kill(m_pid, SIGSTOP);
    }
    ~DcMuet() { ::kill(m_pid, SIGCONT); }
    DcMuet(const DcMuet&) = delete;
    DcMuet& operator=(const DcMuet&) = delete;

private:
    pid_t m_pid;
};

// An analysis as the program runs it, on the fault controller, as the administrator.
struct AnalyseDc {
    explicit AnalyseDc(Interaction& interaction, LdapOptions options = {}) {
        options.uris = Dc().uri();
        backend = std::make_shared<LdapBackend>(options);
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
    void Lance(Interaction& interaction, const QString& nom, int type = 1) {
        interaction.ChangeTexteRecherche(nom);
        interaction.ChangeTypeRecherche(type);
        analyse->LanceAnalyse(Mode::Standard);
    }

    std::shared_ptr<LdapBackend> backend;
    std::shared_ptr<SessionAD> session;
    bool ouverte = false;
    Parametres parametres;
    Arbre arbre;
    std::unique_ptr<Analyse> analyse;
};

} // namespace arbrix::testdc

// Analyses a large domain and reports wall time, peak memory and round trips to the directory.
//
//   bench-analyse [options] FILE.ldif     the embedded directory loaded from the file
//   bench-analyse [options] --dc ENV      the test domain controller of tools/test-dc.sh (its env
//                                         file): the analysis as it runs, beside the reference (the
//                                         same rows read the least way, straight on libldap: a
//                                         scoped query per group for a group root, two subtree
//                                         searches for an O.U. root, paged and not), with their
//                                         ratio and the load average; then the same tree asked
//                                         for one group at a time by memberOf, and that pattern
//                                         run by ldapsearch
// Options:
//   --group DN    group root to analyse (default: CN=Bench Root,OU=Bench,<naming context>)
//   --ou DN       O.U. root to analyse (default: OU=Bench,<naming context>)
//   --check-state check locked and expired accounts (ContrôlerVerrouilléExpiré)
//   --mode N      analysis mode (default 1)
//   --only group|ou  analyse only that root
//   --in-flight N searches sent together (default 16, as the settings)
//   --delay-ms N  (--dc) also through bench/delay-proxy.py, N ms each way
//   --no-pattern  (--dc) skip the one-at-a-time pattern and its ldapsearch run
//
// The domains come from tools/gen-domain.py (target bench-data for the 50,000-account one).

#include "RecordingBackend.h"
#include "ReferenceLdap.h"

#include "directory/Session.h"
#include "directory/ldap/LdapBackend.h"
#include "directory/memory/MemoryBackend.h"
#include "export/Export.h"
#include "settings/Parametres.h"
#include "shell/PagesLarges.h"
#include "tree/Analyse.h"
#include "tree/Arbre.h"
#include "tree/Interaction.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTextStream>

#include <sys/resource.h>

#include <cstdio>
#include <memory>
#include <optional>

using namespace arbrix;
using namespace Qt::StringLiterals;

namespace {

QTextStream& out() {
    static QTextStream flux(stdout);
    return flux;
}

double PicMemoireMo() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // ru_maxrss is in kilobytes on Linux
}

// Messages are counted, never shown; several occurrences are never chosen.
class InteractionSilencieuse : public Interaction {
public:
    ReponseMessage Message(const QString& texte, IconeMessage, BoutonsMessage boutons, ReponseMessage defaut,
                           const QString&) override {
        messages << texte;
        return boutons == BoutonsMessage::Ok ? ReponseMessage::Ok : defaut;
    }
    QStringList messages;
};

struct Options {
    QString ldif;
    QString fichierEnv;
    QString groupe;
    QString ou;
    bool controleEtat = false;
    qint16 mode = Mode::Standard;
    QString seulement; // "group", "ou" or empty for both
    int enVol = 16;
    int delaiMs = 0;
    bool motif = true;
};

std::optional<Options> LitOptions(const QStringList& arguments) {
    Options o;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const bool avecValeur = a == u"--dc" || a == u"--group" || a == u"--ou" || a == u"--mode" ||
                                a == u"--only" || a == u"--in-flight" || a == u"--delay-ms";
        if (avecValeur && i + 1 >= arguments.size())
            return std::nullopt;
        if (a == u"--dc")
            o.fichierEnv = arguments[++i];
        else if (a == u"--group")
            o.groupe = arguments[++i];
        else if (a == u"--ou")
            o.ou = arguments[++i];
        else if (a == u"--mode")
            o.mode = qint16(arguments[++i].toInt());
        else if (a == u"--only")
            o.seulement = arguments[++i];
        else if (a == u"--in-flight")
            o.enVol = arguments[++i].toInt();
        else if (a == u"--delay-ms")
            o.delaiMs = arguments[++i].toInt();
        else if (a == u"--no-pattern")
            o.motif = false;
        else if (a == u"--check-state")
            o.controleEtat = true;
        else if (a.startsWith(u'-'))
            return std::nullopt;
        else
            o.ldif = a;
    }
    if (o.ldif.isEmpty() == o.fichierEnv.isEmpty())
        return std::nullopt;
    return o;
}

struct Mesure {
    QString racine;
    qint64 ms = 0;
    qint64 msExport = 0;
    qsizetype noeuds = 0;
    qsizetype lignes = 0;
    qsizetype recursifs = 0;
    RoundTrips allersRetours;
    double picMo = 0;
    QStringList messages;
};

Mesure AnalyseUneRacine(SessionAD& session, Backend& backend, const Options& options, const QString& dn,
                        int enVol) {
    Parametres parametres;
    parametres.ControlerVerrouilleExpire = options.controleEtat;
    parametres.RequetesSimultanees = qint16(enVol);
    Arbre arbre;
    InteractionSilencieuse interaction;
    Analyse analyse(arbre, session, parametres, interaction);
    backend.resetRoundTrips();

    Mesure m;
    m.racine = dn;
    QElapsedTimer chrono;
    chrono.start();
    arbre.setNotificationsSuspended(true);
    analyse.LanceAnalyse(options.mode, dn);
    arbre.setNotificationsSuspended(false);
    m.ms = chrono.elapsed();
    m.allersRetours = backend.roundTrips();
    m.noeuds = arbre.Count();
    m.recursifs = analyse.GroupesRecursifs.size();
    m.messages = interaction.messages;

    chrono.restart();
    if (arbre.Racine())
        m.lignes = GenerateurExport(OptionsExport{}).GenereExport(*arbre.Racine(), false).count(u'\n') + 1;
    m.msExport = chrono.elapsed();
    m.picMo = PicMemoireMo();
    return m;
}

void AfficheMesure(const QString& source, const Mesure& m) {
    out() << source << "  " << m.racine << "\n"
          << "  analysis " << m.ms << " ms, " << m.noeuds << " nodes, " << m.recursifs
          << " recursive group(s)\n"
          << "  round trips: " << m.allersRetours.searches << " searches, " << m.allersRetours.pages
          << " pages, " << m.allersRetours.reads << " reads, " << m.allersRetours.binds << " binds\n"
          << "  export " << m.msExport << " ms, " << m.lignes << " lines; peak memory "
          << QString::number(m.picMo, 'f', 1) << " MB\n";
    for (const QString& message : m.messages) {
        if (!message.startsWith(u"Un problème de récursivité"))
            out() << "  message: " << QString(message).replace(QStringLiteral("\r\n"), QStringLiteral(" "))
                  << "\n";
    }
    out().flush();
}

QString Defaut(const QString& valeur, const QString& defaut) {
    return valeur.isEmpty() ? defaut : valeur;
}

// The roots to analyse in a domain of that naming context.
QStringList Racines(const Options& options, const QString& nc) {
    QStringList racines;
    if (options.seulement != u"ou")
        racines << Defaut(options.groupe, QStringLiteral("CN=Bench Root,OU=Bench,") + nc);
    if (options.seulement != u"group")
        racines << Defaut(options.ou, QStringLiteral("OU=Bench,") + nc);
    return racines;
}

// --- ldapsearch side by side

QHash<QString, QString> LitEnv(const QString& chemin) {
    QHash<QString, QString> env;
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return env;
    for (const QByteArray& ligne : f.readAll().split('\n')) {
        const qsizetype egal = ligne.indexOf('=');
        if (egal > 0)
            env.insert(QString::fromUtf8(ligne.left(egal)), QString::fromUtf8(ligne.mid(egal + 1)).trimmed());
    }
    return env;
}

QString TexteEtendue(SearchScope etendue) {
    switch (etendue) {
    case SearchScope::Base:
        return QStringLiteral("base");
    case SearchScope::OneLevel:
        return QStringLiteral("one");
    default:
        return QStringLiteral("sub");
    }
}

struct Rejeu {
    qint64 ms = 0;
    int processus = 0;
    int echecs = 0;
};

// Runs the recorded searches with ldapsearch, one process per search, paged like ours. (Its -f
// mode, one process for many filters, was seen to return wrong entries; it is not used.)
Rejeu RejoueAvecLdapsearch(const QList<SearchRequest>& recherches, const QHash<QString, QString>& env) {
    Rejeu rejeu;
    for (const SearchRequest& r : recherches) {
        QStringList arguments = {QStringLiteral("-LLL"),
                                 QStringLiteral("-x"),
                                 QStringLiteral("-ZZ"),
                                 QStringLiteral("-H"),
                                 env.value(QStringLiteral("ARBRIX_TEST_DC_URI")),
                                 QStringLiteral("-D"),
                                 env.value(QStringLiteral("ARBRIX_TEST_DC_ADMIN_LOGIN")),
                                 QStringLiteral("-w"),
                                 env.value(QStringLiteral("ARBRIX_TEST_DC_ADMIN_PASSWORD")),
                                 QStringLiteral("-b"),
                                 r.base,
                                 QStringLiteral("-s"),
                                 TexteEtendue(r.scope),
                                 QStringLiteral("-E"),
                                 QStringLiteral("pr=%1/noprompt").arg(r.pageSize > 0 ? r.pageSize : 1000),
                                 r.filter.isEmpty() ? QStringLiteral("(objectClass=*)") : r.filter};
        arguments += r.attributes;
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer chrono;
        chrono.start();
        p.start(QStringLiteral("ldapsearch"), arguments);
        p.waitForFinished(-1);
        rejeu.ms += chrono.elapsed();
        ++rejeu.processus;
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            ++rejeu.echecs;
            if (rejeu.echecs == 1)
                out() << "  ldapsearch failed: " << QString::fromUtf8(p.readAllStandardError()).trimmed()
                      << "\n";
        }
    }
    return rejeu;
}

// The cost of starting one ldapsearch and binding: one read of the RootDSE.
qint64 CoutProcessusLdapsearch(const QHash<QString, QString>& env) {
    SearchRequest rootDse;
    rootDse.scope = SearchScope::Base;
    rootDse.filter = QStringLiteral("(objectClass=*)");
    rootDse.attributes = {QStringLiteral("defaultNamingContext")};
    qint64 total = 0;
    for (int i = 0; i < 5; ++i)
        total += RejoueAvecLdapsearch({rootDse}, env).ms;
    return total / 5;
}

QString ChargeMoyenne() {
    QFile f(QStringLiteral("/proc/loadavg"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).section(u' ', 0, 2) : QString();
}

// The reference reads of the rows of one root, with the analysis's filter and attributes.
void AfficheReference(const QHash<QString, QString>& env, const Options& options, const QString& dn,
                      const Mesure& arbrix) {
    const bench::ConnexionReference connexion{env.value(QStringLiteral("ARBRIX_TEST_DC_URI")),
                                              env.value(QStringLiteral("ARBRIX_TEST_DC_ADMIN_LOGIN")),
                                              env.value(QStringLiteral("ARBRIX_TEST_DC_ADMIN_PASSWORD"))};
    // As the analysis asks with the default settings: every member that is no group in mode 1.
    const QString filtre = options.mode == Mode::Standard ? QStringLiteral("(!(objectCategory=group))")
                                                          : FiltreComptes(options.mode);
    QStringList attributs{u"sAMAccountName"_s,    u"displayName"_s,        u"cn"_s,
                          u"distinguishedName"_s, u"userAccountControl"_s, u"objectClass"_s,
                          u"objectCategory"_s};
    if (options.controleEtat)
        attributs += {u"accountExpires"_s, u"lockoutTime"_s, u"msDS-User-Account-Control-Computed"_s};
    const QStringList attributsGroupes{u"name"_s, u"distinguishedName"_s, u"memberOf"_s, u"groupType"_s,
                                       u"objectSid"_s};
    const auto affiche = [&](const QString& nom, const bench::MesureReference& r) {
        out() << "  reference, " << nom << ": " << r.ms << " ms, " << r.lignes << " rows, " << r.recherches
              << " searches, " << r.pages << " answers; analysis / reference "
              << QString::number(double(arbrix.ms) / double(std::max<qint64>(1, r.ms)), 'f', 2) << "\n";
    };
    if (dn.startsWith(u"CN=", Qt::CaseInsensitive)) {
        affiche(QStringLiteral("scoped query per group"),
                bench::LitRacineGroupe(connexion, dn, filtre, attributs, options.enVol));
        // What the computed lock-out bit costs the server, against lockoutTime alone.
        if (options.controleEtat)
            affiche(QStringLiteral("the same without the computed bit"),
                    bench::LitRacineGroupe(connexion, dn, filtre, attributs.mid(0, attributs.size() - 1),
                                           options.enVol));
    } else {
        for (const bool pagine : {false, true})
            affiche(pagine ? QStringLiteral("two paged subtree searches")
                           : QStringLiteral("two subtree searches"),
                    bench::LitRacineOU(connexion, dn, filtre, attributs, attributsGroupes, pagine,
                                       options.enVol));
    }
    out() << "  load average " << ChargeMoyenne() << "\n";
    out().flush();
}

int BenchEmbarque(const Options& options) {
    QElapsedTimer chrono;
    chrono.start();
    std::shared_ptr<MemoryBackend> memoire;
    try {
        memoire = std::make_shared<MemoryBackend>(options.ldif);
    } catch (const LdifError& e) {
        out() << "cannot load: " << e.text() << "\n";
        return 1;
    }
    out() << "embedded directory: " << memoire->entryCount() << " entries loaded in " << chrono.elapsed()
          << " ms; peak memory " << QString::number(PicMemoireMo(), 'f', 1) << " MB\n";
    out().flush();
    SessionAD session(memoire, AccesAnnuaire{});
    if (!session.Ouvre().reussi()) {
        out() << "session failed\n";
        return 1;
    }
    const QString nc = session.ContexteNommage();
    for (const QString& dn : Racines(options, nc))
        AfficheMesure(QStringLiteral("embedded"),
                      AnalyseUneRacine(session, *memoire, options, dn, options.enVol));
    return 0;
}

// The proxy of bench/delay-proxy.py on the controller's own address (its certificate names it),
// in front of its LDAP port.
struct Mandataire {
    QProcess processus;
    QString uri;
};

std::unique_ptr<Mandataire> LanceMandataire(const QString& adresse, int delaiMs) {
    auto m = std::make_unique<Mandataire>();
    m->processus.start(QStringLiteral("python3"),
                       {QString::fromUtf8(ARBRIX_SOURCE_DIR "/bench/delay-proxy.py"), adresse,
                        QStringLiteral("389"), QStringLiteral("--listen"), adresse,
                        QStringLiteral("--delay-ms"), QString::number(delaiMs)});
    if (!m->processus.waitForReadyRead(10000))
        return nullptr;
    const QStringList mots = QString::fromUtf8(m->processus.readLine()).split(u' ');
    if (mots.size() < 3)
        return nullptr;
    m->uri = QStringLiteral("ldap://%1:%2").arg(adresse, mots.at(2).trimmed());
    return m;
}

struct Controleur {
    std::shared_ptr<RecordingBackend> enregistreur;
    std::unique_ptr<SessionAD> session;
};

std::optional<Controleur> OuvreControleur(const QHash<QString, QString>& env, const QString& uri) {
    LdapOptions ldap;
    ldap.uris = uri;
    Controleur c;
    c.enregistreur = std::make_shared<RecordingBackend>(std::make_shared<LdapBackend>(ldap));
    AccesAnnuaire acces;
    acces.AccesAD = 1;
    acces.AccesADLogin = env.value(QStringLiteral("ARBRIX_TEST_DC_ADMIN_LOGIN"));
    acces.AccesADPassword = env.value(QStringLiteral("ARBRIX_TEST_DC_ADMIN_PASSWORD"));
    c.session = std::make_unique<SessionAD>(c.enregistreur, acces);
    const ResultatSession ouverture = c.session->Ouvre();
    if (!ouverture.reussi()) {
        out() << "session failed: " << ouverture.texte << "\n";
        return std::nullopt;
    }
    return c;
}

int BenchControleur(const Options& options) {
    const QHash<QString, QString> env = LitEnv(options.fichierEnv);
    if (env.isEmpty() || env.contains(QStringLiteral("ARBRIX_TEST_DC_SKIP"))) {
        out() << "no test domain controller: "
              << env.value(QStringLiteral("ARBRIX_TEST_DC_SKIP"), QStringLiteral("no env file")) << "\n";
        return 0;
    }
    qputenv("LDAPTLS_CACERT", env.value(QStringLiteral("ARBRIX_TEST_DC_CA")).toLocal8Bit());
    std::optional<Controleur> direct = OuvreControleur(env, env.value(QStringLiteral("ARBRIX_TEST_DC_URI")));
    if (!direct)
        return 1;
    std::unique_ptr<Mandataire> mandataire;
    std::optional<Controleur> retarde;
    if (options.delaiMs > 0) {
        mandataire = LanceMandataire(env.value(QStringLiteral("ARBRIX_TEST_DC_ADDRESS")), options.delaiMs);
        if (!mandataire) {
            out() << "the delaying proxy did not start\n";
            return 1;
        }
        retarde = OuvreControleur(env, mandataire->uri);
        if (!retarde)
            return 1;
    }
    const qint64 cout = options.motif ? CoutProcessusLdapsearch(env) : 0;
    if (options.motif)
        out() << "ldapsearch: " << cout << " ms per process (start, StartTLS, bind, one read)\n";
    for (const QString& dn : Racines(options, direct->session->ContexteNommage())) {
        const QString enVol = QStringLiteral(", %1 in flight").arg(options.enVol);
        const Mesure directe =
            AnalyseUneRacine(*direct->session, direct->enregistreur->inner(), options, dn, options.enVol);
        AfficheMesure(QStringLiteral("ldap") + enVol, directe);
        AfficheReference(env, options, dn, directe);
        if (retarde) {
            const Mesure m = AnalyseUneRacine(*retarde->session, retarde->enregistreur->inner(), options, dn,
                                              options.enVol);
            AfficheMesure(
                QStringLiteral("ldap through the proxy (%1 ms each way)").arg(options.delaiMs) + enVol, m);
            out() << "  through the proxy / direct "
                  << QString::number(double(m.ms) / double(std::max<qint64>(1, directe.ms)), 'f', 2) << "\n";
        }
        if (!options.motif)
            continue;
        // The same tree asked for group by group, two memberOf searches each, one at a time.
        std::optional<Controleur> motif =
            OuvreControleur(env, env.value(QStringLiteral("ARBRIX_TEST_DC_URI")));
        if (!motif)
            return 1;
        motif->session->renonceRequetePorteeAttribut();
        const Mesure m = AnalyseUneRacine(*motif->session, motif->enregistreur->inner(), options, dn, 1);
        AfficheMesure(QStringLiteral("ldap, by memberOf, one at a time"), m);
        const Rejeu rejeu = RejoueAvecLdapsearch(motif->enregistreur->searches(), env);
        const qint64 net = std::max<qint64>(1, rejeu.ms - rejeu.processus * cout);
        out() << "  ldapsearch, same " << motif->enregistreur->searches().size() << " searches: " << rejeu.ms
              << " ms in " << rejeu.processus << " process(es)"
              << (rejeu.echecs ? QStringLiteral(" (%1 failed)").arg(rejeu.echecs) : QString())
              << "; without process start-up about " << net << " ms\n";
        out().flush();
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    arbrix::RelanceAvecPagesLarges(argv); // measured as the programs run
    QCoreApplication application(argc, argv);
    const std::optional<Options> options = LitOptions(QCoreApplication::arguments().mid(1));
    if (!options) {
        std::fputs("usage: bench-analyse [--group DN] [--ou DN] [--check-state] [--mode N] [--in-flight N] "
                   "(FILE.ldif | --dc ENV_FILE [--delay-ms N] [--no-pattern])\n",
                   stderr);
        return 2;
    }
    return options->fichierEnv.isEmpty() ? BenchEmbarque(*options) : BenchControleur(*options);
}

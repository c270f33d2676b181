// Builds the tree of one root in the main window and through the command-line path (the same
// analysis without widgets), on the embedded directory, and compares them: time of each, their
// ratio, the event-loop turns during the window's build and the longest gap between two, and
// whether both trees and the view's expansions and selection agree.
//
//   QT_QPA_PLATFORM=offscreen bench-window [--root DN] [--mode N] [--runs N] FILE.ldif
//
// The window's time runs from the start of the analysis until the finished tree is painted,
// less the time its message boxes (the recursion report) stay open; they are answered at once.

#include "directory/Session.h"
#include "directory/memory/MemoryBackend.h"
#include "settings/Parametres.h"
#include "shell/PagesLarges.h"
#include "shell/Programme.h"
#include "shell/ui/frmPrincipal.h"
#include "tree/Analyse.h"
#include "tree/Arbre.h"
#include "tree/Interaction.h"
#include "tree/ui/ModeleArbre.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QScrollBar>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

using namespace arbrix;

namespace {

QTextStream& out() {
    static QTextStream flux(stdout);
    return flux;
}

struct Options {
    QString ldif;
    QString racine;
    qint16 mode = Mode::Standard;
    int passes = 3;
};

std::optional<Options> LitOptions(const QStringList& arguments) {
    Options o;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        const bool avecValeur = a == u"--root" || a == u"--mode" || a == u"--runs";
        if (avecValeur && i + 1 >= arguments.size())
            return std::nullopt;
        if (a == u"--root")
            o.racine = arguments[++i];
        else if (a == u"--mode")
            o.mode = qint16(arguments[++i].toInt());
        else if (a == u"--runs")
            o.passes = std::max(1, arguments[++i].toInt());
        else if (a.startsWith(u'-'))
            return std::nullopt;
        else
            o.ldif = a;
    }
    if (o.ldif.isEmpty())
        return std::nullopt;
    return o;
}

// What a build leaves to compare: every node's Key, label, image and expansion, in order, and
// the selected Key.
struct Empreinte {
    QStringList noeuds;
    QString selection;
    bool operator==(const Empreinte&) const = default;
};

Empreinte EmpreinteDe(const Arbre& arbre) {
    Empreinte e;
    arbre.ParcoursPrefixe(nullptr, [&e](Noeud* n) {
        e.noeuds << n->Key() + u'|' + n->Text() + u'|' + n->Image() +
                        (n->Expanded() ? QStringLiteral("|+") : QStringLiteral("|-"));
        return true;
    });
    e.selection = arbre.SelectedItem() ? arbre.SelectedItem()->Key() : QString();
    return e;
}

// The command-line path: the analysis with no window to serve.
qint64 ConstruitSansFenetre(SessionAD& session, const Options& options, const QString& dn,
                            Empreinte& empreinte) {
    Parametres parametres;
    Arbre arbre;
    Interaction interaction;
    Analyse analyse(arbre, session, parametres, interaction);
    QElapsedTimer chrono;
    chrono.start();
    analyse.LanceAnalyse(options.mode, dn);
    const qint64 ms = chrono.elapsed();
    empreinte = EmpreinteDe(arbre);
    return ms;
}

// Times the turns of the event loop: each wake-up of the dispatcher is one.
class ToursDeBoucle : public QObject {
public:
    ToursDeBoucle() {
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, this, [this] {
            if (m_actif)
                note();
        });
    }
    void demarre() {
        m_tours = 0;
        m_ecartMax = 0;
        m_chrono.start();
        m_dernier = 0;
        m_actif = true;
    }
    void arrete() {
        note();
        m_actif = false;
    }
    int tours() const { return m_tours; }
    qint64 ecartMax() const { return m_ecartMax; }

private:
    void note() {
        const qint64 t = m_chrono.elapsed();
        m_ecartMax = std::max(m_ecartMax, t - m_dernier);
        m_dernier = t;
        ++m_tours;
    }
    QElapsedTimer m_chrono;
    qint64 m_dernier = 0;
    qint64 m_ecartMax = 0;
    int m_tours = 0;
    bool m_actif = false;
};

// Answers each message box as soon as it shows, and counts how long they stayed open.
class RepondeurMessages : public QObject {
public:
    RepondeurMessages() { qApp->installEventFilter(this); }
    qint64 msOuvertes() const { return m_ms; }
    void remetAZero() { m_ms = 0; }

protected:
    bool eventFilter(QObject* objet, QEvent* event) override {
        auto* boite = qobject_cast<QMessageBox*>(objet);
        if (boite && event->type() == QEvent::Show) {
            m_ouverture.start();
            QTimer::singleShot(0, boite, [boite] { boite->done(QMessageBox::Ok); });
        } else if (boite && event->type() == QEvent::Hide && m_ouverture.isValid()) {
            m_ms += m_ouverture.elapsed();
            m_ouverture.invalidate();
        }
        return false;
    }

private:
    QElapsedTimer m_ouverture;
    qint64 m_ms = 0;
};

struct MesureFenetre {
    qint64 ms = 0;
    int tours = 0;
    qint64 ecartMax = 0;
    bool vueConforme = true; // the view expands and selects what the core tree says
    QString premiereLigne;   // the node at the top of the view, which tells where it scrolled to
    int defilement = 0;      // the vertical scroll bar's value
    bool selectionVisible = false;
};

bool VueConforme(frmPrincipal& fenetre) {
    auto* vue = fenetre.findChild<QTreeView*>(QStringLiteral("tvwGroupes"));
    auto* modele = qobject_cast<ModeleArbre*>(vue->model());
    bool conforme = true;
    fenetre.arbre().ParcoursPrefixe(nullptr, [&](Noeud* n) {
        const QModelIndex index = modele->indexDe(n);
        conforme = index.isValid() && modele->noeud(index) == n && vue->isExpanded(index) == n->Expanded();
        return conforme;
    });
    const Noeud* selection = fenetre.arbre().SelectedItem();
    return conforme && (!selection || modele->noeud(vue->currentIndex()) == selection);
}

MesureFenetre ConstruitDansLaFenetre(frmPrincipal& fenetre, const Options& options, const QString& dn,
                                     Empreinte& empreinte) {
    static RepondeurMessages repondeur;
    static ToursDeBoucle tours;
    auto* vue = fenetre.findChild<QTreeView*>(QStringLiteral("tvwGroupes"));
    repondeur.remetAZero();
    MesureFenetre m;
    QElapsedTimer chrono;
    chrono.start();
    tours.demarre();
    fenetre.LanceAnalyse(options.mode, dn);
    QCoreApplication::processEvents();
    vue->viewport()->repaint();
    tours.arrete();
    m.ms = chrono.elapsed() - repondeur.msOuvertes();
    m.tours = tours.tours();
    m.ecartMax = tours.ecartMax();
    m.vueConforme = VueConforme(fenetre);
    if (const Noeud* n = qobject_cast<ModeleArbre*>(vue->model())->noeud(vue->indexAt(QPoint(1, 1))))
        m.premiereLigne = n->Key();
    const QRect selection = vue->visualRect(vue->currentIndex());
    m.selectionVisible = selection.top() >= 0 && selection.bottom() < vue->viewport()->height();
    m.defilement = vue->verticalScrollBar()->value();
    empreinte = EmpreinteDe(fenetre.arbre());
    return m;
}

} // namespace

int main(int argc, char* argv[]) {
    arbrix::RelanceAvecPagesLarges(argv); // measured as the programs run
    QApplication application(argc, argv);
    const std::optional<Options> options = LitOptions(QCoreApplication::arguments().mid(1));
    if (!options) {
        std::fputs("usage: bench-window [--root DN] [--mode N] [--runs N] FILE.ldif\n", stderr);
        return 2;
    }
    std::shared_ptr<MemoryBackend> memoire;
    try {
        memoire = std::make_shared<MemoryBackend>(options->ldif);
    } catch (const LdifError& e) {
        out() << "cannot load: " << e.text() << "\n";
        return 1;
    }
    auto session = std::make_shared<SessionAD>(memoire, AccesAnnuaire{});
    if (!session->Ouvre().reussi()) {
        out() << "session failed\n";
        return 1;
    }
    const QString dn = options->racine.isEmpty()
                           ? QStringLiteral("CN=Bench Root,OU=Bench,") + session->ContexteNommage()
                           : options->racine;

    EtatProgramme etat;
    frmPrincipal fenetre(etat);
    fenetre.TraduitEtDispose();
    fenetre.show();
    fenetre.DefinitSession(session);
    QCoreApplication::processEvents();

    out() << "root " << dn << ", mode " << options->mode << "\n";
    for (int passe = 1; passe <= options->passes; ++passe) {
        Empreinte sansFenetre, avecFenetre;
        const qint64 msCli = ConstruitSansFenetre(*session, *options, dn, sansFenetre);
        const MesureFenetre f = ConstruitDansLaFenetre(fenetre, *options, dn, avecFenetre);
        out() << "run " << passe << ": command-line path " << msCli << " ms, window " << f.ms << " ms, ratio "
              << QString::number(double(f.ms) / double(std::max<qint64>(1, msCli)), 'f', 2) << "; "
              << sansFenetre.noeuds.size() << " nodes, "
              << (sansFenetre == avecFenetre ? "same tree" : "TREES DIFFER") << ", view "
              << (f.vueConforme ? "matches the tree" : "DOES NOT MATCH THE TREE") << "\n"
              << "  event loop: " << f.tours << " turns, longest gap " << f.ecartMax << " ms\n"
              << "  top of the view: " << f.premiereLigne << ", selected: " << avecFenetre.selection
              << (f.selectionVisible ? " (in sight)" : " (out of sight)") << ", scrolled to " << f.defilement
              << "\n";
        out().flush();
    }
    return 0;
}

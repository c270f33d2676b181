// Exports a tree of 200,000 nodes as the export dialog does, in the text layouts and as CSV and
// JSON, and reports the time of each step.
//
//   bench-export [NODES]     (default 200000)
//
// The tree is built in memory, without a directory: one O.U., groups of 199 accounts each (a
// tenth of them disabled, a tenth of the groups nested in another one), labels as the analysis
// writes them. Target: the whole export written to a file in under 1 s; the preview stops after
// its 20 lines whatever the tree's size.

#include "export/EcritureExport.h"
#include "export/Export.h"
#include "tree/Arbre.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

using namespace arbrix;

namespace {

QTextStream& out() {
    static QTextStream flux(stdout);
    return flux;
}

constexpr int ComptesParGroupe = 199;

QString Nbsp() {
    return QString(QChar(NBSP));
}

// Returns the number of nodes made.
int ConstruitArbre(Arbre& arbre, int noeudsVoulus) {
    Noeud* racine =
        arbre.Ajoute(nullptr, QStringLiteral("\\\\Bench"), QStringLiteral("Bench") + Nbsp() + "(0)",
                     QStringLiteral("OOU=Bench,DC=bench,DC=test"), QStringLiteral("ou"), true);
    int noeuds = 1;
    Noeud* precedent = nullptr;
    for (int g = 0; noeuds < noeudsVoulus; ++g) {
        // Every tenth group is nested in the previous one, so the export has several levels.
        Noeud* parent = (g % 10 == 9 && precedent) ? precedent : racine;
        const QString nom = QStringLiteral("Groupe %1").arg(g, 5, 10, QChar(u'0'));
        const QString cle = parent->Key() + u'\\' + nom;
        Noeud* groupe = arbre.Ajoute(parent, cle, nom + Nbsp() + QStringLiteral("(%1)").arg(ComptesParGroupe),
                                     QStringLiteral("GCN=") + nom + QStringLiteral(",OU=Bench"),
                                     QStringLiteral("grp_sec_glo"), true);
        ++noeuds;
        for (int c = 0; c < ComptesParGroupe && noeuds < noeudsVoulus; ++c, ++noeuds) {
            const QString compte = QStringLiteral("u%1x%2").arg(g).arg(c);
            const bool desactive = c % 10 == 3;
            arbre.Ajoute(groupe, cle + u'\\' + compte,
                         QStringLiteral("Utilisateur %1 %2 (%3)").arg(g).arg(c).arg(compte),
                         QStringLiteral("UCN=") + compte + QStringLiteral(",OU=Bench"),
                         desactive ? QStringLiteral("user_ina") : QStringLiteral("user"), false);
        }
        precedent = groupe;
    }
    arbre.Selectionne(racine);
    return noeuds;
}

struct Cas {
    const char* nom;
    OptionsExport options;
};

QList<Cas> LesCas() {
    OptionsExport colonnes;
    colonnes.ModeColonne = true;
    colonnes.Separateur = QStringLiteral(";");
    OptionsExport plat;
    plat.Structure = false;
    plat.Format = FormatExport::Noms;
    OptionsExport csv;
    csv.Type = TypeExport::Csv;
    OptionsExport json;
    json.Type = TypeExport::Json;
    return {{"indented structure, as shown", OptionsExport{}},
            {"column mode", colonnes},
            {"flat account list, names", plat},
            {"CSV", csv},
            {"JSON", json}};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const int voulus = arguments.size() > 1 ? arguments.at(1).toInt() : 200000;

    QElapsedTimer chrono;
    chrono.start();
    Arbre arbre;
    const int noeuds = ConstruitArbre(arbre, voulus);
    out() << "tree: " << noeuds << " nodes built in " << chrono.elapsed() << " ms\n";

    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("export.txt"));
    bool dansLeTemps = true;
    for (const Cas& cas : LesCas()) {
        // The dialog's OK: the whole text, then the file.
        chrono.restart();
        const QString texte = GenereExportSelonType(*arbre.SelectedItem(), cas.options, false);
        const qint64 msTexte = chrono.elapsed();
        const std::optional<ErreurExport> erreur = EcritFichierExport(chemin, texte);
        const qint64 ms = chrono.elapsed();
        if (erreur) {
            out() << cas.nom << ": " << erreur->description << '\n';
            return 1;
        }
        dansLeTemps = dansLeTemps && ms < 1000;
        out() << cas.nom << ": written in " << ms << " ms (text " << msTexte << " ms), "
              << QFileInfo(chemin).size() / 1024 << " KiB\n";

        chrono.restart();
        const QString premieresLignes = GenereExportSelonType(*arbre.SelectedItem(), cas.options, true);
        out() << "  preview: " << premieresLignes.size() << " characters in " << chrono.nsecsElapsed() / 1000
              << " us\n";
    }
    out() << (dansLeTemps ? "every export under 1 s\n" : "SLOWER THAN 1 s\n");
    out().flush();
    return dansLeTemps ? 0 : 1;
}

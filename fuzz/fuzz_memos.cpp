// The memorised entries of the search box, as the settings file stores them.

#include "FuzzSupport.h"

#include "search/Memos.h"
#include "settings/DocumentIni.h"

#include <limits>

using namespace arbrix;
using namespace arbrix::fuzz;
using namespace Qt::StringLiterals;

namespace {

QString Decrit(const Memos& memos) {
    QStringList lignes;
    for (const EntreeMemo& e : memos.Elements())
        lignes << QString::number(e.type) + u':' + e.nom;
    return lignes.join(u" / "_s) + u" sep="_s + QString::number(memos.PositionSeparateur());
}

// What the settings file gives back of a saved list.
Memos Relus(const Memos& memos) {
    DocumentIni document;
    document.Modifie(u"Config"_s, u"Mémos"_s, memos.TexteSauvegarde());
    Memos relus;
    relus.ChargeTexte(
        DocumentIni::DuTexte(document.Texte()).Valeur(u"Config"_s, u"Mémos"_s).value_or(QString()));
    return relus;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Memos memos;
    memos.ChargeTexte(Texte(data, size));

    // The stored value is read back trimmed, as it always was: spaces ending the last name go.
    // Line breaks in names are stored as spaces; nothing else changes.
    const Memos relus = Relus(memos);
    if (!memos.TexteSauvegarde().endsWith(u' '))
        FUZZ_CHECK(relus.Nombre() == memos.Nombre() &&
                       relus.PositionSeparateur() == memos.PositionSeparateur() &&
                       relus.TexteSauvegarde() == memos.TexteSauvegarde(),
                   Decrit(memos) + u"  ->  "_s + Decrit(relus));

    // The configuration window's round trip may show the separator line, but stores the same.
    Memos edites = memos;
    edites.FixeMaximumRecents(std::numeric_limits<qint16>::max()); // the edit trims to it, by design
    edites.AppliqueListeEdition(memos.ListeEdition());
    FUZZ_CHECK(edites.TexteSauvegarde() == memos.TexteSauvegarde(),
               Decrit(memos) + u"  ->  "_s + Decrit(edites));
    for (qsizetype i = memos.Nombre() - 1; i >= 0; --i)
        memos.Supprime(i);
    return 0;
}

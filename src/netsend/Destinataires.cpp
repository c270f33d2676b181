#include "netsend/Destinataires.h"

#include "i18n/Traductions.h"
#include "menus/Copie.h"
#include "text/Texte.h"
#include "tree/Arbre.h"

#include <QSet>

#include <algorithm>

namespace arbrix {

namespace {

// Pushed last child first, so that the first child comes off the stack first.
void EmpileEnfants(const Noeud& noeud, QList<const Noeud*>& pile) {
    const qsizetype debut = pile.size();
    noeud.ForEachChild([&](const Noeud* enfant) { pile << enfant; });
    std::reverse(pile.begin() + debut, pile.end());
}

} // namespace

QString Destinataire::Nom() const {
    if (type == u'C' && compte.endsWith(u'$'))
        return compte.chopped(1);
    return compte;
}

Destinataire DestinataireDuNoeud(const Noeud& noeud) {
    return {CompteDeLaCle(noeud.Key()), noeud.DN(), noeud.LettreType()};
}

DestinatairesMembres DestinatairesSous(const Noeud& noeud) {
    DestinatairesMembres destinataires;
    QSet<QString> vus;
    // An explicit stack: nested groups can make the tree deep.
    QList<const Noeud*> aVisiter;
    EmpileEnfants(noeud, aVisiter);
    while (!aVisiter.isEmpty()) {
        const Noeud* n = aVisiter.takeLast();
        const QChar type = n->LettreType();
        if (type == u'U' || type == u'C') {
            Destinataire d = DestinataireDuNoeud(*n);
            if (!vus.contains(d.compte.toCaseFolded())) {
                vus.insert(d.compte.toCaseFolded());
                if (type == u'C')
                    ++destinataires.ordinateursLaisses;
                else
                    destinataires.comptes << std::move(d);
            }
        }
        EmpileEnfants(*n, aVisiter);
    }
    return destinataires;
}

QString TexteOrdinateursLaisses(int nombre) {
    return nombre > 0 ? FormateMessage(Traduction(u"TXT_ORDINATEURS_LAISSES"), {nombre}) : QString();
}

} // namespace arbrix

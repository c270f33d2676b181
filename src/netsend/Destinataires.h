#pragma once

// Who receives a message sent from the tree: the user accounts found under a node, each once, or
// the one account of an account node. A computer has no mailbox: it is counted, not written to.

#include <QList>
#include <QString>

namespace arbrix {

class Noeud;

struct Destinataire {
    QString compte; // sAMAccountName as the tree holds it
    QString dn;
    QChar type; // "U" or "C"

    // The name the report shows: a computer's account name without its trailing "$".
    QString Nom() const;
};

struct DestinatairesMembres {
    QList<Destinataire> comptes;
    int ordinateursLaisses = 0; // computers met under the node, each once
};

// Every "U" node below noeud, at any depth and expanded or not, in display order; an account met
// again (account names compared without regard to case) is left out. Computers are counted;
// service accounts and groups receive nothing.
DestinatairesMembres DestinatairesSous(const Noeud& noeud);

// "n computers left out: ..." for a count above zero, else empty.
QString TexteOrdinateursLaisses(int nombre);

// The account of an account node.
Destinataire DestinataireDuNoeud(const Noeud& noeud);

} // namespace arbrix

#pragma once

// Who receives a message sent from the tree: the user and computer accounts found under a node,
// each once, or the one account of an account node.

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

// Every "U" and "C" node below noeud, at any depth and expanded or not, in display order; an
// account met again (account names compared without regard to case) is left out. Service
// accounts and groups receive nothing.
QList<Destinataire> DestinatairesSous(const Noeud& noeud);

// The account of an account node.
Destinataire DestinataireDuNoeud(const Noeud& noeud);

} // namespace arbrix

#pragma once

// The processes the program starts: a new instance of itself on a distinguished name, the
// account tool, and itself again for a restart.

#include <QString>
#include <QStringList>

namespace arbrix {

struct Commande {
    QString programme;
    QStringList arguments;
    friend bool operator==(const Commande&, const Commande&) = default;
};

// The distinguished name travels as one argument, so its spaces survive.
Commande CommandeNouvelleInstance(const QString& dn, const QString& programme);
Commande CommandeNouvelleInstance(const QString& dn);

// Itself without arguments.
Commande CommandeRedemarrage(const QString& programme);
Commande CommandeRedemarrage();

// The account tool beside the program: <folder>/../Quorvel/Quorvel, else <folder>/Quorvel;
// empty when neither exists.
QString CheminOutilCompte(const QString& dossierProgramme);
Commande CommandeOutilCompte(const QString& cheminOutil, const QString& argument);

// Starts the command; any failure is ignored. An empty program starts nothing.
void LanceCommande(const Commande& commande);

} // namespace arbrix

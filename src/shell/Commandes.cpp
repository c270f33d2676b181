#include "shell/Commandes.h"

#include "text/Texte.h"

#include <QDir>

namespace arbrix {

namespace {

const QString NomOutilCompte = QStringLiteral("Quorvel");

} // namespace

Commande CommandeNouvelleInstance(const QString& dn, const QString& programme) {
    return {programme, {dn}};
}

Commande CommandeNouvelleInstance(const QString& dn) {
    return CommandeNouvelleInstance(dn, CheminProgramme());
}

Commande CommandeRedemarrage(const QString& programme) {
    return {programme, {}};
}

Commande CommandeRedemarrage() {
    return CommandeRedemarrage(CheminProgramme());
}

QString CheminOutilCompte(const QString& dossierProgramme) {
    const QString dossier = AjouteAntislash(dossierProgramme);
    for (const QString& candidat :
         {QDir::cleanPath(dossier + QStringLiteral("../") + NomOutilCompte + u'/' + NomOutilCompte),
          dossier + NomOutilCompte}) {
        if (FichierExiste(candidat))
            return candidat;
    }
    return {};
}

Commande CommandeOutilCompte(const QString& cheminOutil, const QString& argument) {
    return {cheminOutil, {argument}};
}

void LanceCommande(const Commande& commande) {
    LanceCommande(commande.programme, commande.arguments);
}

} // namespace arbrix

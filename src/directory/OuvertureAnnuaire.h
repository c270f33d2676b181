#pragma once

// Choosing the directory: the environment variable ARBRIX_DIRECTORY (when not empty) or else the
// setting "AccèsADServeur" names it:
//   - ldap://, ldaps:// or ldapi:// URIs, separated by spaces or commas: those servers;
//   - host names without a scheme: the same as ldap:// URIs;
//   - the path of an .ldif file (absolute, relative to the working folder or to the program's
//     folder): the embedded directory loaded from it;
//   - nothing: the LDAP backend finds the domain controllers itself.

#include "directory/Backend.h"

#include <QString>

#include <memory>

namespace arbrix {

enum class GenreAnnuaire {
    Decouverte, // domain controllers found by libldap's defaults or DNS
    Serveurs,   // the URIs in valeur
    FichierLdif // the file in valeur (as written)
};

struct DesignationAnnuaire {
    GenreAnnuaire genre = GenreAnnuaire::Decouverte;
    QString valeur;
    QString erreur; // not empty when the text names nothing usable
    bool valide() const { return erreur.isEmpty(); }
};

// ARBRIX_DIRECTORY, trimmed; empty when the setting decides.
QString AnnuaireDeLEnvironnement();
// ARBRIX_DIRECTORY when set and not empty, else accesADServeur.
QString TexteDesignationAnnuaire(const QString& accesADServeur);
// Reads a designation; the URIs of Serveurs come back separated by single spaces.
DesignationAnnuaire AnalyseDesignationAnnuaire(const QString& texte);

struct AnnuaireOuvert {
    std::shared_ptr<Backend> backend; // null on failure
    QString erreur;                   // why, when backend is null
    GenreAnnuaire genre = GenreAnnuaire::Decouverte;
    bool ouvert() const { return backend != nullptr; }
};

// The directory named by ARBRIX_DIRECTORY or accesADServeur, ready to bind. Never raises.
// delaiSecondes: how long a server may stay silent (LdapOptions::answerTimeoutSeconds).
AnnuaireOuvert OuvreAnnuaire(const QString& accesADServeur, int delaiSecondes = 15);
// The directory of that designation, whatever ARBRIX_DIRECTORY says. Never raises.
AnnuaireOuvert OuvreAnnuaire(const DesignationAnnuaire& designation, int delaiSecondes = 15);

} // namespace arbrix

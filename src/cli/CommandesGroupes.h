#pragma once

// The group commands of arbrix-cli, on the core operations: each builds a small tree of the
// objects named on the command line and runs the operation on it, as the window does on its own.
// Changes go to the output stream one per line, messages to the error stream.

#include "cli/DesignationCli.h"

#include <QTextStream>

#include <variant>

namespace arbrix {

struct ArgumentsCli;
struct Parametres;
class SessionAD;

struct ContexteCommande {
    const ArgumentsCli& arguments;
    SessionAD& session;
    Parametres& parametres;
    QTextStream& sortie;
    QTextStream& erreurs;
};

// The object a word names, or the exit status of a failed lookup (2; candidates listed on the
// error stream) or of a failure of the directory (1).
std::variant<Designation, int> TrouveObjet(ContexteCommande& c, const QString& texte, GenreDesignation genre);

// Each returns the exit status: 0 all done, 1 refused or failed, 2 an object named was not found
// or several were.
int CommandeCreeGroupe(ContexteCommande& c);
int CommandeRenommeGroupe(ContexteCommande& c);
int CommandeRetireMembres(ContexteCommande& c);
// add-member GROUP MEMBER...: each member added to the group.
int CommandeAjouteMembres(ContexteCommande& c);
// move-member FROM TO MEMBER...: each member added to TO, then taken out of FROM.
int CommandeDeplaceMembres(ContexteCommande& c);
int CommandeSupprimeGroupe(ContexteCommande& c);

} // namespace arbrix

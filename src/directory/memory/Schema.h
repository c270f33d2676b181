#pragma once

// The part of the domain schema the embedded directory needs: class chains and default
// categories.

#include <QString>
#include <QStringList>

namespace arbrix {

// The classes an object of the given classes belongs to, from "top" to the most specific
// structural class, followed by any other class given (auxiliary classes).
QStringList ChaineClasses(const QStringList& classes);
// The most specific structural class among the given ones ("" when none is known).
QString ClasseStructurelle(const QStringList& classes);
// The RDN of the default "objectCategory" of a class ("Person" for user, "Computer", ...).
QString CategorieParDefaut(const QString& classe);
// The category RDN a short name in a filter stands for ("person" -> "Person", "user" -> "Person",
// "organizationalUnit" -> "Organizational-Unit"); empty when the name is no class.
QString CategorieDuNomCourt(const QString& nom);

// Names of classes and attributes compared without regard to case, quickly for ASCII names.
bool MemeNom(QStringView a, QStringView b);
// True when the list holds the name, compared as MêmeNom does.
bool ContientNom(const QStringList& noms, QStringView nom);

bool EstClasseCompte(const QStringList& chaine); // user and its subclasses
bool EstClasseOrdinateur(const QStringList& chaine);
bool EstClasseGroupe(const QStringList& chaine);

} // namespace arbrix

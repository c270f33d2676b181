#pragma once

// Typed values of the settings file. Booleans are stored "-1"/"0" and read as true when the
// leading number of the text is not 0; integers are stored as decimal text and read from the
// leading number of the text (a text without one reads as 0), rounded half to even; a number too
// large for its type raises ErreurExécution (NuméroErreur::Dépassement).

#include <QString>
#include <QtGlobal>

namespace arbrix {

// The section that holds every setting of the program.
inline const QString SectionConfig = QStringLiteral("Config");

// The leading number of a text: spaces, then an optional sign, digits with an optional decimal
// point and exponent, or "&H" hexadecimal / "&O" octal. 0 when the text does not start with one.
double NombreEnTete(const QString& texte);

bool BooleenDuTexte(const QString& texte);
// clé only names the key in the error text.
qint16 Entier16DuTexte(const QString& texte, const QString& cle = {});
qint32 Entier32DuTexte(const QString& texte, const QString& cle = {});

QString TexteDuBooleen(bool valeur); // "-1" or "0"

} // namespace arbrix
